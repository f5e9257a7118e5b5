// The map objects in the running game: the game view as the host the objects ask (rules, player,
// clock, sounds, messages, prompts, map changes, screen switches), and the cell events of the view
// handed to the objects and to the creatures standing in the cells. The view owns one while it has a
// game around it; the game's map-object table is hosted by it.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "world/GameScreen.h"
#include "world/MapInteractions.h"
#include "world/MapObject.h"
#include "world/MapObjectHost.h"
#include "world/Stealing.h"
#include "world/TravelEvents.h"

struct CGameEvent;

class CGameMapObjects : public IMapObjectHost, public IGameViewObjects {
public:
    explicit CGameMapObjects(CGameScreen& view);
    ~CGameMapObjects() override;
    CGameMapObjects(const CGameMapObjects&) = delete;
    CGameMapObjects& operator=(const CGameMapObjects&) = delete;

    // The events a creature takes: hit, spell, use and death.
    static constexpr u32 kCreatureEvents = 8 | 16 | 32 | 64;

    // The game's map-object table (the view's); null before the view has a game.
    CMapObjectTable* Table() const;

    // --- IGameViewObjects ---
    u32 ObjectEventMask(u16 objectIndex) const override;
    u32 CreatureEventMask(CMapSection& section, u8 creatureId) const override;
    const char* ObjectScript(u16 objectIndex, const CPlacement* placement) const override;
    IScriptMapObject* PlacedObject(u16 objectIndex, CMapSection* section, CPlacement* placement) override;
    i32 HandleObjectEvent(u32 code, CMapSection* section, u16 objectIndex, CPlacement* placement, i32 x, i32 y,
                          i32 side, bool& changed) override;
    i32 HandleCreatureEvent(u32 code, CMapSection& section, u8 creatureId, i32 x, i32 y, bool& changed) override;

    // --- what the view's event queue, its dialog answers and the scripts hand over ---
    // Game events 11 (the door prompt), 14..18 (the magic of the player's spells), 19 (the steal
    // prompt) and 20 (a creature examined): true when the event was one of these.
    bool DispatchEvent(CGameEvent& event);
    // The answer of the door prompt (screen mode 9): Open, Disarm or Pick; Cancel does nothing.
    void AnswerDoorPrompt(u32 result);
    // The answer of the steal prompt (screen mode 13): Yes tries; No leaves the victim be.
    void AnswerStealPrompt(u32 result);
    // A placed object by its placement's name in the open world's sections, with the place the script
    // commands act at (the window cell and side when it is in the window, else -1); kind 8 when a
    // creature is bound to it, 4 for a map object, 0 when no placement has the name.
    IScriptWorld::Target FindByName(const char* name);
    // The plain object that runs the commands aimed at a placement whose cell holds no object.
    IScriptMapObject* DefaultObject();
    // The worlds are closing: the placed objects handed to scripts are forgotten.
    void Forget();
    // The spell of the current spell event and its strength (set by what raises the event; none by
    // default).
    void SetEventSpell(const CSpell* spell, i32 strength) {
        eventSpell_ = spell;
        eventStrength_ = strength;
    }
    CMapInteractions& Interactions() { return interactions_; }
    CStealing& Stealing() { return stealing_; }

    // --- IMapObjectHost ---
    const CRuleContext& GetRules() override;
    CPlayer& GetPlayer() override;
    void GetPlayerCell(i32& x, i32& y) const override;
    i32 GetHour() const override;
    bool IsUndergroundMap() const override;
    u32 GetAnimationCounter() const override;
    u32 Random(i32 n) override;
    void PlaySound(const char* name, i32 volume) override;
    void ShowGameMessage(const char* text) override;
    void PostMessageEvent(const char* text, i32 buttons) override;
    void PostDoorPrompt(const CDoorPrompt& prompt) override;
    void PostMapPromptEvent(const char* destination, const char* question, i32 transitionKind,
                            bool stepBack) override;
    void ChangeMap(const char* destination, i32 transitionKind) override;
    void PostKeywordTransitionEvent(const char* destination, i32 transitionKind) override;
    void OpenObjectBag(CMapSection* section, CPlacement& placement, i32 x, i32 y) override;
    bool TalkToObjectNpc(CMapSection* section, CPlacement& placement, i32& screen) override;
    void ShowPlayerHit(i32 damage) override;
    i32 GetMarkCountdown() const override { return markCountdown_; }
    void SetMarkCountdown(i32 ticks) override { markCountdown_ = ticks; }
    const CSpell* GetEventSpell(i32& strength) override;
    void CastSpellAtPlayer(const CSpell* spell, i32 strength) override;
    void ShowPrompt(const char* text, i32 buttons, i32 screenMode) override;
    void OpenLockPickDialog(const CDoorPrompt& door) override;
    void OpenMarkRecallDialog(bool mark) override;
    void OpenEnchantDialog(u16 item, bool recharge) override;
    i32 GetFightCountdown() const override;
    CMapSection* GetCurrentSection() override;
    CMapSection* FindSectionAt(i32 px, i32 py) override;
    void GetPlayerWorldPosition(i32& x, i32& y) const override;
    i32 CountPeopleNearby() const override;
    i32 GetCreaturePerception(const CMonster& creature) const override;
    bool DescribeCreature(CMapSection* section, const CMonster& creature, CCreatureFacts& facts) override;
    i32 AlertStealVictim(CMonster& victim) override;
    void MakeViewThumbnail() override;
    void RegisterChangedCell(CMapSection* section, i32 x, i32 y, i32 side) override;
    void EnterScreen(i32 screen, const CScreenEntry& entry) override;
    bool IsViewBusy() const override;
    void OpenWorldMapDialog() override;
    const void* FindPageSequence(const char* name) override;
    void SetHandSprites() override;

private:
    // The placed object kept for the scripts (one per section and placement id, so that its address
    // holds while a script runs).
    CPlacedMapObject& Placed(CMapSection* section, CMapObject* object, CPlacement* placement);
    // A screen a handler asked for goes at the end of the view's tick, with the view kept underneath.
    void SwitchScreen(u32 screen);

    CGameScreen& view_;
    CMapInteractions interactions_{*this};
    CStealing stealing_{*this};
    CTravelEvents travel_{*this};
    // The victim the steal prompt asks about, by its section and id: the answer finds it afresh.
    CMapSection* stealSection_ = nullptr;
    u8 stealVictim_ = 0;
    CMapSection* alertSection_ = nullptr;  // the victim's section while an attempt runs
    std::map<std::pair<const CMapSection*, u8>, std::unique_ptr<CPlacedMapObject>> placed_;
    CMapObject plainObject_;
    std::unique_ptr<CPlacedMapObject> defaultObject_;
    std::unique_ptr<CPlayer> spare_;  // answers for the player while none is attached
    CRuleContext noRules_;
    i32 markCountdown_ = 0;
    const CSpell* eventSpell_ = nullptr;
    i32 eventStrength_ = 0;
    u16 pickedLock_ = 0;  // the lock word the lock-picking dialog works on
    CDoorPrompt pickedDoor_;
};
