// In-game messages of scripts and game rules, with their text macros ("%PCName%", "%PCGold%" ...),
// sent to the screen the run context names.
#pragma once

#include "core/Str.h"
#include "core/Types.h"

#include <string>

class CScriptContext;

// Expands the text's macros and shows it: routing 1 appends it to the main game view's message
// (style 2 when style is non-zero, else 0), 2 to the talk screen's text, 3 sets the pages screen's
// text; any other routing shows nothing.
void ShowGameMessage(CScriptContext& context, const char* text, i32 style);
// Replaces the macros in place, without regard to letter case.
void ExpandTextMacros(CScriptContext& context, CStr& text);
// Gold in few characters: "%luB" from a billion up, else as the interface's compact numbers.
void FormatCompactGold(u32 value, CStr& out);
