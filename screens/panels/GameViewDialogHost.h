// What the game view's spell and travel dialogs (the spell book, mark and recall, the ship voyage)
// need of the game around them: the player and the world's tables, where the player stands, the open
// worlds and their maps, the game view's messages, map changes and sounds, and the world's named
// sounds. The game implements it; tests hand in their own.
#pragma once

#include "screens/panels/SpellBookRules.h"

class CPlayer;
struct CMarkedPosition;
struct CRuleContext;

class IGameViewDialogHost : public IRecallWorlds {
public:
    // The player; null while no game runs.
    virtual CPlayer* GetPlayer() = 0;
    // The open worlds' tables (spells and their schools, item names); null while no world is open.
    virtual const CRuleContext* GetRules() = 0;
    // The current world and map (ids and names), the player's cell and facing in degrees. The texts
    // stay valid until the player moves on. False while no map is entered.
    virtual bool GetCurrentPlace(CMarkPlace& place) = 0;
    // Posts the map transition to a marked place (its world, map, cell and direction; a recall).
    virtual void TravelToMark(const CMarkedPosition& mark) = 0;
    // An in-game message of the game view.
    virtual void ShowGameMessage(const char* text) = 0;
    // Stops the rain loop, every queued sound and, when asked, the music.
    virtual void StopQueuedSounds(bool stopMusic) = 0;
    // Ends every sample channel of the mixer (a looped sound too).
    virtual void StopAllSamples() = 0;
    // Enters another map or realm by name.
    virtual void ChangeMap(const char* destination) = 0;
    // A sound of the world's resource catalogue by name at full relative volume, once or looped.
    virtual void PlayNamedSound(const char* name, bool looped) = 0;
};
