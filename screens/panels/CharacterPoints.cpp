#include "screens/panels/CharacterPoints.h"

#include <cstdlib>

#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "ui/Draw.h"

namespace {

constexpr int kAttributeRaiseCommands[kPlayerAttributeCount] = {373, 374, 377, 385, 388};
constexpr int kSkillCeiling = 100;

bool ValidAttribute(int a) { return a >= 1 && a <= kPlayerAttributeCount; }
bool ValidSkill(int s) { return s >= 1 && s <= kPlayerSkillCount; }

// Coded percentages carry 100 beyond their value on either side.
int DecodePercent(int a) {
    if (a < -100) return a + 100;
    if (a > 100) return a - 100;
    return a;
}

const char* SkillName(const CRuleContext& rules, int skill) {
    const char* name = rules.skills && ValidSkill(skill) ? rules.skills->GetName(skill) : nullptr;
    return name ? name : "unknown skill";
}

const char* AttributeName(const CRuleContext& rules, int attribute) {
    const CAttributeEntry* entry =
        rules.attributes && ValidAttribute(attribute) ? rules.attributes->GetEntry(attribute) : nullptr;
    return entry && entry->displayName ? entry->displayName : "unknown attribute";
}

const char* ReferenceId(const CActiveEffect& entry) { return entry.name ? entry.name->c_str() : ""; }

}  // namespace

int AttributeOfRaiseCommand(int command) {
    for (int a = 0; a < kPlayerAttributeCount; ++a)
        if (kAttributeRaiseCommands[a] == command) return a + 1;
    return 0;
}

bool CCharacterPoints::ShowsAttributeRaise(int attribute) const {
    return ValidAttribute(attribute) && player_.attributePoints != 0 &&
           player_.attributeRaises[attribute] != 0;
}

bool CCharacterPoints::RaiseAttribute(int attribute) {
    if (!ShowsAttributeRaise(attribute)) return false;
    --player_.attributePoints;
    --player_.attributeRaises[attribute];
    ++player_.attributes[attribute];
    ++attributePointsSpent_;
    ++attributeRaises_[attribute];
    return true;
}

void CCharacterPoints::UndoAttributePoints() {
    player_.attributePoints = static_cast<u16>(player_.attributePoints + attributePointsSpent_);
    for (int a = 1; a <= kPlayerAttributeCount; ++a) {
        if (attributeRaises_[a] == 0) continue;
        player_.attributeRaises[a] = static_cast<u16>(player_.attributeRaises[a] + attributeRaises_[a]);
        player_.attributes[a] = static_cast<u16>(player_.attributes[a] - attributeRaises_[a]);
    }
    CommitAttributePoints();
}

void CCharacterPoints::CommitAttributePoints() {
    attributePointsSpent_ = 0;
    for (u32& n : attributeRaises_) n = 0;
}

u32 CCharacterPoints::AttributeRaises(int attribute) const {
    return ValidAttribute(attribute) ? attributeRaises_[attribute] : 0;
}

int CCharacterPoints::PrimarySkill(int slot) const {
    if (slot < 0 || slot >= kPrimarySkillSlots) return 0;
    int s = player_.skillOrder[slot];
    return ValidSkill(s) ? s : 0;
}

int CCharacterPoints::OtherSkill(int slot) const {
    if (slot < 0 || slot >= kOtherSkillSlots) return 0;
    int s = player_.skillOrder[kPrimarySkillSlots + slot];
    return ValidSkill(s) ? s : 0;
}

CCharacterPoints::SkillButton CCharacterPoints::SkillButtonOf(int skill, bool primary) const {
    if (!ValidSkill(skill) || IsBarred(skill) || player_.skillPoints < RaiseCost(primary) ||
        player_.skillRaises[skill] == 0 || player_.skills[skill] >= kSkillCeiling)
        return SkillButton::kHidden;
    return player_.CanRaiseSkill(skill) ? SkillButton::kRaise : SkillButton::kRuleBars;
}

CCharacterPoints::SkillRaise CCharacterPoints::RaiseSkill(int skill, bool primary) {
    SkillButton button = SkillButtonOf(skill, primary);
    if (button == SkillButton::kHidden) return SkillRaise::kRefused;
    if (button == SkillButton::kRuleBars) return SkillRaise::kRuleBars;
    // The slot decides the price the page showed; the player's own raise charges by the class skills,
    // which are the primary slots, so both agree.
    int cost = player_.RaiseSkill(skill);
    skillPointsSpent_ += static_cast<u32>(cost);
    skillPointsSpentOn_[skill] += static_cast<u32>(cost);
    ++skillRaises_[skill];
    return SkillRaise::kRaised;
}

void CCharacterPoints::UndoSkillPoints() {
    player_.skillPoints = static_cast<u16>(player_.skillPoints + skillPointsSpent_);
    for (int s = 1; s <= kPlayerSkillCount; ++s) {
        if (skillPointsSpentOn_[s] == 0) continue;
        player_.skillRaises[s] = static_cast<u16>(player_.skillRaises[s] + skillRaises_[s]);
        player_.skills[s] = static_cast<u16>(player_.skills[s] - skillRaises_[s]);
    }
    CommitSkillPoints();
}

void CCharacterPoints::CommitSkillPoints() {
    skillPointsSpent_ = 0;
    for (int s = 0; s <= kPlayerSkillCount; ++s) {
        skillPointsSpentOn_[s] = 0;
        skillRaises_[s] = 0;
    }
}

u32 CCharacterPoints::SkillRaises(int skill) const { return ValidSkill(skill) ? skillRaises_[skill] : 0; }

void FormatSkillRuleMessage(const CRuleContext& rules, int skill, CStr& out) {
    const CSkillEntry* entry = rules.skills && ValidSkill(skill) ? rules.skills->GetEntry(skill) : nullptr;
    const char* attribute = "unknown";
    if (entry && rules.attributes && ValidAttribute(entry->attribute)) {
        const CAttributeEntry* a = rules.attributes->GetEntry(entry->attribute);
        if (a && a->displayName) attribute = a->displayName;
    }
    out.Format(
        "You can't improve this skill.\rThe %s skill's base value cannot be higher than the double of its "
        "governing attribute's base value (%s).",
        entry && entry->fullName ? entry->fullName : "unknown", attribute);
}

void FormatCharacterNumber(u32 value, CStr& out) {
    if (value >= 1000000000u)
        out.Format("%luB", static_cast<unsigned long>(value / 1000000000u));
    else
        FormatCompactNumber(value, out);
}

void FormatExperienceLine(u32 layoutMode, u32 level, u32 xp, u32 nextLevelXp, CStr& out) {
    CStr x, n;
    FormatCharacterNumber(xp, x);
    FormatCharacterNumber(nextLevelXp, n);
    switch (layoutMode) {
    case 5:
    case 7:
    case 8: out.Format("%u, xp: %s (next lvl: %s)", level, x.GetText(), n.GetText()); break;
    case 16: out.Format("%s\r(next lvl: %s)", x.GetText(), n.GetText()); break;
    case 2:
    case 6:
    case 12:
    case 13: out.Format("%s (next lvl: %s)", x.GetText(), n.GetText()); break;
    default: out.Format("%s (next level: %s)", x.GetText(), n.GetText()); break;
    }
}

bool IsConstantEffect(u8 source) {
    return source == kFromEquipment || source == kFromDisease || source == kFromAbility;
}

bool PassesEffectsFilter(const CActiveEffect& entry, u32 filter) {
    if (filter == 2) return true;
    return IsConstantEffect(entry.source) == (filter == 1);
}

const char* ActiveEffectSourceName(const CActiveEffect& entry, const CRuleContext& rules) {
    if (!entry.origin) return nullptr;
    switch (entry.source) {
    case kFromEquipment: {
        const auto* item = static_cast<const CItemInstance*>(entry.origin);
        return item->type ? item->type->name : nullptr;
    }
    case kFromDrink: return static_cast<const CItemType*>(entry.origin)->name;
    case kFromSpell: return static_cast<const CSpell*>(entry.origin)->GetDisplayName();
    case kFromDisease:
    case kFromAbility: return static_cast<const CEffectBundle*>(entry.origin)->GetDisplayName();
    default: return nullptr;
    }
}

void AppendActiveEffectLine(const CActiveEffect& entry, int kind, const CRuleContext& rules, CStr& out) {
    int a = entry.strength;
    switch (kind) {
    case kListFortifySkill: out.AppendFormat("%+d %s", a, SkillName(rules, entry.target)); break;
    case kListFortifyAttribute: out.AppendFormat("%+d %s", a, AttributeName(rules, entry.target)); break;
    case kListFortifyHp:
    case kListFortifyUnholy:
    case kListFortifyMana:
    case kListFortifyAc:
    case kListFeather:
    case kListFortifyOutfit: out.AppendFormat("%+d", a); break;
    case kListResistPoison:
    case kListResistParalysis:
    case kListResistMagic:
    case kListResistDiseases:
    case kListFortifyMagic:
    case kListFortifyMelee: out.AppendFormat("%+d%%", DecodePercent(a)); break;
    case kListResistDisease: {
        const CDisease* d = rules.diseases ? rules.diseases->FindById(ReferenceId(entry)) : nullptr;
        out.AppendFormat("%+d%% %s", DecodePercent(a), d ? d->GetDisplayName() : "unknown disease");
        break;
    }
    case kListResistSpell:
    case kListFortifySpell: {
        const CSpell* s = rules.spells ? rules.spells->FindById(ReferenceId(entry)) : nullptr;
        out.AppendFormat("%+d%% %s", DecodePercent(a), s ? s->GetDisplayName() : "unknown spell");
        break;
    }
    case kListMagicImmunity: out.Append("Immunity"); break;
    case kListDetectSecrets: out.Append("Detect secrets"); break;
    case kListAlcoholic: out.AppendFormat("%u%%", static_cast<unsigned>(DecodePercent(a))); break;
    case kListParalysis: out.Append("Paralysis"); break;
    case kListCurse: out.Append("Curse"); break;
    case kListPoison:
    case kListDamage: out.AppendFormat("-%u hp/turn", static_cast<unsigned>(std::abs(a))); break;
    default: break;
    }
    if (entry.duration != 0 &&
        (entry.source == kFromDrink || entry.source == kFromSpell || entry.source == kFromHit))
        out.AppendFormat(", %u round%s", static_cast<unsigned>(entry.duration),
                         entry.duration == 1 ? "" : "s");
    out.Append(", ");
    const char* source = ActiveEffectSourceName(entry, rules);
    if (!source) source = "unknown";
    switch (entry.source) {
    case kFromEquipment: out.AppendFormat("(%s)", source); break;
    case kFromDrink: out.AppendFormat("(%s potion)", source); break;
    case kFromSpell: out.AppendFormat("(%s spell)", source); break;
    case kFromDisease: out.AppendFormat("(%s disease)", source); break;
    case kFromAbility: out.AppendFormat("(%s ability)", source); break;
    default: break;
    }
    out.Append("\r");
}
