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

    // What hits and spells need of the view; the defaults stand for a view without them.
    // The quarter 0..3 the player faces.
    virtual int GetFacingQuarter() const { return 0; }
    virtual bool IsSurfaceMap() const { return false; }
    // The weather intensity 0..999 and the hour of the game clock.
    virtual int GetWeatherIntensity() const { return 0; }
    virtual int GetHour() const { return 12; }
    // A blow from that quarter missed: true when a pending block action of the view met it (the view
    // plays that action's sound).
    virtual bool OnBlowMissed(int /*direction*/) { return false; }
    virtual void ShowPlayerHit(int /*damage*/, int /*kind*/) {}
    virtual void ShowDamageOverTime(int /*damage*/) {}
    // Mark, recall, teleport, recharge and enchant run later as spell events.
    virtual void PostSpellEvent(int /*type*/, int /*word*/) {}
    // Hostile creatures within the radius in cells become calm.
    virtual void CalmCreatures(int /*radius*/) {}
};
