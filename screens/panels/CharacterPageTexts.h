// What the character pages show, computed from the player without any widget: the changing values of
// the sheet, the rows of the skills page, and the kinds and lines of the active-effects page. The
// pages put these texts into their labels; numbers are already in the fonts' number glyphs, the
// highlighted glyphs where effects change a value.
#pragma once

#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "screens/panels/CharacterPoints.h"

struct CRuleContext;

struct CSheetValues {
    CStr attributes[kPlayerAttributeCount + 1];  // "value" then glyph 0x0B and "(base)"
    bool raiseShown[kPlayerAttributeCount + 1] = {};
    CStr availablePoints;
    CStr magic, poison, paralysis, diseases;
    CStr damage, armour, hp, sp;
};
// The values spending points can change (attributes, buttons, points, resistances, damage, armour, hit
// and spell points). Not const on the player: the attack is computed for display, which draws nothing
// and wears nothing.
void ComputeSheetValues(CPlayer& player, const CCharacterPoints& points, CSheetValues& out);

struct CSkillRow {
    int skill = 0;  // 0 for an empty slot
    CStr value;
    CCharacterPoints::SkillButton button = CCharacterPoints::SkillButton::kHidden;
};
struct CSkillRows {
    CSkillRow primary[kPrimarySkillSlots];
    CSkillRow other[kOtherSkillSlots];
    CStr availablePoints;
};
void ComputeSkillRows(const CPlayer& player, const CCharacterPoints& points, CSkillRows& out);

// The effect kinds 1..24 that hold at least one entry passing the filter, in order.
std::vector<int> ListEffectKinds(const CPlayer& player, u32 filter);
// The description of one kind: a line per entry passing the filter, in number glyphs.
void DescribeEffectKind(const CPlayer& player, int kind, u32 filter, const CRuleContext& rules, CStr& out);

// Rows of a list: at least 1, so a list whose element a layout lacks (height 0) cannot divide by zero.
int RowsPerPage(int listHeight, int rowHeight);
// The first visible row that shows the selection (0 with none).
int FirstRowFor(int selection, int rowsPerPage);
