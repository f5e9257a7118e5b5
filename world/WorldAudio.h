// The sounds of the world as the game view's clock, weather and surroundings play them: by resource
// name, at a relative volume 0..10, with channel handles that can be stopped or paused later. The game
// plays them through its resource catalogue (CCatalogueAudio); tests record them.
#pragma once

#include "core/Types.h"
#include "sound/Mixer.h"

class CResourceCatalogue;

class IWorldAudio {
public:
    virtual ~IWorldAudio() = default;
    // Whether the world has a sound of that name.
    virtual bool HasSound(const char* name) = 0;
    // The channel that plays it, or kNoChannel.
    virtual i32 PlaySound(const char* name, i32 volume) = 0;
    virtual i32 PlaySoundLooped(const char* name, i32 volume) = 0;
    // Whether the world has a piece of music of that name.
    virtual bool HasMusic(const char* name) = 0;
    // Starts a piece of music by name: its channel, or kNoChannel when the world has no such piece.
    virtual i32 PlayMusic(const char* name) = 0;
    // Anything but a real channel is ignored.
    virtual void StopChannel(i32 channel) = 0;
    // Stops the music on its channel for good (its piece may be freed).
    virtual void StopMusic(i32 channel) { StopChannel(channel); }
    virtual void PauseChannel(i32 channel, bool paused) = 0;
};

// The world's resource catalogue and the sound front-end behind it.
class CCatalogueAudio : public IWorldAudio {
public:
    explicit CCatalogueAudio(CResourceCatalogue* catalogue = nullptr) : catalogue_(catalogue) {}
    void SetCatalogue(CResourceCatalogue* catalogue) { catalogue_ = catalogue; }

    bool HasSound(const char* name) override;
    i32 PlaySound(const char* name, i32 volume) override;
    i32 PlaySoundLooped(const char* name, i32 volume) override;
    bool HasMusic(const char* name) override;
    i32 PlayMusic(const char* name) override;
    void StopChannel(i32 channel) override;
    void StopMusic(i32 channel) override;
    void PauseChannel(i32 channel, bool paused) override;

private:
    CResourceCatalogue* catalogue_;
};

// A world sound's volume by its distance from the player's cell: 10 less the steps along each axis,
// never below 1.
inline i32 VolumeByDistance(i32 dx, i32 dy) {
    const i32 v = 10 - (dx < 0 ? -dx : dx) - (dy < 0 ? -dy : dy);
    return v < 1 ? 1 : (v > 10 ? 10 : v);
}
