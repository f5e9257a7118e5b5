// The town's people: a talker with news and a task, an innkeeper, a trainer, a smith and an enchanter,
// beside the merchant of the base rules. Each uses one path of the talk and services screens.
#pragma once

#include <string>
#include <vector>

#include "tools/content/rules/RuleRecords.h"

// Appends the town's NPCs.
void AddTownNpcs(std::vector<NpcDef>& npcs);

// One line per NPC whose service flags ask for more buttons than the services menu has places
// ("Talk" and five services before "Leave"); the menu would drop the last ones.
std::vector<std::string> NpcServiceWarnings(const std::vector<NpcDef>& npcs);
