// The player over the base world's rule records, with a host that records what the player shows and
// posts, and a generator seeded from a manual clock.
#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "tests/data/BaseRulesFixture.h"
#include "world/Player.h"

// One effect as a potion, a spell or a creature holds it.
inline CEffect PlayerFx(int kind, int amount, int duration = 0, int target = 0, const char* id = nullptr) {
    CEffect e;
    e.kind = static_cast<u8>(kind);
    e.amount = static_cast<i16>(amount);
    e.duration = static_cast<i16>(duration);
    e.target = static_cast<u8>(target);
    e.SetId(id);
    return e;
}

class RecordingHost : public IPlayerHost {
public:
    void ShowGameMessage(const char* text) override { shown.emplace_back(text); }
    void PostMessageEvent(const char* text, const char* sound) override {
        posted.emplace_back(text);
        sounds.emplace_back(sound ? sound : "");
    }
    void SetHpGauge(int percent) override { hpGauge = percent; }
    void SetManaGauge(int percent) override { manaGauge = percent; }
    void SetHandSprites() override { ++handSprites; }
    void PassTimeTo(int h, int m) override {
        hour = h;
        minute = m;
    }
    int GetFacingQuarter() const override { return facing; }
    bool IsSurfaceMap() const override { return surface; }
    int GetWeatherIntensity() const override { return weather; }
    int GetHour() const override { return clockHour; }
    bool OnBlowMissed(int direction) override {
        missed.push_back(direction);
        return blockAction;
    }
    void ShowPlayerHit(int damage, int kind) override { hits.push_back({damage, kind}); }
    void ShowDamageOverTime(int damage) override { overTime.push_back(damage); }
    void PostSpellEvent(int type, int word) override { spellEvents.push_back({type, word}); }
    void CalmCreatures(int radius) override { calmRadius = radius; }
    void Clear() {
        shown.clear();
        posted.clear();
        sounds.clear();
    }
    std::vector<std::string> shown, posted, sounds;
    int facing = 0, weather = 0, clockHour = 12, calmRadius = -1;
    bool surface = false, blockAction = false;
    std::vector<int> missed, overTime;
    std::vector<std::pair<int, int>> hits, spellEvents;
    int hpGauge = -1, manaGauge = -1, handSprites = 0, hour = -1, minute = -1;
};

struct PlayerWorld {
    explicit PlayerWorld(i64 seed = 1765432100) : base(kTestVersion) {
        clock.SetTime(seed);
        plat::ScopedClock scoped(clock);
        random.Seed(nullptr);
        rules.attributes = &base.attributes;
        rules.skills = &base.skills;
        rules.races = &base.races;
        rules.spells = &base.spells;
        rules.diseases = &base.diseases;
        rules.abilities = &base.abilities;
        rules.creatures = &base.creatures;
        rules.items = &base.items;
        rules.player = &player;
        rules.random = &random;
        rules.currentWorldCode = "base";
        player.SetWorld(&rules);
        player.SetHost(&host);
        player.ResetToDefaults();
    }
    const CItemType* Type(const char* id) const { return base.items.FindItemType(id); }
    CItemInstance* Give(const char* id) { return player.AddItemCopies(1, *Type(id)); }

    plat::ManualClock clock;
    LoadedBase base;
    CRandom random;
    CRuleContext rules;
    RecordingHost host;
    CPlayer player;
};
