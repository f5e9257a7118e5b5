// The town's people: a talker with news and a task, an innkeeper, a trainer, a smith and an enchanter,
// beside the merchant of the base rules. Each uses one path of the talk and services screens.
#pragma once

#include <string>
#include <vector>

#include "tools/content/rules/RuleRecords.h"

// Stored conditions on a quest (the answer words of the condition kinds 42 and 43): the player holds
// it; the player has not solved it (held or not). A quest's topic carries the second, so that it is
// no longer offered once the quest is done.
ConditionDef QuestHeld(const std::string& questId);
ConditionDef QuestNotSolved(const std::string& questId);

// Appends the town's NPCs, and the elder who lives by the north road.
void AddTownNpcs(std::vector<NpcDef>& npcs);

// One line per NPC whose service flags ask for more buttons than the services menu has places
// ("Talk" and five services before "Leave"); the menu would drop the last ones.
std::vector<std::string> NpcServiceWarnings(const std::vector<NpcDef>& npcs);
