// Golden frames of the drawing widgets.
#include <gtest/gtest.h>

#include <string>

#include "WidgetKit.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Boxes.h"
#include "ui/WidgetHelpers.h"
#include "ui/EquipmentSlots.h"
#include "ui/ListBox.h"
#include "ui/Panel.h"
#include "ui/PictureSets.h"
#include "ui/PictureView.h"

using namespace widgetkit;

namespace {

void FillList(CListBox& list, int n) {
    for (int i = 0; i < n; ++i) {
        std::string label = "Row " + std::to_string(i), column = std::to_string(i * 10);
        list.AddItemColumns(label.c_str(), "", column.c_str());
    }
}

}  // namespace

TEST(ListBoxFrames, RowsSelectionColumnsOutlineAndFrame) {
    Stage stage(15, 400, 300);
    stage.FillPictures(kPictureListFrame, 9, 3, 3);
    stage.FillPictures(3400, 3, 16, 16);
    CListBox list;
    list.Attach(&stage.form);
    list.SetRect(20, 20, 160, 108);
    list.state = kWidgetPlaced;
    list.rowHeight = 27;
    list.visibleRows = 4;
    list.font = 1;
    list.textColour = 0x161616;
    list.backgroundColour = 0x94D6E7;
    list.background = 1;
    list.frame = 1;
    list.rightColumn = 1;
    list.columnWidth = 40;
    FillList(list, 9);
    list.selection = 1;
    stage.Clear(0);
    list.Draw();
    // The frame lies 3 pixels outside the list.
    EXPECT_NE(stage.Pixel(17, 17), 0);
    EXPECT_EQ(stage.Pixel(16, 16), 0);
    // The selected row is a bar of the text colour.
    EXPECT_EQ(stage.Pixel(21, 48), PackColourWord(0x161616));
    EXPECT_TRUE(testing_support::MatchesGolden("ui/list_columns", stage.Capture(0, 0, 200, 150)));

    // Second page, highlight colours, centred labels with an outline, icons in the column.
    list.topRow = 8;
    list.selection = 8;
    list.highlight = 1;
    list.highlightTextColour = 0xFFFFFF;
    list.highlightBarColour = 0x800000;
    list.centred = 1;
    list.outline = 1;
    list.outlineColour = 0x0000FF;
    list.iconSet = {stage.game.GetInterfacePicture(3400), stage.game.GetInterfacePicture(3401)};
    list.frame = 0;
    stage.Clear(0);
    list.Draw();
    EXPECT_EQ(stage.Pixel(21, 21), PackColourWord(0x800000));
    EXPECT_TRUE(testing_support::MatchesGolden("ui/list_page2_outline", stage.Capture(0, 0, 200, 150)));
}

TEST(PanelFrames, FiftyTexelPicturesShrinkAndOthersScale) {
    Stage stage(15, 200, 100);
    CPanel panel;
    panel.Attach(&stage.form);
    panel.SetRect(10, 10, 40, 40);
    std::unique_ptr<CRecordHolder> fifty(MakeHolder(BorderedPicture(50, 50, 0x07E0, 0xF800)));
    std::unique_ptr<CRecordHolder> sixty(MakeHolder(BorderedPicture(60, 60, 0x07E0, 0xF800)));
    std::unique_ptr<CRecordHolder> small(MakeHolder(BorderedPicture(20, 20, 0x001F, 0xFFE0)));
    std::unique_ptr<CRecordHolder> zero(MakeHolder(SolidPicture(0, 0, 0)));
    stage.Clear(0x1111);
    panel.SetBitmap(fifty.get());
    panel.Draw();
    panel.x = 60;
    panel.SetBitmap(sixty.get());
    panel.Draw();
    panel.x = 110;
    panel.SetBitmap(small.get());
    panel.Draw();
    panel.x = 160;
    panel.SetBitmap(zero.get());
    panel.fillColour = 0x00FF00;
    panel.Draw();  // only the fill
    EXPECT_EQ(stage.Count(160, 10, 40, 40, PackColourWord(0x00FF00)), 1600);
    // Nothing outside the 40 x 40 panels.
    EXPECT_EQ(stage.Count(0, 50, 200, 50, 0x1111), 200 * 50);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/panels", stage.Capture()));
}

TEST(BoxFrames, PictureViewScaleCaptionAndColorBox) {
    Stage stage(15, 320, 200);
    stage.FillPictures(3015, 9, 4, 4);
    stage.FillPictures(kPictureViewPlaceholder, 1, 12, 12);
    std::unique_ptr<CRecordHolder> picture(MakeHolder(BorderedPicture(20, 10, 0x07E0, 0xF800)));
    stage.Clear(0);

    CPictureView view;
    view.Attach(&stage.form);
    view.SetRect(10, 10, 60, 60);
    view.keepAspect = 1;
    view.frame = 1;
    view.frameSet = InterfacePictureSet(&stage.game, 3015, 9);
    view.frameMarginX = 4;
    view.frameMarginY = 4;
    view.SetPicture(picture.get(), 0, 0, 1);
    view.Draw();
    CPictureView empty;
    empty.Attach(&stage.form);
    empty.SetRect(90, 10, 40, 40);
    empty.fill = 1;
    empty.backgroundColour = 0x404040;
    empty.Draw();

    // A raw picture larger than its view in one direction only.
    std::vector<u16> raw(30 * 10);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<u16>(i * 97);
    CPictureView thumb;
    thumb.Attach(&stage.form);
    thumb.SetRect(150, 10, 20, 20);
    thumb.SetRawPicture(raw.data(), 30, 10);
    thumb.Draw();
    EXPECT_EQ(stage.Pixel(150, 10), raw[5]);

    CEquipmentView scale;
    scale.Attach(&stage.form);
    scale.SetRect(10, 100, 120, 16);
    scale.flags = 1;
    scale.lowColour = 0x0000FF;
    scale.middleColour = 0xFFFFFF;
    scale.highColour = 0xFF0000;
    scale.markerColour = 0x00FF00;
    scale.lowValue = -100;
    scale.highValue = 100;
    scale.value = 30;
    scale.Draw();

    CCardView caption;
    caption.Attach(&stage.form);
    caption.SetRect(10, 130, 300, 30);
    caption.font = 1;
    caption.label.Assign("Gold:");
    caption.valueText.Assign("125");
    caption.labelColour = 0xC8C8C8;
    caption.valueColour = 0x00FFFF;
    caption.Draw();

    CColorBox box;
    box.Attach(&stage.form);
    box.SetRect(200, 100, 30, 20);
    box.colour = 0x3366CC;
    box.Draw();
    EXPECT_EQ(stage.Pixel(200, 100), PackColourWord(0x3366CC));
    EXPECT_TRUE(testing_support::MatchesGolden("ui/boxes", stage.Capture()));
}

TEST(EquipmentSlotsFrames, PaperDollWithItemsAndOverlays) {
    for (u32 mode : {15u, 2u, 5u, 1u}) {
        Stage stage(mode, 260, 260);
        FakeGameData data;
        stage.FillPictures(kPaperDollPicture, 1, 250, 250);
        stage.FillPictures(kSlotOverlayPicture, 3, 10, 10);
        std::unique_ptr<CRecordHolder> fifty(MakeHolder(BorderedPicture(50, 50, 0x07E0, 0xF800)));
        std::unique_ptr<CRecordHolder> odd(MakeHolder(BorderedPicture(36, 36, 0x001F, 0xFFE0)));
        data.equipped[1] = fifty.get();
        data.equipped[7] = odd.get();
        data.equipped[12] = fifty.get();  // never shown
        CEquipmentSlots slots;
        slots.Attach(&stage.form);
        slots.SetRect(0, 0, 250, 250);
        slots.Setup();
        stage.Clear(0);
        slots.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden("ui/equipment_mode" + std::to_string(mode),
                                                   stage.Capture(0, 0, 250, 250)));
    }
}
