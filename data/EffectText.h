// The English text of an effect, worded by its kind and by the source it sits in: a signed number and
// a name on equipment, a sentence with an amount and a duration in a spell or potion, a bare name on an
// ingredient.
#pragma once

#include "core/Str.h"
#include "data/Effect.h"

struct CRuleContext;

// Sets out to the effect's text; empty for a kind and source that have none. percent is the level
// percentage of spells, the current charges of a wand (0xFFFF for as many as the maximum) and the
// caster's skill for kinds 49..51.
void FormatEffectText(const CEffect& effect, const CRuleContext& game, int source, int percent, CStr& out,
                      bool shortForm, bool shorterForm);
// Appends the texts of the list, joined by the layout's separator. Ingredients show at most three
// effects, as far as the player's alchemy skill identifies them.
void FormatEffectListText(CStr& out, const CEffectList& list, const CRuleContext& game, int source,
                          int percent, bool shortForm);
