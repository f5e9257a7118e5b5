// The new-game start kit: the created character's identity, starting values, the race's items and
// ability, a random pair of items, the items of each class skill and what of them is worn.
#include <algorithm>
#include <cstring>

#include "core/Random.h"
#include "data/CharacterTables.h"
#include "data/ItemType.h"
#include "world/Player.h"

namespace {

struct RaceKit {
    const char* book;
    const char* start;
    const char* time;
    const char* script;
};

constexpr RaceKit kRaceKits[] = {
    {"base_race_rasvim_book", "base_race_rasvim_start", "2am", "base_startgamerasvim"},
    {"base_race_etherim_book", "base_race_etherim_start", "3pm", "base_startgameetherim"},
    {"base_race_seiry_book", "base_race_seiry_start", "1130pm", "base_startgameseiry"},
    {"base_race_derth_book", "base_race_derth_start", "3pm", "base_startgamederth"},
    {"base_race_nogur_book", "base_race_nogur_start", "3pm", "base_startgamenogur"},
};

// The book and the spell of each magic skill (8..13).
constexpr const char* kSkillBooks[][2] = {
    {"base_spbookcurelightwounds", "base_spellcurelightwounds"},
    {"base_spbookstoneskin", "base_spellstoneskin"},
    {"base_spbookburninghand", "base_spellburninghand"},
    {"base_spbookcurse", "base_spellcurse"},
    {"base_spbookdrainhealth", "base_spelldrainhealth"},
    {"base_spbookfeather", "base_spellfeather"},
};

constexpr const char* kAlchemyKit[] = {
    "base_alc_mortarbeginner",   "base_alc_alkieberries", "base_alc_criminivulgaris", "base_alc_ladyslipper",
    "base_alc_moonshinemushies", "base_alc_powerberries", "base_alc_purplefairyring"};

// "2am", "3pm", "1130pm": hours and minutes, then am or pm.
void ParseTimeOfDay(const char* text, int& hour, int& minute) {
    int digits = 0, value = 0;
    const char* p = text;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        ++digits;
        ++p;
    }
    hour = digits > 2 ? value / 100 : value;
    minute = digits > 2 ? value % 100 : 0;
    bool pm = *p == 'p' || *p == 'P';
    hour %= 12;
    if (pm) hour += 12;
}

}  // namespace

void CPlayer::GiveKitItem(const char* id, int count, CItemInstance** remember) {
    const CItemType* type = FindType(id);
    if (!type) return;
    CItemInstance* item = AddItemCopies(count, *type);
    if (remember) *remember = item;
}

// Two item types drawn from the catalogue's random-item table: one of group 1 and one further item
// (of any other group). Only what the race may carry is a candidate, and each draw is made from the
// candidates that are still wanted, so the draw always ends; a want without candidates gives nothing.
void CPlayer::GiveRandomItems() {
    if (!rules_ || !rules_->items) return;
    const CItemCatalogue& catalogue = *rules_->items;
    std::vector<const CItemType*> groupOne, further;
    for (int group = 1; group <= kMaxItemGroup; ++group)
        for (u16 index : catalogue.GetGroupList(group)) {
            const CItemType* type = catalogue.GetItemType(index);
            if (!type || (race == 1) != ((type->flags & 0x08) != 0)) continue;
            (group == 1 ? groupOne : further).push_back(type);
        }
    bool wantGroupOne = !groupOne.empty(), wantFurther = !further.empty();
    while (wantGroupOne || wantFurther) {
        std::vector<const CItemType*> candidates;
        if (wantGroupOne) candidates.insert(candidates.end(), groupOne.begin(), groupOne.end());
        if (wantFurther) candidates.insert(candidates.end(), further.begin(), further.end());
        const CItemType* type = candidates[Draw(static_cast<int>(candidates.size()))];
        AddItemCopies(4, *type);
        if (type->group == 1)
            wantGroupOne = false;
        else
            wantFurther = false;
    }
}

void CPlayer::GiveStartingKit(const CCreatedCharacter& created) {
    // 1. Identity and the race's ability.
    race = std::clamp<u32>(created.race, 1, 5);
    name = created.name.c_str();
    portrait = created.portrait.c_str();
    gender = created.gender;
    const CRaceEntry* raceEntry =
        rules_ && rules_->races ? rules_->races->GetEntry(static_cast<int>(race)) : nullptr;
    if (raceEntry && raceEntry->text1) AddAbility(raceEntry->text1, false);

    // 2, 3. The race's items and the potions.
    const RaceKit& kit = kRaceKits[race - 1];
    GiveKitItem(kit.book, 1, nullptr);
    GiveKitItem(kit.start, 1, nullptr);
    GiveKitItem(race == 1 ? "base_punholysmall" : "base_phealsmall", 2, nullptr);
    GiveKitItem("base_pmanasmall", 1, nullptr);

    // 4. The random pair.
    GiveRandomItems();

    // 5. Starting values.
    gold = race == 3 ? 600 : 500;
    levelGainFlag = 0;
    for (int a = 1; a <= kPlayerAttributeCount; ++a) attributes[a] = 15;
    RemoveEffectsFromSource(kFromAbility);
    ReapplyAbilityEffects();
    hp = static_cast<u16>(std::clamp(GetMaxHp(), 0, 65535));
    mana = static_cast<u16>(std::clamp(GetMaxMana(), 0, 65535));

    // 6. The class skills.
    auto inClass = [&](int skill) {
        return std::find(std::begin(created.skills), std::end(created.skills), skill) !=
               std::end(created.skills);
    };
    for (int i = 0; i < 6; ++i) {
        int s = std::clamp<int>(created.skills[i], 0, kPlayerSkillCount);
        skillOrder[i] = static_cast<u8>(s);
        if (s >= 1) skills[s] = static_cast<u16>(15 + Draw(5));
    }

    // 7. Boots, and a small shield for a class that neither blocks nor fights with two weapons.
    std::vector<std::pair<CItemInstance*, bool>> worn;
    CItemInstance* boots = nullptr;
    GiveKitItem("base_boots_fur", 1, &boots);
    worn.push_back({boots, false});
    CItemInstance* weapon = nullptr;
    CItemInstance* secondHand = nullptr;
    if (!inClass(kSkillBlock) && !inClass(kSkillDualWield))
        GiveKitItem("base_shield_smallwooden", 1, &secondHand);

    // 8. The items of each class skill, in the order chosen.
    for (int i = 0; i < 6; ++i) {
        int s = created.skills[i];
        CItemInstance* item = nullptr;
        switch (s) {
        case kSkillBlock:
            GiveKitItem("base_shield_woodenround", 1, &item);
            if (item && !inClass(kSkillDualWield) && !inClass(kSkillAccuracy)) secondHand = item;
            break;
        case kSkillLightWeapon:
            GiveKitItem("base_weap_shortswordcheap", 1, &item);
            if (item && inClass(kSkillDualWield))
                secondHand = item;
            else if (item && !inClass(kSkillHeavyWeapon))
                weapon = item;
            break;
        case kSkillHeavyWeapon:
            GiveKitItem("base_weap_greatcudgel2", 1, &item);
            if (item) weapon = item;
            break;
        case kSkillDualWield:
            if (!inClass(kSkillLightWeapon)) {
                GiveKitItem("base_weap_dirkcheap", 1, &item);
                if (item) secondHand = item;
            }
            if (!inClass(kSkillHeavyWeapon)) {
                item = nullptr;
                GiveKitItem("base_weap_greatcudgel2", 1, &item);
                if (item) weapon = item;
            }
            break;
        case kSkillLightArmor:
            GiveKitItem("base_mail_frayedleather", 1, &item);
            if (!inClass(kSkillHeavyArmor)) worn.push_back({item, false});
            break;
        case kSkillHeavyArmor:
            GiveKitItem("base_mail_scalecheap", 1, &item);
            worn.push_back({item, false});
            break;
        case kSkillAccuracy:
            GiveKitItem("base_weap_shortbowcheap", 1, &item);
            if (item && !inClass(kSkillDualWield)) weapon = item;
            item = nullptr;
            GiveKitItem("base_quiver_cheap", 1, &item);
            worn.push_back({item, false});
            break;
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13: {
            GiveKitItem(kSkillBooks[s - 8][0], 1, nullptr);
            const CSpell* spell =
                rules_ && rules_->spells ? rules_->spells->FindById(kSkillBooks[s - 8][1]) : nullptr;
            if (spell && IsSpellSchoolAllowed(spell->school)) LearnSpell(*spell);
            break;
        }
        case 14: GiveKitItem("base_repair_hammerapprentice", 2, nullptr); break;
        case kSkillMercantile:
            GiveKitItem("base_money_100", 1, nullptr);
            GiveKitItem("base_gem_amethyst", 1, nullptr);
            break;
        case 16:
            for (const char* id : kAlchemyKit) GiveKitItem(id, 1, nullptr);
            break;
        case kSkillPersuade: GiveKitItem("base_money_100", 1, nullptr); break;
        case 18: GiveKitItem("base_key_lockpickbeginner", 1, nullptr); break;
        case 19: GiveKitItem("base_scrdisarm", 1, nullptr); break;
        case 20:
            GiveKitItem("base_robe_clothcape", 1, &item);
            worn.push_back({item, false});
            break;
        default: break;
        }
    }

    // 9. Everything remembered is worn.
    for (const auto& [item, second] : worn)
        if (item) EquipItem(item, second);
    if (weapon) EquipItem(weapon, false);
    if (secondHand) EquipItem(secondHand, true);

    // 10. The other fourteen skills, in increasing id order.
    int next = 6;
    for (int s = 1; s <= kPlayerSkillCount && next < kPlayerSkillCount; ++s) {
        if (inClass(s)) continue;
        skillOrder[next++] = static_cast<u8>(s);
        skills[s] = static_cast<u16>(10 + Draw(5));
    }

    // 11. The time of day and the race's start script.
    int hour = 0, minute = 0;
    ParseTimeOfDay(kit.time, hour, minute);
    if (host_) host_->PassTimeTo(hour, minute);
    spare = kit.script;
}
