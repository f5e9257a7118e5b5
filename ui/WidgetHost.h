// What forms, widgets and screens need of the game around them, beyond what the video output and the
// fonts need (display/DisplayHost.h): the drawing kit, the interface pictures and colours, the tick
// counter, the screen table and the interface sounds. The game object implements it; widget tests
// use the game object on a headless frame.
#pragma once

#include "core/Types.h"
#include "display/DisplayHost.h"

class CFontSet;
class CPdbFile;
class CRandom;
class CRecordHolder;
class CScreen;
class CSoundEntry;
class CSoundManager;
class CVideo;

class CWidgetHost : public CDisplayHost {
public:
    // The video output, the fonts and the interface database; null until start-up made them.
    virtual CVideo* GetVideo() const = 0;
    virtual CFontSet* GetFonts() const = 0;
    virtual CPdbFile* GetDataDb() const = 0;
    virtual CRandom* GetRandom() const = 0;

    // The game's tick counter, which moves once per timer tick (the input guard compares it).
    virtual u32 GetTickCounter() const = 0;
    // The normal interface text colour and that of a pressed text button, 0x00BBGGRR.
    virtual u32 GetTextColor() const = 0;
    virtual u32 GetPressedTextColor() const = 0;

    // The interface picture of a base number; null when the number names none or it is not loaded.
    virtual CRecordHolder* GetInterfacePicture(u16 base) const = 0;
    // The `count` interface pictures from `first` on, in order, as the frame-drawing helpers take
    // them; null when the run is not wholly made of interface pictures.
    virtual CRecordHolder* const* GetInterfacePictureSet(u16 first, int count) const = 0;
    // One of the four loading pictures (null when it was never loaded).
    virtual CRecordHolder* GetLoadingPicture(int index) const = 0;
    // A picture of the texture set by name; null when it has none.
    virtual CRecordHolder* FindTexturePicture(const char* name) const = 0;

    // The screen table: the current screen, the screen of an id, and how many screens are kept
    // underneath the current one.
    virtual CScreen* GetCurrentScreen() const = 0;
    virtual CScreen* GetScreen(u32 id) const = 0;
    virtual u32 GetStackedScreenCount() const = 0;

    // The player's facing in the main game view in degrees (0..359); 0 without a game view.
    virtual u32 GetPlayerFacing() const = 0;

    // The sound front-end and the two interface sounds (0 click, 1 confirm); null when absent.
    virtual CSoundManager* GetSound() const = 0;
    virtual CSoundEntry* GetInterfaceSound(int index) const = 0;
};
