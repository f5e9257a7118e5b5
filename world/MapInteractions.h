// The game view's dealings with trapped and locked doors (the door prompt and its answers Open,
// Disarm and Pick), traps that fire their spell at the player, and the footsteps on the ground. The
// game view keeps one and calls it from its event handlers and its movement step.
#pragma once

#include "world/MapObjectHost.h"

class CMapObjectTable;
class CCellWindow;
class CItemBag;

class CMapInteractions {
public:
    // The spells of trap codes 1..7 (code 0: plain damage).
    static const char* const kTrapSpells[8];
    // Prompt buttons: Cancel always, Open, Disarm and Pick when offered.
    static constexpr i32 kCancel = 2, kOpen = 128, kDisarm = 256, kPick = 512;

    explicit CMapInteractions(IMapObjectHost& host) : host_(host) {}

    static i32 DoorPromptButtons(const CDoorPrompt& prompt);
    // Game event 11: shows the door's prompt (screen mode 9) and keeps the door for the answers.
    void OnDoorPrompt(const CDoorPrompt& prompt);
    const CDoorPrompt& PendingDoor() const { return door_; }

    // The answers.
    void DisarmTrap();
    void OpenTrappedDoor();
    void OpenLockPicking();

    // Fires the trap of a level word (bits 10..13) with the spell of the object's trap byte.
    void FireTrap(u16 level, const CMapObject* object);
    // The trap spell code of an object: bits 4..6 of its trap byte, which is the record's cell-view
    // byte (only the passages read that byte otherwise).
    static u8 TrapSpellCode(const CMapObject* object);

    // The step's sound: the ground under the player and the foot ((x + y) even: right).
    struct Footstep {
        const char* sound = nullptr;
        i32 volume = 10;
    };
    // `centre` is the placement of the cell's centre object (null when none); `sectionGround` the
    // section's default ground object.
    Footstep ChooseFootstep(const CMapObjectTable& table, const CMapCell& cell, const CPlacement* centre,
                            const CMapObject* sectionGround, i32 x, i32 y, bool quiet) const;
    void PlayFootstep(const CMapObjectTable& table, const CMapCell& cell, const CPlacement* centre,
                      const CMapObject* sectionGround, i32 x, i32 y, bool quiet);

    // The ground's own sound at a cell (the creatures' steps): its layer-2 object, else its layer-1
    // object, else the section's ground, at the volume of the distance from the player.
    void PlayGroundSound(const CMapObjectTable& table, const CMapCell& cell, const CMapObject* sectionGround,
                         i32 x, i32 y);

    // Bags: a container's (its placement's bag) and the one on the ground under the player (made
    // when the cell has none, unless its centre object keeps bags out). Each opens the inventory
    // panel with the bag. False when there is no bag to show. (The bag lying in the player's cell
    // is the game view's own OpenBagInCell.)
    static constexpr u32 kNoGroundBags = 0x40000;
    bool OpenObjectBag(CMapSection* section, CPlacement& placement, i32 x, i32 y);
    bool OpenGroundBag(CCellWindow& window, const CMapObjectTable& table);
    // The world map, unless the view is busy.
    bool OpenWorldMap();
    // Game event 21: the pages screen with the scene's page sequence.
    bool OnPlaySceneEvent(const char* name);
    // After a map change or a new position: a paralysed player moves again.
    void OnParalysisEnded();

private:
    IMapObjectHost& host_;
    CDoorPrompt door_;
};
