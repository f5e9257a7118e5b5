#include "screens/npc/BetDialog.h"

#include "core/Str.h"
#include "tests/support/FrameRig.h"
#include "ui/Draw.h"
#include "ui/WidgetHelpers.h"
#include "ui/Widget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The talk screen's side of the dialog: it receives Ok and Cancel and answers with a screen code.
class OwnerStandIn : public CForm {
public:
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        return command == CBetDialog::kOk ? 12 : 0;
    }
    std::vector<u32> commands;
};

std::string BetText(u32 bet) {
    CStr text;
    text.Format("%u%c", bet, '\x09');
    ToNumberGlyphs(text);
    return text.GetText();
}

bool TakesPen(const CWidget& widget) { return (widget.state & kWidgetPenEnabled) != 0; }

struct BetRig : testing_support::FrameRig {
    OwnerStandIn owner;
    CBetDialog dialog;
    std::vector<u16> sounds;

    bool Open(i32 maximum) {
        if (!StartOnBuiltDatabase()) return false;
        owner.Attach(Game());
        dialog.Attach(Game());
        owner.OpenModal(&dialog);
        SetInterfaceSoundListener([this](u16 record, i32) { sounds.push_back(record); });
        dialog.Open(maximum);
        return true;
    }
    ~BetRig() { SetInterfaceSoundListener(nullptr); }
};

TEST(BetDialog, OpensCentredAtOneStep) {
    BetRig rig;
    ASSERT_TRUE(rig.Open(250));
    i32 screenWidth = 0, screenHeight = 0;
    GameFrameBufferSize(rig.Game(), screenWidth, screenHeight);
    ASSERT_GT(rig.dialog.width, 0u);
    EXPECT_EQ(static_cast<i32>(rig.dialog.x), (screenWidth - static_cast<i32>(rig.dialog.width)) / 2);
    EXPECT_EQ(static_cast<i32>(rig.dialog.y), (screenHeight - static_cast<i32>(rig.dialog.height)) / 2);
    EXPECT_STREQ(rig.dialog.title.text.GetText(), "Bet?");
    EXPECT_EQ(rig.dialog.Bet(), 50);
    EXPECT_EQ(rig.dialog.betLabel.text.GetText(), BetText(50));
    EXPECT_TRUE(TakesPen(rig.dialog.raiseButton));
    EXPECT_TRUE(TakesPen(rig.dialog.maximumButton));
    EXPECT_FALSE(TakesPen(rig.dialog.lowerButton));
    EXPECT_FALSE(TakesPen(rig.dialog.minimumButton));
}

TEST(BetDialog, ButtonsMoveTheBetWithinRange) {
    BetRig rig;
    ASSERT_TRUE(rig.Open(250));
    EXPECT_EQ(rig.dialog.OnCommand(CBetDialog::kRaise), 0u);
    EXPECT_EQ(rig.dialog.Bet(), 100);
    EXPECT_TRUE(TakesPen(rig.dialog.lowerButton));
    rig.dialog.OnCommand(CBetDialog::kMaximum);
    EXPECT_EQ(rig.dialog.Bet(), 250);
    EXPECT_EQ(rig.dialog.betLabel.text.GetText(), BetText(250));
    EXPECT_FALSE(TakesPen(rig.dialog.raiseButton));
    rig.dialog.OnCommand(CBetDialog::kRaise);
    EXPECT_EQ(rig.dialog.Bet(), 250);
    rig.dialog.OnCommand(CBetDialog::kLower);
    EXPECT_EQ(rig.dialog.Bet(), 200);
    rig.dialog.OnCommand(CBetDialog::kMinimum);
    EXPECT_EQ(rig.dialog.Bet(), 50);
    EXPECT_EQ(rig.dialog.OnCommand(700), 0u);
    // Each of the five presses clicks; nothing went to the owner.
    EXPECT_EQ(rig.sounds, std::vector<u16>(5, 4031));
    EXPECT_TRUE(rig.owner.commands.empty());
}

TEST(BetDialog, OkAndCancelGoToTheOwner) {
    BetRig rig;
    ASSERT_TRUE(rig.Open(100));
    EXPECT_EQ(rig.dialog.OnCommand(CBetDialog::kCancel), 0u);
    EXPECT_EQ(rig.dialog.OnCommand(CBetDialog::kOk), 12u);
    EXPECT_EQ(rig.owner.commands, (std::vector<u32>{CBetDialog::kCancel, CBetDialog::kOk}));
    EXPECT_EQ(rig.sounds, (std::vector<u16>{4032, 4032}));
}

// An NPC whose maximum bet is below the smallest step still plays for one step: the bet opens at 10,
// above the maximum, none of the four bet buttons takes a tap, and Ok and Cancel still go through.
TEST(BetDialog, AMaximumBelowTenOpensAtTenWithNoBetButtons) {
    for (const i32 maximum : {7, 0}) {
        SCOPED_TRACE(maximum);
        BetRig rig;
        ASSERT_TRUE(rig.Open(maximum));
        EXPECT_EQ(rig.dialog.Bet(), 10);
        EXPECT_EQ(rig.dialog.betLabel.text.GetText(), BetText(10));
        for (const CBitmapButton* button : {&rig.dialog.raiseButton, &rig.dialog.lowerButton,
                                            &rig.dialog.maximumButton, &rig.dialog.minimumButton})
            EXPECT_FALSE(TakesPen(*button));
        EXPECT_TRUE(TakesPen(rig.dialog.okButton));
        EXPECT_TRUE(TakesPen(rig.dialog.cancelButton));
        EXPECT_EQ(rig.dialog.OnCommand(CBetDialog::kCancel), 0u);
        EXPECT_EQ(rig.dialog.OnCommand(CBetDialog::kOk), 12u);
        EXPECT_EQ(rig.owner.commands, (std::vector<u32>{CBetDialog::kCancel, CBetDialog::kOk}));
        EXPECT_EQ(rig.sounds, (std::vector<u16>{4032, 4032}));
    }
}

}  // namespace

namespace {

// The dialog as drawn, cut out of the frame so that the screen behind it does not matter.
testing_support::Rgb565Image DialogPixels(BetRig& rig) {
    rig.dialog.Draw();
    const testing_support::Rgb565Image frame = rig.Capture();
    testing_support::Rgb565Image out;
    out.width = static_cast<int>(rig.dialog.width);
    out.height = static_cast<int>(rig.dialog.height);
    for (int row = 0; row < out.height; ++row)
        for (int col = 0; col < out.width; ++col)
            out.pixels.push_back(
                frame.At(static_cast<int>(rig.dialog.x) + col, static_cast<int>(rig.dialog.y) + row));
    return out;
}

TEST(BetDialog, DrawnWithTheBetBetweenItsButtons) {
    BetRig rig;
    ASSERT_TRUE(rig.Open(250));
    rig.dialog.OnCommand(CBetDialog::kRaise);
    ASSERT_LE(rig.dialog.x + rig.dialog.width, static_cast<u32>(rig.Capture().width));
    EXPECT_TRUE(testing_support::MatchesGolden("screens/bet_dialog_mode15", DialogPixels(rig)));
}

}  // namespace
