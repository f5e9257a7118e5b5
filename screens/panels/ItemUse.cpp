#include "screens/panels/ItemUse.h"

#include <algorithm>
#include <string>

#include "data/CharacterTables.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "world/Player.h"

namespace {

constexpr u8 kTypeUnusable = 0x10;

const char* TypeName(const CItemType& type) {
    return type.name ? type.name : (type.GetName() ? type.GetName() : "");
}

CItemUseOutcome Refuse(CItemUseOutcome::Kind kind, const char* text) {
    CItemUseOutcome outcome;
    outcome.kind = kind;
    outcome.message = text;
    return outcome;
}

const CEffect* FirstEffect(const CItemType& type) {
    return type.effects && type.effects->Count() > 0 ? type.effects->At(0) : nullptr;
}

}  // namespace

bool ShowsUseButton(const CItemType& type) {
    switch (type.itemClass) {
    case kItemBook: return type.subclass >= 1 && type.subclass <= 3;
    case kItemAlchemy:
    case kItemRepair: return true;
    case kItemMagic: return type.subclass == 2;
    default: return false;
    }
}

CItemUseOutcome UseItem(const CItemType& type, bool danger) {
    const bool unusable = (type.flags & kTypeUnusable) != 0;
    CItemUseOutcome outcome;
    switch (type.itemClass) {
    case kItemBook: {
        if (danger) {
            static const char* const kWhat[] = {"read anything", "read books", "read letters",
                                                "examine maps"};
            outcome = Refuse(CItemUseOutcome::kRefusedDanger, "");
            outcome.message.Format("You cannot %s when there might be immediate threat.",
                                   kWhat[type.subclass <= 3 ? type.subclass : 0]);
            return outcome;
        }
        if (unusable)
            return Refuse(CItemUseOutcome::kRefusedUnusable, type.subclass == 1 ? "You cannot read this book."
                                                             : type.subclass == 3
                                                                 ? "You cannot read this map."
                                                                 : "You cannot read this letter.");
        if (type.subclass >= 1 && type.subclass <= 3) {
            outcome.kind = CItemUseOutcome::kOpenReader;
            outcome.readerKind = type.subclass == 1 ? 1 : 3;
        }
        return outcome;
    }
    case kItemAlchemy:
        if (danger)
            return Refuse(CItemUseOutcome::kRefusedDanger,
                          "You cannot mix potions when there might be immediate threat.");
        if (unusable) return Refuse(CItemUseOutcome::kRefusedUnusable, "You cannot use this item.");
        outcome.kind = CItemUseOutcome::kOpenAlchemy;
        return outcome;
    case kItemIngredient:
        return unusable ? Refuse(CItemUseOutcome::kRefusedUnusable, "You cannot eat this ingredient.")
                        : outcome;
    case kItemPotion:
        return unusable ? Refuse(CItemUseOutcome::kRefusedUnusable, "You cannot quaff this potion.")
                        : outcome;
    case kItemMagic:
        if (type.subclass != 2) return outcome;
        if (danger)
            return Refuse(CItemUseOutcome::kRefusedDanger,
                          "You cannot read spellbooks when there might be immediate threat.");
        if (unusable) return Refuse(CItemUseOutcome::kRefusedUnusable, "You cannot read this spellbook.");
        outcome.kind = CItemUseOutcome::kOpenReader;
        outcome.readerKind = 2;
        return outcome;
    case kItemRepair:
        if (danger)
            return Refuse(CItemUseOutcome::kRefusedDanger,
                          "You cannot repair items when there might be immediate threat.");
        if (unusable) return Refuse(CItemUseOutcome::kRefusedUnusable, "You cannot use this item.");
        outcome.kind = CItemUseOutcome::kOpenRepair;
        return outcome;
    default: return outcome;
    }
}

CStr LearnFromBook(CPlayer& player, const CItemType& book, const CRuleContext& rules) {
    CStr notice;
    const char* id = book.GetName();
    const CEffect* effect = FirstEffect(book);
    if (!effect || player.HasReadBook(id)) {
        player.RememberReadText(id);
        return notice;
    }
    const int skill = effect->target;
    const u32 amount = static_cast<u16>(effect->amount);
    const char* skillName = rules.skills ? rules.skills->GetName(skill) : nullptr;
    // A skill id from data outside the table names no skill: nothing can be learnt from it.
    if (!skillName || skill < 1 || skill > kPlayerSkillCount) {
        notice = "You can't learn from this book.";
        return notice;
    }
    if (player.CanRaiseSkill(skill)) {
        player.RememberReadText(id);
        notice.Format("Your %s skill has been increased by %u.", skillName, amount);
        if (skill != player.MissingSkill())
            player.skills[skill] =
                static_cast<u16>(std::min<u32>(player.skills[skill] + amount, kMaxSkillValue));
        return notice;
    }
    if (player.GetRace() == 1 && skill == kSkillHealMagic) {
        notice = "You can't learn Heal Magic, because you're undead.";
    } else if (player.GetRace() != 1 && skill == kSkillUndeadMagic) {
        notice = "You can't learn Undead Magic, because you aren't undead.";
    } else {
        const CSkillEntry* entry = rules.skills->GetEntry(skill);
        const char* attribute =
            entry && rules.attributes ? rules.attributes->GetName(entry->attribute) : nullptr;
        notice.Format(
            "You can't learn from this book.\nYour %s skill cannot be higher than the double of its "
            "governing attribute (%s).",
            skillName, attribute ? attribute : "?");
    }
    return notice;
}

CStr LearnFromSpellbook(CPlayer& player, const CItemType& book, const CRuleContext& rules) {
    CStr notice;
    const char* id = book.GetName();
    const CEffect* effect = FirstEffect(book);
    if (!effect || player.HasReadBook(id)) return notice;
    player.RememberReadText(id);
    const CSpell* spell = rules.spells && effect->id ? rules.spells->FindById(effect->id) : nullptr;
    if (!spell) return notice;
    if (!player.CanUseSpellBook(spell->GetName())) {
        notice = player.GetRace() == 1 && spell->school == 1
                     ? "You can't learn Heal Magic spells, because you're undead."
                     : "You can't learn Undead Magic spells, because you aren't undead.";
    } else if (!player.KnowsSpell(*spell)) {
        notice.Format("You learn the %s spell.", spell->GetDisplayName());
        player.LearnSpell(spell->GetName(), false);
    } else {
        notice = "You already know this spell.";
    }
    return notice;
}

bool IsItemBroken(u32 condition, u32 maxCondition) {
    return static_cast<u64>(condition) * 100 / std::max<u32>(maxCondition, 1) < 10;
}

namespace {

const char* EquipVerb(const CItemType& type) {
    if (type.itemClass == kItemWeapon) return type.subclass == 11 || type.subclass == 13 ? "select" : "wield";
    if (type.itemClass == kItemHeavyArmour || type.itemClass == kItemLightArmour)
        return type.subclass == 1 ? "wield" : "equip";
    return "equip";
}

const char* PastVerb(const CItemType& type) {
    if (type.itemClass == kItemAccessory ||
        ((type.itemClass == kItemHeavyArmour || type.itemClass == kItemLightArmour) && type.subclass != 1))
        return "equipped";
    if (type.itemClass == kItemWeapon && (type.subclass == 11 || type.subclass == 13)) return "selected";
    return "wielded";
}

bool IsShield(const CItemType& type) {
    return (type.itemClass == kItemHeavyArmour || type.itemClass == kItemLightArmour) && type.subclass == 1;
}

bool HoldsTwoHanded(const CPlayer& player, bool onlyNine) {
    const CItemInstance* right = player.equipment[5];
    if (!right || !right->type || right->type->itemClass != kItemWeapon) return false;
    return right->type->subclass == 9 || (!onlyNine && right->type->subclass == 10);
}

bool IsWorn(const CPlayer& player, const CItemInstance* item) {
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot)
        if (player.equipment[slot] == item) return true;
    return false;
}

}  // namespace

CEquipOutcome ToggleEquip(CPlayer& player, CItemInstance* item, bool forbidden, bool danger, bool detail) {
    CEquipOutcome outcome;
    if (!item || !item->type || forbidden) return outcome;
    const CItemType& type = *item->type;
    const char* verb = EquipVerb(type);
    outcome.kind = CEquipOutcome::kRefused;
    if (danger && type.itemClass != kItemWeapon && !IsShield(type)) {
        outcome.message =
            "You cannot equip or remove anything (except weapons and shields) when there might be "
            "immediate threat.";
        return outcome;
    }
    if (type.flags & kTypeUnusable) {
        outcome.message.Format("You cannot %s this item.", verb);
        return outcome;
    }
    const bool wears =
        (type.itemClass == kItemWeapon && type.subclass != 8 && type.subclass != 11 && type.subclass != 13) ||
        type.itemClass == kItemHeavyArmour || type.itemClass == kItemLightArmour;
    if (wears && IsItemBroken(item->count, type.maxCondition)) {
        outcome.message.Format("This item is broken - you cannot %s it.", verb);
        return outcome;
    }
    const std::string phrase = CPlayer::FormatItemPhrase(type, 1);
    outcome.kind = CEquipOutcome::kDone;
    if (IsWorn(player, item)) {
        player.UnequipItem(item);
        outcome.message.Format("%s%s.", detail ? "You have removed " : "Removed: ", phrase.c_str());
        return outcome;
    }
    bool second = false;
    if (type.itemClass == kItemWeapon && type.subclass == 1) {
        if (player.equipment[5] && player.equipment[6]) {
            outcome.kind = CEquipOutcome::kAskHand;
            return outcome;
        }
        second = player.equipment[5] != nullptr && !HoldsTwoHanded(player, false);
    } else if (type.itemClass == kItemWeapon && (type.subclass == 9 || type.subclass == 10)) {
        player.equipment[6] = nullptr;
    } else if (IsShield(type)) {
        if (HoldsTwoHanded(player, true)) player.equipment[5] = nullptr;
        second = true;
    } else if (type.itemClass == kItemAccessory && type.subclass == 2) {
        if (player.equipment[8] && player.equipment[9]) {
            outcome.kind = CEquipOutcome::kAskHand;
            return outcome;
        }
        second = player.equipment[8] != nullptr;
    }
    player.EquipItem(item, second);
    const char* past = PastVerb(type);
    if (detail) {
        outcome.message.Format("You have %s %s.", past, phrase.c_str());
    } else {
        std::string upper(past);
        if (upper[0] >= 'a' && upper[0] <= 'z') upper[0] = static_cast<char>(upper[0] - 'a' + 'A');
        outcome.message.Format("%s: %s.", upper.c_str(), TypeName(type));
    }
    return outcome;
}

CEquipOutcome WieldInHand(CPlayer& player, CItemInstance* item, bool left) {
    CEquipOutcome outcome;
    if (!item || !item->type) return outcome;
    player.EquipItem(item, left);
    outcome.kind = CEquipOutcome::kDone;
    outcome.message.Format("You have wielded %s in your %s hand.",
                           CPlayer::FormatItemPhrase(*item->type, 1).c_str(), left ? "left" : "right");
    return outcome;
}
