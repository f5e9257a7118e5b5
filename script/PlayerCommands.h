// The player's side of the script commands: the switch that maps each command aimed at the player
// to the player's operations or to an event of the main game view.
#pragma once

#include "core/Types.h"
#include "script/ScriptTargets.h"

class CScriptContext;

// Runs a command on the player; ids without an entry do nothing. Always 0.
i32 ExecutePlayerScriptCommand(CScriptContext& context, IScriptPlayer& player, i32 command,
                               const ScriptArgs& args, ScriptResult& result);

// Transition kinds of move modes: 1 teleport, 2 hole, 3 fall, 4 ladder down, 5 ladder up, 6 stair down,
// 7 stair up ("ladder down" and the like also with a blank); 0 for anything else.
i32 TransitionKindFromKeyword(const char* keyword);
// First letter of a direction word: w 1, s 2, e 3, anything else (north, no text) 0.
i32 ParseDirectionLetter(const char* word);
// The key of the listed skill (keys or full names, comma-separated) with the highest value above 0;
// the earlier one on equal values; "" when none.
const char* GetHighestSkill(const IScriptPlayer& player, const char* list);
