// The rules of the crafts -- brewing, potion choice, enchanting, wand recharge and lock picking --
// as plain functions over values, items and the rule tables, so that the dialogs only show and ask.
#pragma once

#include "core/Types.h"

#include <functional>
#include <string>
#include <vector>

class CItemCatalogue;
class CItemType;
class CRandom;
class CRecipe;
class CRecipeList;
class CSpellList;
class CEffectList;
struct CEffect;
struct CItemInstance;
struct CRuleContext;

namespace craft {

// ---- Lists of the craft dialogs ----------------------------------------------------------------

// Whole rows that fit a list; at least 1, so that a list whose layout element is missing in the
// current mode (height 0) still pages instead of dividing by zero.
int RowsPerPage(int listHeight, int rowHeight);
// The first row of the page that holds the selection (-1 none: the first page).
int FirstRowOfPage(int selection, int rowsPerPage);
// A list row's key as an index below `count`, or -1 when the key is missing, not a number or out of
// range (a stale row never reaches past the player's items).
int ItemIndexFromKey(const char* key, int count);

// "broken" .. "perfect" by condition x 100 / maximum; a maximum of 0 counts as 1.
const char* ConditionWord(u32 condition, u32 maxCondition);
u32 ConditionPercent(u32 condition, u32 maxCondition);

// A skill's use counter after one more use: raised by one while below 255.
u16 RaiseUseCounter(u16 counter);

// ---- Alchemy -----------------------------------------------------------------------------------

constexpr int kAlchemySkill = 16;

// The success threshold T for skill S against the recipe's required level R; the brew succeeds when
// a roll 0..99 is at most T.
int AlchemyThreshold(int skill, int required);
// Draws the roll (one Next(100)) and tells whether the brew succeeds.
bool RollAlchemy(CRandom& random, int skill, int required);

// One potion that the chosen ingredients can make.
struct CPotionChoice {
    std::string label;  // the potion's name, or "? Unknown"
    const CRecipe* recipe = nullptr;
    const CItemType* potion = nullptr;
    bool unidentified = false;
    const CItemType* ingredients[3] = {};  // the ingredient that met each requirement
};

// The three slot types with repeats of an earlier slot's type taken as empty.
void DistinctSlotTypes(const CItemType* slots[3]);
// Every recipe, in list order, whose non-empty requirements the ingredients meet at skill S. A recipe
// without any requirement is never listed: it would make a potion out of nothing.
using ItemTypeLookup = std::function<const CItemType*(const char* id)>;
std::vector<CPotionChoice> FindMatchingRecipes(const std::vector<const CRecipe*>& recipes,
                                               const ItemTypeLookup& findType, int skill,
                                               const CItemType* const slots[3]);
std::vector<CPotionChoice> FindMatchingRecipes(const CRecipeList& recipes, const CItemCatalogue& items,
                                               int skill, const CItemType* const slots[3]);
// Whether the dialog asks before brewing: the skill is below the recipe's level or the potion unknown.
bool BrewNeedsConfirmation(const CPotionChoice& choice, int skill);

// ---- Potion selection --------------------------------------------------------------------------

struct CPotionGroup {
    const CItemType* type = nullptr;
    u32 count = 0;
    u32 firstIndex = 0;  // the first item of the type in the player's items
};
// The carried potions grouped by type (class 8, not flagged 0x10), by rarity, higher first, then by
// name, then by first index, so that equal potions always list in one order.
std::vector<CPotionGroup> GroupPotions(const std::vector<const CItemInstance*>& items);
// The row text: the name, and " (n)" when more than one is carried.
std::string PotionRowText(const CPotionGroup& group);

// ---- Wands and the enchant selection -----------------------------------------------------------

bool IsWandItem(const CItemInstance& item);
const CEffect* FirstEffect(const CItemInstance& item);
// The charges a wand holds at most: the base amount of its first effect (0 without one).
int WandMaximum(const CItemInstance& item);
bool WandNeedsCharges(const CItemInstance& item);
// Whether the enchant selection lists the item (recharge: wands that need charges only).
bool IsListedForSelection(const CItemInstance& item, bool recharge);
// Whether the selection over these items would be empty (the enchant service refuses then only).
bool HasSelectableItem(const std::vector<const CItemInstance*>& items, bool recharge);
// The storage an enchanter of that level, or a spell of that level, can fill.
int EnchantStorageLimit(int level);
// Whether a spell recharges the wand: its first effect names a spell that exists and has no
// effect of kind 49.
bool IsWandRechargeable(const CItemInstance& wand, const CSpellList* spells);

// ---- Prices ------------------------------------------------------------------------------------

// The NPC's price level: its variable's value when the NPC names one that exists with a value above
// 0, else its own byte.
int ChoosePriceLevel(u8 ownLevel, bool variableFound, i32 variableValue);
// level x value / 10, truncated toward zero, computed wide and clamped to 32 bits.
i32 ApplyPriceLevel(i64 value, int level);
// What a recharge to the maximum costs: (value full - value now) x level / 10, never below 0, so that
// a wand whose value does not grow with its charges can never pay the player.
i32 RechargePrice(i32 valueNow, i32 valueFull, int level);
i32 ComputeRechargePrice(CItemInstance& wand, const CRuleContext& game, int level);

// ---- Enchanting --------------------------------------------------------------------------------

struct CEnchantTotals {
    i32 storage = 0;    // what the list needs
    i32 gold = 0;       // its gold value (the list's value word)
    i32 price = 0;      // what the enchanter asks
    i32 available = 0;  // capacity - storage; may be negative
};
int EnchantCapacity(u16 typeStorage, int limit);
CEnchantTotals ComputeEnchantTotals(const CEffectList& list, const CRuleContext& game, int source,
                                    int capacity, bool enchanter, int priceLevel);

enum class EnchantCheck { Empty, Ok, NoGold, NoStorage, HpAndUnholy };
// The checks of Ok, in order: an empty list passes on, then gold (enchanter only), storage and the one
// forbidden pair.
EnchantCheck CheckEnchant(const CEffectList& list, const CEnchantTotals& totals, bool enchanter, u32 gold);
// Gives the list to the item (freeing what it held before) and, for a wand, sets its charges.
void ApplyEnchantment(CItemInstance& item, CEffectList* list, int source);
// Gold after paying the price, never below 0 and at most 1,000,000,000.
u32 PayPrice(u32 gold, i32 price);

// What the datum of a kind is.
enum class EnchantDatum { None, Skill, Attribute, Disease, Creature, Target };
struct CEnchantValueRange {
    EnchantDatum datum = EnchantDatum::None;
    bool takesValue = false;
    bool percent = false;  // stored as 100 + value
    int minimum = 1;
    int maximum = 100;
};
CEnchantValueRange GetEnchantValueRange(int kind);
// Brings a stored amount into the kind's range.
int NormaliseEnchantAmount(int amount, const CEnchantValueRange& range);
// The stored amount after a step of the shown value, clamped to the range.
int StepEnchantAmount(int amount, int step, const CEnchantValueRange& range);
// Whether an entry may go onto an item: a kind, and its datum when the kind needs one. Anything else
// would be a free enchantment that does nothing.
bool IsEnchantEntryComplete(const CEffect& entry);

// One row of the datum list of an enchantment entry, or of the spell list: what the entry stores
// (the record's id, or a number) beside what the row shows (the record's name). Effects look their
// records up by id, so an entry that stored a name would cost nothing and do nothing.
struct CDatumRow {
    std::string id;  // empty for number rows
    std::string name;
    u8 value = 0;
};
std::vector<CDatumRow> EnchantDatumRows(EnchantDatum datum, const CRuleContext& rules);
// The spells the player knows in schools 1..6, school by school.
std::vector<CDatumRow> KnownSpellRows(const CRuleContext& rules);
// The row that holds the entry's datum (by id for record rows, by number otherwise), or -1.
int FindDatumRow(const std::vector<CDatumRow>& rows, EnchantDatum datum, const CEffect& entry);
// Stores a row's datum in the entry (the id, never the shown name); null clears it.
void StoreDatum(CEffect& entry, EnchantDatum datum, const CDatumRow* row);

// A spell entry's charges or skill level after a step: within 1..100.
int StepSpellEntryValue(int value, int step);

// ---- Lock picking ------------------------------------------------------------------------------

constexpr int kLockpickSkill = 18;
constexpr u32 kFailedShownMs = 1000;

inline int LockDifficulty(u16 lockWord) { return ((lockWord >> 6) & 15) * 10; }
inline int TrapStrength(u16 lockWord) { return ((lockWord >> 10) & 15) * 10; }
inline u16 ClearLockLevel(u16 lockWord) { return static_cast<u16>(lockWord & ~(15u << 6)); }

// Picks with at least 10 percent condition are offered.
bool IsUsablePick(const CItemInstance& item);
// The skill a pick gives: the player's lock-picking value plus condition / 500.
int PickSkill(int playerSkill, u32 condition);
const char* LockChanceWord(bool havePick, int skill, int difficulty);

enum class PickResult { Opened, Trapped, Failed };
struct CPickAttempt {
    PickResult result = PickResult::Failed;
    int wear = 0;
    bool pickLeft = false;  // the pick fell below 10 percent and leaves the list
};
// One attempt: the pick wears (two draws), the use counter rises, then the roll (one draw).
CPickAttempt AttemptLockPick(CRandom& random, CItemInstance& pick, int playerSkill, u16 lockWord,
                             u16& useCounter);

// How long "Failed" stays before the chance shows again, on the platform's tick clock.
class CFailedNotice {
public:
    void Show(u32 now) {
        shown_ = true;
        until_ = now + kFailedShownMs;
    }
    // True once, on the first tick past the time: the caller shows the chance again.
    bool Expire(u32 now);
    bool IsShown() const { return shown_; }

private:
    bool shown_ = false;
    u32 until_ = 0;
};

}  // namespace craft
