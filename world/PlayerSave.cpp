// The player's section of a saved game (record 3003): a run of tagged sections, each read or written by
// the same body. Item types and spells travel as indices of the saved game's name tables; quests,
// abilities and diseases by their ids. The effects that equipment, abilities and diseases give are not
// stored: reading builds them again from what the player holds.
#include <algorithm>
#include <cstring>

#include "core/Str.h"
#include "core/Stream.h"
#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "data/SavedGame.h"
#include "data/SavedState.h"
#include "data/Spells.h"
#include "world/Player.h"

namespace {

constexpr u16 kEmptySlot = 65535;
// The classes of active effects that a saved game keeps: what drink, spells and blows left behind.
constexpr u8 kStoredSources[] = {kFromDrink, kFromSpell, kFromHit};
constexpr u8 kSourceTags[] = {'c', 'd', 'e'};

void SerializeText(CStream& s, std::string& text) {
    CStr value(text.c_str());
    s.SerializeStr(value);
    if (!s.IsWriting()) text = value.GetText() ? value.GetText() : "";
}

// Before save version 116 these values were single bytes.
void SerializeSmall(CStream& s, u16& value, u32 version) {
    if (s.IsWriting() || version >= 116) {
        s.SerializeU16(value);
        return;
    }
    u8 narrow = 0;
    s.SerializeU8(narrow);
    value = narrow;
}

// A list of held records by id: a count and each id.
template <class T>
void SerializeIdList(CStream& s, std::vector<const T*>& list,
                     const T* (*find)(const CRuleContext*, const char*), const CRuleContext* rules) {
    u16 count = static_cast<u16>(std::min<size_t>(list.size(), 0xFFFF));
    s.SerializeU16(count);
    if (!s.IsWriting()) list.clear();
    for (u32 i = 0; i < count && !s.HasError(); ++i) {
        std::string id = s.IsWriting() && list[i]->GetName() ? list[i]->GetName() : "";
        SerializeText(s, id);
        if (s.IsWriting() || s.HasError()) continue;
        // An id the world no longer holds is dropped with whatever it gave.
        const T* found = find(rules, id.c_str());
        if (found && std::find(list.begin(), list.end(), found) == list.end()) list.push_back(found);
    }
}

const CAbility* FindAbility(const CRuleContext* rules, const char* id) {
    return rules && rules->abilities ? rules->abilities->FindById(id) : nullptr;
}
const CDisease* FindDisease(const CRuleContext* rules, const char* id) {
    return rules && rules->diseases ? rules->diseases->FindById(id) : nullptr;
}

void SerializeMark(CStream& s, CMarkedPosition& mark) {
    SerializeText(s, mark.world);
    SerializeText(s, mark.map);
    SerializeText(s, mark.text3);
    SerializeText(s, mark.text4);
    s.SerializeU8(mark.x);
    s.SerializeU8(mark.y);
    s.SerializeU8(mark.facing);
}

}  // namespace

// The origin of a stored effect by name: an item type for drink (table of item types), a spell for a
// spell's effect (table of spells); anything else is stored without one.
u16 CPlayer::InternEffectOrigin(const CActiveEffect& effect, CSaveStringTable& strings) const {
    if (!effect.origin || !rules_) return 0;
    if (effect.source == kFromDrink && rules_->items) {
        for (int i = 0; i < rules_->items->GetItemTypeCount(); ++i)
            if (rules_->items->GetItemType(i) == effect.origin)
                return strings.InternObjectName(rules_->items->GetItemType(i)->GetName());
    }
    if (effect.source == kFromSpell && rules_->spells) {
        for (int i = 0; i < rules_->spells->Count(); ++i)
            if (rules_->spells->At(i) == effect.origin)
                return strings.InternContainerName(rules_->spells->At(i)->GetName());
    }
    return 0;
}

const void* CPlayer::FindEffectOrigin(u8 source, u16 ref, const CSaveStringTable& strings) const {
    if (!rules_) return nullptr;
    if (source == kFromDrink && rules_->items) {
        const char* name = strings.NameAt(CSaveStringTable::kItemTypes, ref);
        return name ? rules_->items->FindItemType(name) : nullptr;
    }
    if (source == kFromSpell && rules_->spells) {
        const char* name = strings.NameAt(CSaveStringTable::kSpells, ref);
        return name ? rules_->spells->FindById(name) : nullptr;
    }
    return nullptr;
}

bool CPlayer::SerializeSaved(CStream& s, CSaveStringTable& strings, u32 version) {
    const bool writing = s.IsWriting();
    if (!writing) ResetToDefaults();

    s.MatchByte('2');
    s.MatchByte('Y');
    s.SerializeStr(name);
    s.SerializeStr(portrait);
    s.SerializeU8(gender);
    s.SerializeU16(hp);
    s.SerializeU16(mana);
    s.SerializeU8(level);
    for (u32* value : {&xp, &xpHighWater, &savedXp, &xpForNextLevel, &gold}) s.SerializeU32(*value);
    u16 fameWord = static_cast<u16>(fame);
    s.SerializeU16(fameWord);
    fame = static_cast<i16>(fameWord);
    s.SerializeU32(crime);
    s.SerializeU32(race);
    s.SerializeU8(levelGainFlag);

    s.MatchByte('Z');
    for (int a = 1; a <= kPlayerAttributeCount; ++a) SerializeSmall(s, attributes[a], version);
    SerializeSmall(s, attributePoints, version);
    for (int a = 1; a <= kPlayerAttributeCount; ++a) SerializeSmall(s, attributeRaises[a], version);

    s.MatchByte('[');
    for (u8& skill : skillOrder) s.SerializeU8(skill);
    SerializeSmall(s, skillPoints, version);
    for (int k = 1; k <= kPlayerSkillCount; ++k) SerializeSmall(s, skillRaises[k], version);
    for (int k = 1; k <= kPlayerSkillCount; ++k) SerializeSmall(s, skills[k], version);
    for (int k = 1; k <= kPlayerSkillCount; ++k) s.SerializeU16(skillUse[k]);

    s.MatchByte('\\');
    for (int school = 1; school <= 7; ++school) {
        std::vector<const CSpell*>& list = spellsBySchool[school];
        u16 count = static_cast<u16>(std::min<size_t>(list.size(), 0xFFFF));
        s.SerializeU16(count);
        for (u32 i = 0; i < count && !s.HasError(); ++i) {
            u16 ref = writing ? strings.InternContainerName(list[i]->GetName()) : 0;
            s.SerializeU16(ref);
            if (writing) continue;
            const char* id = strings.NameAt(CSaveStringTable::kSpells, ref);
            const CSpell* spell = id && rules_ && rules_->spells ? rules_->spells->FindById(id) : nullptr;
            // Kept in the list of its own school, whatever list it was stored in.
            if (spell) LearnSpell(*spell);
        }
    }

    s.MatchByte(']');
    u16 questCount = static_cast<u16>(std::min<size_t>(quests.size(), 0xFFFF));
    s.SerializeU16(questCount);
    if (!writing) quests.clear();
    for (u32 i = 0; i < questCount && !s.HasError(); ++i) {
        CPlayerQuest quest = writing ? quests[i] : CPlayerQuest{};
        SerializeText(s, quest.id);
        s.SerializeU8(quest.state);
        if (!writing && !s.HasError() && !quest.id.empty()) quests.push_back(std::move(quest));
    }

    // Equipment: the position of each slot's item among the carried items.
    s.MatchByte('^');
    u16 positions[kEquipmentSlotCount + 1] = {};
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot) {
        if (writing) {
            positions[slot] = kEmptySlot;
            for (size_t i = 0; i < items.size() && i < kEmptySlot; ++i)
                if (equipment[slot] == items[i].get()) positions[slot] = static_cast<u16>(i);
        }
        s.SerializeU16(positions[slot]);
    }

    s.MatchByte('_');
    savestate::CContainerHead head;
    if (writing) {
        std::vector<CItemInstance*> carried;
        for (const auto& item : items) carried.push_back(item.get());
        savestate::WriteContainer(s, strings, head, carried);
    } else {
        s.SerializeU8(head.id);
        u32 index = 0;
        savestate::ReadContainer(s, strings, rules_ ? rules_->items : nullptr, head,
                                 [&](std::unique_ptr<CItemInstance> item) {
                                     // Slots name entries by their place in the stored list, dropped ones
                                     // included; a slot whose entry was dropped stays empty.
                                     for (int slot = 1; slot <= kEquipmentSlotCount; ++slot)
                                         if (positions[slot] == index) {
                                             equipment[slot] = item.get();
                                             positions[slot] = kEmptySlot;
                                         }
                                     ++index;
                                     if (item) items.push_back(std::move(item));
                                 });
    }

    s.MatchByte(0x60);
    SerializeIdList<CAbility>(s, abilities, FindAbility, rules_);
    s.MatchByte('a');
    SerializeIdList<CDisease>(s, diseases, FindDisease, rules_);

    s.MatchByte('b');
    u16 readCount = static_cast<u16>(std::min<size_t>(readTexts.size(), 0xFFFF));
    s.SerializeU16(readCount);
    for (u32 i = 0; i < readCount && !s.HasError(); ++i) {
        u16 ref = writing ? strings.InternObjectName(readTexts[i].c_str()) : 0;
        s.SerializeU16(ref);
        if (writing) continue;
        if (const char* id = strings.NameAt(CSaveStringTable::kItemTypes, ref)) RememberReadText(id);
    }

    if (writing || version > 89) {
        s.MatchByte('f');
        u16 markCount = static_cast<u16>(std::min<size_t>(marks.size(), 0xFFFF));
        s.SerializeU16(markCount);
        if (!writing) marks.clear();
        for (u32 i = 0; i < markCount && !s.HasError(); ++i) {
            if (!writing) marks.emplace_back();
            SerializeMark(s, marks[i]);
        }
    }

    for (size_t c = 0; c < std::size(kStoredSources); ++c) {
        s.MatchByte(kSourceTags[c]);
        std::vector<CActiveEffect*> stored;
        if (writing)
            for (auto& list : effects)
                for (CActiveEffect& e : list)
                    if (e.source == kStoredSources[c]) stored.push_back(&e);
        u16 count = static_cast<u16>(std::min<size_t>(stored.size(), 0xFFFF));
        s.SerializeU16(count);
        for (u32 i = 0; i < count && !s.HasError(); ++i) {
            CActiveEffect e = writing ? *stored[i] : CActiveEffect{};
            u16 ref = writing ? InternEffectOrigin(e, strings) : 0;
            u16 strength = static_cast<u16>(e.strength);
            std::string text = e.name.value_or("");
            s.SerializeU8(e.source);
            s.SerializeU8(e.kind);
            s.SerializeU16(ref);
            SerializeText(s, text);
            s.SerializeU16(strength);
            s.SerializeU8(e.duration);
            s.SerializeU8(e.target);
            if (writing || s.HasError()) continue;
            e.strength = static_cast<i16>(strength);
            if (!text.empty()) e.name = text;
            e.origin = FindEffectOrigin(e.source, ref, strings);
            // An entry whose origin was stored but is gone, or of a list this player does not keep, is
            // dropped; one stored without an origin keeps none.
            if ((ref != 0 && !e.origin) || e.kind == 0 || e.kind > kEffectListCount) continue;
            effects[e.kind].push_back(std::move(e));
        }
    }
    if (writing || s.HasError()) return !s.HasError();

    BoundLoadedValues();
    ReapplyEquipmentEffects();
    ReapplyAbilityEffects();
    ReapplyDiseaseEffects();
    // The maxima follow from the attributes and the effects, which are in place only now.
    hp = static_cast<u16>(std::clamp<int>(hp, 1, std::max(1, GetMaxHp())));
    mana = static_cast<u16>(std::min<int>(mana, std::max(0, GetMaxMana())));
    return true;
}

// A saved game comes from outside: each value read is brought into the range it has in play before
// anything uses it (the level indexes the experience table), and an item that is not worn where the
// game would wear it goes back among the carried items.
void CPlayer::BoundLoadedValues() {
    level = static_cast<u8>(std::clamp<int>(level, 1, kMaxLevel));
    if (level >= kMaxLevel) xpForNextLevel = 0;
    gender = gender != 0 ? 1 : 0;
    race = std::clamp<u32>(race, 1, kRaceCount - 1);
    gold = std::min(gold, kMaxGold);
    for (int k = 1; k <= kPlayerSkillCount; ++k) {
        skills[k] = static_cast<u16>(std::min<int>(skills[k], kMaxSkillValue));
        skillRaises[k] = static_cast<u16>(std::min<int>(skillRaises[k], kMaxRaiseAllowance + 1));
    }
    for (int a = 1; a <= kPlayerAttributeCount; ++a)
        attributeRaises[a] = static_cast<u16>(std::min<int>(attributeRaises[a], kMaxRaiseAllowance + 1));
    for (u8& skill : skillOrder)
        if (skill > kPlayerSkillCount) skill = 0;
    for (CPlayerQuest& quest : quests) quest.state = std::min<u8>(quest.state, 2);
    for (CMarkedPosition& mark : marks) mark.facing &= 3;
    for (int slot = 1; slot <= kEquipmentSlotCount; ++slot) {
        CItemInstance*& worn = equipment[slot];
        if (!worn) continue;
        const bool fits = worn->type && (SlotFor(*worn->type, false) == slot || SlotFor(*worn->type, true) == slot);
        bool twice = false;
        for (int earlier = 1; earlier < slot; ++earlier) twice = twice || equipment[earlier] == worn;
        if (!fits || twice) worn = nullptr;
    }
}
