#include "screens/npc/CraftRules.h"

#include "core/Random.h"
#include "core/Str.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/CharacterTables.h"
#include "data/CreatureCatalogue.h"
#include "data/Spells.h"

#include <algorithm>
#include <cstring>

namespace craft {

namespace {

constexpr u32 kGoldCap = 1000000000u;
constexpr u8 kTypeLeftOut = 0x10;

bool IsEmptyText(const char* text) { return !text || !*text; }

}  // namespace

// ---- Lists ---------------------------------------------------------------------------------------

int RowsPerPage(int listHeight, int rowHeight) {
    if (rowHeight <= 0 || listHeight < rowHeight) return 1;
    return listHeight / rowHeight;
}

int FirstRowOfPage(int selection, int rowsPerPage) {
    if (selection < 0) return 0;
    int rows = rowsPerPage < 1 ? 1 : rowsPerPage;
    return selection / rows * rows;
}

int ItemIndexFromKey(const char* key, int count) {
    if (IsEmptyText(key)) return -1;
    i64 value = 0;
    for (const char* p = key; *p; ++p) {
        if (*p < '0' || *p > '9') return -1;
        value = value * 10 + (*p - '0');
        if (value >= count) return -1;
    }
    return value < count ? static_cast<int>(value) : -1;
}

u32 ConditionPercent(u32 condition, u32 maxCondition) {
    u64 max = maxCondition ? maxCondition : 1;
    return static_cast<u32>(static_cast<u64>(condition) * 100 / max);
}

const char* ConditionWord(u32 condition, u32 maxCondition) {
    u32 p = ConditionPercent(condition, maxCondition);
    if (p < 10) return "broken";
    if (p < 30) return "poor";
    if (p < 70) return "average";
    if (p < 100) return "good";
    return "perfect";
}

u16 RaiseUseCounter(u16 counter) { return counter < 255 ? static_cast<u16>(counter + 1) : counter; }

// ---- Alchemy -------------------------------------------------------------------------------------

int AlchemyThreshold(int skill, int required) {
    if (skill > required) return 100;
    if (skill == required) return 90;
    return (skill - required + 20) * 5;
}

bool RollAlchemy(CRandom& random, int skill, int required) {
    int roll = static_cast<int>(random.Next(100));
    return roll <= AlchemyThreshold(skill, required);
}

void DistinctSlotTypes(const CItemType* slots[3]) {
    for (int i = 1; i < 3; ++i)
        for (int j = 0; j < i; ++j)
            if (slots[i] && slots[i] == slots[j]) slots[i] = nullptr;
}

namespace {

struct RequirementMatch {
    bool found = false;
    bool unidentified = false;
    int ingredient = -1;
};

bool EffectMeets(const CEffect& effect, int kind, int target, const char* id) {
    if (effect.kind != kind) return false;
    if ((kind == 1 || kind == 2) && effect.target != target) return false;
    if (kind == kEffectResistDisease &&
        (IsEmptyText(effect.id) || IsEmptyText(id) || std::strcmp(effect.id, id) != 0))
        return false;
    return true;
}

}  // namespace

std::vector<CPotionChoice> FindMatchingRecipes(const CRecipeList& recipes, const CItemCatalogue& items,
                                               int skill, const CItemType* const slots[3]) {
    std::vector<const CRecipe*> list;
    for (int r = 0; r < recipes.Count(); ++r) list.push_back(recipes.At(r));
    return FindMatchingRecipes(
        list, [&](const char* id) -> const CItemType* { return items.FindItemType(id); }, skill, slots);
}

std::vector<CPotionChoice> FindMatchingRecipes(const std::vector<const CRecipe*>& recipes,
                                               const ItemTypeLookup& findType, int skill,
                                               const CItemType* const slots[3]) {
    std::vector<CPotionChoice> choices;
    const CEffectList* lists[3] = {};
    for (int i = 0; i < 3; ++i)
        if (slots[i] && slots[i]->effects && slots[i]->effects->Count() > 0) lists[i] = slots[i]->effects;

    for (const CRecipe* recipe : recipes) {
        if (!recipe) continue;
        bool used[3][3] = {};
        CPotionChoice choice;
        bool met = true, anyRequirement = false, lastFlag = false;
        for (int k = 0; k < 3 && met; ++k) {
            const CRecipeIngredient& need = recipe->ingredients[k];
            if (need.value1 == 0) continue;
            anyRequirement = true;
            RequirementMatch match;
            for (int i = 0; i < 3 && !match.found; ++i) {
                if (!lists[i]) continue;
                int n = std::min(lists[i]->Count(), 3);
                for (int e = 0; e < n; ++e) {
                    const CEffect* effect = lists[i]->At(e);
                    if (used[i][e] || !effect || !EffectMeets(*effect, need.value1, need.value2, need.itemId))
                        continue;
                    used[i][e] = true;
                    match.found = true;
                    match.ingredient = i;
                    match.unidentified = (e == 1 && skill < 30) || (e == 2 && skill < 60);
                    break;
                }
            }
            if (!match.found) {
                met = false;
                break;
            }
            choice.ingredients[k] = slots[match.ingredient];
            lastFlag = match.unidentified;
        }
        if (!met || !anyRequirement) continue;
        const CItemType* potion = recipe->resultId ? findType(recipe->resultId) : nullptr;
        if (!potion) continue;
        choice.recipe = recipe;
        choice.potion = potion;
        choice.unidentified = lastFlag;
        choice.label = lastFlag ? "? Unknown" : (potion->name ? potion->name : "");
        choices.push_back(std::move(choice));
    }
    return choices;
}

bool BrewNeedsConfirmation(const CPotionChoice& choice, int skill) {
    return !choice.recipe || choice.recipe->value > skill || choice.unidentified;
}

// ---- Potions -------------------------------------------------------------------------------------

std::vector<CPotionGroup> GroupPotions(const std::vector<const CItemInstance*>& items) {
    std::vector<CPotionGroup> groups;
    for (size_t i = 0; i < items.size(); ++i) {
        const CItemInstance* item = items[i];
        if (!item || !item->type || item->type->itemClass != kItemPotion ||
            (item->type->flags & kTypeLeftOut))
            continue;
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const CPotionGroup& g) { return g.type == item->type; });
        if (it != groups.end())
            ++it->count;
        else
            groups.push_back({item->type, 1, static_cast<u32>(i)});
    }
    std::sort(groups.begin(), groups.end(), [](const CPotionGroup& a, const CPotionGroup& b) {
        if (a.type->rarity != b.type->rarity) return a.type->rarity > b.type->rarity;
        int byName = CompareStrings(a.type->name ? a.type->name : "", b.type->name ? b.type->name : "");
        if (byName != 0) return byName < 0;
        return a.firstIndex < b.firstIndex;
    });
    return groups;
}

std::string PotionRowText(const CPotionGroup& group) {
    std::string text = group.type && group.type->name ? group.type->name : "";
    if (group.count > 1) text += " (" + std::to_string(group.count) + ")";
    return text;
}

// ---- Wands and the selection ---------------------------------------------------------------------

bool IsWandItem(const CItemInstance& item) {
    const CEffectList* list = item.GetEffects();
    return item.type && item.type->IsWand() && list && list->Count() > 0;
}

const CEffect* FirstEffect(const CItemInstance& item) {
    const CEffectList* list = item.GetEffects();
    return list && list->Count() > 0 ? list->At(0) : nullptr;
}

int WandMaximum(const CItemInstance& item) {
    const CEffect* first = FirstEffect(item);
    return first ? first->amount : 0;
}

bool WandNeedsCharges(const CItemInstance& item) {
    return IsWandItem(item) && static_cast<int>(item.count) < WandMaximum(item);
}

bool IsListedForSelection(const CItemInstance& item, bool recharge) {
    const CItemType* type = item.type;
    if (!type || (type->flags & kTypeLeftOut)) return false;
    if (type->itemClass < kItemWeapon || (type->itemClass > kItemAccessory && type->itemClass != kItemMagic))
        return false;
    if (IsWandItem(item)) return WandNeedsCharges(item);
    if (recharge) return false;
    const CEffectList* list = item.GetEffects();
    return (!list || list->Count() == 0) && type->enchantCapacity != 0;
}

bool HasSelectableItem(const std::vector<const CItemInstance*>& items, bool recharge) {
    for (const CItemInstance* item : items)
        if (item && IsListedForSelection(*item, recharge)) return true;
    return false;
}

int EnchantStorageLimit(int level) { return level * 3; }

bool IsWandRechargeable(const CItemInstance& wand, const CSpellList* spells) {
    const CEffect* first = FirstEffect(wand);
    if (!first || !spells || IsEmptyText(first->id)) return false;
    const CSpell* spell = spells->FindById(first->id);
    return spell && !spell->HasEffectKind49();
}

// ---- Prices --------------------------------------------------------------------------------------

int ChoosePriceLevel(u8 ownLevel, bool variableFound, i32 variableValue) {
    return variableFound && variableValue > 0 ? variableValue : ownLevel;
}

i32 ApplyPriceLevel(i64 value, int level) {
    i64 price = value * level / 10;
    return static_cast<i32>(std::clamp<i64>(price, INT32_MIN, INT32_MAX));
}

i32 RechargePrice(i32 valueNow, i32 valueFull, int level) {
    i32 price = ApplyPriceLevel(static_cast<i64>(valueFull) - valueNow, level);
    return price < 0 ? 0 : price;
}

i32 ComputeRechargePrice(CItemInstance& wand, const CRuleContext& game, int level) {
    if (!wand.type) return 0;
    u16 charges = wand.count;
    i64 now = wand.type->GetValue(&wand, game);
    int maximum = WandMaximum(wand);
    wand.count = static_cast<u16>(maximum > 0 ? maximum : 0);
    i64 full = wand.type->GetValue(&wand, game);
    wand.count = charges;
    return RechargePrice(static_cast<i32>(std::min<i64>(now, INT32_MAX)),
                         static_cast<i32>(std::min<i64>(full, INT32_MAX)), level);
}

// ---- Enchanting ----------------------------------------------------------------------------------

int EnchantCapacity(u16 typeStorage, int limit) { return std::min<int>(typeStorage, limit); }

CEnchantTotals ComputeEnchantTotals(const CEffectList& list, const CRuleContext& game, int source,
                                    int capacity, bool enchanter, int priceLevel) {
    CEnchantTotals totals;
    SumEffectListCosts(list, game, source, totals.storage, totals.gold);
    totals.price = enchanter ? ApplyPriceLevel(totals.gold, priceLevel) : totals.gold;
    totals.available =
        static_cast<i32>(std::clamp<i64>(static_cast<i64>(capacity) - totals.storage, INT32_MIN, INT32_MAX));
    return totals;
}

EnchantCheck CheckEnchant(const CEffectList& list, const CEnchantTotals& totals, bool enchanter, u32 gold) {
    if (list.Count() == 0) return EnchantCheck::Empty;
    if (enchanter && static_cast<i64>(totals.price) > static_cast<i64>(gold)) return EnchantCheck::NoGold;
    if (totals.available < 0) return EnchantCheck::NoStorage;
    bool hp = false, unholy = false;
    for (int i = 0; i < list.Count(); ++i) {
        const CEffect* e = list.At(i);
        hp = hp || (e && e->kind == 5);
        unholy = unholy || (e && e->kind == 8);
    }
    return hp && unholy ? EnchantCheck::HpAndUnholy : EnchantCheck::Ok;
}

void ApplyEnchantment(CItemInstance& item, CEffectList* list, int source) {
    delete item.effects;
    item.effects = list;
    if (source == kSourceWand && list && list->Count() > 0) {
        int charges = list->At(0)->amount;
        item.count = static_cast<u16>(std::clamp(charges, 0, 0xffff));
    }
}

u32 PayPrice(u32 gold, i32 price) {
    i64 rest = static_cast<i64>(gold) - price;
    return static_cast<u32>(std::clamp<i64>(rest, 0, kGoldCap));
}

CEnchantValueRange GetEnchantValueRange(int kind) {
    CEnchantValueRange r;
    switch (kind) {
    case 1: r = {EnchantDatum::Skill, true, false, 1, 50}; break;
    case 2: r = {EnchantDatum::Attribute, true, false, 1, 20}; break;
    case 5:
    case 8:
    case 10:
    case 20:
    case 58: r = {EnchantDatum::None, true, false, 1, 100}; break;
    case 11: r = {EnchantDatum::None, true, false, 1, 10}; break;
    case 15:
    case 16:
    case 22:
    case 33:
    case 36:
    case 38: r = {EnchantDatum::None, true, true, 1, 100}; break;
    case 17: r = {EnchantDatum::Disease, true, true, 1, 100}; break;
    case 23: r = {EnchantDatum::Creature, true, false, 1, 50}; break;
    case 24: r = {EnchantDatum::Target, true, false, 1, 50}; break;
    case 25: r = {EnchantDatum::None, true, false, 1, 50}; break;
    case 32: r = {EnchantDatum::Disease, false, false, 1, 100}; break;
    default: break;
    }
    return r;
}

int NormaliseEnchantAmount(int amount, const CEnchantValueRange& range) {
    if (!range.takesValue) return 1;
    int v = amount > 100 ? amount - 100 : amount;
    if (range.percent) return v < 1 ? 101 : std::min(v, range.maximum) + 100;
    return v < 1 ? 1 : std::min(v, range.maximum);
}

int StepEnchantAmount(int amount, int step, const CEnchantValueRange& range) {
    int shown = range.percent ? amount - 100 : amount;
    int v = std::clamp(shown + step, range.minimum, range.maximum);
    return range.percent ? v + 100 : v;
}

bool IsEnchantEntryComplete(const CEffect& entry) {
    if (entry.kind == 0 || !IsValidEffectKind(entry.kind)) return false;
    if (entry.kind == kEffectCastSpell) return !IsEmptyText(entry.id);
    switch (GetEnchantValueRange(entry.kind).datum) {
    case EnchantDatum::Skill: return entry.target >= 1 && entry.target <= 20;
    case EnchantDatum::Attribute: return entry.target >= 1 && entry.target <= 5;
    case EnchantDatum::Target: return entry.target >= 1 && entry.target <= 3;
    case EnchantDatum::Disease:
    case EnchantDatum::Creature: return !IsEmptyText(entry.id);
    case EnchantDatum::None: break;
    }
    return true;
}

std::vector<CDatumRow> EnchantDatumRows(EnchantDatum datum, const CRuleContext& rules) {
    std::vector<CDatumRow> rows;
    switch (datum) {
    case EnchantDatum::Skill:
        for (int id = 1; id <= 20; ++id) {
            const char* name = rules.skills ? rules.skills->GetName(id) : nullptr;
            rows.push_back({"", name ? name : "", static_cast<u8>(id)});
        }
        break;
    case EnchantDatum::Attribute:
        for (int id = 1; id <= 5; ++id) {
            const char* name = rules.attributes ? rules.attributes->GetName(id) : nullptr;
            rows.push_back({"", name ? name : "", static_cast<u8>(id)});
        }
        break;
    case EnchantDatum::Target: rows = {{"", "Humanoids", 1}, {"", "Creatures", 2}, {"", "Undeads", 3}}; break;
    case EnchantDatum::Disease:
        for (int i = 0; rules.diseases && i < rules.diseases->Count(); ++i) {
            const CDisease* d = rules.diseases->At(i);
            if (d && !IsEmptyText(d->GetName()))
                rows.push_back({d->GetName(), d->GetDisplayName() ? d->GetDisplayName() : "", 0});
        }
        break;
    case EnchantDatum::Creature:
        for (int i = 0; rules.creatures && i < rules.creatures->GetTypeCount(); ++i) {
            // Strikes and their cost name the creature kind: one row per kind that is not a person.
            const CMonsterType* t = rules.creatures->GetType(i);
            if (!t || t->kind == 4 || IsEmptyText(t->kindId)) continue;
            if (std::any_of(rows.begin(), rows.end(), [&](const CDatumRow& r) { return r.id == t->kindId; }))
                continue;
            const CCreatureKind* kind = rules.creatures->FindCreatureKind(t->kindId);
            rows.push_back({t->kindId,
                            kind ? kind->GetDisplayName() : (t->displayName ? t->displayName : t->kindId),
                            0});
        }
        break;
    case EnchantDatum::None: break;
    }
    return rows;
}

std::vector<CDatumRow> KnownSpellRows(const CRuleContext& rules) {
    std::vector<CDatumRow> rows;
    if (!rules.spells || !rules.player) return rows;
    for (int school = 1; school <= 6; ++school)
        for (int i = 0; i < rules.spells->Count(); ++i) {
            const CSpell* spell = rules.spells->At(i);
            if (spell && spell->school == school && !IsEmptyText(spell->GetName()) &&
                rules.player->KnowsSpell(*spell))
                rows.push_back({spell->GetName(), spell->GetDisplayName(), 0});
        }
    return rows;
}

int FindDatumRow(const std::vector<CDatumRow>& rows, EnchantDatum datum, const CEffect& entry) {
    const bool byId = datum == EnchantDatum::Disease || datum == EnchantDatum::Creature;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (byId ? (!IsEmptyText(entry.id) && rows[i].id == entry.id)
                 : (rows[i].value == entry.target && entry.target))
            return static_cast<int>(i);
    }
    return -1;
}

void StoreDatum(CEffect& entry, EnchantDatum datum, const CDatumRow* row) {
    const bool byId = datum == EnchantDatum::Disease || datum == EnchantDatum::Creature;
    entry.SetId(row && byId ? row->id.c_str() : nullptr);
    entry.target = row && !byId ? row->value : 0;
}

int StepSpellEntryValue(int value, int step) { return std::clamp(value + step, 1, 100); }

// ---- Lock picking --------------------------------------------------------------------------------

bool IsUsablePick(const CItemInstance& item) {
    const CItemType* type = item.type;
    return type && type->itemClass == kItemKey && type->subclass == 2 && !(type->flags & kTypeLeftOut) &&
           ConditionPercent(item.count, type->maxCondition) >= 10;
}

int PickSkill(int playerSkill, u32 condition) { return playerSkill + static_cast<int>(condition / 500); }

const char* LockChanceWord(bool havePick, int skill, int difficulty) {
    if (!havePick || difficulty > 100) return "none";
    if (skill > difficulty) return "very good";
    if (skill > 9 * difficulty / 10) return "good";
    if (skill > 7 * difficulty / 10) return "moderate";
    return "slight";
}

CPickAttempt AttemptLockPick(CRandom& random, CItemInstance& pick, int playerSkill, u16 lockWord,
                             u16& useCounter) {
    CPickAttempt attempt;
    int first = static_cast<int>(random.Next(100 - playerSkill));
    int second = static_cast<int>(random.Next(20));
    attempt.wear = first * 3 / 2 + second + 10;
    pick.count = static_cast<u16>(std::max(0, static_cast<int>(pick.count) - attempt.wear));
    attempt.pickLeft = !IsUsablePick(pick);
    int skill = PickSkill(playerSkill, pick.count);
    useCounter = RaiseUseCounter(useCounter);
    int difficulty = LockDifficulty(lockWord);
    if (difficulty <= 100 && static_cast<int>(random.Next(2 * skill / 5)) + 4 * skill / 5 > difficulty)
        attempt.result = PickResult::Opened;
    else
        attempt.result = TrapStrength(lockWord) != 0 ? PickResult::Trapped : PickResult::Failed;
    return attempt;
}

bool CFailedNotice::Expire(u32 now) {
    if (!shown_ || static_cast<i32>(now - until_) <= 0) return false;
    shown_ = false;
    return true;
}

}  // namespace craft
