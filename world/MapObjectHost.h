// What the map objects, the interactions with map things, stealing and the travel events need of the
// game view around them. The game view implements it; the map objects never reach the view, the
// creatures or the dialogs any other way, so a test drives them with a small fake.
#pragma once

#include <string>

#include "core/Types.h"

class CPlayer;
class CMapSection;
class CMapObject;
class CSpell;
struct CPlacement;
struct CMapCell;
struct CMonster;
struct CRuleContext;

// What the game view tells of a creature that is examined (its Part computes these).
struct CCreatureFacts {
    std::string name;
    bool person = false;  // creature kind 4
    u32 level = 0;
    u32 hp = 0, maxHp = 0;
    u32 xp = 0;
    u32 strength = 0, dexterity = 0, endurance = 0, intelligence = 0;
    u32 perception = 0;
    std::string activeEffects;  // the lines of its active effects
};

// A door that asks the player what to do: the text, the door and where it stands, and which of the
// answers Open, Disarm and Pick are offered (a count above 0 offers the button). Kind 20 is a door.
struct CDoorPrompt {
    std::string text;
    const CMapObject* object = nullptr;
    CPlacement* placement = nullptr;
    CMapSection* section = nullptr;
    i32 x = 0, y = 0;
    i32 open = 0, disarm = 0, pick = 0;
    i32 kind = 20;
};

// The five words a screen switch hands to the next screen: mode (or page), the bag or page sequence,
// the object that opened it, the section, and whether the game view stays underneath.
struct CScreenEntry {
    u32 mode = 0;
    const void* what = nullptr;
    const void* object = nullptr;
    CMapSection* section = nullptr;
    bool keepUnderneath = true;
};

class IMapObjectHost {
public:
    virtual ~IMapObjectHost() = default;

    // The rules of the open world (item catalogue, spells, generator) and the player.
    virtual const CRuleContext& GetRules() = 0;
    virtual CPlayer& GetPlayer() = 0;
    // The player's cell in the 35 x 35 window.
    virtual void GetPlayerCell(i32& x, i32& y) const = 0;
    // The hour 0..23 of the game clock; whether the current map is underground.
    virtual i32 GetHour() const = 0;
    virtual bool IsUndergroundMap() const = 0;
    // The game view's animation counter (it advances once per animation tick).
    virtual u32 GetAnimationCounter() const = 0;
    // A number 0..n-1 of the game's generator (0 for n below 1).
    virtual u32 Random(i32 n) = 0;

    // A named world sound at a relative volume 1..10.
    virtual void PlaySound(const char* name, i32 volume) = 0;
    // A message shown at once with its text macros expanded (in-game message kind 1).
    virtual void ShowGameMessage(const char* text) = 0;
    // A message queued as a game event with its button flags (1 Ok, 4 Yes, 8 No ...).
    virtual void PostMessageEvent(const char* text, i32 buttons) = 0;

    // Game events of the view: the door prompt (event 11), the map-change prompt (event 2), a map
    // change at once, the keyword transition (event 5).
    virtual void PostDoorPrompt(const CDoorPrompt& prompt) = 0;
    virtual void PostMapPromptEvent(const char* destination, const char* question, i32 transitionKind,
                                    bool stepBack) = 0;
    virtual void ChangeMap(const char* destination, i32 transitionKind) = 0;
    virtual void PostKeywordTransitionEvent(const char* destination, i32 transitionKind) = 0;
    // Opens the placement's bag in the inventory panel (the game view's thumbnail and screen switch).
    virtual void OpenObjectBag(CMapSection* section, CPlacement& placement, i32 x, i32 y) = 0;
    // Talk to the NPC that stands behind a town door; false when it refuses (outside its opening
    // hours). `screen` receives the screen code to return.
    virtual bool TalkToObjectNpc(CMapSection* section, CPlacement& placement, i32& screen) = 0;
    // Shows a hit on the player as a creature's blow does.
    virtual void ShowPlayerHit(i32 damage) = 0;
    // The countdown of the marked objects' highlight.
    virtual i32 GetMarkCountdown() const = 0;
    virtual void SetMarkCountdown(i32 ticks) = 0;
    // The spell of the current spell event with the skill value it is applied with; null when none.
    virtual const CSpell* GetEventSpell(i32& strength) = 0;
    // Casts a spell (null: plain damage) at the player with a strength (the combat's spell hit).
    virtual void CastSpellAtPlayer(const CSpell* spell, i32 strength) = 0;

    // What the game view's handlers of doors, stealing and travel need.
    // Posts a prompt with its buttons, dispatches the event queue once and sets the screen mode.
    virtual void ShowPrompt(const char* text, i32 buttons, i32 screenMode) = 0;
    // The lock-picking dialog for a door (screen mode 10), the mark/recall dialog in mark or recall
    // mode (14) and the enchanting or recharging dialog (15), each as the view's modal dialog.
    virtual void OpenLockPickDialog(const CDoorPrompt& door) = 0;
    virtual void OpenMarkRecallDialog(bool mark) = 0;
    virtual void OpenEnchantDialog(u16 item, bool recharge) = 0;
    // The fight countdown: non-zero while there might be immediate threat.
    virtual i32 GetFightCountdown() const = 0;
    // The current section; the section of a surface piece of the world grid (null when none).
    virtual CMapSection* GetCurrentSection() = 0;
    virtual CMapSection* FindSectionAt(i32 px, i32 py) = 0;
    // The player's position on the surface of the world, in cells.
    virtual void GetPlayerWorldPosition(i32& x, i32& y) const = 0;
    // People (creature kind 4) within 2 cells of the player.
    virtual i32 CountPeopleNearby() const = 0;
    // The perception of a creature's type, and what an examination shows of it.
    virtual i32 GetCreaturePerception(const CMonster& creature) const = 0;
    virtual bool DescribeCreature(CMapSection* section, const CMonster& creature, CCreatureFacts& facts) = 0;
    // A robbed victim stops and turns towards the player; the turn's result (0: not near).
    virtual i32 AlertStealVictim(CMonster& victim) = 0;

    // What the bags, the world map, scenes and the end of paralysis need of the view.
    // Keeps the 80 x 50 thumbnail of the current 3D view (the panels show it).
    virtual void MakeViewThumbnail() = 0;
    // Registers a changed cell (side -1: the cell itself) with the script context.
    virtual void RegisterChangedCell(CMapSection* section, i32 x, i32 y, i32 side) = 0;
    // Leaves (or pushes) the game view and enters a screen with its entry words: 4 the inventory
    // panel, 11 the pages screen.
    virtual void EnterScreen(i32 screen, const CScreenEntry& entry) = 0;
    // The view is turning, a step runs or the player's actions are pending.
    virtual bool IsViewBusy() const = 0;
    // The world-map dialog as the view's modal dialog (screen mode 7).
    virtual void OpenWorldMapDialog() = 0;
    // The page sequence of that name, null when none.
    virtual const void* FindPageSequence(const char* name) = 0;
    // The first-person hands follow the player's state.
    virtual void SetHandSprites() = 0;
};
