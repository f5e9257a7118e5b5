// The map window of the game view: the automap of the current map or the overview of the world's
// surface, with the day, the time and, on the overview, the name of the section tapped. The game
// view opens it as its modal dialog and closes it on command 48.
#pragma once

#include "core/Str.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/MapView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

// What the dialog reads of the game view and the current world.
class IWorldMapSource {
public:
    virtual ~IWorldMapSource() = default;
    virtual const char* MapTitle() const = 0;
    virtual const char* WorldTitle() const = 0;
    virtual void GridSize(u32& width, u32& height) const = 0;
    // The title of the surface section at a grid column and row (from 1); null when there is none.
    virtual const char* SectionTitleAt(u32 column, u32 row) const = 0;
    virtual u32 ClockMinutes() const = 0;
    virtual void FormatTime(CStr& text) const = 0;
    virtual const CRecordHolder* WorldPicture() const = 0;
    virtual void WorldPosition(i32& x, i32& y) const = 0;
    virtual IMapViewSource* MapSource() = 0;
};

class CWorldMapDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 8;
    enum : u32 {
        kCommandGrid = 46,
        kCommandDay = 47,
        kCommandClose = 48,
        kCommandWorld = 49,
        kCommandMap = 50
    };

    // Builds the dialog afresh from the layout, the clock and the current world.
    void Open();
    u32 OnCommand(u32 command) override;

    IWorldMapSource* source = nullptr;
    CFramedBox frame;
    CTextLabel title;
    CMapView mapView;
    CWorldGrid worldGrid;
    CTextLabel selection;
    CTextLabel dayLine;
    CTextLabel timeLine;
    CBitmapButton worldButton;
    CBitmapButton mapButton;
    CBitmapButton closeButton;

private:
    void ShowLocalMap();
};
