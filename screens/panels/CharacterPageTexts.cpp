#include "screens/panels/CharacterPageTexts.h"

#include <algorithm>

#include "data/RuleContext.h"
#include "ui/Draw.h"

namespace {

// Number glyphs, the highlighted ones when effects change the value.
void Glyphs(CStr& text, bool highlighted) {
    if (highlighted)
        ToAltNumberGlyphs(text);
    else
        ToNumberGlyphs(text);
}

void Percent(int value, bool modified, CStr& out) {
    out.Format("%d%%", std::clamp(value, 0, 100));
    Glyphs(out, modified);
}

void CurrentOfMaximum(u16 current, int maximum, bool modified, CStr& out) {
    out.Format("%u/", static_cast<unsigned>(current));
    Glyphs(out, current > maximum);
    CStr max;
    max.Format("%u", static_cast<unsigned>(std::max(0, maximum)));
    Glyphs(max, modified);
    out.Append(max.GetText());
}

void FillSkillRow(const CPlayer& player, const CCharacterPoints& points, int skill, bool primary,
                  CSkillRow& row) {
    row.skill = skill;
    row.button = CCharacterPoints::SkillButton::kHidden;
    if (skill == 0) {
        row.value = "";
        return;
    }
    if (!primary && points.IsBarred(skill)) {
        row.value = "0";
        Glyphs(row.value, true);
        return;
    }
    int base = 0;
    bool modified = false;
    int value = player.GetSkillDetails(skill, &base, &modified);
    row.value.Format("%d", value);
    Glyphs(row.value, modified);
    row.button = points.SkillButtonOf(skill, primary);
}

}  // namespace

void ComputeSheetValues(CPlayer& player, const CCharacterPoints& points, CSheetValues& out) {
    for (int a = 1; a <= kPlayerAttributeCount; ++a) {
        bool modified = false;
        int base = 0;
        int value = std::max(1, player.GetAttributeValue(a, &modified, &base, true));
        out.attributes[a].Format("%u", static_cast<unsigned>(value));
        Glyphs(out.attributes[a], modified);
        CStr tail;
        tail.Format("(%u)", static_cast<unsigned>(base));
        ToNumberGlyphs(tail);
        out.attributes[a].AppendChar(0x0B);
        out.attributes[a].Append(tail.GetText());
        out.raiseShown[a] = points.ShowsAttributeRaise(a);
    }
    out.availablePoints.Format("%u", static_cast<unsigned>(player.attributePoints));
    ToNumberGlyphs(out.availablePoints);

    bool modified = false;
    Percent(player.GetMagicResistance(&modified), modified, out.magic);
    modified = false;
    Percent(player.GetPoisonResistance(&modified), modified, out.poison);
    modified = false;
    Percent(player.GetParalysisResistance(&modified), modified, out.paralysis);
    modified = false;
    Percent(player.GetDiseaseResistance(&modified), modified, out.diseases);

    int low = 0, high = 0;
    player.ComputeAttack(low, high, false);
    out.damage.Format("%u-%u", static_cast<unsigned>(std::max(0, low)),
                      static_cast<unsigned>(std::max(0, high)));
    ToNumberGlyphs(out.damage);
    modified = false;
    int armour = player.GetArmorClass(&modified, 1);
    out.armour.Format("%u", static_cast<unsigned>(std::max(0, armour)));
    Glyphs(out.armour, modified);

    modified = false;
    int maxHp = player.GetMaxHp(&modified);
    CurrentOfMaximum(player.hp, maxHp, modified, out.hp);
    modified = false;
    int maxMana = player.GetMaxMana(&modified);
    CurrentOfMaximum(player.mana, maxMana, modified, out.sp);
}

void ComputeSkillRows(const CPlayer& player, const CCharacterPoints& points, CSkillRows& out) {
    for (int slot = 0; slot < kPrimarySkillSlots; ++slot)
        FillSkillRow(player, points, points.PrimarySkill(slot), true, out.primary[slot]);
    for (int slot = 0; slot < kOtherSkillSlots; ++slot)
        FillSkillRow(player, points, points.OtherSkill(slot), false, out.other[slot]);
    out.availablePoints.Format("%u", static_cast<unsigned>(player.skillPoints));
    ToNumberGlyphs(out.availablePoints);
}

std::vector<int> ListEffectKinds(const CPlayer& player, u32 filter) {
    std::vector<int> kinds;
    for (int kind = 1; kind <= kEffectListCount; ++kind)
        for (const CActiveEffect& e : player.effects[kind])
            if (PassesEffectsFilter(e, filter)) {
                kinds.push_back(kind);
                break;
            }
    return kinds;
}

void DescribeEffectKind(const CPlayer& player, int kind, u32 filter, const CRuleContext& rules, CStr& out) {
    out = "";
    if (kind < 1 || kind > kEffectListCount) return;
    for (const CActiveEffect& e : player.effects[kind])
        if (PassesEffectsFilter(e, filter)) AppendActiveEffectLine(e, kind, rules, out);
    ToNumberGlyphs(out);
}

int RowsPerPage(int listHeight, int rowHeight) {
    if (rowHeight <= 0) return 1;
    return std::max(1, listHeight / rowHeight);
}

int FirstRowFor(int selection, int rowsPerPage) {
    if (selection < 0) return 0;
    int rows = std::max(1, rowsPerPage);
    return selection / rows * rows;
}
