// The built world's cellar in a cell window, the player bound to the world's tables, a generator
// seeded from a manual clock, and a creature host that records what the creatures show, post and
// play. Creatures for a test are made in the cellar where the test wants them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/RuleContext.h"
#include "platform/Clock.h"
#include "tests/data/BuiltWorld.h"
#include "tests/world/PlayerFixture.h"
#include "tests/world/TypeCodeObjects.h"
#include "view3d/ViewCaches.h"
#include "world/CellWindow.h"
#include "world/CreatureHost.h"
#include "world/Creatures.h"
#include "world/Player.h"

class FakeCreatureHost : public ICreatureHost {
public:
    CCellWindow& Window() override { return *window; }
    CPlayer& Player() override { return *player; }
    const CRuleContext& Rules() const override { return *rules; }
    CRandom& Random() override { return *random; }
    u32 TickCount() const override { return clock->TickCount(); }
    void GetPlayerCell(i32& x, i32& y) const override {
        x = px;
        y = py;
    }
    void GetPlayerFraction(i32& x, i32& y) const override {
        x = fx;
        y = fy;
    }
    void SetPlayerFraction(i32 x, i32 y) override {
        fx = x;
        fy = y;
    }
    u32 GetFacing() const override { return facing; }
    bool IsSurfaceMap() const override { return surface; }
    int GetHour() const override { return hour; }
    int GetWeatherIntensity() const override { return weather; }
    void PostMessageEvent(const char* text, u32) override { posted.emplace_back(text); }
    void ShowGameMessage(const char* text) override { shown.emplace_back(text); }
    void PlaySound(const char* name, int volume) override { sounds.emplace_back(name, volume); }
    void TalkToCreature(CMapSection&, CMonster& m) override { talks.push_back(m.id); }
    void PostStealPrompt(CMapSection&, CMonster& m) override { stealPrompts.push_back(m.id); }
    void PostExamineCreature(CMapSection&, CMonster& m, int) override { examined.push_back(m.id); }
    void RaiseFightFlag() override { ++fightFlags; }
    void SetFightCountdown(int value) override { fightCountdown = value; }
    void UpdateMusic() override { ++musicUpdates; }
    void RefreshAfterChange() override { ++refreshes; }
    CCellObject* SpriteOf(const CMonster& m) override { return &sprites[m.id]; }
    bool CanCreatureEnter(i32 x, i32 y, i32) override {
        return window->Cell(x, y) != nullptr && !window->IsViewBlockingCell(x, y);
    }
    void OnPlayerDied() override { ++deaths; }
    void PlayGroundSound(i32 x, i32 y) override { groundSteps.emplace_back(x, y); }
    // A bound creature's script: records the event and, when `scriptDefault` is set, runs the
    // "default" command as a script would.
    bool RunCreatureEventScript(int code, CMapSection& section, CMonster& m, CCreatureEvent& event) override {
        scriptEvents.push_back(code);
        if (scriptDefault) {
            CScriptCreature view(*scriptCreatures, section, m.id);
            view.SetEvent(&event, nullptr);
            bool changed = false;
            view.HandleMonsterEvent(code, ScriptPlace{}, nullptr, changed);
        }
        return true;
    }

    bool Played(const std::string& name) const {
        for (const auto& s : sounds)
            if (s.first == name) return true;
        return false;
    }

    CCellWindow* window = nullptr;
    CPlayer* player = nullptr;
    const CRuleContext* rules = nullptr;
    CRandom* random = nullptr;
    plat::ManualClock* clock = nullptr;
    i32 px = 17, py = 17, fx = 0x8000, fy = 0x8000;
    u32 facing = 0;
    bool surface = false;
    int hour = 12, weather = 0;
    std::vector<std::string> posted, shown;
    std::vector<std::pair<std::string, int>> sounds;
    std::vector<std::pair<i32, i32>> groundSteps;  // the cells whose ground a creature's step sounded
    std::vector<u8> talks, stealPrompts, examined;
    int fightFlags = 0, fightCountdown = 0, musicUpdates = 0, refreshes = 0, deaths = 0;
    std::map<u8, CCellObject> sprites;
    std::vector<int> scriptEvents;
    bool scriptDefault = false;
    CCreatures* scriptCreatures = nullptr;
};

// The player bound to the built world's tables, with the generator the rules draw from.
inline void BindToBuiltWorld(fixtures::BuiltWorld& built, CRuleContext& rules, CPlayer& player, CRandom& random) {
    built.lists.BindRuleContext(rules);
    rules.player = &player;
    rules.random = &random;
    rules.currentWorldCode = "base";
    player.SetWorld(&rules);
}

class CreatureWorld {
public:
    explicit CreatureWorld(i64 seed = 1765432100) {
        clock.SetTime(seed);
        {
            plat::ScopedClock scoped(clock);
            random.Seed(nullptr);
        }
        BindToBuiltWorld(built, rules, player, random);
        player.SetHost(&playerHost);
        player.ResetToDefaults();
        window.SetObjects(&objects);
        host.window = &window;
        host.player = &player;
        host.rules = &rules;
        host.random = &random;
        host.clock = &clock;
        cellar = built.base->FindSectionByName("base_cellar");
    }

    // Empties the cellar of its creatures and fills the window around the player.
    void FillEmpty(i32 px = 17, i32 py = 17) {
        cellar->monsters.clear();
        cellar->effects.Clear();
        host.px = px;
        host.py = py;
        window.SetPlayer(px, py, host.facing);
        window.Fill(built.base.get(), cellar, built.refs, 100);
    }
    const CMonsterType* Type(const char* id) const { return built.lists.creatures.FindMonsterType(id); }
    // A creature of the type placed in the cellar's cell.
    CMonster& Make(const char* typeId, i32 x, i32 y, u8 flags = 0x02) {
        CMonster* m = cellar->CreateMonster(Type(typeId), x, y);
        m->flags = flags;
        window.PlaceObjectNear(cellar, *m, x, y);
        return *m;
    }
    CMonster* Find(u8 id) { return cellar->FindMonster(id); }

    fixtures::BuiltWorld built;
    plat::ManualClock clock;
    CRandom random;
    CRuleContext rules;
    RecordingHost playerHost;
    CPlayer player;
    CTypeCodeObjects objects{built.lists};
    CCellWindow window;
    FakeCreatureHost host;
    CMapSection* cellar = nullptr;
};
