// What the widgets read of the game data: portrait and creature-kind pictures, texture-set pictures
// by name or index, the palette pictures, the pictures of the player's equipment and the world's named
// sounds. The game data installs its implementation once its tables exist; until then (and in tests
// that install none) every look-up finds nothing and every sound is silent.
#pragma once

#include "core/Types.h"

class CRecordHolder;
struct CPaletteRef;

class CWidgetGameData {
public:
    virtual ~CWidgetGameData() = default;

    // The picture name of the portrait with this id, or null when there is no such portrait.
    virtual const char* FindPortraitPictureName(const char* id) { return nullptr; }
    // The creature kind with this id: its class byte (4 = people) and the two picture names of its
    // type record. False when there is no such kind.
    virtual bool FindCreatureKind(const char* id, u8& kindClass, const char*& firstPicture,
                                  const char*& secondPicture) {
        return false;
    }
    // A picture of the texture set's first table by name (entry 0 is never found), or null.
    virtual CRecordHolder* FindPicture(const char* name) { return nullptr; }
    // Loads a texture-set picture that is not loaded yet; its data then starts at the picture header.
    // False when it cannot be loaded.
    virtual bool EnsurePictureLoaded(CRecordHolder* picture) { return false; }
    // Entries of the texture set's first and second (palette) tables by index; null outside them.
    virtual CRecordHolder* PictureAt(u32 index) { return nullptr; }
    virtual const CPaletteRef* PaletteAt(u32 index) { return nullptr; }
    // The picture and palette of the item in the player's equipment slot (1 .. 13); false when the
    // slot is empty or the item has no picture.
    virtual bool FindEquippedItemPicture(int slot, CRecordHolder*& picture, const CPaletteRef*& palette) {
        return false;
    }
    // Plays a sound of the world's resource catalogue by name at a relative volume 0 .. 10.
    virtual void PlaySound(const char* name, u32 volume) {}
};

// The implementation in use; never null (a finder of nothing when none is installed).
CWidgetGameData& WidgetGameData();
// Installs an implementation (null restores the finder of nothing); the caller keeps ownership.
void SetWidgetGameData(CWidgetGameData* data);
