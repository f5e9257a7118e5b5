// The main game view as the script engine sees it: its clock, its current map and world, the
// player's cell, and the events and messages that scripts post to it. The view owns one and hands it
// to the script context; the talk and pages screens add their own answers where they run scripts.
#pragma once

#include "core/Str.h"
#include "script/ScriptTargets.h"
#include "script/ScriptValue.h"
#include "world/ScriptPlayer.h"

#include <map>
#include <memory>
#include <string>

class CGameScreen;

class CGameScriptWorld : public IScriptWorld {
public:
    explicit CGameScriptWorld(CGameScreen& view);
    ~CGameScriptWorld() override;

    // The player the view holds.
    IScriptPlayer* GetPlayer() override { return &player_; }
    // The open world's globals: the value handed out is a copy that GlobalChanged writes back, so
    // the world's list (which the saved games keep) always holds what the scripts set.
    CScriptValue* FindGlobal(const char* name) override;
    void GlobalChanged(const char* name) override;
    const char* GetRaceName(u8 raceIndex) const override;
    // The open world's NPC records by id.
    IScriptNpc* FindNpc(const char* id) override;
    bool IsSurfaceSection(CMapSection* section) const override;
    // The open world's spell of that id, cast at the player as a map object's spell is.
    bool CastSpellAtPlayer(const char* spellId, i32 skillValue) override;
    void PlaySound(const char* name, i32 volume) override;

    u32 NextRandom(i32 n) override;
    u32 GetClock() const override;
    void AdvanceClock(i32 minutes, i32 hours, i32 days) override;
    const char* FormatDateTime() const override;
    CMapSection* GetCurrentSection() override;
    const char* GetCurrentMapName() const override;
    const char* GetCurrentMapDisplayName() const override;
    const char* GetCurrentWorldId() const override;
    bool IsWorldOpen() const override;
    // The current world's short name and expansion number (0 without a world).
    const char* GetCurrentWorldPrefix() const override;
    i32 GetCurrentWorldExpansion() const override;

    // The weather and the sky of the view: the rain is the weather's intensity.
    i32 GetCloud() const override;
    i32 GetRain() const override;
    void SetSkyName(const char* name) override;
    void SetCloud(i32 cloud) override;
    void RedrawSky() override;
    void SetRain(i32 rain) override;

    // A section's fog, found by id in every open world; the view's fog follows when it is the
    // current one.
    CMapSection* FindSectionInAllWorlds(const char* name) override;
    void SetSectionFog(CMapSection* section, u8 viewDistance, u16 fogColour) override;
    void ResetSectionFog(CMapSection* section) override;
    void RefreshView() override;

    // The base value of the item type with its effects' value; 0 for an unknown type.
    i32 GetItemValue(const char* id) override;
    // Where the placed object of that name lies in the current section.
    bool GetMapObjectPosition(const char* name, i32& x, i32& y) override;

    // The prison: the view's in-prison flag and what brings the player back out.
    void ClearJail() override;
    i32 GetJailState() const override;

    void PostPlaySceneEvent(const char* name) override;
    void PlayMusic(const char* name) override;
    void GetPlayerCell(i32& x, i32& y) const override;
    void RebuildChangedCells(CScriptContext& context) override;

    void PostMessageEvent(const char* text, i32 options) override;
    void AppendMessage(const char* text, i32 style) override;
    void PostTalkEvent(const char* npcId) override;
    void PostChangeMapEvent(const char* mapObject, i32 transitionKind) override;
    void PostMapPromptEvent(const char* mapObject, const char* question, i32 transitionKind,
                            i32 extra) override;
    void PostTurnEvent(i32 direction) override;
    void PostSetPositionEvent(i32 x, i32 y) override;
    void PostJailEvent(const char* jail) override;
    void PostStepBackEvent() override;
    void PostShipVoyageEvent(const char* target, const char* text) override;
    void CreatePendingList(const char* title) override;
    void DeletePendingList() override;
    void AddPendingListEntry(const char* id, const char* title) override;
    void PostShowObjectListEvent() override;
    // The open worlds' scripts by id.
    bool FindScriptCode(const char* id, const u8*& code, u32& size) override;
    // The talk and page commands go to the screen that shows them (IGameViewHost::GetScreenScripts).
    void ClearTalkTopics() override;
    void AddTalkTopic(const char* id, const char* title) override;
    void AddWorldStartEntries(i32 expansion, bool toTalk) override;
    void AddTalkText(const char* text, i32 style) override;
    void EndTalk() override;
    void SetTalkGoNext() override;
    void SetTalkGoFirst() override;
    void SetPagesText(const char* text) override;

    // The placed map objects of the open world, through the view's map objects.
    Target FindMapObjectByName(const char* name) override;
    IScriptMapObject* GetDefaultMapObject() override;
    // A creature of the kind "bres_cyclops" that stands nowhere: what a creature command aimed at a
    // placed object without a creature answers (the values of its type; changes go nowhere).
    IScriptCreature* GetFallbackCreature() override;

    // The creatures of the loaded sections (with the view's fight).
    IScriptCreature* FindMonsterByName(const char* name) override;
    CMonsterType* FindMonsterType(const char* id) override;
    void GetSectionSize(CMapSection* section, i32& width, i32& height) const override;
    void RemoveMonstersOfType(CMapSection* section, CMonsterType* type) override;
    bool CreateMonster(CMapSection* section, CMonsterType* type, i32 x, i32 y, bool flagScripted) override;
    i32 ScanCreatures(i32 distance, i32 mode) override;

private:
    IScriptWorld* Screens() const;

    class CNpcView;
    class CFallbackCreature;

    CGameScreen& view_;
    CScriptPlayer player_;
    std::map<std::string, CScriptValue> globals_;
    std::map<std::string, std::unique_ptr<CNpcView>> npcs_;
    mutable CStr dateTime_;
    std::unique_ptr<CFallbackCreature> fallback_;
};
