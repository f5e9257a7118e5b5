// Item types and the item catalogue: the four item records of a world (picture lists, first-person
// animations, use styles, item types), item instances, the random-item tables and the item-type
// rules that scale values by an item's condition.
#pragma once

#include "core/NamedObject.h"
#include "core/PointerArray.h"
#include "core/Types.h"
#include "data/Effect.h"
#include "data/RecordReader.h"

#include <string>
#include <vector>

class CRandom;
class CResourceCatalogue;
class CStream;
class IRulePlayer;
struct CRuleContext;

constexpr int kMaxItemClass = 16;
constexpr int kMaxItemGroup = 7;

enum ItemClass : u8 {
    kItemWeapon = 1,
    kItemHeavyArmour = 2,
    kItemLightArmour = 3,
    kItemAccessory = 4,
    kItemBook = 5,
    kItemAlchemy = 6,
    kItemIngredient = 7,
    kItemPotion = 8,
    kItemMagic = 9,
    kItemMoney = 10,
    kItemKey = 11,
    kItemRepair = 12,
    kItemMisc = 13,
    kItemComestible = 14,
    kItemGem = 15,
    kItemCard = 16,
};

class CItemType : public CNamedObject {
public:
    CItemType() = default;
    ~CItemType() override;
    CItemType(const CItemType&) = delete;
    CItemType& operator=(const CItemType&) = delete;

    void Serialize(CStream& stream, u32 version);

    bool IsWeapon() const { return itemClass == kItemWeapon; }
    // Throwing weapons, quivers and bolt quivers: counted, never worn.
    bool IsCountedWeapon() const { return IsWeapon() && (subclass == 8 || subclass == 11 || subclass == 13); }
    // Items whose count word is a condition that wears.
    bool Wears() const;
    bool IsWand() const { return itemClass == kItemMagic && (subclass == 4 || subclass == 5); }

    // Condition-scaled values (c the instance's count word). A maximum condition of 0 means the item
    // does not wear: the values are the full ones.
    u32 GetDamageLow(u32 condition) const;
    u32 GetDamageHigh(u32 condition) const;
    u32 GetArmourClass(u32 condition) const;
    u32 GetOutfitPoints(u32 condition) const;
    // The value in gold of the type alone (null instance) or of an instance; wide, clamped to 32 bits.
    u32 GetValue(const struct CItemInstance* instance, const CRuleContext& game) const;
    void GetSkills(int& first, int& second) const;
    int GetEffectSource() const;
    int HasPermanentFortifyEffect(const struct CItemInstance* instance) const;

    const char* text1 = nullptr;
    const char* useStyle = nullptr;
    const char* name = nullptr;
    const char* texts[4] = {};  // texts 4..7
    CEffectList* effects = nullptr;
    u32 value = 0;
    u16 runtime1 = 0;
    u16 weight = 0;
    u16 runtime2 = 0;
    u16 damageLow = 0;
    u16 damageHigh = 0;
    u16 armourClass = 0;
    u16 enchantCapacity = 0;
    u16 maxCondition = 1000;
    u16 runtime3 = 0;
    u8 outfit = 0;
    u8 group = 0;
    u8 rarity = 1;
    u8 itemClass = 0;
    u8 subclass = 0;
    u8 alignment = 0;
    u8 flags = 0;
};

// One item a container holds: its type, its own effects (null until enchanting or a spell gives it
// some; they then stand for the type's), and its count word (condition, charges or quantity).
struct CItemInstance {
    CItemInstance() = default;
    ~CItemInstance() { delete effects; }
    CItemInstance(const CItemInstance&) = delete;
    CItemInstance& operator=(const CItemInstance&) = delete;
    const CEffectList* GetEffects() const { return effects ? effects : (type ? type->effects : nullptr); }

    const CItemType* type = nullptr;
    CEffectList* effects = nullptr;
    u16 count = 0;
    u8 flags = 0;
};

// Where created items go (a container, a bag, the player); it takes ownership.
class IItemReceiver {
public:
    virtual ~IItemReceiver() = default;
    virtual void AddItem(CItemInstance* item) = 0;
};

class CItemUseStyle : public CNamedObject {
public:
    void Serialize(CStream& stream, u32 version);
    const char* texts[3] = {};  // the third names a first-person animation
    u32 value = 100;
    u16 words[6] = {10, 100, 5, 10, 5, 1000};
    u8 bytes[2] = {2, 3};
};

class CFpsAnimation : public CNamedObject {
public:
    void Serialize(CStream& stream, u32 version);
    u8 byte0 = 1;
    const char* text = nullptr;
    u16 words[2] = {};
    // The bytes of versions 4, 75 (two), 77 and 78.
    u8 bytes[5] = {};
    const char* text2 = nullptr;
    const char* sound = nullptr;
    CPointerArray frames;   // picture names
    CPointerArray frames2;  // from version 18
    std::vector<u16> frameIndices;
    std::vector<u16> frame2Indices;
};

// Plays the animation's sound, when it names one, at the full relative volume: the channel, or
// kNoChannel when there is none or it could not be played.
i32 PlayFpsAnimationSound(const CFpsAnimation& animation, CResourceCatalogue& sounds);

// Record 0x16: a named list of picture names that the catalogue loads when its flag is set.
class CItemPictureList : public CNamedObject {
public:
    void Serialize(CStream& stream, u32 version);
    CPointerArray pictures;
    u16 value = 0;
    u8 flag = 1;
};

// Finds the index of a picture of the world's texture set by name; 0 when none.
class IPictureFinder {
public:
    virtual ~IPictureFinder() = default;
    virtual u16 FindPictureIndex(const char* name) const = 0;
};

// One entry of an item list of bags and monster types: an item by id, or a random item of a group.
struct CModifierEntry {
    CModifierEntry() = default;
    ~CModifierEntry() { delete[] itemId; }
    CModifierEntry(const CModifierEntry&) = delete;
    CModifierEntry& operator=(const CModifierEntry&) = delete;
    char* itemId = nullptr;  // owned; null for a random item of the group
    u8 count = 1;
    u8 group = 1;
    u8 chance = 100;
    u8 condition = 100;
};
// u16 count, then each entry: item id text (empty for none), count, group, chance %, condition %.
void SerializeModifierList(CStream& stream, CPointerArray& list);
void FreeModifierList(CPointerArray& list);

// The class flag table: for class c the mask bit and the stock byte that merchants use.
struct CItemClassFlag {
    u16 bit;
    u8 weight;
};

class CItemCatalogue {
public:
    CItemCatalogue();
    ~CItemCatalogue() { Free(); }
    CItemCatalogue(const CItemCatalogue&) = delete;
    CItemCatalogue& operator=(const CItemCatalogue&) = delete;

    // The four records (0x16, 0x38, 0x12, 0x14) and, from version 48, one record per item type.
    // False at the first record that is missing or unreadable (reading stops there); what was read
    // before stays.
    bool Load(CRecordReader& reader, u32 version);
    void Free();
    void Clear() { Free(); }

    int GetItemTypeCount() const { return itemTypes_.GetCount(); }
    CItemType* GetItemType(int index) const { return itemTypes_.At<CItemType>(index); }
    CItemType* FindItemType(const char* id) const { return FindRecordById<CItemType>(itemTypes_, id); }
    CItemUseStyle* FindUseStyle(const char* id) const {
        return FindRecordById<CItemUseStyle>(useStyles_, id);
    }
    CFpsAnimation* FindFpsAnimation(const char* id) const {
        return FindRecordById<CFpsAnimation>(animations_, id);
    }
    int GetPictureListCount() const { return pictureLists_.GetCount(); }
    CItemPictureList* GetPictureList(int index) const { return pictureLists_.At<CItemPictureList>(index); }
    int GetAnimationCount() const { return animations_.GetCount(); }
    int GetUseStyleCount() const { return useStyles_.GetCount(); }

    // The picture names of the lists whose flag is set, for the texture set to load.
    std::vector<const char*> GetPicturesToLoad() const;
    // Every animation's frame names into picture indices.
    void ResolvePictures(const IPictureFinder& finder);

    // Group counts, class weights and index lists of item types whose id starts with one of the two
    // world codes and whose group is 1..7.
    void BuildRandomTables(const char* currentWorldCode, const char* baseWorldCode);
    u16 GetGroupCount(int group) const;
    u16 GetGroupWeight(int group, int itemClass) const;
    // Item-type indices of a group (one each) and of a group and class (each as often as its weight).
    const std::vector<u16>& GetGroupList(int group) const;
    const std::vector<u16>& GetGroupClassList(int group, int itemClass) const;
    static const CItemClassFlag& GetClassFlag(int itemClass);

    // How far the catalogue reaches, and back to it (the random tables are built again).
    struct Mark {
        int useStyles = 0, itemTypes = 0, animations = 0, pictureLists = 0;
        size_t records = 0;
        std::string currentCode, baseCode;  // the world codes the random tables were built for
    };
    Mark GetMark() const;
    void RollBack(const Mark& mark);

private:
    bool LoadItemTypes(CStream& stream, u32 count, u32 version);

    CPointerArray useStyles_;
    CPointerArray itemTypes_;
    CPointerArray animations_;
    CPointerArray pictureLists_;
    u16 groupCounts_[kMaxItemGroup + 1] = {};
    u16 groupWeights_[kMaxItemGroup + 1][kMaxItemClass + 1] = {};
    std::vector<u16> groupLists_[kMaxItemGroup + 1];
    std::vector<u16> groupClassLists_[kMaxItemGroup + 1][kMaxItemClass + 1];
    CLoadedRecords buffers_;
    std::string currentCode_, baseCode_;
};

// A new instance of a type; conditionPercent -1 means full condition. Counted weapons get a quantity
// of 10..19 from the generator.
CItemInstance* CreateItemInstance(const CItemType& type, int conditionPercent, CRandom* random);
// Each entry's tries (chance in percent each) create items by id or drawn from the entry's group.
void CreateItemsFromList(const CPointerArray& list, const CItemCatalogue& catalogue, CRandom& random,
                         IItemReceiver& container);

// The player's damage range with a weapon (condition-scaled, skill-scaled, strength and dexterity).
void ComputeWeaponDamageRange(const CItemType& type, u32 condition, bool dualWield, const IRulePlayer& player,
                              u32& low, u32& high);
// Skill scaling of weapon values: below 33 points in proportion, above it half again per 66.
i64 ScaleBySkill(i64 value, i64 skill);
