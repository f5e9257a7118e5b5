// A new player's first day in the town, played in one sitting on the real game: walk up to each of the
// town's people, "use" them face to face, talk through their topics, take the three quests from those
// who give them, carry each to its end and take the reward, then rent a room at the inn and sleep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/Game.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "screens/npc/CardGameScreen.h"
#include "screens/npc/RestDialog.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/TalkScreen.h"
#include "tests/app/NewGameRig.h"
#include "ui/ScreenIds.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace {

struct TownDayRig : testing_support::TownRig {
    CMapSection* Section(const char* name) {
        CWorld* world = Game()->worlds->Current();
        return world ? world->FindSectionByName(name) : nullptr;
    }
    // The town's person of that NPC in the section.
    CMonster* Person(CMapSection& section, const char* npc) {
        for (CMonster& m : section.monsters) {
            const CMonsterType* type = m.Type();
            if (type && type->npcId && std::strcmp(type->npcId, npc) == 0) return &m;
        }
        return nullptr;
    }
    // Steps into the cell before the person's face, turns to it and presses "use" (the space bar). A
    // person who wanders is followed until it stands still long enough.
    CScreen* UseFaceToFace(const char* sectionName, const char* npc) {
        CMapSection* section = Section(sectionName);
        if (!section) return nullptr;
        for (int attempt = 0; attempt < 5; ++attempt) {
            CMonster* m = Person(*section, npc);
            if (!m) return nullptr;
            static constexpr i32 kAhead[4][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};
            const int quarter = creature::Facing(*m);
            const i32 x = m->x + kAhead[quarter][0];
            const i32 y = m->y + kAhead[quarter][1];
            View()->EnterMapAt(Game()->worlds->Current(), section, x, y, static_cast<u32>((quarter + 2) & 3));
            Tick(30);
            m = Person(*section, npc);
            if (!m || m->x + kAhead[creature::Facing(*m)][0] != x ||
                m->y + kAhead[creature::Facing(*m)][1] != y)
                continue;
            Key(32);
            for (int i = 0; i < 3; ++i) Tick(30);
            if (Current() != View()) return Current();
        }
        return nullptr;
    }
    static std::string Speech(const CTalkScreen& talk) {
        std::string speech;
        for (const CTextViewLineArray* lines : {&talk.speechView.rows, &talk.speechView.pending})
            for (u32 i = 0; i < lines->Count(); ++i) speech += std::string(lines->At(i).text.GetText()) + " ";
        return speech;
    }
    static bool Shows(const CTalkScreen& talk, const char* link) {
        const std::vector<std::string> shown = talk.ShownLinks();
        return std::find(shown.begin(), shown.end(), link) != shown.end();
    }
    bool TapLink(CTalkScreen& talk, const char* text) {
        for (const auto& link : talk.links)
            if (link->IsShown() && std::strcmp(link->text.GetText(), text) == 0) {
                TapWidget(*link);
                Settle();
                GoOn(talk);
                return true;
            }
        return false;
    }
    // "Continue" while the speech holds more than its view shows.
    void GoOn(CTalkScreen& talk) {
        for (int i = 0; i < 8 && talk.GetConversation()->GetPhase() == CConversation::Phase::Continue; ++i) {
            TapWidget(talk.continueButton);
            Settle();
        }
    }
    // From a services menu into its talk.
    CTalkScreen* TalkFromMenu(CServicesScreen& services) {
        if (!TapService(services, kServicesTalk)) return nullptr;
        Settle();
        return dynamic_cast<CTalkScreen*>(Current());
    }
    // Out of the talk (and the menu under it) back to the game view.
    void Leave(CTalkScreen& talk, CServicesScreen* services = nullptr) {
        TapWidget(talk.exitLink);
        Settle();
        if (services) {
            TapWidget(services->leaveButton);
            Settle();
        }
    }
    const CPlayerQuest* Quest(const char* id) {
        for (const CPlayerQuest& q : Game()->player.quests)
            if (q.id == id) return &q;
        return nullptr;
    }
};

TEST(TownNpcsInPlay, AFirstDayTalkingToEveryoneEndsEachQuestAndANightAtTheInn) {
    TownDayRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CPlayer& player = game.player;
    CGameScreen* view = rig.View();
    player.gold = 500;
    const char* town = "base_s0202";

    // The shepherd: no services, her talk opens at once. A topic, then a question and an answer.
    {
        SCOPED_TRACE("Tamsin");
        auto* talk = dynamic_cast<CTalkScreen*>(rig.UseFaceToFace(town, "Tamsin"));
        ASSERT_NE(talk, nullptr);
        EXPECT_NE(rig.Speech(*talk).find("A traveller"), std::string::npos);
        ASSERT_TRUE(rig.TapLink(*talk, "News"));
        EXPECT_NE(rig.Speech(*talk).find("Wolves came down"), std::string::npos) << rig.Speech(*talk);
        ASSERT_TRUE(rig.TapLink(*talk, "The wolves"));
        EXPECT_TRUE(rig.Shows(*talk, "Not today."));
        ASSERT_TRUE(rig.TapLink(*talk, "I will clear the den."));
        const std::string speech = rig.Speech(*talk);
        EXPECT_NE(speech.find("I will clear the den."), std::string::npos) << speech;
        EXPECT_NE(speech.find("May the road be kind"), std::string::npos) << speech;
        EXPECT_EQ(speech.find("Another day"), std::string::npos) << speech;
        EXPECT_FALSE(rig.Shows(*talk, "Not today."));
        // The other answer, the other line: the lines after the question ask for the answer given.
        ASSERT_TRUE(rig.TapLink(*talk, "The wolves"));
        ASSERT_TRUE(rig.TapLink(*talk, "Not today."));
        const std::string later = rig.Speech(*talk);
        EXPECT_NE(later.find("Another day, then."), std::string::npos) << later;
        EXPECT_EQ(later.find("May the road", later.find("Not today.")), std::string::npos) << later;
        rig.Leave(*talk);
        ASSERT_EQ(rig.Current(), view);
    }

    // The merchant's ring: her talk hands over the quest; the journal has it under its title.
    u32 gold = player.gold;
    {
        SCOPED_TRACE("Hesper, the quest");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Hesper"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "Your ring"));
        const CPlayerQuest* ring = rig.Quest("bres_q_ring");
        ASSERT_NE(ring, nullptr) << rig.Speech(*talk);
        EXPECT_EQ(ring->state, 0);
        const std::string speech = rig.Speech(*talk);
        EXPECT_NE(speech.find("You have a new quest: Harbour Ring."), std::string::npos) << speech;
        EXPECT_NE(speech.find("I dropped my ring by the well, " + std::string(player.name.GetText())),
                  std::string::npos)
            << speech;
        rig.Leave(*talk, services);
        ASSERT_EQ(rig.Current(), view);
    }

    // The ring lies in its bag by the well of the eastern fields; it goes into the player's items.
    {
        SCOPED_TRACE("the well");
        CMapSection* fields = rig.Section("base_s0302");
        ASSERT_NE(fields, nullptr);
        view->EnterMapAt(game.worlds->Current(), fields, 10, 9, 0);
        rig.SettleView();
        CItemBag* bag = nullptr;
        for (int i = 0; i < fields->bags.Count() && !bag; ++i)
            if (fields->bags.At(i)->GetItemCount() > 0) bag = fields->bags.At(i);
        ASSERT_NE(bag, nullptr);
        CItemInstance* found = bag->GetItem(0);
        ASSERT_STREQ(found->type->GetName(), "bres_ring");
        bag->items.RemovePointer(found);
        player.TakeItem(found);
        ASSERT_EQ(player.CountItems("bres_ring"), 1);
    }

    // Back to the merchant: the ring for a hundred gold; the quest is solved and its topic gone.
    {
        SCOPED_TRACE("Hesper, the reward");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Hesper"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "Your ring"));
        EXPECT_EQ(player.CountItems("bres_ring"), 0);
        EXPECT_EQ(player.gold, gold + 100);
        ASSERT_NE(rig.Quest("bres_q_ring"), nullptr);
        EXPECT_EQ(rig.Quest("bres_q_ring")->state, 1);
        EXPECT_NE(rig.Speech(*talk).find("The Harbour Ring quest has been solved."), std::string::npos);
        EXPECT_FALSE(rig.Shows(*talk, "Your ring"));
        rig.Leave(*talk, services);
    }

    // The elder, up the north road: the errand comes with his letter. Before it the smith has nothing
    // to say of a letter (the line's condition asks for the quest).
    {
        SCOPED_TRACE("Corwen, before the errand");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Corwen"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        EXPECT_FALSE(rig.Shows(*talk, "The elder's letter"))
            << int(talk->GetConversation()->GetPhase()) << " " << talk->GetConversation()->GetTopics().size()
            << rig.Speech(*talk);
        rig.Leave(*talk, services);
    }
    {
        SCOPED_TRACE("Bram");
        auto* talk = dynamic_cast<CTalkScreen*>(rig.UseFaceToFace("base_s0201", "Bram"));
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "The vale"));
        ASSERT_TRUE(rig.TapLink(*talk, "An errand"));
        ASSERT_NE(rig.Quest("base_q_elder"), nullptr) << rig.Speech(*talk);
        EXPECT_EQ(player.CountItems("base_letter_elder"), 1);
        EXPECT_NE(rig.Speech(*talk).find("Take this letter to Corwen"), std::string::npos);
        rig.Leave(*talk);
    }
    gold = player.gold;
    {
        SCOPED_TRACE("Corwen, the letter");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Corwen"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "The elder's letter"));
        EXPECT_EQ(player.CountItems("base_letter_elder"), 0);
        EXPECT_EQ(rig.Quest("base_q_elder")->state, 1);
        EXPECT_EQ(player.gold, gold + 50);
        EXPECT_NE(rig.Speech(*talk).find("The Elder's Errand quest has been solved."), std::string::npos);
        EXPECT_FALSE(rig.Shows(*talk, "The elder's letter"))
            << int(talk->GetConversation()->GetPhase()) << " " << talk->GetConversation()->GetTopics().size()
            << rig.Speech(*talk);
        rig.Leave(*talk, services);
    }

    // The innkeeper's knocking: her line hands the quest over; the shrine's bell in the crypt ends it
    // once, and only once, with her reward.
    {
        SCOPED_TRACE("Maren, the quest");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Maren"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "Rooms"));
        ASSERT_TRUE(rig.TapLink(*talk, "The knocking"));
        ASSERT_NE(rig.Quest("base_q_cellar"), nullptr);
        EXPECT_NE(rig.Speech(*talk).find("You have a new quest: Knocking Below."), std::string::npos);
        rig.Leave(*talk, services);
    }
    gold = player.gold;
    const u32 xp = player.xp;
    {
        // On foot from the ladder's foot to the bell, as the quest sends the player: the locked door
        // opened with the key that lies in the entrance hall (this character's lockpicking is too poor
        // for its lock), past the trap, across the chamber to the lever in its north wall, and through
        // the gate it raises. The crypt's keepers are left out (their fights are played elsewhere).
        SCOPED_TRACE("the shrine");
        CMapSection* crypt = rig.Section("base_crypt");
        ASSERT_NE(crypt, nullptr);
        view->EnterMapAt(game.worlds->Current(), crypt, 17, 31, 0);
        rig.SettleView();
        ASSERT_EQ(view->section, crypt);
        for (const CMonster& m : crypt->monsters) view->window.RemoveCreatureFromCell(crypt, m);
        crypt->monsters.clear();
        view->EnterCreatures();
        auto closeMessages = [&] {
            for (int i = 0; i < 10 && view->screenMode == CGameScreen::kModeMessage; ++i) {
                rig.Key(32);
                rig.SettleView();
            }
        };
        // Turns to a quarter (0 north, 1 east, 2 south, 3 west) and takes that many steps.
        auto walk = [&](u32 quarter, int steps) {
            for (int turn = 0; turn < 4 && CGameScreen::DirectionOfFacing(view->facing) != quarter; ++turn) {
                const u32 now = CGameScreen::DirectionOfFacing(view->facing);
                rig.Key(quarter == ((now + 1) & 3) ? 39 : 37);
                rig.SettleView();
            }
            // A step that did not go (the view still busy after the trap's blow) is tried again.
            for (int i = 0, tries = 0; i < steps && tries < 4 * steps + 8; ++tries) {
                const i32 x = view->playerX, y = view->playerY;
                rig.Key(38);
                rig.SettleView();
                closeMessages();
                if (x != view->playerX || y != view->playerY) ++i;
            }
        };
        // The key lies on the hall's floor beside the ladder's foot, with two healing potions and water.
        const CItemBag* pile = crypt->bags.FindBagById(2);
        ASSERT_TRUE(pile && pile->GetItemCount() == 4 && pile->x == 19 && pile->y == 32);
        ASSERT_STREQ(pile->GetItem(0)->type->GetName(), "base_key_crypt");
        ASSERT_NE(player.FindItem("base_key_crypt", 1, false), nullptr);
        walk(0, 4);
        ASSERT_EQ(view->playerY, 27);
        const CPlacement* door = crypt->FindPlacementByName("base_crypt_door");
        ASSERT_NE(door, nullptr);
        rig.Key(32);
        for (int i = 0; i < 200 && (door->flags & (mapobject::kOpening | mapobject::kClosed)); ++i) rig.Tick(30);
        closeMessages();
        walk(0, 19);  // through the door, over the trap, across the chamber to its north wall
        ASSERT_EQ(view->playerY, 8) << "mode " << int(view->screenMode) << " hp " << player.hp;
        walk(3, 5);
        ASSERT_EQ(view->playerX, 12);
        walk(0, 0);
        const CPlacement* gate = crypt->FindPlacementByName("base_crypt_gate");
        ASSERT_NE(gate, nullptr);
        rig.Key(32);  // the lever
        for (int i = 0; i < 200 && (gate->flags & (mapobject::kOpening | mapobject::kClosed)); ++i) rig.Tick(30);
        closeMessages();
        EXPECT_EQ(gate->flags & (mapobject::kOpening | mapobject::kClosed), 0) << "the lever raised the gate";
        walk(1, 5);
        walk(0, 4);
        ASSERT_EQ(view->playerX, 17);
        ASSERT_EQ(view->playerY, 4) << "before the bell";
        for (int ring = 0; ring < 2; ++ring) {
            rig.Key(32);
            rig.Tick(30);
            closeMessages();
        }
        EXPECT_EQ(rig.Quest("base_q_cellar")->state, 1);
        EXPECT_EQ(player.gold, gold + 150) << "the bell pays once";
        EXPECT_EQ(player.xp, xp + 100) << "and teaches once";
    }

    // The trainer, the enchanter and the card player answer the use key with their screens.
    {
        SCOPED_TRACE("Aldo");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Aldo"));
        ASSERT_NE(services, nullptr);
        EXPECT_TRUE(rig.TapService(*services, kServicesTraining));
        rig.Settle();
        EXPECT_EQ(services->modalChild, &services->trainingDialog);
        rig.CloseWith(*services, services->trainingDialog.cancelButton);
        rig.TapWidget(services->leaveButton);
        rig.Settle();
    }
    {
        SCOPED_TRACE("Ysolde");
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Ysolde"));
        ASSERT_NE(services, nullptr);
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        EXPECT_NE(rig.Speech(*talk).find("Yes?"), std::string::npos);
        rig.Leave(*talk, services);
    }
    {
        SCOPED_TRACE("Fenn");
        // The card game is a service: the menu comes first, with its button.
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Fenn"));
        ASSERT_NE(services, nullptr);
        EXPECT_TRUE(std::any_of(services->buttons.begin(), services->buttons.end(),
                                [](const auto& b) { return static_cast<u32>(b.command) == kServicesCards; }));
        CTalkScreen* talk = rig.TalkFromMenu(*services);
        ASSERT_NE(talk, nullptr);
        ASSERT_TRUE(rig.TapLink(*talk, "The game"));
        EXPECT_NE(rig.Speech(*talk).find("Five cards in hand"), std::string::npos);
        rig.Leave(*talk, services);
    }
    ASSERT_EQ(rig.Current(), view);

    // A room at the inn: the rent goes, eight hours pass and the player wakes with full hit points.
    {
        SCOPED_TRACE("the inn");
        player.hp = 3;
        auto* services = dynamic_cast<CServicesScreen*>(rig.UseFaceToFace(town, "Maren"));
        ASSERT_NE(services, nullptr);
        gold = player.gold;
        const u32 clock = view->gameClock.Minutes();
        ASSERT_TRUE(rig.TapService(*services, kServicesSleep));
        rig.Settle();
        ASSERT_EQ(services->modalChild, &services->messageBar);
        services->OnCommand(CButtonBar::kYes);
        ASSERT_EQ(services->modalChild, &services->restDialog);
        EXPECT_LT(player.gold, gold);
        EXPECT_EQ(view->gameClock.Minutes(), clock + 8 * 60);
        for (int hour = 1; hour < 8; ++hour) rig.Tick(1001);
        EXPECT_GE(player.hp, player.GetMaxHp());
        rig.CloseWith(*services, services->restDialog.closeButton);
        rig.TapWidget(services->leaveButton);
        rig.Settle();
        EXPECT_EQ(rig.Current(), view);
    }

    // The journal holds the three quests, each solved.
    for (const char* id : {"bres_q_ring", "base_q_elder", "base_q_cellar"}) {
        SCOPED_TRACE(id);
        ASSERT_NE(rig.Quest(id), nullptr);
        EXPECT_EQ(rig.Quest(id)->state, 1);
    }
}

}  // namespace
