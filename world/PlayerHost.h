// What the player needs of the game view around it: the messages it shows and posts, the two gauges,
// the hand pictures and the clock. The game view implements it; without one the player is silent,
// which is what the tests and the new-game set-up before the view exists want.
#pragma once

class IPlayerHost {
public:
    virtual ~IPlayerHost() = default;
    // A report of a value change, shown at once (macros expanded by the script side).
    virtual void ShowGameMessage(const char* text) = 0;
    // A message queued as a game event; a null sound plays the click.
    virtual void PostMessageEvent(const char* text, const char* sound) = 0;
    virtual void SetHpGauge(int percent) = 0;
    virtual void SetManaGauge(int percent) = 0;
    // The first-person hand pictures follow the weapons and the paralysis.
    virtual void SetHandSprites() = 0;
    // Moves the game clock forward to the given time of day.
    virtual void PassTimeTo(int hour, int minute) = 0;
};
