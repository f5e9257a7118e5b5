// What the spell and travel dialogs over the main game view ask of the view itself: where the player
// stands, the map transition of a recall, entering another map or realm, and stopping the view's
// sounds before a voyage. The game view implements it; the game finds it on its game view.
#pragma once

class IGameViewTravel {
public:
    virtual ~IGameViewTravel() = default;
    // The player's cell in the current map; false while no map is entered.
    virtual bool GetPlayerCell(int& x, int& y) const = 0;
    // Posts the map transition event to a world's map (world short name, map id), a cell and a
    // direction 0..3, with its transition kind (1 for a recall).
    virtual void PostMapTransition(const char* world, const char* map, int x, int y, int direction, int kind) = 0;
    // Enters another map or realm by name.
    virtual void ChangeMap(const char* destination) = 0;
    // Stops the rain loop, every queued sound and, when asked, the music.
    virtual void StopQueuedSounds(bool stopMusic) = 0;
};
