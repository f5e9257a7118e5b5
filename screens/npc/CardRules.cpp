#include "screens/npc/CardRules.h"

#include "core/Random.h"

#include <algorithm>

namespace {

// Cards by table key (class * 25 + index).
enum CardKey : u32 {
    kSlash,
    kCrush,
    kRapidStab,
    kBleeding,
    kAssault,
    kDualStrike,
    kBackstab,
    kBlock,
    kWarCry,
    kTowerShield,
    kLongSword,
    kKiteShield,
    kBattleAxe,
    kPlateMail,
    kMourner,
    kRemedy,
    kHealingPotion,
    kRejuvenate,
    kHeroicRemedy,
    kArrowStorm,
    kFosse,
    kRaid,
    kMarksman,
    kBloodlust,
    kBerzerk,

    kLifeNode,
    kAuraOfAir,
    kDeathNode,
    kAuraOfWater,
    kMoonNode,
    kAuraOfFire,
    kSunNode,
    kAuraOfEarth,
    kIceBolt,
    kChainLightning,
    kEarthquake,
    kWhirlwind,
    kFirewall,
    kStarfall,
    kSandstorm,
    kBlizzard,
    kBladeStorm,
    kWillOTheWisp,
    kWildfire,
    kRageOfNature,
    kHealingShower,
    kHealingScroll,
    kBless,
    kManaExplosion,
    kManaStorm,

    kBloodChant,
    kFang,
    kAtrophy,
    kSacrifice,
    kDarkTouch,
    kPoisonCloud,
    kBloodFilch,
    kVampireBite,
    kSoulCrush,
    kBlackOut,
    kBoneWall,
    kBloodGolem,
    kBloodMoat,
    kGhoul,
    kGraveyard,
    kSkeleton,
    kVampire,
    kAcidRain,
    kParasite,
    kCorpseArmy,
    kVampireBats,
    kUnholySeal,
    kBloodBoil,
    kHeartPile,
    kSoulPile,
};
static_assert(kSoulPile == kCardCount - 1);

constexpr u32 kDealDelayTicks = 6;

// q percent of x, truncated toward zero.
i32 Percent(i32 x, i32 q) { return x * q / 100; }
i32 AtLeastOnePoint(i32 x) { return x == 0 ? 1 : x; }

// Bonus of a marker on its owner's outgoing damage.
void Bonus(i32* damage, i32 percent) { *damage += AtLeastOnePoint(Percent(*damage, percent)); }

// Reduction of a marker on its owner's incoming damage.
void Reduce(i32* damage, i32 percent, CCardMarker* marker) {
    i32 r = AtLeastOnePoint(Percent(*damage, percent));
    *damage = std::max(0, *damage - r);
    marker->flash = true;
}

void ShieldReduce(i32* damage, i32 percent, CCardMarker* marker) {
    i32 r = AtLeastOnePoint(Percent(*damage, percent));
    if (marker->count > r) {
        marker->count -= r;
    } else {
        r = marker->count;
        marker->count = 0;
    }
    *damage = std::max(0, *damage - r);
    marker->flash = true;
}

i32 MissingHalf(const CCardSide& side) { return (side.maxHp - side.hp) / 2; }

}  // namespace

void CCardSide::Clear() {
    cls = 0;
    deck.Clear();
    hp = 0;
    maxHp = 0;
    hand.fill(nullptr);
    markers.fill(CCardMarker{});
    hitFlash = false;
}

u32 CCardSide::CardsInHand() const {
    u32 n = 0;
    for (const CCardDef* card : hand) n += card ? 1 : 0;
    return n;
}

CCardDuel::CCardDuel(const CCardTable& table, CRandom& random) : table_(table), random_(random) {}

void CCardDuel::Start() {
    for (CCardSide& side : sides_) side.Clear();
    CCardSide& opponent = sides_[kCardOpponent];
    CCardSide& player = sides_[kCardPlayer];
    opponent.cls = random_.Next(kCardClasses);
    // Drawn again until the classes differ; a generator that keeps giving one value (a zero seed
    // leaves the game's generator so) must not hold the game here, so after many draws the next
    // class is taken.
    constexpr int kClassDraws = 64;
    int draws = 0;
    do {
        player.cls = random_.Next(kCardClasses);
    } while (player.cls == opponent.cls && ++draws < kClassDraws);
    if (player.cls == opponent.cls) player.cls = (opponent.cls + 1) % kCardClasses;
    opponent.deck.BuildDeck(table_, opponent.cls, random_);
    player.deck.BuildDeck(table_, player.cls, random_);
    for (CCardSide& side : sides_) side.hp = side.maxHp = kCardStartHp;
    turn_ = kPlayerTurn;
    combo_ = false;
    comboMultiplier_ = 1;
    over_ = false;
    winner_ = kCardOpponent;
    tableCard_ = nullptr;
    reflecting_ = false;
}

void CCardDuel::DrawCard(u32 side, u32 slot) {
    CCardSide& s = sides_[side];
    i32 index = s.deck.DrawTop();
    if (index < 0) {
        s.deck.BuildDeck(table_, s.cls, random_);
        index = s.deck.DrawTop();
    }
    if (s.deck.Count() == 0) s.deck.BuildDeck(table_, s.cls, random_);
    s.hand[slot] = &table_.Card(s.cls, static_cast<u32>(index));
}

std::vector<CCardDraw> CCardDuel::Deal() {
    std::vector<CCardDraw> draws;
    for (u32 slot = 0; slot < kCardHandSize; ++slot) {
        for (u32 side : {kCardPlayer, kCardOpponent}) {
            if (sides_[side].hand[slot]) continue;
            DrawCard(side, slot);
            draws.push_back(
                {side, slot, sides_[side].hand[slot], static_cast<u32>(draws.size()) * kDealDelayTicks});
        }
    }
    return draws;
}

bool CCardDuel::CanPlayerPlay() const {
    if (over_ || turn_ != kPlayerTurn) return false;
    if (combo_) return true;
    return sides_[kCardPlayer].CardsInHand() == kCardHandSize &&
           sides_[kCardOpponent].CardsInHand() == kCardHandSize;
}

i32 CCardDuel::ChooseCard(u32 side) {
    i32 best = -1;
    i32 bestValue = 0;
    for (u32 slot = 0; slot < kCardHandSize; ++slot) {
        const CCardDef* card = sides_[side].hand[slot];
        if (!card) continue;
        i32 s = Score(*card, side);
        i32 v = static_cast<i32>(random_.Next(2 * s / 10)) + 9 * s / 10;
        if (best < 0 || v > bestValue) {
            best = static_cast<i32>(slot);
            bestValue = v;
        }
    }
    return best;
}

void CCardDuel::PlayCard(u32 side, u32 slot) {
    if (over_ || slot >= kCardHandSize || !sides_[side].hand[slot]) return;
    const CCardDef* card = sides_[side].hand[slot];
    i32 multiplier = combo_ ? comboMultiplier_ : 1;
    combo_ = false;
    CardEffect(*card, side, kPhasePlayed, nullptr, nullptr, multiplier);
    MarkerTick(side);
    tableCard_ = card;
    sides_[side].hand[slot] = nullptr;
}

CCardNext CCardDuel::OpponentPlays() {
    turn_ = kOpponentTurn;
    CCardNext next;
    next.slot = ChooseCard(kCardOpponent);
    if (next.slot < 0) return PlayerTurn();
    next.kind = CCardNext::kOpponentPlays;
    return next;
}

CCardNext CCardDuel::PlayerTurn() {
    turn_ = kPlayerTurn;
    CCardNext next;
    next.kind = CCardNext::kPlayerTurn;
    next.draws = Deal();
    return next;
}

CCardNext CCardDuel::EndOfWait() {
    for (CCardSide& side : sides_) {
        side.hitFlash = false;
        for (CCardMarker& marker : side.markers) marker.flash = false;
    }
    ExpireMarkers();
    if (over_) return {};
    // A side whose combo has emptied its hand has nothing left to table: the combo ends there and the
    // turn passes, where it would otherwise wait for a card that cannot come.
    if (turn_ == kPlayerTurn) {
        if (combo_ && sides_[kCardPlayer].CardsInHand() > 0) {
            CCardNext next;
            next.kind = CCardNext::kPlayerPlays;
            return next;
        }
        combo_ = false;
        return OpponentPlays();
    }
    if (combo_) {
        // The opponent's second card of a combo takes the plain multiplier.
        combo_ = false;
        if (sides_[kCardOpponent].CardsInHand() > 0) return OpponentPlays();
    }
    return PlayerTurn();
}

void CCardDuel::GiveUp() { EndDuel(kCardOpponent); }

void CCardDuel::EndDuel(u32 winner) {
    if (over_) return;
    over_ = true;
    winner_ = winner;
    if (listener_) listener_->OnCardGameOver(winner);
}

void CCardDuel::LoseHp(u32 target, i32 damage) {
    CCardSide& s = sides_[target];
    s.hp = std::max(0, s.hp - damage);
    s.hitFlash = true;
    if (listener_) {
        listener_->OnCardHit(target);
        listener_->OnCardHpChanged(target);
    }
    if (s.hp == 0) EndDuel(Other(target));
}

void CCardDuel::InflictDamage(i32 amount, u32 attacker) {
    if (over_) return;
    const u32 defender = Other(attacker);
    i32 damage = amount;
    for (CCardMarker& marker : sides_[attacker].markers)
        if (marker.card) CardEffect(*marker.card, attacker, kPhaseOutgoing, &damage, &marker, 1);
    damage = AbsorbByDefense(defender, damage);
    if (damage <= 0) return;
    for (CCardMarker& marker : sides_[defender].markers) {
        if (marker.card) CardEffect(*marker.card, defender, kPhaseIncoming, &damage, &marker, 1);
        if (over_) return;
    }
    LoseHp(defender, damage);
}

void CCardDuel::InflictDirectDamage(i32 amount, u32 target, bool applyBonuses) {
    if (over_) return;
    i32 damage = amount;
    if (applyBonuses) {
        const u32 other = Other(target);
        for (CCardMarker& marker : sides_[other].markers)
            if (marker.card) CardEffect(*marker.card, other, kPhaseOutgoing, &damage, &marker, 1);
    }
    for (CCardMarker& marker : sides_[target].markers) {
        if (marker.card) CardEffect(*marker.card, target, kPhaseIncoming, &damage, &marker, 1);
        if (over_) return;
    }
    LoseHp(target, damage);
}

i32 CCardDuel::AbsorbByDefense(u32 side, i32 amount) {
    i32 damage = amount;
    for (CCardMarker& marker : sides_[side].markers) {
        if (damage <= 0) break;
        if (!marker.card || marker.card->kind != kCardHitPoints || marker.count <= 0) continue;
        if (marker.count >= damage) {
            marker.count -= damage;
            damage = 0;
        } else {
            damage -= marker.count;
            marker.count = 0;
        }
        marker.flash = true;
    }
    if (listener_ && damage != amount) listener_->OnCardMarkersChanged(side);
    return damage;
}

void CCardDuel::HealSide(u32 side, i32 amount) {
    if (combo_) amount *= comboMultiplier_;
    CCardSide& s = sides_[side];
    s.hp = std::clamp(s.hp + amount, 0, s.maxHp);
    if (listener_) listener_->OnCardHpChanged(side);
}

void CCardDuel::RaiseMaxHp(u32 side, i32 amount) {
    if (combo_) amount *= comboMultiplier_;
    sides_[side].maxHp += amount;
    if (listener_) listener_->OnCardHpChanged(side);
}

void CCardDuel::AddMarker(u32 side, const CCardDef& card, i32 extra) {
    CCardSide& s = sides_[side];
    CCardMarker* slot = nullptr;
    for (CCardMarker& marker : s.markers) {
        if (!marker.card) {
            slot = &marker;
            break;
        }
    }
    if (!slot) slot = &s.markers[random_.Next(kCardMarkerSlots)];
    *slot = CCardMarker{&card, static_cast<i32>(card.value3) + extra, false};
    if (listener_) listener_->OnCardMarkersChanged(side);
}

bool CCardDuel::MarkersFull(u32 side) const {
    for (const CCardMarker& marker : sides_[side].markers)
        if (!marker.card) return false;
    return true;
}

void CCardDuel::RemoveRandomMarker(u32 side) {
    CCardSide& s = sides_[side];
    bool any = false;
    for (const CCardMarker& marker : s.markers) any = any || marker.card;
    if (!any) return;
    for (;;) {
        CCardMarker& marker = s.markers[random_.Next(kCardMarkerSlots)];
        if (marker.card) {
            marker = CCardMarker{};
            break;
        }
    }
    if (listener_) listener_->OnCardMarkersChanged(side);
}

void CCardDuel::RemoveAllMarkers(u32 side) {
    sides_[side].markers.fill(CCardMarker{});
    if (listener_) listener_->OnCardMarkersChanged(side);
}

void CCardDuel::MarkerTick(u32 side) {
    for (CCardMarker& marker : sides_[side].markers) {
        if (over_) return;
        if (!marker.card || (marker.card->kind != kCardTurns && marker.card->kind != kCardHitPoints))
            continue;
        const CCardDef& card = *marker.card;
        CardEffect(card, side, kPhaseTick, nullptr, &marker, 1);
        marker.flash = true;
        if (card.kind == kCardTurns && marker.count > 0) --marker.count;
    }
    if (listener_) listener_->OnCardMarkersChanged(side);
}

void CCardDuel::ExpireMarkers() {
    for (u32 side = 0; side < 2; ++side) {
        bool changed = false;
        for (CCardMarker& marker : sides_[side].markers) {
            if (marker.card && marker.count == 0) {
                marker = CCardMarker{};
                changed = true;
            }
        }
        if (changed && listener_) listener_->OnCardMarkersChanged(side);
    }
}

i32 CCardDuel::CardEffect(const CCardDef& card, u32 side, u32 phase, i32* value, CCardMarker* marker,
                          i32 multiplier) {
    const u32 enemy = Other(side);
    const i32 v1 = static_cast<i32>(card.value1);
    const i32 v2 = static_cast<i32>(card.value2);
    const i32 n = v1 * multiplier;
    const i32 extra = multiplier != 1 ? static_cast<i32>(card.value3) : 0;
    const bool low = IsLowHp(side);
    const bool full = MarkersFull(side);

    if (phase == kPhaseScore) {
        switch (card.Key()) {
        case kSlash:
        case kCrush:
        case kRapidStab:
        case kDualStrike:
        case kBackstab:
        case kWarCry:
        case kIceBolt:
        case kChainLightning:
        case kEarthquake:
        case kWhirlwind:
        case kFirewall:
        case kAtrophy:
        case kPoisonCloud:
        case kBloodFilch:
        case kSoulCrush:
        case kBlackOut: return 80;
        case kBloodChant:
        case kFang:
        case kSacrifice: return low ? 20 : 80;
        case kDarkTouch:
        case kVampireBite: return 85;
        case kAssault:
        case kHeroicRemedy: return 70;
        case kFosse: return 60;
        case kBleeding:
        case kBlock:
        case kTowerShield:
        case kLongSword:
        case kKiteShield:
        case kBattleAxe:
        case kPlateMail:
        case kMourner:
        case kArrowStorm:
        case kRaid:
        case kMarksman: return full ? 40 : 60;
        case kBerzerk:
        case kBoneWall:
        case kBloodGolem:
        case kBloodMoat:
        case kGhoul:
        case kGraveyard:
        case kSkeleton:
        case kVampire:
        case kAcidRain:
        case kParasite:
        case kCorpseArmy:
        case kVampireBats:
        case kUnholySeal:
        case kBloodBoil: return full ? 40 : 75;
        case kLifeNode:
        case kAuraOfAir:
        case kDeathNode:
        case kAuraOfWater:
        case kMoonNode:
        case kAuraOfFire:
        case kSunNode:
        case kAuraOfEarth:
        case kSandstorm:
        case kBlizzard:
        case kBladeStorm:
        case kWillOTheWisp:
        case kWildfire:
        case kRageOfNature: return full ? 40 : 70;
        case kRemedy:
        case kHealingPotion:
        case kRejuvenate: return low ? 90 : 30;
        case kHealingShower:
        case kHealingScroll:
        case kBless:
        case kManaExplosion: return low ? 85 : 45;
        case kBloodlust: return low ? 95 : 45;
        case kHeartPile: return low ? 90 : 55;
        case kStarfall: return MarkersFull(enemy) ? 90 : 50;
        case kManaStorm:
        case kSoulPile: return 75;
        default: return 0;
        }
    }
    if (over_) return 0;

    if (phase == kPhasePlayed) {
        switch (card.Key()) {
        case kSlash:
        case kCrush:
        case kIceBolt:
        case kChainLightning:
        case kEarthquake:
        case kFirewall:
        case kAtrophy: InflictDamage(n, side); break;
        case kRapidStab:
        case kDualStrike:
            InflictDamage(n / 2, side);
            InflictDirectDamage(n / 2, enemy, true);
            break;
        case kBackstab: InflictDirectDamage(n, enemy, true); break;
        case kAssault:
        case kWhirlwind:
            RemoveRandomMarker(enemy);
            if (multiplier > 1) RemoveRandomMarker(enemy);
            InflictDamage(n, side);
            break;
        case kFosse:
            RemoveRandomMarker(enemy);
            if (multiplier > 1) RemoveRandomMarker(enemy);
            break;
        case kStarfall: RemoveAllMarkers(enemy); break;
        case kBleeding:
            InflictDamage(n, side);
            AddMarker(side, card, extra);
            break;
        case kBloodChant:
        case kFang:
        case kSacrifice:
        case kPoisonCloud:
        case kBloodFilch:
        case kSoulCrush:
            InflictDamage(n, side);
            InflictDirectDamage(v2 * multiplier, side, true);
            break;
        case kDarkTouch:
        case kVampireBite:
        case kBlackOut:
            InflictDirectDamage(n, enemy, true);
            HealSide(side, n);
            break;
        case kRemedy:
        case kHealingShower:
        case kHealingScroll:
        case kBless: HealSide(side, n); break;
        case kHealingPotion:
            HealSide(side, n);
            AddMarker(side, card, extra);
            break;
        case kRejuvenate: HealSide(side, MissingHalf(sides_[side]) * multiplier); break;
        case kHeroicRemedy:
            RaiseMaxHp(side, n);
            HealSide(side, n);
            break;
        case kWarCry:
        case kManaStorm:
        case kSoulPile:
            combo_ = true;
            comboMultiplier_ = 2;
            break;
        case kBloodlust:
        case kManaExplosion:
        case kHeartPile:
            combo_ = true;
            comboMultiplier_ = multiplier;
            HealSide(side, MissingHalf(sides_[side]) * multiplier);
            break;
        default:
            if (card.IsMarker()) AddMarker(side, card, extra);
            break;
        }
        return 0;
    }

    if (phase == kPhaseTick) {
        switch (card.Key()) {
        case kBleeding: InflictDirectDamage(v2, enemy, false); break;
        case kHealingPotion: HealSide(side, v2); break;
        case kArrowStorm:
        case kMarksman:
        case kSandstorm:
        case kBlizzard:
        case kBladeStorm:
        case kWildfire:
        case kRageOfNature:
        case kBloodGolem:
        case kGhoul:
        case kSkeleton:
        case kAcidRain:
        case kCorpseArmy:
        case kBloodBoil: InflictDamage(v1, side); break;
        case kRaid: AbsorbByDefense(enemy, v1); break;
        case kLifeNode:
        case kGraveyard: HealSide(side, v1); break;
        case kVampire:
        case kParasite:
        case kVampireBats:
        case kUnholySeal:
            InflictDirectDamage(v1, enemy, false);
            HealSide(side, v1);
            break;
        default: break;
        }
        return 0;
    }

    if (!value || !marker) return 0;
    if (phase == kPhaseOutgoing) {
        switch (card.Key()) {
        // "Mourner" does what its text promises: a bonus on its owner's damage, like the nodes.
        case kDeathNode:
        case kMoonNode:
        case kSunNode:
        case kBerzerk:
        case kMourner: Bonus(value, v1); break;
        case kLongSword:
        case kBattleAxe:
            Bonus(value, v1);
            marker->count = std::max(0, marker->count - 1);
            break;
        default: break;
        }
        return 0;
    }

    if (phase == kPhaseIncoming) {
        switch (card.Key()) {
        case kAuraOfAir:
        case kAuraOfWater:
        case kAuraOfEarth:
        case kWillOTheWisp: Reduce(value, v1, marker); break;
        case kBerzerk: {
            // More damage taken: the reduction rule with the negative percentage. A hit too small for
            // the percentage to reach a point loses one point instead, as the card has always done.
            i32 r = AtLeastOnePoint(Percent(*value, -v2));
            *value = std::max(0, *value - r);
            break;
        }
        case kTowerShield:
        case kKiteShield:
        case kPlateMail: ShieldReduce(value, v1, marker); break;
        case kBoneWall:
        case kBloodMoat: ShieldReduce(value, 100, marker); break;
        case kBlock: *value -= Percent(*value, v1); break;
        case kAuraOfFire:
            // Reflected damage is not reflected again: two fiery auras would otherwise trade one hit
            // back and forth without end.
            if (!reflecting_) {
                reflecting_ = true;
                InflictDamage(AtLeastOnePoint(Percent(*value, v1)), side);
                reflecting_ = false;
            }
            break;
        default: break;
        }
    }
    return 0;
}
