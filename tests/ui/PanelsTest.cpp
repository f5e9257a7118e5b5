#include <gtest/gtest.h>

#include "WidgetKit.h"
#include "ui/InterfacePictureRoles.h"
#include "data/RecordHolder.h"
#include "display/Video.h"
#include "ui/Boxes.h"
#include "ui/EquipmentSlots.h"
#include "ui/Panel.h"
#include "ui/PictureView.h"

using namespace widgetkit;

TEST(EquipmentView, MarkerSitsAtTheCentreAndPinsAtTheEnds) {
    CEquipmentView scale;
    scale.SetRect(100, 10, 104, 12);  // half = 52
    scale.lowValue = -10;
    scale.middleValue = 0;
    scale.highValue = 10;
    struct Case {
        i32 value;
        i32 marker;
    };
    const Case cases[] = {
        {0, 100 + 50},  // the centre: x + half - 2
        {-10, 100},
        {-50, 100},  // at or past the low end: the left edge
        {10, 100 + 100},
        {99, 100 + 100},                 // at or past the high end: x + w - 4
        {-5, 100 + 50 - 49 * -5 / -10},  // 49 = half - 3
        {5, 100 + 50 + 49 * 5 / 10},
        {-1, 100 + 50 - 4},
        {1, 100 + 50 + 4},
    };
    for (const Case& c : cases) {
        scale.value = c.value;
        EXPECT_EQ(scale.MarkerX(), c.marker) << c.value;
    }
}

TEST(EquipmentView, ColourStepsAreTakenPerByteTowardsZero) {
    EXPECT_EQ(InterpolateColourWord(0x000000, 0xFFFFFF, 0, 10), 0x000000u);
    EXPECT_EQ(InterpolateColourWord(0x000000, 0xFFFFFF, 5, 10), 0x7F7F7Fu);
    EXPECT_EQ(InterpolateColourWord(0xFF0010, 0x00FF00, 1, 3), 0xAA550Bu);
    EXPECT_EQ(InterpolateColourWord(0x123456, 0xFFFFFF, 3, 0), 0x123456u);
}

TEST(ColorBox, TakesAPenDownOnePixelLeftOfItself) {
    CColorBox box;
    box.id = 33;
    box.SetRect(10, 10, 5, 5);
    struct Case {
        i32 x, y;
        u32 down, moving, result;
    };
    const Case cases[] = {{9, 10, 1, 0, 33}, {8, 10, 1, 0, 0},  {14, 14, 1, 0, 33}, {15, 14, 1, 0, 0},
                          {12, 9, 1, 0, 0},  {12, 12, 1, 1, 0}, {12, 12, 0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(box.OnPen(c.x, c.y, c.down, c.moving), c.result) << c.x << "," << c.y;
}

TEST(PictureView, PlacesStretchesAndRefusesAZeroWidePicture) {
    std::unique_ptr<CRecordHolder> same(MakeHolder(SolidPicture(40, 30, 0x1234)));
    std::unique_ptr<CRecordHolder> small(MakeHolder(SolidPicture(20, 10, 0x1234)));
    std::unique_ptr<CRecordHolder> empty(MakeHolder(SolidPicture(0, 30, 0x1234)));
    CPictureView view;
    view.id = 9;
    view.SetRect(100, 50, 40, 30);

    view.SetPicture(same.get(), 0, 77, 1);
    EXPECT_EQ(view.picture, same.get());
    EXPECT_EQ(view.stretched, 0u);
    EXPECT_EQ(view.tag, 77u);
    EXPECT_EQ(view.drawnX, 100);
    EXPECT_EQ(view.drawnWidth, 40);
    EXPECT_EQ(view.drawnHeight, 30);

    view.SetPicture(small.get(), 0, 0, 0);
    EXPECT_EQ(view.stretched, 1u);
    EXPECT_EQ(view.drawnWidth, 40);
    EXPECT_EQ(view.drawnHeight, 30);
    view.keepAspect = 1;
    view.SetPicture(small.get(), 0, 0, 0);
    EXPECT_EQ(view.drawnWidth, 40);
    EXPECT_EQ(view.drawnHeight, 20);  // 10 x 40 / 20

    view.SetPicture(empty.get(), 0, 0, 0);
    EXPECT_EQ(view.picture, nullptr);
    EXPECT_EQ(view.stretched, 0u);

    // Taps count inside the drawn picture only, pen downs only.
    view.SetPicture(small.get(), 0, 0, 0);
    EXPECT_EQ(view.OnPen(100, 50, 1, 0), 9u);
    EXPECT_EQ(view.OnPen(139, 69, 1, 0), 9u);
    EXPECT_EQ(view.OnPen(139, 70, 1, 0), 0u);
    EXPECT_EQ(view.OnPen(110, 60, 0, 0), 0u);
    EXPECT_EQ(view.OnPen(110, 60, 1, 1), 0u);
}

TEST(Panel, PortraitsCreatureKindsAndPicturesAreLookedUp) {
    FakeGameData data;
    CRecordHolder* face = data.AddPicture("face", SolidPicture(50, 50, 1), false);
    CRecordHolder* wolf = data.AddPicture("wolf", SolidPicture(40, 30, 2));
    CRecordHolder* guard = data.AddPicture("guard", SolidPicture(30, 40, 3));
    data.portraits.push_back({"p1", "face"});
    data.kinds.push_back({"beast", 1, "wolf", "guard"});
    data.kinds.push_back({"person", 4, "wolf", "guard"});

    CPanel panel;
    panel.fillColour = 5;
    panel.SetPortrait("p1");
    EXPECT_EQ(panel.picture, face);
    EXPECT_EQ(data.loads, 1);  // loaded on the spot
    EXPECT_EQ(panel.pictureWidth, 50);
    EXPECT_EQ(panel.fillColour, 0u);
    panel.SetPortrait("beast");
    EXPECT_EQ(panel.picture, wolf);
    EXPECT_EQ(panel.pictureHeight, 30);
    panel.SetPortrait("person");
    EXPECT_EQ(panel.picture, guard);
    // Nothing found: the picture and its size stay.
    panel.SetPortrait("nobody");
    EXPECT_EQ(panel.picture, guard);
    EXPECT_EQ(panel.pictureWidth, 30);
    // A missing name drops the picture but keeps the size.
    panel.SetPicture("missing");
    EXPECT_EQ(panel.picture, nullptr);
    EXPECT_EQ(panel.pictureWidth, 30);
    panel.SetPicture("wolf");
    EXPECT_EQ(panel.picture, wolf);
    // A null holder keeps everything.
    panel.SetBitmap(nullptr);
    EXPECT_EQ(panel.picture, wolf);
}

TEST(Panel, APanelWithASecondPictureTakesNoTaps) {
    FakeGameData data;
    data.AddPicture("zero", SolidPicture(4, 4, 1));
    data.AddPicture("item", SolidPicture(4, 4, 2));
    const u16 colours[1] = {3};
    CPaletteRef palette{colours, 1};
    const CPaletteRef* pal = &palette;
    data.palettes = {nullptr, pal};
    CPanel panel;
    panel.id = 12;
    panel.SetRect(0, 0, 20, 20);
    EXPECT_EQ(panel.OnPen(5, 5, 0, 0), 12u);  // a pen up inside
    EXPECT_EQ(panel.OnPen(5, 5, 1, 0), 0u);
    EXPECT_EQ(panel.OnPen(5, 5, 0, 1), 0u);
    panel.SetPaletteColors(1, 1);
    EXPECT_NE(panel.secondPicture, nullptr);
    EXPECT_EQ(panel.secondPalette, pal);
    EXPECT_EQ(panel.OnPen(5, 5, 0, 0), 0u);
    for (u16 none : {u16{0}, u16{0xFFFF}}) {
        panel.SetPaletteColors(1, none);
        EXPECT_EQ(panel.secondPalette, nullptr);
    }
}

TEST(EquipmentSlots, EveryLayoutGroupHasItsOffsetsAndAnEmptySlotIsSelectable) {
    CGame game;
    CForm form;
    form.Attach(&game);
    CEquipmentSlots slots;
    slots.Attach(&form);
    slots.id = 61;
    slots.SetRect(100, 100, 250, 260);
    struct Case {
        u32 mode;
        i32 size, slot2x, slot2y;
    };
    const Case cases[] = {{15, 50, 164, 66}, {2, 30, 99, 39}, {5, 20, 64, 25}, {1, 40, 128, 51}};
    for (const Case& c : cases) {
        game.layoutMode = c.mode;
        slots.Setup();
        EXPECT_EQ(CEquipmentSlots::SlotSize(c.mode), c.size);
        EXPECT_EQ(slots.slotX[2], c.slot2x);
        EXPECT_EQ(slots.slotY[2], c.slot2y);
        EXPECT_EQ(slots.selectedSlot, 0);
        // The last pixel of slot 2's square selects it; one more does not.
        EXPECT_EQ(slots.OnPen(100 + c.slot2x + c.size - 1, 100 + c.slot2y, 1, 0), 61u) << c.mode;
        EXPECT_EQ(slots.selectedSlot, 2);
        slots.selectedSlot = 0;
        EXPECT_EQ(slots.OnPen(100 + c.slot2x + c.size, 100 + c.slot2y + c.size, 1, 0), 0u) << c.mode;
        EXPECT_EQ(slots.OnPen(100 + c.slot2x, 100 + c.slot2y, 0, 0), 0u);
        EXPECT_EQ(slots.selectedSlot, 0);
    }
}

TEST(Panel, StateColourLaysOneOfTheTwoStateMarksOverThePanel) {
    CGame game;
    SetInterfacePicture(game, kPicturePanelStateOff, SolidPicture(4, 4, 1));
    SetInterfacePicture(game, kPicturePanelStateOn, SolidPicture(4, 4, 2));
    CForm form;
    form.Attach(&game);
    CPanel panel;
    panel.Attach(&form);
    panel.state = 0;
    panel.SetStateColor(1, 0);
    EXPECT_EQ(panel.secondPicture, game.GetInterfacePicture(kPicturePanelStateOff));
    EXPECT_EQ(panel.plainTransparent, 1u);
    panel.SetStateColor(0, 5);
    EXPECT_EQ(panel.secondPicture, game.GetInterfacePicture(kPicturePanelStateOn));
    EXPECT_EQ(panel.plainTransparent, 0u);
    EXPECT_EQ(panel.state, 0);  // the callers mark it for redraw
}
