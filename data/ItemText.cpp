#include "data/ItemText.h"

#include "data/EffectText.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"

namespace {

const char* const kClassNames[kMaxItemClass + 1] = {
    "?",       "Weapon",       "Heavy armor", "Light armor", "Accessory", "Book",
    "Alchemy", "Ingredient",   "Potion",      "Magic",       "Money",     "Key",
    "Repair",  "Miscellanous", "Comestible",  "Gem",         "Card",
};

const char* const kWeaponSubclasses[] = {"hand",     "short sword", "long sword", "mace",       "axe",
                                         "hammer",   "club",        "magicstaff", "throwing",   "short bow",
                                         "long bow", "quiver",      "crossbow",   "bolt quiver"};
const char* const kArmourSubclasses[] = {"?",         "Shield", "Arm. pants", "Armor", "Helm",
                                         "Gauntlets", "Boots",  "Cloak",      "Belt"};
const char* const kAccessorySubclasses[] = {"?", "Amulet", "Ring"};
const char* const kBookSubclasses[] = {"?", "Book", "Letter", "Map"};
const char* const kAlchemySubclasses[] = {"?", "Mortar/pestle"};
const char* const kIngredientSubclasses[] = {"?", "Ingredient"};
const char* const kPotionSubclasses[] = {"?", "Potion"};
const char* const kMagicSubclasses[] = {"?", "Scroll", "Spellbook", "Blank scroll", "Wand", "Empty wand"};
const char* const kMoneySubclasses[] = {"?", "Money"};
const char* const kKeySubclasses[] = {"?", "Key", "Lockpick"};
const char* const kRepairSubclasses[] = {"?", "Hammer"};
const char* const kMiscSubclasses[] = {"?", "Miscellanous"};
const char* const kComestibleSubclasses[] = {"?", "Food", "Water"};
const char* const kGemSubclasses[] = {"?", "Gem"};
const char* const kCardSubclasses[] = {"?", "Card"};

struct SubclassTable {
    const char* const* names;
    int count;
};
template <size_t N>
constexpr SubclassTable T(const char* const (&a)[N]) {
    return {a, static_cast<int>(N)};
}
const SubclassTable kSubclasses[kMaxItemClass + 1] = {
    {nullptr, 0},          T(kWeaponSubclasses),     T(kArmourSubclasses),
    T(kArmourSubclasses),  T(kAccessorySubclasses),  T(kBookSubclasses),
    T(kAlchemySubclasses), T(kIngredientSubclasses), T(kPotionSubclasses),
    T(kMagicSubclasses),   T(kMoneySubclasses),      T(kKeySubclasses),
    T(kRepairSubclasses),  T(kMiscSubclasses),       T(kComestibleSubclasses),
    T(kGemSubclasses),     T(kCardSubclasses),
};

// Layouts 2, 5, 6, 7, 8, 12 and 13 separate description parts with ", ".
bool SmallLayout(u32 mode) { return IsSmallLayout(mode) && mode != 16; }
bool CompactDamage(u32 mode) { return mode == 5 || mode == 8; }

// Numbers as the small interface shows them: 12K, 3M.
void FormatCompact(u32 value, CStr& out) {
    if (value >= 1000000)
        out.Format("%uM", value / 1000000);
    else if (value >= 10000)
        out.Format("%uK", value / 1000);
    else
        out.Format("%u", value);
}

const CSpell* FirstEffectSpell(const CEffectList* list, const CRuleContext& game) {
    if (!list || list->Count() == 0 || !game.spells) return nullptr;
    return game.spells->FindById(list->At(0)->id);
}

}  // namespace

const char* GetItemClassName(int itemClass) {
    return itemClass >= 0 && itemClass <= kMaxItemClass ? kClassNames[itemClass] : "?";
}

const char* GetItemSubclassName(int itemClass, int subclass) {
    if (itemClass < 1 || itemClass > kMaxItemClass) return "?";
    const SubclassTable& t = kSubclasses[itemClass];
    return subclass >= 0 && subclass < t.count ? t.names[subclass] : "?";
}

void FormatItemName(const CItemType& type, const CItemInstance* instance, bool shortForm,
                    const CRuleContext& game, CStr& out) {
    const char* n = type.name ? type.name : "";
    switch (type.itemClass) {
    case kItemBook:
        if (type.subclass == 1)
            out.Format("'%s' book", n);
        else
            out = n;
        return;
    case kItemPotion:
        out = (type.flags & 1) ? "Homemade " : "";
        out.AppendFormat("%s potion", n);
        return;
    case kItemGem: out.Format("%s gem", n); return;
    case kItemCard: out.Format("'%s' card", n); return;
    case kItemMagic:
        switch (type.subclass) {
        case 1:
            if (shortForm)
                out = n;
            else
                out.Format("Scroll of %s", n);
            return;
        case 2: out.Format("Spellbook of %s", n); return;
        case 4:
            if (shortForm)
                out = n;
            else
                out.Format("Wand of %s", n);
            return;
        case 3:
        case 5: {
            const CEffectList* own = instance ? instance->effects : nullptr;
            if (!own || own->Count() == 0) {
                out = n;
                return;
            }
            const CSpell* spell = FirstEffectSpell(own, game);
            const char* spellName = spell ? spell->GetDisplayName() : "Unknown";
            if (shortForm)
                out = spellName;
            else
                out.Format(type.subclass == 3 ? "Scroll of %s" : "Wand of %s", spellName);
            return;
        }
        default: return;
        }
    default: out = n; return;
    }
}

void FormatEnchantability(const CItemType& type, CStr& out) {
    u32 e = type.enchantCapacity;
    out.Append(e == 0    ? "Unenchantable"
               : e < 100 ? "Slightly enchantable"
               : e < 200 ? "Moderately enchantable"
               : e < 300 ? "May be enchantable"
               : e < 500 ? "Strongly enchantable"
                         : "Superiorly enchantable");
}

void FormatItemDescription(const CItemType& type, const CItemInstance* instance, const CRuleContext& game,
                           CStr& out, bool showNumbers) {
    const u32 mode = game.layoutMode;
    const char* sep = SmallLayout(mode) ? ", " : "\r";
    const bool compact = CompactDamage(mode);
    const u32 c = instance ? instance->count : 0;
    const u32 M = type.maxCondition;
    const int cls = type.itemClass;
    const bool weapon = type.IsWeapon();
    const bool counted = type.IsCountedWeapon();

    // 1. What the item is.
    if (weapon)
        out.Append((type.flags & 2) ? "Light weapon\r" : "Heavy weapon\r");
    else if (cls == kItemHeavyArmour || cls == kItemLightArmour)
        out.AppendFormat("%s\r", GetItemClassName(cls));
    else if (cls == kItemIngredient)
        out.Append("Alchemy ingredient\r");
    else if (cls == kItemComestible)
        out.Append("Comestible\r");
    else if (cls == kItemMisc || cls == kItemCard)
        out.AppendFormat("%s\r", GetItemSubclassName(cls, type.subclass));

    // 2. Quantity, damage, armour.
    const char* damage = compact ? "Dam: %u-%u" : "Damage: %u-%u";
    if (counted) {
        out.AppendFormat("Contains %u %s.\r", c, c == 1 ? "unit" : "units");
        out.AppendFormat(damage, static_cast<u32>(type.damageLow), static_cast<u32>(type.damageHigh));
        out.Append(sep);
    } else if (weapon) {
        out.AppendFormat(damage, type.GetDamageLow(c), type.GetDamageHigh(c));
        out.Append(sep);
    } else if (cls == kItemHeavyArmour || cls == kItemLightArmour) {
        out.AppendFormat("AC: %u", type.GetArmourClass(c));
        out.Append(sep);
    }

    // 3. Weight.
    if (cls != kItemMoney)
        out.AppendFormat("Weight: %u.%u\r", type.weight / 100u, (type.weight % 100u) / 10u);

    // 4. Alignment.
    if (cls >= kItemWeapon && cls <= kItemAccessory) {
        if (type.alignment == 1)
            out.Append("Requires good alignment\r");
        else if (type.alignment == 2)
            out.Append("Requires evil alignment\r");
    }

    // 5. Outfit.
    if ((weapon && !counted) || cls == kItemHeavyArmour || cls == kItemLightArmour || cls == kItemAccessory) {
        u32 o = 10 * type.GetOutfitPoints(c);
        out.Append("Outfit: ");
        out.Append(o < 30 ? "plain" : o < 60 ? "regular" : o < 90 ? "fashionable" : "swell");
        if (showNumbers) out.AppendFormat(" (%u)", o);
        out.Append("\r");
    }

    // 6. Condition. An item whose maximum is 0 does not wear and reads as perfect.
    if (type.Wears()) {
        if (showNumbers) {
            CStr a, b;
            FormatCompact(c, a);
            FormatCompact(M, b);
            out.AppendFormat("Condition: %s/%s\r", a.GetText(), b.GetText());
        } else {
            u32 q = M ? static_cast<u32>(100ull * c / M) : 100;
            out.AppendFormat("Condition: %s\r", q < 10    ? "broken"
                                                : q < 30  ? "poor"
                                                : q < 70  ? "average"
                                                : q < 100 ? "good"
                                                          : "perfect");
        }
    }

    // 7, 8. Effects.
    if (cls == kItemIngredient) {
        out.Append("\rEffects:");
        if (compact) out.Append(" ");
    }
    const char* lineBreak = compact ? "" : "\r";
    if (instance && instance->effects) {
        bool shortForm = IsSmallLayout(mode) || mode == 4;
        out.Append(lineBreak);
        FormatEffectListText(out, *instance->effects, game, type.GetEffectSource(), c, shortForm);
    } else if (type.effects) {
        bool shortForm = SmallLayout(mode) || mode == 2 || mode == 4;
        out.Append(lineBreak);
        FormatEffectListText(out, *type.effects, game, type.GetEffectSource(), c, shortForm);
    } else if ((cls >= kItemWeapon && cls <= kItemAccessory) ||
               (cls == kItemMagic && (type.subclass == 3 || type.subclass == 5))) {
        out.Append(lineBreak);
        FormatEnchantability(type, out);
    }

    // 9. What the player can do with magic items.
    IRulePlayer* player = game.player;
    if (player && cls == kItemMagic) {
        if (type.subclass == 2) {
            const CSpell* spell = FirstEffectSpell(type.effects, game);
            if (spell) {
                if (!player->MayLearnSchool(spell->school))
                    out.Append("You can't learn this spell.");
                else
                    out.Append(player->KnowsSpell(*spell) ? "You already know this spell."
                                                          : "You don't know this spell.");
            }
        } else if (type.subclass == 1 || type.subclass == 3) {
            if (!player->MayUseItemMagic()) out.Append("You can't read this scroll.");
        } else if (type.subclass == 4 || type.subclass == 5) {
            if (!player->CanUseWand(type, instance)) out.Append("You can't use this wand.");
        }
    }

    // 10. Skill books.
    if (player && cls == kItemBook && type.subclass == 1) {
        out.Append("\r");
        int skill = type.effects && type.effects->Count() > 0 ? type.effects->At(0)->target : 0;
        if (player->HasReadBook(type.GetName()))
            out.Append("You have already read this book.");
        else if (!player->CanRaiseSkill(skill))
            out.Append("You can't learn from this book.");
        else
            out.Append("You haven't read this book yet.");
    }
}
