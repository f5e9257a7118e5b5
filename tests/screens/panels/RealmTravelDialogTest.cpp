// The ship voyage on the started game: the picture and text it shows while the travel sound loops,
// the order in which OK stops the sound and enters the destination, and its frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/panels/RealmTravelDialog.h"
#include "tests/screens/panels/ViewDialogTesting.h"

namespace {

using view_dialog_testing::DialogRig;
using view_dialog_testing::FakeViewDialogHost;

struct RealmTravelTest : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.Start());
        dialog.SetHost(&host);
        rig.Show(dialog);
    }
    DialogRig rig;
    PlayerWorld world;
    FakeViewDialogHost host{world};
    CRealmTravelDialog dialog;
};

TEST_F(RealmTravelTest, TheSoundLoopsUntilOkThenTheMapChanges) {
    dialog.Open("You sail east.", "embr_harbour");
    EXPECT_EQ(host.log, (std::vector<std::string>{"stop queued sounds and music", "loop bsnd_shiptravel"}));
    EXPECT_STREQ(dialog.text.text.GetText(), "You sail east.");
    EXPECT_TRUE(dialog.HoldsPicture());
    EXPECT_TRUE(dialog.view.IsShown());
    EXPECT_TRUE(dialog.okButton.IsShown());

    host.log.clear();
    rig.TapOn(dialog.view);  // the picture is no way out
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(rig.owner->commands.empty());
    rig.TapOn(dialog.okButton);
    EXPECT_EQ(host.log, (std::vector<std::string>{"stop samples", "change map embr_harbour"}));
    EXPECT_EQ(rig.owner->commands, std::vector<u32>{CRealmTravelDialog::kOk});
    EXPECT_EQ(rig.clicks, std::vector<u16>{4032});
}

TEST_F(RealmTravelTest, AVoyageWithoutDestinationKeepsThePreviousOne) {
    dialog.Open("Out.", "embr_harbour");
    for (const char* none : {static_cast<const char*>(nullptr), ""}) {
        dialog.Open("And back.", none);
        EXPECT_STREQ(dialog.GetDestination(), "embr_harbour");
    }
    dialog.Open("Home.", "base_town");
    EXPECT_STREQ(dialog.GetDestination(), "base_town");
}

TEST_F(RealmTravelTest, ThePictureIsReadOnOpeningAndReleasedByTheOwner) {
    dialog.Open("Out.", "embr_harbour");
    ASSERT_TRUE(dialog.HoldsPicture());
    EXPECT_NE(dialog.view.picture, nullptr);
    dialog.ReleasePicture();
    EXPECT_FALSE(dialog.HoldsPicture());
    EXPECT_EQ(dialog.view.picture, nullptr);
    dialog.Open("Again.", nullptr);
    EXPECT_TRUE(dialog.HoldsPicture());
}

TEST(RealmTravelDialog, Frames) {
    for (const u32 mode : {15u, 10u}) {
        DialogRig rig;
        ASSERT_TRUE(rig.Start(mode));
        PlayerWorld world;
        FakeViewDialogHost host{world};
        CRealmTravelDialog dialog;
        dialog.SetHost(&host);
        rig.Show(dialog);
        dialog.Open("The ship sets sail for the Ember Caves.", "embr_harbour");
        EXPECT_TRUE(testing_support::MatchesGolden("screens/realm_travel_mode" + std::to_string(mode),
                                                   rig.Draw(dialog)));
    }
}

}  // namespace
