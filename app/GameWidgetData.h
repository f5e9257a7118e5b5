// What the widgets read of the running game through the widget data hook: item and portrait pictures
// of the world's texture set (loaded on first use) and the pictures of the items in the player's
// equipment slots, so the item grid, the faces and the paper doll show them.
#pragma once

#include "ui/WidgetGameData.h"

class CGame;

class CGameWidgetData : public CWidgetGameData {
public:
    explicit CGameWidgetData(CGame& game) : game_(game) {}

    const char* FindPortraitPictureName(const char* id) override;
    CRecordHolder* FindPicture(const char* name) override;
    bool EnsurePictureLoaded(CRecordHolder* picture) override;
    // A picture of the world's texture set by index (entry 0 is none), loaded on first use.
    CRecordHolder* PictureAt(u32 index) override;
    bool FindEquippedItemPicture(int slot, CRecordHolder*& picture, const CPaletteRef*& palette) override;

private:
    CGame& game_;
};
