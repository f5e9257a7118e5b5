#include "ui/WorldMapDialog.h"

#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

void PlaceLabel(CTextLabel& label, u32 alignment, u32 font, u32 background) {
    label.SetText("");
    label.state |= kWidgetRedraw;
    label.alignment = alignment;
    label.font = font;
    label.textColour = 0x151C34;
    label.backgroundColour = background;
    label.Layout();
}

}  // namespace

void CWorldMapDialog::Open() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    drawBackground = 0;
    struct {
        CWidget* widget;
        u32 element;
    } const members[] = {{&frame, 44},     {&title, 45},      {&selection, 52}, {&mapView, 46},
                         {&worldGrid, 46}, {&dayLine, 47},    {&timeLine, 51},  {&worldButton, 49},
                         {&mapButton, 50}, {&closeButton, 48}};
    for (const auto& m : members) {
        m.widget->Attach(this);
        m.widget->SetLayoutRect(FindLayoutRect(game, kLayoutGroup, m.element));
        if ((m.widget->state & kWidgetEnabled) != 0) AddWidget(m.widget);
    }
    frame.frameSet = InterfacePictureSet(game, kMessageFrameFirstPicture, 9);
    frame.transparent = 1;
    frame.pictureMode = 0;
    const u32 background = game ? game->GetTextColor() : 0x94D6EF;
    PlaceLabel(title, CTextLabel::kAlignCentre, 2, background);
    PlaceLabel(selection, CTextLabel::kAlignLeft, 1, background);
    PlaceLabel(dayLine, CTextLabel::kAlignCentre, 1, background);
    PlaceLabel(timeLine, CTextLabel::kAlignCentre, 1, background);
    mapView.source = source ? source->MapSource() : nullptr;
    mapView.Setup();
    mapView.wholeMap = 1;
    i32 wx = 0, wy = 0;
    if (source) source->WorldPosition(wx, wy);
    worldGrid.Setup(source ? source->WorldPicture() : nullptr, wx, wy);
    worldGrid.Show(0);
    worldButton.SetPictures(InterfacePictureSet(game, 3472, 2), kCommandWorld, 0);
    mapButton.SetPictures(InterfacePictureSet(game, 3474, 2), kCommandMap, 0);
    closeButton.SetPictures(InterfacePictureSet(game, 3470, 2), kCommandClose, 0);
    mapButton.Show(0);
    ShowLocalMap();
    CStr text;
    text.Format("Day %u", (source ? source->ClockMinutes() : 0) / 1440 + 1);
    dayLine.SetText(text.GetText());
    text.Assign("");
    if (source) source->FormatTime(text);
    timeLine.SetText(text.GetText());
    ResetInputGuard();
}

void CWorldMapDialog::ShowLocalMap() {
    worldGrid.Show(0);
    mapView.Show(1);
    mapView.originX = mapView.x + mapView.halfColumns * mapView.cellSize;
    mapView.originY = mapView.y + mapView.halfRows * mapView.cellSize;
    mapButton.Show(0);
    worldButton.Show(1);
    title.SetText(source && source->MapTitle() ? source->MapTitle() : "");
}

u32 CWorldMapDialog::OnCommand(u32 command) {
    switch (command) {
    case kCommandGrid: {
        u32 gw = 0, gh = 0;
        if (source) source->GridSize(gw, gh);
        i32 column = -1, row = -1;
        const char* name = nullptr;
        if (SelectWorldGridCell(worldGrid, gw, gh, column, row) && source)
            name = source->SectionTitleAt(static_cast<u32>(column) + 1, static_cast<u32>(row) + 1);
        worldGrid.state |= kWidgetRedraw;
        // A grid cell the world has no section for selects nothing.
        if (name == nullptr) {
            selection.SetText("");
            worldGrid.areaX = worldGrid.areaY = -1;
        } else {
            CStr text;
            text.Format("Selected: %s", name);
            selection.SetText(text.GetText());
            worldGrid.areaX = column;
            worldGrid.areaY = row;
        }
        flags |= kFormRedrawAll;
        return 0;
    }
    case kCommandClose: PlayInterfaceSound(game, 1, 10); return parent ? parent->OnCommand(kCommandClose) : 0;
    case kCommandWorld:
        PlayInterfaceSound(game, 0, 10);
        selection.SetText("");
        worldGrid.Show(1);
        worldGrid.areaX = worldGrid.areaY = -1;
        mapView.Show(0);
        mapButton.Show(1);
        worldButton.Show(0);
        title.SetText(source && source->WorldTitle() ? source->WorldTitle() : "");
        title.Layout();
        flags |= kFormRedrawAll;
        return 0;
    case kCommandMap:
        PlayInterfaceSound(game, 0, 10);
        selection.SetText("");
        ShowLocalMap();
        flags |= kFormRedrawAll;
        return 0;
    default: return 0;
    }
}
