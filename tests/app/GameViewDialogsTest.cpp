// The game's side of the spell and travel dialogs: the open worlds and their maps, the place a mark
// stores, and what the dialogs ask of a game view that offers travel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "tests/support/FrameRig.h"
#include "world/GameScreen.h"
#include "world/GameViewTravel.h"

namespace {

// A game view that offers travel and logs what it is asked.
class TravellingView : public CGameScreen {
public:
    bool GetPlayerCell(int& x, int& y) const override {
        x = 7;
        y = 9;
        return true;
    }
    void PostMapTransition(const char* world, const char* map, int x, int y, int direction, int kind) override {
        log.push_back(std::string("transition ") + world + " " + map + " " + std::to_string(x) + "," +
                      std::to_string(y) + " " + std::to_string(direction) + " kind " + std::to_string(kind));
    }
    void ChangeMap(const char* destination) override { log.push_back(std::string("change map ") + destination); }
    void StopQueuedSounds(bool stopMusic) override { log.push_back(stopMusic ? "stop with music" : "stop"); }
    void ShowGameMessage(const char* text) override { log.push_back(std::string("message ") + text); }
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        CloseModal();
        return 0;
    }
    std::vector<std::string> log;
    std::vector<u32> commands;
};

struct WorldRig : testing_support::FrameRig {
    // Puts a travelling view in the game view's place, on the same frame buffer and 3D view.
    TravellingView* InstallTravellingView() {
        auto view = std::make_unique<TravellingView>();
        view->viewState = Game()->GetGameScreen()->viewState;
        TravellingView* raw = view.get();
        Game()->SetScreen(kScreenGame, std::move(view));
        raw->Attach(Game());
        return raw;
    }
    CWorld& World() const { return *Game()->worlds->Current(); }
};

TEST(GameViewDialogs, TheOpenWorldsAndTheirMaps) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CGameViewDialogs& dialogs = rig.Game()->GetViewDialogs();
    CWorld& world = rig.World();
    ASSERT_GT(world.SectionCount(), 0u);
    const std::string id = world.shortName.GetText();
    const char* map = world.SectionAt(0)->GetName();
    EXPECT_TRUE(dialogs.HasWorld(id.c_str()));
    EXPECT_TRUE(dialogs.HasWorld((id + "_more").c_str())) << "worlds are told apart by four characters";
    EXPECT_FALSE(dialogs.HasWorld("zzzz"));
    EXPECT_TRUE(dialogs.HasMap(id.c_str(), map));
    EXPECT_FALSE(dialogs.HasMap(id.c_str(), "no_such_map"));
    EXPECT_FALSE(dialogs.HasMap("zzzz", map));
    ASSERT_NE(dialogs.GetRules(), nullptr);
    EXPECT_EQ(dialogs.GetPlayer(), &rig.Game()->GetPlayer());

    // The stand-in view offers no travel: nothing to mark.
    world.currentSection = world.SectionAt(0);
    CMarkPlace place;
    EXPECT_FALSE(dialogs.GetCurrentPlace(place));
}

TEST(GameViewDialogs, MarkAndRecallThroughATravellingView) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    TravellingView* view = rig.InstallTravellingView();
    view->facing = 100;
    CWorld& world = rig.World();
    CMapSection* section = world.SectionAt(0);
    ASSERT_NE(section, nullptr);
    world.currentSection = section;
    CGameViewDialogs& dialogs = rig.Game()->GetViewDialogs();
    CPlayer& player = rig.Game()->GetPlayer();

    ASSERT_TRUE(dialogs.OpenMarkRecall(true));
    EXPECT_EQ(view->modalChild, &dialogs.markRecall);
    ASSERT_FALSE(player.marks.empty());
    dialogs.markRecall.OnCommand(CMarkRecallDialog::kOk);
    const CMarkedPosition& mark = player.marks[0];
    EXPECT_EQ(mark.world, world.shortName.GetText());
    EXPECT_EQ(mark.map, section->GetName());
    EXPECT_EQ(mark.x, 7);
    EXPECT_EQ(mark.y, 9);
    EXPECT_EQ(mark.facing, 1);
    EXPECT_EQ(mark.text3, world.title.GetText());
    EXPECT_EQ(view->commands, std::vector<u32>{CMarkRecallDialog::kCancel});
    EXPECT_EQ(view->modalChild, nullptr);

    ASSERT_TRUE(dialogs.OpenMarkRecall(false));
    dialogs.markRecall.OnCommand(CMarkRecallDialog::kOk);
    EXPECT_EQ(view->log, (std::vector<std::string>{"message Position has been marked.",
                                                    "transition " + mark.world + " " + mark.map + " 7,9 1 kind 1"}));
}

TEST(GameViewDialogs, TheVoyageAndTheBookOpenOverTheView) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    TravellingView* view = rig.InstallTravellingView();
    CGameViewDialogs& dialogs = rig.Game()->GetViewDialogs();

    ASSERT_TRUE(dialogs.OpenVoyage("Across the sea.", "base_harbour"));
    EXPECT_EQ(view->modalChild, &dialogs.voyage);
    EXPECT_TRUE(dialogs.voyage.HoldsPicture());
    dialogs.voyage.OnCommand(CRealmTravelDialog::kOk);
    dialogs.ReleaseVoyagePicture();
    EXPECT_FALSE(dialogs.voyage.HoldsPicture());
    EXPECT_EQ(view->log, (std::vector<std::string>{"stop with music", "change map base_harbour"}));
    EXPECT_EQ(view->commands, std::vector<u32>{CRealmTravelDialog::kOk});

    ASSERT_TRUE(dialogs.OpenSpellBook());
    EXPECT_EQ(view->modalChild, &dialogs.spellBook);
    EXPECT_EQ(dialogs.spellBook.GetPage(), 1);
    EXPECT_EQ(dialogs.GetSelectedItem(), nullptr);
    // Heal magic for a living player: the page names its school.
    rig.Game()->GetPlayer().race = 2;
    dialogs.spellBook.ShowPage();
    EXPECT_STREQ(dialogs.spellBook.message.text.GetText(), "You don't know any Heal spells.");
}

TEST(GameViewDialogs, ThePlayersStateRefusesTheBookAndRecall) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    TravellingView* view = rig.InstallTravellingView();
    CGameViewDialogs& dialogs = rig.Game()->GetViewDialogs();
    CPlayer& player = rig.Game()->GetPlayer();
    player.marks.assign(2, CMarkedPosition{});
    player.effects[kListMagicImmunity].push_back(CActiveEffect{});

    EXPECT_FALSE(dialogs.OpenSpellBook());
    EXPECT_FALSE(dialogs.OpenMarkRecall(false));
    EXPECT_EQ(view->modalChild, nullptr);
    EXPECT_EQ(view->log, (std::vector<std::string>{"message You have active magic immunity effect.",
                                                    "message You haven't marked any positions to recall."}));
    // Marking needs no marked place, and recall opens once one is marked.
    EXPECT_TRUE(dialogs.OpenMarkRecall(true));
    player.marks[1].world = "base";
    EXPECT_TRUE(dialogs.OpenMarkRecall(false));
    player.effects[kListMagicImmunity].clear();
    EXPECT_TRUE(dialogs.OpenSpellBook());
}

}  // namespace
