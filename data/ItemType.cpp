#include "data/ItemType.h"

#include "core/Random.h"
#include "core/Str.h"
#include "core/Stream.h"
#include "data/ResourceCatalogue.h"
#include "data/RuleContext.h"
#include "sound/Mixer.h"

#include <algorithm>
#include <limits>

namespace {

// Mask bit and stock byte by item class; rows 0 and 16 are empty.
const CItemClassFlag kClassFlags[kMaxItemClass + 1] = {
    {0, 0},    {1, 10},  {2, 10},   {4, 10},   {8, 5},     {16, 10},  {32, 1},    {64, 10}, {128, 10},
    {256, 10}, {512, 5}, {1024, 5}, {2048, 1}, {4096, 10}, {8192, 5}, {16384, 5}, {0, 0},
};

u32 Clamp32u(i64 v) { return static_cast<u32>(std::clamp<i64>(v, 0, std::numeric_limits<u32>::max())); }

// The condition-scaled value F * c / M, raised by one by the rounding rule, never above F.
u32 ScaleByCondition(u32 full, u32 c, u32 maxCondition, bool outfitRule) {
    if (maxCondition == 0) return full;
    i64 v = static_cast<i64>(full) * c / maxCondition;
    i64 tenths = (static_cast<i64>(c) * 1000 / maxCondition) / 100;
    if (outfitRule ? tenths % 10 >= 5 : tenths >= 5) ++v;
    return static_cast<u32>(std::min<i64>(v, full));
}

}  // namespace

CItemType::~CItemType() { delete effects; }

void CItemType::Serialize(CStream& stream, u32 version) {
    stream.MatchByte(0x15);
    SerializeName(stream, stream.IsWriting());
    stream.SerializeStringRef(text1);
    stream.SerializeStringRef(useStyle);
    stream.SerializeStringRef(name);
    if (version >= 62 && version <= 72) {
        const char* skipped = nullptr;
        stream.SerializeStringRef(skipped);
    }
    for (int i = 0; i < 3; ++i) stream.SerializeStringRef(texts[i]);
    if (version >= 114) stream.SerializeStringRef(texts[3]);
    u8 hasEffects = effects ? 1 : 0;
    stream.SerializeU8(hasEffects);
    if (hasEffects) {
        if (!effects) effects = new CEffectList(4);
        SerializeEffectListRecord(stream, *effects, version);
    }
    stream.Align(4);
    stream.SerializeU32(value);
    for (u16* w : {&weight, &damageLow, &damageHigh, &armourClass, &enchantCapacity, &maxCondition})
        stream.SerializeU16(*w);
    for (u8* b : {&group, &itemClass, &subclass, &alignment, &flags}) stream.SerializeU8(*b);
    if (version >= 64) stream.SerializeU8(outfit);
    if (version >= 85) stream.SerializeU8(rarity);
    if (!stream.IsWriting()) {
        // Classes and groups beyond the tables index nothing: such an item has no class rules and is
        // never drawn at random.
        if (itemClass > kMaxItemClass) itemClass = 0;
        if (group > kMaxItemGroup) group = 0;
    }
}

bool CItemType::Wears() const {
    if (IsWeapon()) return !IsCountedWeapon();
    return itemClass == kItemHeavyArmour || itemClass == kItemLightArmour || itemClass == kItemAlchemy ||
           itemClass == kItemRepair || (itemClass == kItemKey && subclass == 2);
}

u32 CItemType::GetDamageLow(u32 condition) const {
    return IsCountedWeapon() ? damageLow : ScaleByCondition(damageLow, condition, maxCondition, false);
}

u32 CItemType::GetDamageHigh(u32 condition) const {
    return IsCountedWeapon() ? damageHigh : ScaleByCondition(damageHigh, condition, maxCondition, false);
}

u32 CItemType::GetArmourClass(u32 condition) const {
    return itemClass == kItemAccessory ? armourClass
                                       : ScaleByCondition(armourClass, condition, maxCondition, false);
}

u32 CItemType::GetOutfitPoints(u32 condition) const {
    return itemClass == kItemAccessory ? outfit : ScaleByCondition(outfit, condition, maxCondition, true);
}

u32 CItemType::GetValue(const CItemInstance* instance, const CRuleContext& game) const {
    if (!instance) return Clamp32u(static_cast<i64>(value) + (effects ? effects->value : 0));
    i64 base = value;
    if (Wears() && maxCondition != 0) base = static_cast<i64>(value) * instance->count / maxCondition;
    const CEffectList* list = instance->effects ? instance->effects : effects;
    if (!list)
        base += enchantCapacity;
    else if (IsWand())
        base += GetWandValue(*list, game, instance->count);
    else
        base += list->value;
    return Clamp32u(base);
}

void CItemType::GetSkills(int& first, int& second) const {
    first = second = 0;
    if (IsWeapon()) {
        first = (flags & 2) ? 2 : 3;
        if (subclass == 8 || subclass == 9 || subclass == 10 || subclass == 12) second = 7;
    } else if (itemClass == kItemHeavyArmour) {
        first = 6;
    } else if (itemClass == kItemLightArmour) {
        first = 5;
    }
}

int CItemType::GetEffectSource() const {
    switch (itemClass) {
    case kItemWeapon:
        if (subclass == 7) return kSourceStaff;
        if (subclass == 8 || subclass == 11 || subclass == 13) return kSourceMissile;
        if (subclass == 9 || subclass == 10) return kSourceBow;
        return kSourceWeapon;
    case kItemHeavyArmour:
    case kItemLightArmour: return kSourceArmour;
    case kItemAccessory: return kSourceAccessory;
    case kItemBook: return kSourceBook;
    case kItemIngredient: return kSourceIngredient;
    case kItemPotion: return kSourcePotion;
    case kItemMagic:
        switch (subclass) {
        case 1:
        case 3: return kSourceScroll;
        case 2: return kSourceSpellBook;
        case 4:
        case 5: return kSourceWand;
        default: return kSourceNone;
        }
    default: return kSourceNone;
    }
}

int CItemType::HasPermanentFortifyEffect(const CItemInstance* instance) const {
    const CEffectList* list = instance && instance->effects ? instance->effects : effects;
    if (!list) return 0;
    for (int i = 0; i < list->Count(); ++i)
        if (list->At(i)->kind == kEffectPermanentAttribute) return 1;
    return 0;
}

void CItemUseStyle::Serialize(CStream& stream, u32 version) {
    SerializeName(stream, stream.IsWriting());
    for (const char*& t : texts) stream.SerializeStringRef(t);
    stream.Align(4);
    stream.SerializeU32(value);
    for (u16& w : words) stream.SerializeU16(w);
    stream.SerializeU8(bytes[0]);
    stream.SerializeU8(bytes[1]);
}

namespace {

void SerializeTextArray(CStream& stream, CPointerArray& array) {
    if (!stream.IsWriting()) {
        stream.ReadStringArray(array);
        return;
    }
    u16 count = array.GetCount();
    stream.SerializeU16(count);
    for (int i = 0; i < count; ++i) {
        const char* text = array.At<const char>(i);
        stream.SerializeStringRef(text);
    }
}

}  // namespace

i32 PlayFpsAnimationSound(const CFpsAnimation& animation, CResourceCatalogue& sounds) {
    if (animation.sound == nullptr || animation.sound[0] == 0) return kNoChannel;
    return sounds.PlaySound(animation.sound, 10);
}

void CFpsAnimation::Serialize(CStream& stream, u32 version) {
    stream.MatchByte(0x39);
    SerializeName(stream, stream.IsWriting());
    stream.SerializeU8(byte0);
    stream.SerializeStringRef(text);
    stream.SerializeU16(words[0]);
    stream.SerializeU16(words[1]);
    if (version >= 4) stream.SerializeU8(bytes[0]);
    if (version >= 75) {
        stream.SerializeU8(bytes[1]);
        stream.SerializeU8(bytes[2]);
    }
    if (version >= 77) stream.SerializeU8(bytes[3]);
    if (version >= 78) stream.SerializeU8(bytes[4]);
    if (version >= 82) stream.SerializeStringRef(text2);
    if (version >= 107) stream.SerializeStringRef(sound);
    SerializeTextArray(stream, frames);
    if (version >= 18) SerializeTextArray(stream, frames2);
}

void CItemPictureList::Serialize(CStream& stream, u32 version) {
    stream.MatchByte(0x17);
    SerializeName(stream, stream.IsWriting());
    stream.SerializeU8(flag);
    if ((version == 45 || version == 46) && flag == 0) {
        u8 skipped = 0;
        stream.SerializeU8(skipped);
    }
    SerializeTextArray(stream, pictures);
}

void SerializeModifierList(CStream& stream, CPointerArray& list) {
    u16 count = list.GetCount();
    stream.SerializeU16(count);
    if (stream.IsWriting()) {
        for (int i = 0; i < count; ++i) {
            CModifierEntry* e = list.At<CModifierEntry>(i);
            stream.SerializeOwnedString(e->itemId);
            for (u8* b : {&e->count, &e->group, &e->chance, &e->condition}) stream.SerializeU8(*b);
        }
        return;
    }
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* e = new CModifierEntry;
        stream.SerializeOwnedString(e->itemId);
        for (u8* b : {&e->count, &e->group, &e->chance, &e->condition}) stream.SerializeU8(*b);
        if (stream.HasError() || !list.Add(e)) delete e;
    }
}

void FreeModifierList(CPointerArray& list) { list.FreeAll<CModifierEntry>(); }

CItemCatalogue::CItemCatalogue() {
    for (CPointerArray* a : {&useStyles_, &itemTypes_, &animations_, &pictureLists_}) a->SetGrowthStep(4);
}

void CItemCatalogue::Free() {
    itemTypes_.DeleteAll<CItemType>();
    useStyles_.DeleteAll<CItemUseStyle>();
    for (int i = 0; i < animations_.GetCount(); ++i) {
        animations_.At<CFpsAnimation>(i)->frames.RemoveAll();
        animations_.At<CFpsAnimation>(i)->frames2.RemoveAll();
    }
    animations_.DeleteAll<CFpsAnimation>();
    for (int i = 0; i < pictureLists_.GetCount(); ++i)
        pictureLists_.At<CItemPictureList>(i)->pictures.RemoveAll();
    pictureLists_.DeleteAll<CItemPictureList>();
    buffers_.Clear();
    BuildRandomTables(nullptr, nullptr);
}

namespace {

// Opens one record of the catalogue: its tag and its count. False for a missing or short record.
bool OpenCountedRecord(CStream& stream, CRecordData* record, u8 tag, u16& count) {
    count = 0;
    if (!record) return false;
    stream.InitForReading(*record);
    stream.MatchByte(tag);
    stream.SerializeU16(count);
    return !stream.HasError();
}

template <class T>
bool ReadElements(CStream& stream, CPointerArray& list, u32 count, u32 version) {
    list.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        auto* element = new T;
        element->Serialize(stream, version);
        if (stream.HasError() || !list.Add(element)) delete element;
    }
    return !stream.HasError();
}

}  // namespace

bool CItemCatalogue::LoadItemTypes(CStream& stream, u32 count, u32 version) {
    return ReadElements<CItemType>(stream, itemTypes_, count, version);
}

bool CItemCatalogue::Load(CRecordReader& reader, u32 version) {
    // Reading stops at the first record at fault, so that it is the last one asked for.
    CStream stream;
    u16 count = 0;

    CRecordData* record = reader.NextRecord();
    bool ok = OpenCountedRecord(stream, record, 0x16, count) &&
              ReadElements<CItemPictureList>(stream, pictureLists_, count, version);
    buffers_.Keep(record);
    if (!ok) return false;

    record = reader.NextRecord();
    ok = OpenCountedRecord(stream, record, 0x38, count) &&
         ReadElements<CFpsAnimation>(stream, animations_, count, version);
    buffers_.Keep(record);
    if (!ok) return false;

    record = reader.NextRecord();
    ok = OpenCountedRecord(stream, record, 0x12, count) &&
         ReadElements<CItemUseStyle>(stream, useStyles_, count, version);
    buffers_.Keep(record);
    if (!ok) return false;

    record = reader.NextRecord();
    if (!OpenCountedRecord(stream, record, 0x14, count)) {
        FreeDataBlock(record);
        return false;
    }
    if (version < 48) {
        ok = LoadItemTypes(stream, count, version);
        buffers_.Keep(record);
        return ok;
    }
    FreeDataBlock(record);
    return ReadElementRecords<CItemType>(
        reader, count, itemTypes_, buffers_,
        [version](CStream& stream, CItemType& type) { type.Serialize(stream, version); });
}

std::vector<const char*> CItemCatalogue::GetPicturesToLoad() const {
    std::vector<const char*> names;
    for (int i = 0; i < pictureLists_.GetCount(); ++i) {
        const CItemPictureList* list = pictureLists_.At<CItemPictureList>(i);
        if (!list->flag) continue;
        for (int k = 0; k < list->pictures.GetCount(); ++k)
            if (const char* name = list->pictures.At<const char>(k)) names.push_back(name);
    }
    return names;
}

void CItemCatalogue::ResolvePictures(const IPictureFinder& finder) {
    for (int i = 0; i < animations_.GetCount(); ++i) {
        CFpsAnimation* a = animations_.At<CFpsAnimation>(i);
        a->frameIndices.clear();
        a->frame2Indices.clear();
        for (int k = 0; k < a->frames.GetCount(); ++k)
            a->frameIndices.push_back(finder.FindPictureIndex(a->frames.At<const char>(k)));
        for (int k = 0; k < a->frames2.GetCount(); ++k)
            a->frame2Indices.push_back(finder.FindPictureIndex(a->frames2.At<const char>(k)));
    }
}

CItemCatalogue::Mark CItemCatalogue::GetMark() const {
    return {useStyles_.GetCount(),
            itemTypes_.GetCount(),
            animations_.GetCount(),
            pictureLists_.GetCount(),
            buffers_.Count(),
            currentCode_,
            baseCode_};
}

void CItemCatalogue::RollBack(const Mark& mark) {
    TruncateElements<CItemType>(itemTypes_, mark.itemTypes);
    TruncateElements<CItemUseStyle>(useStyles_, mark.useStyles);
    TruncateElements<CFpsAnimation>(animations_, mark.animations);
    TruncateElements<CItemPictureList>(pictureLists_, mark.pictureLists);
    buffers_.TruncateTo(mark.records);
    BuildRandomTables(mark.currentCode.empty() ? nullptr : mark.currentCode.c_str(),
                      mark.baseCode.empty() ? nullptr : mark.baseCode.c_str());
}

void CItemCatalogue::BuildRandomTables(const char* currentWorldCode, const char* baseWorldCode) {
    currentCode_ = currentWorldCode ? currentWorldCode : "";
    baseCode_ = baseWorldCode ? baseWorldCode : "";
    for (int g = 0; g <= kMaxItemGroup; ++g) {
        groupCounts_[g] = 0;
        groupLists_[g].clear();
        for (int c = 0; c <= kMaxItemClass; ++c) {
            groupWeights_[g][c] = 0;
            groupClassLists_[g][c].clear();
        }
    }
    auto counted = [&](const CItemType* t) {
        if (!t || !t->GetName() || t->group == 0 || t->group > kMaxItemGroup || t->itemClass > kMaxItemClass)
            return false;
        return (currentWorldCode && CompareFirstFourNoCase(t->GetName(), currentWorldCode) == 0) ||
               (baseWorldCode && CompareFirstFourNoCase(t->GetName(), baseWorldCode) == 0);
    };
    auto weightOf = [](const CItemType* t) { return t->rarity == 1 ? 1 : 5 * t->rarity; };
    for (int i = 0; i < itemTypes_.GetCount(); ++i) {
        const CItemType* t = itemTypes_.At<CItemType>(i);
        if (!counted(t)) continue;
        ++groupCounts_[t->group];
        groupWeights_[t->group][t->itemClass] =
            static_cast<u16>(std::min(65535, groupWeights_[t->group][t->itemClass] + weightOf(t)));
    }
    for (int i = 0; i < itemTypes_.GetCount(); ++i) {
        const CItemType* t = itemTypes_.At<CItemType>(i);
        if (!counted(t)) continue;
        groupLists_[t->group].push_back(static_cast<u16>(i));
        for (int k = 0; k < weightOf(t); ++k)
            groupClassLists_[t->group][t->itemClass].push_back(static_cast<u16>(i));
    }
}

u16 CItemCatalogue::GetGroupCount(int group) const {
    return group >= 0 && group <= kMaxItemGroup ? groupCounts_[group] : 0;
}

u16 CItemCatalogue::GetGroupWeight(int group, int itemClass) const {
    return group >= 0 && group <= kMaxItemGroup && itemClass >= 0 && itemClass <= kMaxItemClass
               ? groupWeights_[group][itemClass]
               : 0;
}

const std::vector<u16>& CItemCatalogue::GetGroupList(int group) const {
    static const std::vector<u16> kEmpty;
    return group >= 1 && group <= kMaxItemGroup ? groupLists_[group] : kEmpty;
}

const std::vector<u16>& CItemCatalogue::GetGroupClassList(int group, int itemClass) const {
    static const std::vector<u16> kEmpty;
    return group >= 1 && group <= kMaxItemGroup && itemClass >= 0 && itemClass <= kMaxItemClass
               ? groupClassLists_[group][itemClass]
               : kEmpty;
}

const CItemClassFlag& CItemCatalogue::GetClassFlag(int itemClass) {
    return kClassFlags[itemClass >= 0 && itemClass <= kMaxItemClass ? itemClass : 0];
}

CItemInstance* CreateItemInstance(const CItemType& type, int conditionPercent, CRandom* random) {
    auto* item = new CItemInstance;
    item->type = &type;
    if (type.IsCountedWeapon()) {
        item->count = static_cast<u16>(10 + (random ? random->Next(10) : 0));
    } else if (type.IsWeapon() || type.itemClass == kItemHeavyArmour || type.itemClass == kItemLightArmour ||
               type.itemClass == kItemAlchemy || type.itemClass == kItemKey ||
               type.itemClass == kItemRepair) {
        item->count = conditionPercent == -1
                          ? type.maxCondition
                          : static_cast<u16>(std::clamp<i64>(
                                static_cast<i64>(type.maxCondition) * conditionPercent / 100, 0, 65535));
    } else if (type.itemClass == kItemMagic && type.subclass == 4) {
        const CEffectList* list = type.effects;
        // A negative maximum from a file gives an empty wand rather than 65,000 charges.
        item->count = list && list->Count() > 0 ? static_cast<u16>(std::max<int>(list->At(0)->amount, 0)) : 0;
    }
    return item;
}

void CreateItemsFromList(const CPointerArray& list, const CItemCatalogue& catalogue, CRandom& random,
                         IItemReceiver& container) {
    for (int i = 0; i < list.GetCount(); ++i) {
        const CModifierEntry* e = list.At<CModifierEntry>(i);
        if (!e) continue;
        for (u32 t = 0; t < e->count; ++t) {
            if (random.Next(100) >= e->chance) continue;
            const CItemType* type = nullptr;
            if (e->itemId) {
                type = catalogue.FindItemType(e->itemId);
            } else {
                const std::vector<u16>& group = catalogue.GetGroupList(e->group);
                if (!group.empty())
                    type = catalogue.GetItemType(group[random.Next(static_cast<i32>(group.size()))]);
            }
            if (type) container.AddItem(CreateItemInstance(*type, e->condition, &random));
        }
    }
}

i64 ScaleBySkill(i64 value, i64 skill) {
    return skill < 33 ? value * skill / 33 : value + value * (skill - 33) / 66;
}

void ComputeWeaponDamageRange(const CItemType& type, u32 condition, bool dualWield, const IRulePlayer& player,
                              u32& lowOut, u32& highOut) {
    i64 low = type.GetDamageLow(condition), high = type.GetDamageHigh(condition);
    i64 a = player.GetAttributeValue(1);
    i64 d = player.GetAttributeValue(2);
    int x = player.GetDrunkenness();
    if (x > 0) d -= player.IsDrunk() ? 1 + x / 5 : 1 + x / 10;
    d = std::max<i64>(d, 1);
    if (type.subclass >= 8 && type.subclass <= 13) {
        low = ScaleBySkill(low, player.GetSkillValue(7));
        high = ScaleBySkill(high, player.GetSkillValue(7));
    }
    if ((type.flags & 2) || type.IsCountedWeapon()) {
        low = ScaleBySkill(low, player.GetSkillValue(2)) + d / 16 + a / 25;
        high = ScaleBySkill(high, player.GetSkillValue(2)) + d / 16 + a / 25;
    } else {
        low = ScaleBySkill(low, player.GetSkillValue(3)) + d / 25 + a / 16;
        high = ScaleBySkill(high, player.GetSkillValue(3)) + d / 25 + a / 16;
    }
    if (dualWield) {
        low = ScaleBySkill(low, player.GetSkillValue(4));
        high = ScaleBySkill(high, player.GetSkillValue(4));
    }
    if (player.IsCursed()) high = low + (high - low) / 2;
    lowOut = Clamp32u(low);
    highOut = Clamp32u(high);
}
