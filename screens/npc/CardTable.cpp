#include "screens/npc/CardTable.h"

#include "core/Random.h"
#include "data/CardRecord.h"
#include "ui/LayoutMath.h"

#include <utility>

namespace {

struct BuiltInCard {
    const char* name;
    u32 copies;
    u32 kind;
    u32 value1, value2, value3;
    const char* text;
};

// Texts shared by several cards. The misspellings of the two node texts are the cards' own words and
// are kept as they are.
const char kInflictsToEnemy[] = "Inflicts %u damage to the enemy.";
const char kHalfToDefense[] = "Inflicts %u damage, half to the defense if apply.";
const char kShieldText[] = "%u%% damage reduction per turn. Durability:\x0B%u\x0BHp.";
const char kBonusAttacks[] = "%u%% damage bonus per turn. Attacks:\x0B%u.";
const char kDamagePerTurn[] = "Inflicts %u damage per turn. Turns:\x0B%u.";
const char kHeals[] = "Heals %u points.";
const char kComboHeal[] = "Combo card, and heals half of the missing Hp.";
const char kComboDouble[] = "Combo card, you can table another card which effect's doubled.";
const char kDecreasesTaken[] = "Decreases the damage taken, by %u%% per turn. Turns:\x0B%u.";
const char kToEnemyPerTurn[] = "Inflicts %u damage to the enemy per turn. Turns:\x0B%u.";
const char kForSuffering[] = "Inflicts %u damage for suffering %u damage.";
const char kDrains[] = "Drains %u Hp from the enemy.";
const char kBoneWall[] = "Defensive bone wall. Hp:\x0B%u.";
const char kMinion[] = "Minion, inflicts %u damage to the enemy in each turn. Hp:\x0B%u.";
const char kDrainsPerTurn[] = "Drains %u Hp per turn. Turns:\x0B%u.";

const BuiltInCard kBuiltIn[kCardCount] = {
    // Warrior.
    {"Slash", 3, kCardInstant, 2, 0, 0, kInflictsToEnemy},
    {"Crush", 3, kCardInstant, 3, 0, 0, kInflictsToEnemy},
    {"Rapid stab", 3, kCardInstant, 4, 0, 0, kHalfToDefense},
    {"Bleeding", 3, kCardTurns, 1, 3, 3, "Inflicts %u damage and enemy loses %u Hp per turn. Turns:\x0B%u."},
    {"Assault", 3, kCardInstant, 2, 0, 0, "Inflicts %u damage and removes a marker from the enemy."},
    {"Dual strike", 2, kCardInstant, 8, 0, 0, kHalfToDefense},
    {"Backstab", 3, kCardInstant, 5, 0, 0, "Inflicts %u damage, any kind of defense ignored."},
    {"Block", 1, kCardTurns, 50, 0, 2, "%u%% damage resistance. Turns:\x0B%u."},
    {"War cry", 1, kCardInstant, 0, 0, 0, kComboDouble},
    {"Tower shield", 2, kCardHitPoints, 20, 0, 8, kShieldText},
    {"Long sword", 3, kCardAttacks, 20, 0, 5, kBonusAttacks},
    {"Kite shield", 3, kCardHitPoints, 25, 0, 12, kShieldText},
    {"Battle axe", 2, kCardAttacks, 20, 0, 7, kBonusAttacks},
    {"Plate mail", 1, kCardHitPoints, 33, 0, 15, kShieldText},
    {"Mourner", 1, kCardTurns, 50, 0, 2, "%u%% damage bonus per turn. Turns:\x0B%u."},
    {"Remedy", 3, kCardInstant, 5, 0, 0, kHeals},
    {"Healing potion", 3, kCardTurns, 7, 1, 3, "Heals %u points plus %u point per turn. Turns:\x0B%u."},
    {"Rejuvenate", 2, kCardInstant, 0, 0, 0, "Heals half of the missing Hp."},
    {"Heroic Remedy", 1, kCardInstant, 5, 0, 0, "Increases both Hp and max Hp by %u."},
    {"Arrow storm", 3, kCardTurns, 3, 0, 3, kDamagePerTurn},
    {"Fosse", 3, kCardInstant, 0, 0, 0, "Removes a marker from the opponent."},
    {"Raid", 2, kCardTurns, 3, 0, 5, "Inflicts %u damage per turn only to the enemy defense. Turns:\x0B%u."},
    {"Marksman", 1, kCardTurns, 5, 0, 3, kDamagePerTurn},
    {"Bloodlust", 2, kCardCombo, 0, 0, 0, kComboHeal},
    {"Berzerk", 1, kCardTurns, 50, 30, 2,
     "%u%% damage bonus but %u%% more damage taken per turn. Turns:\x0B%u."},
    // Sorcerer.
    {"Life node", 3, kCardTurns, 2, 0, 10, "Regenerates Hp by %u points per turn. Turns:\x0B%u."},
    {"Aura of air", 3, kCardTurns, 25, 0, 4, kDecreasesTaken},
    {"Death node", 3, kCardTurns, 25, 0, 4,
     "Increases the damage inflicted, by %u%% per turn. Turns:\x0B%u."},
    {"Aura of water", 2, kCardTurns, 33, 0, 4, kDecreasesTaken},
    {"Moon node", 3, kCardTurns, 25, 0, 4, "Increases the damage infilcted, by %u%% per turn. Turns:\x0B%u."},
    {"Aura of fire", 3, kCardTurns, 25, 0, 4, "Reflects %u%% of suffered damage, per turn. Turns:\x0B%u."},
    {"Sun node", 1, kCardTurns, 50, 0, 4, "Increases the infilicted damage, by %u%% per turn. Turns:\x0B%u."},
    {"Aura of earth", 1, kCardTurns, 50, 0, 4, kDecreasesTaken},
    {"Ice bolt", 3, kCardInstant, 4, 0, 0, kInflictsToEnemy},
    {"Chain lightning", 3, kCardInstant, 5, 0, 0, kInflictsToEnemy},
    {"Earthquake", 3, kCardInstant, 5, 0, 0, kInflictsToEnemy},
    {"Whirlwind", 2, kCardInstant, 5, 0, 0,
     "Inflicts %u damage to the enemy and destroys one of its markers."},
    {"Firewall", 1, kCardInstant, 8, 0, 0, kInflictsToEnemy},
    {"Starfall", 1, kCardInstant, 0, 0, 0, "Destroys all of the enemy's markers."},
    {"Sandstorm", 3, kCardTurns, 1, 0, 5, kDamagePerTurn},
    {"Blizzard", 3, kCardTurns, 1, 0, 6, kDamagePerTurn},
    {"Blade storm", 3, kCardTurns, 3, 0, 2, kDamagePerTurn},
    {"Will-o'-the-wisp", 2, kCardTurns, 2, 0, 3, "Reduces enemy attack by %u per turn. Turns:\x0B%u."},
    {"Wildfire", 2, kCardTurns, 2, 0, 4, kToEnemyPerTurn},
    {"Rage of nature", 1, kCardTurns, 4, 0, 3, kToEnemyPerTurn},
    {"Healing shower", 3, kCardInstant, 4, 0, 0, kHeals},
    {"Healing scroll", 2, kCardInstant, 7, 0, 0, kHeals},
    {"Bless", 1, kCardInstant, 15, 0, 0, kHeals},
    {"Mana explosion", 1, kCardCombo, 0, 0, 0, kComboHeal},
    {"Mana storm", 1, kCardCombo, 0, 0, 0, kComboDouble},
    // Necromancer.
    {"Blood chant", 3, kCardInstant, 4, 2, 0, kForSuffering},
    {"Fang", 3, kCardInstant, 6, 3, 0, kForSuffering},
    {"Atrophy", 3, kCardInstant, 2, 0, 0, "Inflicts %u damage."},
    {"Sacrifice", 3, kCardInstant, 5, 3, 0, kForSuffering},
    {"Dark touch", 3, kCardInstant, 3, 0, 0, kDrains},
    {"Poison cloud", 3, kCardInstant, 4, 1, 0, kForSuffering},
    {"Blood filch", 2, kCardInstant, 5, 1, 0, kForSuffering},
    {"Vampire bite", 2, kCardInstant, 6, 0, 0, kDrains},
    {"Soul crush", 1, kCardInstant, 15, 5, 0, kForSuffering},
    {"Black out", 1, kCardInstant, 12, 0, 0, kDrains},
    {"Bone wall", 3, kCardHitPoints, 0, 0, 6, kBoneWall},
    {"Blood golem", 3, kCardHitPoints, 1, 0, 6, kMinion},
    {"Blood moat", 3, kCardHitPoints, 0, 0, 8, kBoneWall},
    {"Ghoul", 3, kCardHitPoints, 2, 0, 4, kMinion},
    {"Graveyard", 2, kCardTurns, 1, 0, 5, "Regenerates %u Hp per turn. Turns:\x0B%u."},
    {"Skeleton", 1, kCardHitPoints, 3, 0, 4, kMinion},
    {"Vampire", 1, kCardTurns, 3, 0, 3, "Minion, drains %u Hp in each turn. Turns:\x0B%u."},
    {"Acid rain", 3, kCardTurns, 1, 0, 3, kDamagePerTurn},
    {"Parasite", 3, kCardTurns, 1, 0, 3, kDrainsPerTurn},
    {"Corpse army", 3, kCardTurns, 2, 0, 2, kDamagePerTurn},
    {"Vampire bats", 2, kCardTurns, 1, 0, 4, kDrainsPerTurn},
    {"Unholy seal", 1, kCardTurns, 1, 0, 3, kDrainsPerTurn},
    {"Blood boil", 1, kCardTurns, 10, 0, 2, "Inflicts %u Hp damage per turn. Turns:\x0B%u."},
    {"Heart pile", 2, kCardCombo, 0, 0, 0, kComboHeal},
    {"Soul pile", 1, kCardCombo, 0, 0, 0, kComboDouble},
};

constexpr int kShuffleRounds = 100;

}  // namespace

CCardTable::CCardTable() { BuildCardTable(0); }

u16 CCardTable::PictureId(u32 layoutMode, u32 cls, u32 index) {
    if (IsSmallLayoutMode(layoutMode))
        return static_cast<u16>(kSmallPictureBase + cls * kCardsPerClass + index);
    return static_cast<u16>(kPictureBase + cls * kPicturesPerClass + index);
}

void CCardTable::BuildCardTable(u32 layoutMode) {
    for (u32 key = 0; key < kCardCount; ++key) {
        const BuiltInCard& in = kBuiltIn[key];
        CCardDef& card = cards_[key];
        card.cls = key / kCardsPerClass;
        card.index = key % kCardsPerClass;
        card.copies = in.copies;
        card.name = in.name;
        card.text = in.text;
        card.value1 = in.value1;
        card.value2 = in.value2;
        card.value3 = in.value3;
        card.kind = in.kind;
        card.picture = PictureId(layoutMode, card.cls, card.index);
    }
}

bool CCardTable::FillFromRecord(u32 key, const CResourceRefEntry& record) {
    if (key >= kCardCount || !record.name || !record.effectText) return false;
    switch (record.kindFlags) {
    case kCardInstant:
    case kCardHitPoints:
    case kCardAttacks:
    case kCardTurns:
    case kCardCombo: break;
    default: return false;
    }
    if (record.copies > kMaxCardCopies) return false;
    for (u32 value : record.values)
        if (value > kMaxCardValue) return false;
    CCardDef& card = cards_[key];
    card.copies = record.copies;
    card.name = record.name;
    card.text = record.effectText;
    card.value1 = record.values[0];
    card.value2 = record.values[1];
    card.value3 = record.values[2];
    card.kind = record.kindFlags;
    return true;
}

u32 CCardTable::DeckSize(u32 cls) const {
    u32 total = 0;
    for (u32 i = 0; i < kCardsPerClass; ++i) total += Card(cls, i).copies;
    return total;
}

void CCardDeck::BuildDeck(const CCardTable& table, u32 cls, CRandom& random) {
    items_.clear();
    items_.reserve(table.DeckSize(cls));
    for (u32 i = 0; i < kCardsPerClass; ++i)
        for (u32 c = 0; c < table.Card(cls, i).copies; ++c) items_.push_back(static_cast<i32>(i));
    const i32 count = static_cast<i32>(items_.size());
    for (int round = 0; round < kShuffleRounds; ++round) {
        u32 a = random.Next(count);
        u32 b = random.Next(count);
        if (a != b && a < items_.size() && b < items_.size()) std::swap(items_[a], items_[b]);
    }
}

i32 CCardDeck::DrawTop() {
    if (items_.empty()) return -1;
    i32 top = items_.front();
    items_.erase(items_.begin());
    return top;
}

std::string FormatCardText(const CCardDef& card, u32 value) {
    if (!card.text) return {};
    u32 places = 0;
    for (const char* p = card.text; *p; ++p) {
        if (p[0] == '%' && p[1] == 'u') {
            ++places;
            ++p;
        }
    }
    const bool flagged = (card.kind & (kCardInstant | kCardCombo)) != 0;
    const u32 last = value == kNoCardValue ? card.value3 : value;
    u32 fill[3] = {};
    if (flagged) {
        if (places >= 3) return {};
        fill[0] = card.value1;
        fill[1] = card.value2;
    } else {
        if (places >= 4) return {};
        fill[0] = places == 1 ? last : card.value1;
        fill[1] = places == 2 ? last : card.value2;
        fill[2] = last;
    }
    std::string out;
    u32 next = 0;
    for (const char* p = card.text; *p; ++p) {
        if (p[0] == '%' && p[1] == 'u') {
            out += std::to_string(fill[next++]);
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

const char* CardClassName(u32 cls) {
    switch (cls) {
    case kCardWarrior: return "warrior";
    case kCardSorcerer: return "sorcerer";
    case kCardNecromancer: return "necromancer";
    default: return "";
    }
}
