// The one player character of a game: identity, level and experience, hit points and mana, the five
// attributes and twenty skills, gold, fame and crime, carried items and the thirteen equipment slots,
// known spells, quests, abilities, diseases, mark slots, the texts read, and the active effects that
// modify all of these. Every change of a value goes through one changer that bounds it, applies it and
// reports it. The world's tables are reached through the rule context the game hands over when a world
// is open; messages and gauges go through the player host.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "world/PlayerHost.h"

class CGame;
class CSaveStringTable;
class CStream;
struct CItemInstance;
class CItemType;

constexpr int kPlayerAttributeCount = 5;
constexpr int kPlayerSkillCount = 20;
constexpr int kEquipmentSlotCount = 13;
constexpr int kEffectListCount = 24;
constexpr int kMaxLevel = 99;
constexpr int kXpTableSize = kMaxLevel + 1;
constexpr u32 kMaxGold = 1000000000u;
// Skills are changed by world scripts as well as by play; a value past this has no meaning in the
// skill rules (costs stop at 100) and would only wrap the stored 16 bits.
constexpr int kMaxSkillValue = 250;
constexpr int kMaxPracticeCount = 255;
constexpr int kMaxRaiseAllowance = 253;

enum PlayerSkill : u8 {
    kSkillBlock = 1,
    kSkillLightWeapon = 2,
    kSkillHeavyWeapon = 3,
    kSkillDualWield = 4,
    kSkillLightArmor = 5,
    kSkillHeavyArmor = 6,
    kSkillAccuracy = 7,
    kSkillHealMagic = 8,
    kSkillUndeadMagic = 12,
    kSkillMercantile = 15,
    kSkillPersuade = 17,
};

enum PlayerAttribute : u8 {
    kStrength = 1,
    kDexterity = 2,
    kEndurance = 3,
    kIntelligence = 4,
    kPersonality = 5
};

// Where an active effect came from; it decides what removes it.
enum ActiveEffectSource : u8 {
    kFromEquipment = 1,
    kFromDrink = 2,
    kFromSpell = 3,
    kFromDisease = 4,
    kFromAbility = 5,
    kFromHit = 6,
};

// The list kinds of the active effects.
enum EffectListKind : u8 {
    kListFortifySkill = 1,
    kListFortifyAttribute = 2,
    kListFortifyHp = 3,
    kListFortifyUnholy = 4,
    kListFortifyMana = 5,
    kListFortifyAc = 6,
    kListResistPoison = 7,
    kListResistParalysis = 8,
    kListResistDisease = 9,
    kListFeather = 10,
    kListResistMagic = 11,
    kListResistDiseases = 12,
    kListResistSpell = 13,
    kListFortifySpell = 14,
    kListFortifyMagic = 15,
    kListFortifyMelee = 16,
    kListMagicImmunity = 17,
    kListDetectSecrets = 18,
    kListAlcoholic = 19,
    kListFortifyOutfit = 20,
    kListParalysis = 21,
    kListCurse = 22,
    kListPoison = 23,
    kListDamage = 24,
};

struct CActiveEffect {
    std::optional<std::string> name;  // the name a name-filtered kind is matched by
    const void* origin = nullptr;     // the item type, spell, ability or disease that gave it
    i16 strength = 0;
    u8 duration = 0;  // remaining time units; 0 lasts
    u8 kind = 0;
    u8 source = 0;
    u8 target = 0;
};

struct CPlayerQuest {
    std::string id;
    u8 state = 0;  // 0 open, 1 solved, 2 failed
};

// One mark slot of the mark and recall spells.
struct CMarkedPosition {
    std::string world, map, text3, text4;
    u8 x = 0, y = 0, facing = 0;
};

// The character as the creation screen made it.
struct CCreatedCharacter {
    std::string name = "Player";
    std::string portrait = "bres_head34";
    u8 gender = 1;
    u32 race = 2;
    u8 skills[6] = {};
};

// A creature's blow as the player takes it. The caller has rolled the creature's attack and knows the
// quarter the blow comes from by the creature's position.
struct CPlayerHit {
    int damage = 0;
    // The quarter 0..3 of the blow; -1 for none.
    int direction = -1;
    // The quarter of the creature's position, used when no direction is given.
    int positionDirection = -1;
    // Set: the direction is taken as it is and the weather and the night soften the blow on a surface.
    bool keepDirection = false;
    // The creature type's effects; those of strike mode may follow the blow.
    const CEffectList* effects = nullptr;
};

struct CPlayerHitResult {
    int damage = 0;     // hit points lost to the blow itself
    int hpDrained = 0;  // hit points the creature drained (it gains them)
    bool missed = false;
};

class CPlayer : public IRulePlayer {
public:
    CPlayer();
    ~CPlayer() override;
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    // The world's tables; null when no world is open. A world reset must call ForgetWorld first.
    void SetWorld(const CRuleContext* rules) { rules_ = rules; }
    const CRuleContext* GetWorld() const { return rules_; }
    void SetHost(IPlayerHost* host) { host_ = host; }

    // Back to a fresh character. The lists that point into world records are emptied whether or not a
    // world is open, so no reference outlives the records.
    void ResetToDefaults();
    // Drops every reference into world records (spells, abilities, diseases, item entries and the
    // active effects they gave) and the tables; the world's records are about to be freed.
    void ForgetWorld();

    // ---- derived values ----
    int GetDrunkenness() const override;
    bool IsDrunk() const override;
    int GetAttributeValue(int attribute) const override;
    int GetAttributeValue(int attribute, bool* modified, int* base, bool withDrink) const;
    int GetAttribute(int attribute) const { return GetAttributeValue(attribute, nullptr, nullptr, true); }
    int GetBaseAttributeValue(int attribute) const override;
    int GetSkillValue(int skill) const override;
    int GetSkillDetails(int skill, int* base, bool* modified) const;
    bool CanRaiseSkill(int skill) const override;
    int GetMaxHp(bool* modified = nullptr) const;
    int GetMaxMana(bool* modified = nullptr) const;
    int GetHpPercent() const;
    int GetManaPercent() const;
    int GetArmorClass(bool* modified, int shieldFactor) const;
    u32 GetCarriedWeight() const;
    int GetCarryCapacity() const;
    int GetOutfit(bool* modified = nullptr) const;
    static const char* OutfitWord(int outfit);
    static const char* FameTitle(int fame);
    const char* FameTitle() const { return FameTitle(fame); }
    int GetPoisonStrength() const { return SumEffects(kListPoison, 0, nullptr, nullptr); }
    bool IsParalyzed() const { return !effects[kListParalysis].empty(); }
    bool IsCursed() const override { return !effects[kListCurse].empty(); }
    bool HasSeriousDisease() const;
    // The trade bonus in percent (world/TradeBonus.h), and a price with it: lowered when the player
    // pays, raised when the player is paid.
    int GetTradeBonus() const;
    u32 AdjustPrice(u32 price, bool playerPays) const;
    int GetMagicResistance(bool* modified = nullptr) const;
    int GetPoisonResistance(bool* modified = nullptr) const;
    int GetParalysisResistance(bool* modified = nullptr) const;
    int GetDiseaseResistance(bool* modified = nullptr) const;
    int GetSpecificDiseaseResistance(const char* name) const;
    // The journal's entry of a quest; null when the player never had it.
    const CPlayerQuest* FindQuest(const char* id) const;
    CPlayerQuest* FindQuest(const char* id);
    bool IsQuestSolved(const char* id) const;
    bool IsQuestFailed(const char* id) const;
    bool KnowsSpell(const char* id) const;
    bool KnowsSpell(const CSpell& spell) const override;
    bool HasAbility(const char* id) const;
    bool IsDiseased(const char* id) const;
    int CountItems(const char* id) const;
    bool HasEnchantableItem() const;
    bool HasFoodIngredients() const;
    bool IsSpellSchoolAllowed(int school) const;
    bool CanUseSpellBook(const char* id) const;
    int GetRace() const override { return static_cast<int>(race); }
    int GetFame() const override { return fame; }
    u32 GetCrime() const override { return crime; }
    // The skill the race cannot have: Heal Magic for the undead race, Undead Magic for the others.
    int MissingSkill() const { return race == 1 ? kSkillHealMagic : kSkillUndeadMagic; }
    // Sum over one effect list: see the list kinds for which entries count and how.
    int SumEffects(int kind, int target, const char* name, bool* modified) const;

    // ---- value changers ----
    void SetHp(int value, bool report);
    int AddHp(int n, bool report);
    void SetFullHp(bool report);
    void SetMana(int value, bool report);
    int AddMana(int n, bool report);
    void SetFullMana(bool report);
    void AddXp(i32 n, bool report);
    void RemoveXp(i32 n, bool restorable);
    void RestoreSavedXp();
    void AddGold(i64 n, bool report, bool found);
    void RemoveGold(i64 n, bool report);
    int AddAttributeValue(int attribute, int n, bool report);
    int AddSkillValue(int skill, int n, bool report);
    int RaiseSkill(int skill);
    bool LearnSpell(const char* id, bool report);
    void LearnSpell(const CSpell& spell) override;
    void ForgetSpell(const char* id);
    void AddQuest(const char* id, const char* title);
    void SetQuestState(const char* id, u8 state, const char* title);
    void RemoveQuest(const char* id, const char* title);
    void AddAbility(const char* id, bool report);
    void RemoveAbility(const char* id);
    void InfectDisease(const char* id);
    void CureDisease(const char* id);
    void AddFame(int n);
    void AddCrime(int n);
    void ClearCrime();
    CItemInstance* FindItem(const char* typeId, int count, bool report);
    CItemInstance* ReceiveItem(const char* typeId, int count, bool report);
    bool RemoveItems(const char* typeId, int count);
    CItemInstance* AddItemCopies(int count, const CItemType& type);
    void TakeItem(CItemInstance* item);
    // Takes the entry out of the items (unequipping it first); the caller owns it then.
    std::unique_ptr<CItemInstance> RemoveItem(CItemInstance* item);
    // The slot an item goes to (0 for none).
    static int SlotFor(const CItemType& type, bool secondHand);
    void EquipItem(CItemInstance* item, bool secondHand);
    void UnequipItem(CItemInstance* item);
    void CreateFood();
    void ConsumeFood();
    void RememberReadText(const char* name);
    bool HasReadBook(const char* id) const override;
    static std::string FormatItemPhrase(const CItemType& type, int count);

    // ---- experience and levels ----
    void BuildXpTable();
    void CheckLevel();
    void PickSkillsToIncrease(int& s1, int& s2, int& s3);
    // The experience at which the next level begins; 0 at the highest level, which has none.
    u32 GetXpForNextLevel() const { return xpForNextLevel; }

    // ---- effects and conditions ----
    void AddConditionEffect(int refId, int source, const void* origin, int strength, int duration, int target,
                            const char* name);
    void AddConditionEffect(int kind, int amount, int target, const char* id, const void* origin,
                            int duration, int source) override;
    void ApplyEffect(const CEffect& effect, int source) override;
    void TickEffects(int units);
    void RemoveEffectsOfKind(int refId);
    void RemoveEffectsFromSource(int source);
    void DispelEffects();
    void RemoveAllEffects();
    void ReapplyEquipmentEffects();
    void ReapplyDiseaseEffects();
    void ReapplyAbilityEffects();
    void Drink(int strength, const void* origin);
    void ApplyPoisonDamage();
    void ApplyDiseaseDamage(int factor);
    void CountSkillUse(int skill);
    // Wears an item by damage; true when it broke.
    bool WearItem(int damage, CItemInstance* item, bool weapon = false);
    void ApplyPotion(const CItemInstance& potion);
    void ApplyDamage(int amount, int kind);
    void CountWeaponUse();
    void WearByLoad();
    CPlayerHitResult ApplyHit(const CPlayerHit& hit);
    // p is the level percentage of the cast; selfCast skips every resistance; areaOnly keeps the
    // effects with a radius.
    void ApplySpell(const CSpell& spell, int p, bool selfCast, int hitKind, bool areaOnly);
    void DrainXp();
    void ComputeAttack(int& low, int& high, bool wear);
    // armour < 0: not against a creature.
    int RollDamage(int armour);

    // ---- new game and mark slots ----
    void GiveStartingKit(const CCreatedCharacter& created);
    void UpdateMarkSlots();
    void SetMarkedPosition(int slot, const char* world, const char* map, int x, int y, int facing);
    bool HasMarkedPosition() const;
    void ClearMarkSlots() { marks.clear(); }

    // ---- saved games ----
    // The player's record of a saved game in either direction, by the stream's mode. Writing adds the
    // names it refers to to the tables; reading finds them again in the world's tables (bound first),
    // drops what the world no longer has and builds the effects of equipment, abilities and diseases
    // again. `version` is the saved game's (only read when reading). False when the record is damaged.
    bool SerializeSaved(CStream& stream, CSaveStringTable& strings, u32 version);

    // ---- rule queries ----
    bool MayLearnSchool(int school) const override { return IsSpellSchoolAllowed(school); }
    bool MayUseItemMagic() const override { return true; }
    bool CanUseWand(const CItemType& type, const CItemInstance* item) const override;

    // Fields. The head words are set at construction and read by nobody here; start-up sets the byte.
    u32 headWords[2] = {0, 0};
    u8 setupByte = 1;
    u16 headWord = 0xFFFF;
    u8 headByte = 0;
    CStr name;
    CStr portrait;
    u8 gender = 1;
    u16 hp = 40;
    u16 mana = 40;
    u8 level = 1;
    u32 xp = 0;
    u32 xpHighWater = 0;
    u32 savedXp = 0;
    u32 xpForNextLevel = 0;
    u32 xpTable[kXpTableSize] = {};
    u8 levelGainFlag = 0;
    u32 gold = 0;
    u16 attributes[kPlayerAttributeCount + 1] = {};
    u16 attributePoints = 0;
    u16 attributeRaises[kPlayerAttributeCount + 1] = {};
    u8 skillOrder[kPlayerSkillCount] = {};
    u16 skillPoints = 0;
    u16 skillRaises[kPlayerSkillCount + 1] = {};
    u16 skills[kPlayerSkillCount + 1] = {};
    u16 skillUse[kPlayerSkillCount + 1] = {};
    std::vector<const CSpell*> spellsBySchool[kSpellSchoolCount];
    std::vector<CPlayerQuest> quests;
    std::vector<std::unique_ptr<CItemInstance>> items;
    CItemInstance* equipment[kEquipmentSlotCount + 1] = {};  // slots 1..13
    std::vector<const CAbility*> abilities;
    std::vector<const CDisease*> diseases;
    std::vector<CMarkedPosition> marks;
    i16 fame = 0;
    u32 crime = 0;
    u32 race = 1;
    std::vector<std::string> readTexts;
    CGame* game = nullptr;
    CStr message;
    std::vector<CActiveEffect> effects[kEffectListCount + 1];  // list 0 stays empty
    u32 effectListOfKind[kEffectKindCount] = {};
    const char* effectListNames[kEffectListCount + 2] = {};
    CStr spare;

private:
    void Report(bool report);
    void Post(const char* text, const char* sound);
    int AddToPool(u16& value, int n, int maximum, const char* what, bool report);
    void FillPool(u16& value, int maximum, const char* text, bool report);
    void UpdateHpGauge();
    void UpdateManaGauge();
    int DrinkAdjustment(int attribute) const;
    int EffectiveAttribute(int attribute, bool withDrink, bool* modified) const;
    void ApplyEffectsOf(const CEffectList* list, int source, const void* origin);
    CRandom* Random() const { return rules_ ? rules_->random : nullptr; }
    u32 Draw(int n) const;
    bool SkillInClass(int skill) const;
    const CItemType* FindType(const char* id) const;
    void GiveKitItem(const char* id, int count, CItemInstance** remember);
    void GiveRandomItems();
    CItemInstance* WearArmourByDirection(int direction, int damage, bool& onShield);
    int ComputeArmourAbsorption();
    // Cure poison, cure paralysis, cure a disease: alike for potions and spells.
    void ApplyCure(const CEffect& effect);
    // Takes a held ability or disease out of its list; its display name, or null when not held.
    template <class T>
    static const char* TakeById(std::vector<const T*>& list, const char* id);
    void ApplyHitEffect(const CEffect& effect, int damage, CPlayerHitResult& result);
    CItemInstance* DrawFood(const std::vector<const CItemType*>& candidates);
    u16 InternEffectOrigin(const CActiveEffect& effect, CSaveStringTable& strings) const;
    void BoundLoadedValues();
    const void* FindEffectOrigin(u8 source, u16 ref, const CSaveStringTable& strings) const;

    const CRuleContext* rules_ = nullptr;
    IPlayerHost* host_ = nullptr;
    const void* applyOrigin_ = nullptr;
};
