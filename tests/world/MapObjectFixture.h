// Map objects over the base world's rules and a real player, with a host that records what the
// objects ask of the game view.
#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/MapCells.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/Spells.h"
#include "tests/world/PlayerFixture.h"
#include "world/MapObject.h"
#include "world/MapObjectHost.h"

class FakeMapObjectHost : public IMapObjectHost {
public:
    explicit FakeMapObjectHost(PlayerWorld& w) : w(w) {}
    const CRuleContext& GetRules() override { return w.rules; }
    CPlayer& GetPlayer() override { return w.player; }
    void GetPlayerCell(i32& x, i32& y) const override {
        x = playerX;
        y = playerY;
    }
    i32 GetHour() const override { return hour; }
    bool IsUndergroundMap() const override { return underground; }
    u32 GetAnimationCounter() const override { return counter; }
    u32 Random(i32 n) override { return w.random.Next(n); }
    void PlaySound(const char* name, i32 volume) override {
        sounds.emplace_back(name);
        volumes.push_back(volume);
    }
    void ShowGameMessage(const char* text) override { shown.emplace_back(text); }
    void PostMessageEvent(const char* text, i32 buttons) override {
        posted.emplace_back(text);
        buttonFlags.push_back(buttons);
    }
    void PostDoorPrompt(const CDoorPrompt& p) override { prompts.push_back(p); }
    void PostMapPromptEvent(const char* destination, const char* question, i32 kind, bool stepBack) override {
        travel.push_back({"prompt", destination, question, kind, stepBack});
    }
    void ChangeMap(const char* destination, i32 kind) override {
        travel.push_back({"change", destination, "", kind, false});
    }
    void PostKeywordTransitionEvent(const char* destination, i32 kind) override {
        travel.push_back({"keyword", destination, "", kind, false});
    }
    void OpenObjectBag(CMapSection*, CPlacement& placement, i32, i32) override { openedBags.push_back(placement.bagId); }
    bool TalkToObjectNpc(CMapSection*, CPlacement&, i32& screen) override {
        screen = talkScreen;
        ++talks;
        return talkOpen;
    }
    void ShowPlayerHit(i32 damage) override { hits.push_back(damage); }
    i32 GetMarkCountdown() const override { return markCountdown; }
    void SetMarkCountdown(i32 ticks) override { markCountdown = ticks; }
    const CSpell* GetEventSpell(i32& strength) override {
        strength = spellStrength;
        return spell;
    }
    void CastSpellAtPlayer(const CSpell* s, i32 strength) override { casts.push_back({s, strength}); }
    void ShowPrompt(const char* text, i32 buttons, i32 mode) override {
        promptTexts.emplace_back(text);
        promptButtons.push_back(buttons);
        screenMode = mode;
    }
    void OpenLockPickDialog(const CDoorPrompt& door) override {
        lockPickDoor = door.placement;
        screenMode = 10;
    }
    void OpenMarkRecallDialog(bool mark) override {
        markRecall.push_back(mark);
        screenMode = 14;
    }
    void OpenEnchantDialog(u16 item, bool recharge) override {
        enchant.push_back({item, recharge});
        screenMode = 15;
    }
    i32 GetFightCountdown() const override { return fightCountdown; }
    CMapSection* GetCurrentSection() override { return current; }
    CMapSection* FindSectionAt(i32 px, i32 py) override {
        ++piecesSearched;
        for (auto& [x, y, s] : grid)
            if (x == px && y == py) return s;
        return nullptr;
    }
    void GetPlayerWorldPosition(i32& x, i32& y) const override {
        x = worldX;
        y = worldY;
    }
    i32 CountPeopleNearby() const override { return people; }
    i32 GetCreaturePerception(const CMonster&) const override { return perception; }
    bool DescribeCreature(CMapSection*, const CMonster&, CCreatureFacts& f) override {
        f = facts;
        return true;
    }
    i32 AlertStealVictim(CMonster& victim) override {
        alerted.push_back(&victim);
        return 1;
    }
    void MakeViewThumbnail() override { ++thumbnails; }
    void RegisterChangedCell(CMapSection* s, i32 x, i32 y, i32 side) override {
        changedCells.push_back({s, x, y, side});
    }
    void EnterScreen(i32 screen, const CScreenEntry& entry) override { entered.push_back({screen, entry}); }
    bool IsViewBusy() const override { return busy; }
    void OpenWorldMapDialog() override { screenMode = 7; }
    const void* FindPageSequence(const char* name) override {
        return std::string(name) == "base_intro" ? this : nullptr;
    }
    void SetHandSprites() override { ++handSprites; }

    struct Travel {
        std::string how, destination, question;
        i32 kind;
        bool stepBack;
    };
    PlayerWorld& w;
    i32 playerX = 10, playerY = 10, hour = 12, markCountdown = 0, talkScreen = 2, talks = 0;
    bool underground = true, talkOpen = true;
    u32 counter = 0;
    const CSpell* spell = nullptr;
    i32 spellStrength = 0;
    std::vector<std::string> sounds, shown, posted;
    std::vector<i32> volumes, buttonFlags, openedBags, hits;
    std::vector<CDoorPrompt> prompts;
    std::vector<Travel> travel;
    std::vector<std::pair<const CSpell*, i32>> casts;
    std::vector<std::string> promptTexts;
    std::vector<i32> promptButtons;
    i32 screenMode = 0, fightCountdown = 0, worldX = 0, worldY = 0, people = 0, perception = 0, piecesSearched = 0;
    CPlacement* lockPickDoor = nullptr;
    std::vector<bool> markRecall;
    std::vector<std::pair<u16, bool>> enchant;
    CMapSection* current = nullptr;
    std::vector<std::tuple<i32, i32, CMapSection*>> grid;
    CCreatureFacts facts;
    std::vector<CMonster*> alerted;
    i32 thumbnails = 0, handSprites = 0;
    bool busy = false;
    std::vector<std::tuple<CMapSection*, i32, i32, i32>> changedCells;
    std::vector<std::pair<i32, CScreenEntry>> entered;
};

// A table of map objects built from hand-made records, one section with placements.
struct MapObjectWorld {
    MapObjectWorld() : host(world) { section.placements.reserve(64); }

    // Adds a record of a type code and builds the table again; returns the object.
    CMapObject* Add(u8 typeCode, const char* id, std::vector<const char*> frames = {}, const char* text2 = nullptr,
                    const char* text3 = nullptr, const char* sound1 = nullptr) {
        auto r = std::make_unique<CMapObjectRecord>();
        r->typeCode = typeCode;
        r->id = id;
        r->text2 = text2;
        r->text3 = text3;
        r->sounds[0] = sound1;
        r->frames = std::move(frames);
        r->hasViewFlags = false;
        records.items.push_back(std::move(r));
        table.Build(records, &host);
        return table.At(static_cast<u32>(records.Count() - 1));
    }
    CPlacement& Place(u8 id, const char* text = nullptr, u8 flags = mapobject::kVisible) {
        CPlacement p;
        p.id = id;
        p.text = text;
        p.flags = flags;
        section.placements.push_back(p);
        return section.placements.back();
    }
    bool Act(CMapObject* o, i32 code, CPlacement& p, CMapCell& cell, i32 x = 10, i32 y = 9) {
        bool redraw = false;
        screen = o->HandleEvent(code, &section, &p, &cell, x, y, redraw);
        return redraw;
    }
    ScriptResult Command(CMapObject* o, CPlacement* p, i32 command, i32 a = 0, const char* text = nullptr,
                         bool* redraw = nullptr) {
        ScriptArgs args;
        if (text) {
            args.a[0] = CScriptValue(text);
            args.a[1] = CScriptValue(a);
        } else {
            args.a[0] = CScriptValue(a);
        }
        ScriptResult result;
        bool changed = false;
        o->ExecuteCommand(&section, p, 10, 9, command, args, result, changed);
        if (redraw) *redraw = changed;
        return result;
    }

    PlayerWorld world;
    FakeMapObjectHost host;
    CMapObjectRecords records;
    CMapObjectTable table;
    CMapSection section;
    i32 screen = 0;
};
