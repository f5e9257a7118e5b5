// A small game for script tests: every operation a command reaches records itself in one log, and
// the values the commands and conditions read are plain fields.
#pragma once

#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "script/ScriptTargets.h"
#include "tools/scriptasm/ScriptAssembler.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace scripttest {

using Log = std::vector<std::string>;

inline std::string Join(std::initializer_list<std::string> parts) {
    std::string s;
    for (const std::string& p : parts) {
        if (!s.empty()) s += ' ';
        s += p;
    }
    return s;
}
inline std::string N(long long v) { return std::to_string(v); }

class FakeNpc : public IScriptNpc {
public:
    const char* GetName() const override { return name.c_str(); }
    u8 GetRaceByte() const override { return race; }
    i32 GetWillingness() const override { return willing; }
    std::string name = "Ostrel";
    u8 race = 1;
    i32 willing = 1;
};

class FakeMapObject : public IScriptMapObject {
public:
    FakeMapObject(Log& log, std::string name, u8 type = 1) : log_(log), name_(std::move(name)), type_(type) {}
    const char* GetName() const override { return name_.c_str(); }
    u8 GetTypeByte() const override { return type_; }
    i8 GetState() const override { return state; }
    bool IsClosed() const override { return closed; }
    i32 ExecuteCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args, ScriptResult& result,
                       bool& changed) override {
        log_.push_back(
            Join({"object", name_, N(command), args[0].GetText(), N(place.x), N(place.y), N(place.side)}));
        if (command == 115) result = std::make_unique<CScriptValue>(state);
        if (command == 116) state = static_cast<i8>(args[0].GetNumber());
        changed = changes;
        return code;
    }
    void HandleEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) override {
        log_.push_back(Join({"event", name_, N(eventKind)}));
    }
    i8 state = 0;
    bool closed = false;
    bool changes = false;
    i32 code = 0;

private:
    Log& log_;
    std::string name_;
    u8 type_;
};

class FakeCreature : public IScriptCreature {
public:
    FakeCreature(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    const char* GetName() const override { return name_.c_str(); }
    i32 ExecuteMonsterCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args,
                              ScriptResult& result, bool& changed) override {
        log_.push_back(Join({"creature", name_, N(command), args[0].GetText()}));
        if (command == 177) result = std::make_unique<CScriptValue>(hp);
        changed = changes;
        return 0;
    }
    void HandleMonsterEvent(i32 eventKind, const ScriptPlace& place, CMapCell* cell, bool& changed) override {
        log_.push_back(Join({"creature-event", name_, N(eventKind)}));
    }
    bool IsAggressive() const override { return aggressive; }
    bool IsParalyzed() const override { return paralyzed; }
    bool IsCursed() const override { return cursed; }
    bool HasAnyDisease() const override { return diseased; }
    i32 GetPoisonStrength() const override { return poison; }
    const char* GetKindId() const override { return kind.c_str(); }
    const char* GetTypeId() const override { return type.c_str(); }
    bool aggressive = false, paralyzed = false, cursed = false, diseased = false, changes = false;
    i32 poison = 0;
    i32 hp = 12;
    std::string kind = "bres_wolfkind";
    std::string type = "bres_wolf";

private:
    Log& log_;
    std::string name_;
};

class FakePlayer : public IScriptPlayer {
public:
    explicit FakePlayer(Log& log) : log_(log) {}
    void Say(std::string s) const { log_.push_back(std::move(s)); }

    const char* GetName() const override { return name.c_str(); }
    u32 GetGold() const override { return gold; }
    i32 GetCrime() const override { return crime; }
    i16 GetFame() const override { return fame; }
    i32 GetLevel() const override { return level; }
    u8 GetRaceIndex() const override { return race; }
    u8 GetGender() const override { return gender; }
    i32 GetHp() const override { return hp; }
    i32 GetMaxHp() const override { return 40; }
    i32 GetHpPercent() const override { return hp * 100 / 40; }
    i32 GetMana() const override { return 7; }
    i32 GetMaxMana() const override { return 9; }
    i32 GetOutfit() const override { return 3; }
    i32 GetArmorClass(i32 shieldFactor) const override { return 20 + shieldFactor; }
    u32 GetSavedXp() const override { return savedXp; }
    const char* GetFirstDiseaseName() const override { return disease.empty() ? nullptr : disease.c_str(); }
    i32 GetAttribute(i32 a) const override { return 10 + a; }
    i32 GetSkillValue(i32 s) const override { return s >= 1 && s <= 20 ? skills[s] : 0; }
    i32 GetPoisonStrength() const override { return 4; }
    bool IsParalyzed() const override { return true; }
    bool IsCursed() const override { return false; }

    void AddQuest(const char* id) override { Say(Join({"AddQuest", id})); }
    const char* SetQuestState(const char* id, i32 state) override {
        Say(Join({"SetQuestState", id, N(state)}));
        return std::string(id) == "q1" ? "Lost Ring" : nullptr;
    }
    bool HasQuest(const char* id) const override { return std::string(id) == "q1"; }
    bool IsQuestSolved(const char* id) const override { return std::string(id) == "q1"; }
    bool IsQuestFailed(const char* id) const override { return std::string(id) == "q2"; }
    void RemoveQuest(const char* id) override { Say(Join({"RemoveQuest", id})); }
    void FindItem(const char* id, i32 n, bool report) override {
        Say(Join({"FindItem", id, N(n), N(report)}));
    }
    void ReceiveItem(const char* id, i32 n, bool report) override {
        Say(Join({"ReceiveItem", id, N(n), N(report)}));
    }
    void RemoveItems(const char* id, i32 n) override { Say(Join({"RemoveItems", id, N(n)})); }
    i32 CountItems(const char* id) const override { return std::string(id) == "apple" ? 3 : 0; }
    void AddXp(i32 v, bool report) override { Say(Join({"AddXp", N(v), N(report)})); }
    void RemoveXp(i32 v, bool restorable) override { Say(Join({"RemoveXp", N(v), N(restorable)})); }
    void RestoreSavedXp() override { Say("RestoreSavedXp"); }
    void AddGold(i32 v, bool report, bool found) override {
        Say(Join({"AddGold", N(v), N(report), N(found)}));
    }
    void SetGold(u32 g) override {
        gold = g;
        Say(Join({"SetGold", N(g)}));
    }
    void RemoveGold(i32 v, bool report) override { Say(Join({"RemoveGold", N(v), N(report)})); }
    i32 FindSkillId(const char* name) const override {
        const std::string s = name;
        if (s == "sword" || s == "Swordsmanship") return 3;
        if (s == "heal") return 8;
        if (s == "bow") return 7;
        return 0;
    }
    const char* GetSkillKey(i32 skill) const override {
        return skill == 3 ? "sword" : skill == 8 ? "heal" : "bow";
    }
    void AddSkillValue(i32 s, i32 v, bool report) override {
        Say(Join({"AddSkillValue", N(s), N(v), N(report)}));
    }
    i32 FindAttributeId(const char* name) const override { return std::string(name) == "str" ? 1 : 0; }
    i32 GetAttributeValue(i32 a, bool withDrink) const override { return 50 + a + (withDrink ? 100 : 0); }
    void AddAttributeValue(i32 a, i32 v, bool report) override {
        Say(Join({"AddAttributeValue", N(a), N(v), N(report)}));
    }
    void LearnSpell(const char* id, bool report) override { Say(Join({"LearnSpell", id, N(report)})); }
    void ForgetSpell(const char* id) override { Say(Join({"ForgetSpell", id})); }
    bool KnowsSpell(const char* id) const override { return std::string(id) == "light"; }
    void AddAbility(const char* id, bool report) override { Say(Join({"AddAbility", id, N(report)})); }
    void RemoveAbility(const char* id) override { Say(Join({"RemoveAbility", id})); }
    bool HasAbility(const char* id) const override { return std::string(id) == "nightsight"; }
    void InfectDisease(const char* id) override { Say(Join({"InfectDisease", id})); }
    void CureDisease(const char* id) override { Say(Join({"CureDisease", id})); }
    bool IsDiseased(const char* id) const override { return !disease.empty() && (!*id || disease == id); }
    const char* GetRaceKey() const override { return "derth"; }
    void SetHp(i32 v, bool report) override { Say(Join({"SetHp", N(v), N(report)})); }
    void AddHp(i32 v, bool report) override { Say(Join({"AddHp", N(v), N(report)})); }
    void SetFullHp(bool report) override { Say(Join({"SetFullHp", N(report)})); }
    void SetMana(i32 v, bool report) override { Say(Join({"SetMana", N(v), N(report)})); }
    void AddMana(i32 v, bool report) override { Say(Join({"AddMana", N(v), N(report)})); }
    void SetFullMana(bool report) override { Say(Join({"SetFullMana", N(report)})); }
    void AddFame(i32 v) override { Say(Join({"AddFame", N(v)})); }
    void ClearCrime() override { Say("ClearCrime"); }
    void AddCrime(i32 v) override { Say(Join({"AddCrime", N(v)})); }

    std::string name = "Ilsa";
    u32 gold = 250;
    i32 crime = 0;
    i16 fame = 0;
    i32 level = 4;
    u8 race = 4;
    u8 gender = 1;
    i32 hp = 30;
    u32 savedXp = 0;
    std::string disease;
    i32 skills[21] = {0, 5, 6, 40, 0, 0, 0, 12, 40};

private:
    Log& log_;
};

class FakeWorld : public IScriptWorld {
    Log& log_;

public:
    explicit FakeWorld(Log& log) : log_(log), player(log) {}
    void Say(std::string s) { log_.push_back(std::move(s)); }

    IScriptPlayer* GetPlayer() override { return hasPlayer ? &player : nullptr; }
    u32 NextRandom(i32 n) override { return n < 1 ? 0 : static_cast<u32>(randomValue % n); }
    Target FindMapObjectByName(const char* name) override {
        Target t;
        for (auto& o : objects) {
            if (o->GetName() == std::string(name)) {
                t.kind = 4;
                t.mapObject = o.get();
                t.place = ScriptPlace{section, 3, 4, 1, 2};
            }
        }
        for (auto& c : creatures) {
            if (c->GetName() == std::string(name)) {
                t.kind = 8;
                t.creature = c.get();
                t.place = ScriptPlace{section, 5, 6, -1, 1};
            }
        }
        if (std::string(name) == "emptycell") {
            t.kind = 4;
            t.place = ScriptPlace{section, 7, 7, 0, 1};
        }
        if (std::string(name) == "unboundcreature") {
            t.kind = 8;
            t.place = ScriptPlace{section, 8, 8, -1, 1};
        }
        return t;
    }
    IScriptCreature* FindMonsterByName(const char* name) override {
        for (auto& c : creatures)
            if (c->GetName() == std::string(name)) return c.get();
        return nullptr;
    }
    IScriptMapObject* GetDefaultMapObject() override { return &defaultObject; }
    IScriptCreature* GetFallbackCreature() override { return &fallbackCreature; }
    IScriptNpc* FindNpc(const char* id) override { return std::string(id) == npc.name ? &npc : nullptr; }

    u32 GetClock() const override { return clock; }
    void AdvanceClock(i32 m, i32 h, i32 d) override { Say(Join({"AdvanceClock", N(m), N(h), N(d)})); }
    const char* FormatDateTime() const override { return "Day 2, 3:05 pm"; }
    i32 GetCloud() const override { return 40; }
    i32 GetRain() const override { return 300; }
    void SetSkyName(const char* name) override { Say(Join({"SetSkyName", name})); }
    void SetCloud(i32 v) override { Say(Join({"SetCloud", N(v)})); }
    void RedrawSky() override { Say("RedrawSky"); }
    void SetRain(i32 v) override { Say(Join({"SetRain", N(v)})); }
    CMapSection* GetCurrentSection() override { return section; }
    const char* GetCurrentMapName() const override { return "base_town"; }
    const char* GetCurrentMapDisplayName() const override { return "Harbour Town"; }
    const char* GetCurrentWorldId() const override { return worldId.c_str(); }
    const char* GetCurrentWorldPrefix() const override { return worldId.c_str(); }
    i32 GetCurrentWorldExpansion() const override { return expansion; }
    bool IsWorldOpen() const override { return true; }
    void GetPlayerCell(i32& x, i32& y) const override {
        x = 17;
        y = 17;
    }
    void PostMessageEvent(const char* text, i32 options) override {
        Say(Join({"PostMessageEvent", text, N(options)}));
    }
    void AppendMessage(const char* text, i32 style) override { Say(Join({"AppendMessage", text, N(style)})); }
    void PostTalkEvent(const char* id) override { Say(Join({"PostTalkEvent", id})); }
    void PostPlaySceneEvent(const char* name) override { Say(Join({"PostPlaySceneEvent", name})); }
    void PostChangeMapEvent(const char* o, i32 k) override { Say(Join({"PostChangeMapEvent", o, N(k)})); }
    void PostMapPromptEvent(const char* o, const char* q, i32 k, i32 e) override {
        Say(Join({"PostMapPromptEvent", o, q, N(k), N(e)}));
    }
    void PostTurnEvent(i32 d) override { Say(Join({"PostTurnEvent", N(d)})); }
    void PostSetPositionEvent(i32 x, i32 y) override { Say(Join({"PostSetPositionEvent", N(x), N(y)})); }
    void PostJailEvent(const char* j) override { Say(Join({"PostJailEvent", j})); }
    void PostStepBackEvent() override { Say("PostStepBackEvent"); }
    void PostShipVoyageEvent(const char* t, const char* text) override {
        Say(Join({"PostShipVoyageEvent", t, text}));
    }
    void ClearJail() override { Say("ClearJail"); }
    i32 GetJailState() const override { return 1; }
    bool CastSpellAtPlayer(const char* id, i32 skill) override {
        Say(Join({"CastSpellAtPlayer", id, N(skill)}));
        return true;
    }
    void CreatePendingList(const char* title) override { Say(Join({"CreatePendingList", title})); }
    void DeletePendingList() override { ++pendingListsDropped; }
    void AddPendingListEntry(const char* id, const char* title) override {
        Say(Join({"AddPendingListEntry", id, title}));
    }
    void PostShowObjectListEvent() override { Say("PostShowObjectListEvent"); }
    void ClearTalkTopics() override { Say("ClearTalkTopics"); }
    void AddTalkTopic(const char* id, const char* title) override { Say(Join({"AddTalkTopic", id, title})); }
    void AddWorldStartEntries(i32 n, bool toTalk) override {
        Say(Join({"AddWorldStartEntries", N(n), N(toTalk)}));
    }
    void AddTalkText(const char* text, i32 style) override { Say(Join({"AddTalkText", text, N(style)})); }
    void EndTalk() override { Say("EndTalk"); }
    void SetTalkGoNext() override { Say("SetTalkGoNext"); }
    void SetTalkGoFirst() override { Say("SetTalkGoFirst"); }
    void SetPagesText(const char* text) override { Say(Join({"SetPagesText", text})); }
    CScriptValue* FindGlobal(const char* name) override {
        auto found = globals.find(name);
        return found == globals.end() ? nullptr : &found->second;
    }
    i32 GetItemValue(const char* id) override { return std::string(id) == "sword" ? 120 : 0; }
    const char* GetRaceName(u8 race) const override { return race == 4 ? "Derth" : "Creature"; }
    CMapSection* FindSectionInAllWorlds(const char* name) override {
        const std::string s = name;
        return s == "base_cave" ? cave : s == "base_town" ? section : s == "base_surface" ? surface : nullptr;
    }
    bool IsSurfaceSection(CMapSection* s) const override { return s == surface || surfaceCurrent; }
    void SetSectionFog(CMapSection* s, u8 d, u16 c) override { Say(Join({"SetSectionFog", N(d), N(c)})); }
    void ResetSectionFog(CMapSection* s) override { Say("ResetSectionFog"); }
    void RefreshView() override { Say("RefreshView"); }
    CMonsterType* FindMonsterType(const char* id) override {
        return std::string(id) == "wolf" ? wolfType : nullptr;
    }
    void GetSectionSize(CMapSection* s, i32& w, i32& h) const override { w = h = 64; }
    void RemoveMonstersOfType(CMapSection* s, CMonsterType* t) override { Say("RemoveMonstersOfType"); }
    bool CreateMonster(CMapSection* s, CMonsterType* t, i32 x, i32 y, bool scripted) override {
        Say(Join({"CreateMonster", N(x), N(y), N(scripted)}));
        return true;
    }
    bool GetMapObjectPosition(const char* name, i32& x, i32& y) override {
        if (std::string(name) != "well") return false;
        x = 9;
        y = 11;
        return true;
    }
    i32 ScanCreatures(i32 distance, i32 mode) override {
        Say(Join({"ScanCreatures", N(distance), N(mode)}));
        return scanResult;
    }
    void PlaySound(const char* name, i32 v) override { Say(Join({"PlaySound", name, N(v)})); }
    void PlayMusic(const char* name) override { Say(Join({"PlayMusic", name})); }

    FakeMapObject& AddObject(const std::string& name, u8 type = 1) {
        objects.push_back(std::make_unique<FakeMapObject>(log_, name, type));
        return *objects.back();
    }
    FakeCreature& AddCreature(const std::string& name) {
        creatures.push_back(std::make_unique<FakeCreature>(log_, name));
        return *creatures.back();
    }

    // Identities only: the engine never looks inside them.
    CMapSection* section = reinterpret_cast<CMapSection*>(&sectionTag[0]);
    CMapSection* cave = reinterpret_cast<CMapSection*>(&sectionTag[1]);
    CMapSection* surface = reinterpret_cast<CMapSection*>(&sectionTag[2]);
    CMonsterType* wolfType = reinterpret_cast<CMonsterType*>(&sectionTag[3]);
    int sectionTag[4] = {};
    bool surfaceCurrent = false;
    bool hasPlayer = true;
    u32 clock = 0;
    u32 randomValue = 7;
    i32 scanResult = 0;
    int pendingListsDropped = 0;
    i32 expansion = 0;
    std::string worldId = "base";
    std::map<std::string, CScriptValue> globals;
    std::vector<std::unique_ptr<FakeMapObject>> objects;
    std::vector<std::unique_ptr<FakeCreature>> creatures;
    FakeMapObject defaultObject{log_, "(default)"};
    FakeCreature fallbackCreature{log_, "(fallback)"};
    FakeNpc npc;
    FakePlayer player;
};

// An engine and its context over the fake game; scripts are written as text.
class ScriptRig {
public:
    ScriptRig() : world(log) {
        engine.InitTables(nullptr);
        context.Attach(nullptr, &engine);
        context.SetWorld(&world);
        context.SetupEvent(kEventUse, nullptr, world.section, nullptr, 3, 4, -1, 1, kRouteGameView);
    }

    std::vector<u8> Compile(const std::string& source, bool lines = false) {
        scriptasm::Options options;
        options.lineRecords = lines;
        scriptasm::Result r = scriptasm::Assemble(source, options);
        EXPECT_TRUE(r.ok) << r.error << "\n" << source;
        return r.bytes;
    }
    i32 RunBytes(std::vector<u8> bytes) {
        code_ = std::move(bytes);
        const i32 loaded = engine.LoadScript(code_.data(), static_cast<u32>(code_.size()));
        if (loaded) return loaded;
        return engine.Run();
    }
    i32 Run(const std::string& source, bool lines = false) { return RunBytes(Compile(source, lines)); }

    const CScriptValue* Var(const char* name) const { return engine.FindVariable(name); }
    i32 Num(const char* name) const {
        const CScriptValue* v = Var(name);
        return v ? v->GetNumber() : -999999;
    }
    std::string Text(const char* name) const {
        const CScriptValue* v = Var(name);
        return v ? v->GetText() : "<none>";
    }
    bool Logged(const std::string& line) const {
        for (const std::string& l : log)
            if (l == line) return true;
        return false;
    }

    Log log;
    FakeWorld world;
    CScriptEngine engine;
    CScriptContext context;

private:
    std::vector<u8> code_;
};

// One row of a command table: the script, then a line it must log and the text x must hold.
struct CommandCase {
    i32 id;
    const char* source;
    const char* log;  // a line the run must log, or null
    const char* x;    // the text x must hold afterwards, or null
    std::function<void(ScriptRig&)> setup = nullptr;
    bool logsNothing = false;
};

inline void RunCommandCase(ScriptRig& rig, const CommandCase& row) {
    if (row.setup) row.setup(rig);
    EXPECT_EQ(rig.Run(row.source), 0) << row.id << " " << row.source;
    if (row.log) {
        EXPECT_TRUE(rig.Logged(row.log)) << row.id << " " << row.source << " wanted: " << row.log;
    }
    if (row.x) {
        EXPECT_EQ(rig.Text("x"), row.x) << row.id << " " << row.source;
    }
    if (row.logsNothing) {
        EXPECT_TRUE(rig.log.empty()) << row.id << " " << row.source;
    }
}

}  // namespace scripttest
