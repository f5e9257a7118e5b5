// What the creatures and the fight need of the game view around them: the cell window and the
// player's place in it, the player, the generator and the millisecond tick, messages, sounds, the
// talk and steal screens, the fight countdown and the redraws. The game view implements it; tests use
// a small fake.
#pragma once

#include "core/Types.h"

class CCellWindow;
class CMapSection;
class CPlayer;
class CRandom;
class CSpell;
struct CCellObject;
struct CMonster;
struct CRuleContext;

class ICreatureHost {
public:
    virtual ~ICreatureHost() = default;

    virtual CCellWindow& Window() = 0;
    virtual CPlayer& Player() = 0;
    // The world's tables (spells, diseases, items, the creature catalogue); never null in play.
    virtual const CRuleContext& Rules() const = 0;
    virtual CRandom& Random() = 0;
    // Milliseconds of the platform clock.
    virtual u32 TickCount() const = 0;

    // The player's window cell, the position inside it (0..0xFFFF, 0x8000 the centre) and the
    // facing angle in degrees 0..359.
    virtual void GetPlayerCell(i32& x, i32& y) const = 0;
    virtual void GetPlayerFraction(i32& fx, i32& fy) const {
        fx = 0x8000;
        fy = 0x8000;
    }
    virtual void SetPlayerFraction(i32 /*fx*/, i32 /*fy*/) {}
    virtual u32 GetFacing() const = 0;
    virtual bool IsSurfaceMap() const { return false; }
    // The hour of the game clock and the weather intensity 0..999 (missiles fly worse at night and
    // in weather on a surface map).
    virtual int GetHour() const { return 12; }
    virtual int GetWeatherIntensity() const { return 0; }

    // A message queued as a game event (buttons: 1 Ok) and one shown at once with its macros.
    virtual void PostMessageEvent(const char* text, u32 buttons) = 0;
    virtual void ShowGameMessage(const char* text) = 0;
    // A world sound by name at a relative volume 1..10.
    virtual void PlaySound(const char* name, int volume) = 0;

    // The talk with a creature (its NPC, its talk profile or "No answer"), the steal prompt for a
    // person whose back is turned, the examine window of a creature at the level of the spell's
    // power (what it shows grows with it).
    virtual void TalkToCreature(CMapSection& section, CMonster& creature) = 0;
    virtual void PostStealPrompt(CMapSection& /*section*/, CMonster& /*creature*/) {}
    virtual void PostExamineCreature(CMapSection& /*section*/, CMonster& /*creature*/, int /*level*/) {}

    // The fight: a hit made a creature hostile or killed it; the countdown is set to 4 while hostile
    // creatures are near (the music follows it).
    virtual void RaiseFightFlag() {}
    virtual void SetFightCountdown(int /*value*/) {}
    virtual void UpdateMusic() {}
    // Redraws after creatures changed: the changed cells rebuilt, the sprites and the target updated.
    virtual void RefreshAfterChange() {}
    // The hurt display over the player's portrait: frame `step` of the hit picture while the player
    // reels from a blow, then the portrait alone again.
    virtual void ShowHitFrame(int /*step*/) {}
    virtual void EndHitFrames() {}
    // A creature's sprite entry (the game view's sprite array); null when it has none.
    virtual CCellObject* SpriteOf(const CMonster& /*creature*/) { return nullptr; }
    // Whether a creature may step into the window cell moving in `direction` (0 north, 1 west,
    // 2 south, 3 east: the facing quarters): walls, doors and map objects.
    virtual bool CanCreatureEnter(i32 x, i32 y, i32 direction) = 0;
    // A blow (code 8, the damage) or a spell (code 16, the spell and its strength) on the map object
    // of a window cell without creatures.
    virtual void RaiseObjectEvent(int /*code*/, i32 /*x*/, i32 /*y*/, int /*amount*/,
                                  const CSpell* /*spell*/) {}
    // A creature's event (8 hit, 16 spell, 32 use, 64 death) goes first to the script of the map
    // object the creature is bound to; true when a script took it (its "default" command reaches the
    // creature's own handling through CScriptCreature). False: the creature handles it at once.
    virtual bool RunCreatureEventScript(int /*code*/, CMapSection& /*section*/, CMonster& /*creature*/,
                                        struct CCreatureEvent& /*event*/) {
        return false;
    }
    // The player's hp reached 0 (the death screen follows).
    virtual void OnPlayerDied() {}
    // A creature walked into the window cell: the ground there sounds, by its distance.
    virtual void PlayGroundSound(i32 /*x*/, i32 /*y*/) {}
};
