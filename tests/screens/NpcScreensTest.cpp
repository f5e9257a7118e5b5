#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Npc.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/TalkScreen.h"
#include "tests/screens/FakeCustomer.h"
#include "tests/screens/NpcEntry.h"
#include "tests/support/FrameRig.h"

namespace {

// A hundred gold, hurt and poisoned, no trade bonus.
struct Customer : FakeCustomer {
    Customer() {
        gold = 100;
        mana = 4;
        poisoned = true;
        bonusPercent = 0;
    }
};

CDialogueLine* Line(const char* text, std::vector<const char*> answers = {}) {
    auto* l = new CDialogueLine;
    l->text = text;
    for (const char* a : answers) {
        auto* c = new CDialogueChoice;
        c->text = a;
        l->choices[l->choiceCount++] = c;
    }
    return l;
}

void AddEntry(CPointerArray& list, const char* title, const char* prompt, std::vector<CDialogueLine*> lines) {
    auto* e = new CDialogueEntry;
    e->textA = title;
    e->textB = prompt;
    for (CDialogueLine* l : lines) e->lines.Add(l);
    list.Add(e);
}

// The game at the main menu with an NPC handed to the screen `id` as the game view's talk event does.
struct NpcRig : testing_support::FrameRig {
    CNpc npc;
    CDialogue dialogue;
    Customer customer;

    NpcRig() {
        npc.SetName("Maren Holt");
        npc.texts[2] = "Welcome to the Drowsy Heron!";
        npc.bytes[1] = 8;  // price level
        AddEntry(dialogue.greetings, "hello", nullptr, {Line("Good day, traveller.")});
        AddEntry(dialogue.topics, "Rooms", "Do you have a room?",
                 {Line("A bed and a warm meal, every night.")});
        AddEntry(dialogue.topics, "Wolves", "Any news?",
                 {Line("Wolves took two sheep last night. Will you hunt them?", {"I will.", "Not now."}),
                  Line("Bless you. Bring me their pelts.")});
        npc.dialogue = &dialogue;
    }
    ~NpcRig() { npc.dialogue = nullptr; }

    bool Open(u32 id, u8 flags, const char* profile) {
        npc.bytes[2] = flags;
        npc.texts[1] = profile;
        if (!StartOnBuiltDatabase()) return false;
        Key(27);  // past the splash
        return EnterNpcScreen(*this, npc, customer, id);
    }
    CTalkScreen* Talk() const { return static_cast<CTalkScreen*>(Game()->GetScreen(kScreenTalk)); }
    CServicesScreen* Services() const {
        return static_cast<CServicesScreen*>(Game()->GetScreen(kScreenServices));
    }
    u32 Command(u32 command) {
        const u32 code = Current()->OnCommand(command);
        if (code) Game()->SwitchScreen(code);
        Tick();
        return code;
    }
};

}  // namespace

TEST(NpcScreens, ServicesMenuWithoutAProfileWorksAndLeaves) {
    NpcRig rig;
    // A profile id that names no profile: no animation, no own music, the menu works.
    ASSERT_TRUE(
        rig.Open(kScreenServices, kServiceBuySell | kServiceSleep | kServiceCards, "base_missingprofile"));
    CServicesScreen& s = *rig.Services();
    EXPECT_EQ(s.GetProfile(), nullptr);
    EXPECT_STREQ(s.musicName.GetText(), "");
    std::vector<std::string> captions;
    for (const ServiceButton& b : s.buttons) captions.push_back(b.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Talk", "Buy/sell", "Sleep", "Cards"}));
    EXPECT_STREQ(s.welcomeLabel.text.GetText(), "Welcome to the Drowsy Heron!");
    EXPECT_EQ(rig.Command(kServicesLeave), kScreenBack);
    EXPECT_NE(rig.Current(), &s);
}

TEST(NpcScreens, InnRentsARoomRestsAndRestores) {
    NpcRig rig;
    ASSERT_TRUE(rig.Open(kScreenServices, kServiceSleep, "base_innkeeper"));
    CServicesScreen& s = *rig.Services();
    rig.Command(kServicesSleep);
    EXPECT_EQ(s.screenState, CServicesScreen::kInnMessage);
    // Between the offer and the answer the gold ran short: nothing is taken, the refusal shows.
    rig.customer.gold = 39;
    rig.Command(CButtonBar::kYes);
    EXPECT_EQ(rig.customer.gold, 39u);
    EXPECT_EQ(s.screenState, CServicesScreen::kInnMessage);
    rig.Command(CButtonBar::kOk);
    EXPECT_EQ(s.screenState, CServicesScreen::kMenu);

    rig.customer.gold = 100;
    rig.Command(kServicesSleep);
    rig.Command(CButtonBar::kYes);
    EXPECT_EQ(rig.customer.gold, 60u);  // five times the price level 8
    EXPECT_EQ(s.screenState, CServicesScreen::kResting);
    EXPECT_EQ(s.restDialog.GetHour(), 1u);
    // "1 hour", then "2 hours" and on: the word follows the count.
    EXPECT_STREQ(s.restDialog.hoursLabel.text.GetText(), "hour");
    for (int i = 0; i < 400 && s.restDialog.GetHour() < 2; ++i) rig.Tick(30);
    EXPECT_EQ(s.restDialog.GetHour(), 2u);
    EXPECT_STREQ(s.restDialog.hoursLabel.text.GetText(), "hours");
    for (int i = 0; i < 400 && s.restDialog.GetHour() < 8; ++i) rig.Tick(30);
    EXPECT_EQ(s.restDialog.GetHour(), 8u);
    EXPECT_EQ(rig.customer.hp, 50);
    EXPECT_EQ(rig.customer.mana, 25);
    EXPECT_FALSE(rig.customer.poisoned);
    EXPECT_NE(std::string(s.restDialog.GetWakeText()).find("Maren Holt serves delicious food"),
              std::string::npos);
    EXPECT_NE(std::string(s.restDialog.GetWakeText()).find("no longer poisoned"), std::string::npos);
    EXPECT_TRUE(s.restDialog.closeButton.IsShown());
    rig.Command(CRestDialog::kCloseCommand);
    EXPECT_EQ(s.screenState, CServicesScreen::kMenu);
    EXPECT_EQ(s.sleptFlag, 1u);
}

TEST(NpcScreens, TalkThroughATopicAndAnAnswer) {
    NpcRig rig;
    ASSERT_TRUE(rig.Open(kScreenServices, kServiceSleep, "base_innkeeper"));
    rig.Command(kServicesTalk);
    ASSERT_EQ(rig.Current(), rig.Talk());
    rig.Tick();
    CTalkScreen& t = *rig.Talk();
    EXPECT_EQ(t.ShownLinks(), (std::vector<std::string>{"Rooms", "Wolves", "Back"}));
    rig.Command(kTalkTopicBase + 1);
    EXPECT_EQ(t.ShownLinks(), (std::vector<std::string>{"Rooms", "Wolves", "I will.", "Not now.", "Back"}));
    rig.Command(kTalkAnswerBase + 0);
    EXPECT_EQ(t.GetConversation()->GetPhase(), CConversation::Phase::Menu);
    EXPECT_EQ(rig.Command(kTalkExit), kScreenBack);
    EXPECT_EQ(rig.Current(), rig.Services());
}

TEST(NpcScreens, TalkWithoutAProfileOffersServicesAndGoodbye) {
    NpcRig rig;
    ASSERT_TRUE(rig.Open(kScreenTalk, kServiceBuySell | kServiceRepair, nullptr));
    rig.Tick();
    EXPECT_EQ(rig.Talk()->ShownLinks(),
              (std::vector<std::string>{"Buy/sell", "Repair", "Rooms", "Wolves", "Goodbye"}));
    EXPECT_EQ(rig.Command(kTalkBuySell), kScreenShop);
}

TEST(NpcScreens, GoldenFrames) {
    {
        NpcRig rig;
        ASSERT_TRUE(
            rig.Open(kScreenServices, kServiceBuySell | kServiceTraining | kServiceSleep, "base_innkeeper"));
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/services_mode15", rig.Capture()));
    }
    {
        NpcRig rig;
        ASSERT_TRUE(rig.Open(kScreenTalk, kServiceBuySell, nullptr));
        rig.Tick();
        rig.Command(kTalkTopicBase + 1);
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/talk_mode15", rig.Capture()));
    }
}

TEST(NpcScreens, GoodbyeLeavesOnlyTheExitAndTheBackKeyLeaves) {
    NpcRig rig;
    ASSERT_TRUE(rig.Open(kScreenTalk, kServiceBuySell, nullptr));
    rig.Tick();
    CTalkScreen& t = *rig.Talk();
    t.EndTalk();  // the script command goodbye
    EXPECT_EQ(t.ShownLinks(), std::vector<std::string>{"Goodbye"});
    EXPECT_TRUE(t.exitLink.state & kWidgetPenEnabled);
    const u32 code = t.OnKey(kCommandBack);
    EXPECT_EQ(code, kScreenBack);
}

TEST(NpcScreens, SmallSquareLayoutPagesTheLinksSixAtATime) {
    NpcRig rig;
    for (const char* title : {"Harvest", "Weather", "Roads", "Bandits"})
        AddEntry(rig.dialogue.topics, title, nullptr, {Line("Hm.")});
    ASSERT_TRUE(rig.Open(kScreenTalk, kServiceBuySell | kServiceTraining | kServiceRepair, nullptr));
    rig.Game()->SwitchLayoutMode(8);
    rig.Game()->SwitchScreen(kScreenBack);
    rig.Game()->currentScreen->keepOnStack = 1;
    rig.Game()->SwitchScreen(kScreenTalk);
    rig.Tick();
    CTalkScreen& t = *rig.Talk();
    ASSERT_EQ(rig.Current(), &t);
    EXPECT_EQ(t.ShownLinks(), (std::vector<std::string>{"Buy/sell", "Training", "Repair", "Rooms", "Wolves",
                                                        "Harvest", "Goodbye"}));
    EXPECT_TRUE(t.nextPage.IsShown());
    EXPECT_FALSE(t.previousPage.state & kWidgetPenEnabled);
    rig.Command(559);
    EXPECT_EQ(t.ShownLinks(), (std::vector<std::string>{"Weather", "Roads", "Bandits", "Goodbye"}));
    EXPECT_FALSE(t.nextPage.state & kWidgetPenEnabled);
    rig.Command(558);
    EXPECT_EQ(t.ShownLinks().front(), "Buy/sell");
}

TEST(NpcScreens, InnRefusesASeriousDiseaseBeforeLookingAtTheGold) {
    for (u32 gold : {0u, 1000u}) {
        NpcRig rig;
        rig.customer.diseased = true;
        rig.customer.gold = gold;
        ASSERT_TRUE(rig.Open(kScreenServices, kServiceSleep, "base_innkeeper"));
        CServicesScreen& s = *rig.Services();
        rig.Command(kServicesSleep);
        std::string shown;
        for (u32 i = 0; i < s.messageView.rows.Count(); ++i) shown += s.messageView.rows.At(i).text.GetText();
        for (u32 i = 0; i < s.messageView.pending.Count(); ++i)
            shown += s.messageView.pending.At(i).text.GetText();
        EXPECT_NE(shown.find("seriously diseased"), std::string::npos) << shown;
        rig.Command(CButtonBar::kYes);  // not offered: nothing is rented
        EXPECT_EQ(rig.customer.gold, gold);
        rig.Command(CButtonBar::kOk);
        EXPECT_EQ(s.screenState, CServicesScreen::kMenu);
    }
}

// A line longer than the speech view waits at "Continue"; each Continue lets the next page in, and the
// talk comes back to its menu with the line's last words shown.
TEST(NpcScreens, ContinueBringsInALineLongerThanTheView) {
    NpcRig rig;
    std::string story;
    for (int i = 1; i <= 40; ++i) story += "The road turned again by the " + std::to_string(i) + "th stone. ";
    story += "And that is the end.";
    AddEntry(rig.dialogue.topics, "Stories", "Tell me a story.", {Line(story.c_str())});
    ASSERT_TRUE(rig.Open(kScreenTalk, 0, nullptr));
    rig.Tick();
    CTalkScreen& t = *rig.Talk();
    rig.Command(kTalkTopicBase + 2);
    ASSERT_EQ(t.GetConversation()->GetPhase(), CConversation::Phase::Continue);
    int pages = 0;
    while (t.GetConversation()->GetPhase() == CConversation::Phase::Continue && pages < 20) {
        rig.Command(kTalkContinue);
        ++pages;
    }
    EXPECT_EQ(t.GetConversation()->GetPhase(), CConversation::Phase::Menu) << pages << " pages";
    EXPECT_GT(pages, 1);
    EXPECT_FALSE(t.speechView.HasPending());
    std::string shown;
    for (u32 i = 0; i < t.speechView.rows.Count(); ++i)
        shown += std::string(t.speechView.rows.At(i).text.GetText()) + " ";
    EXPECT_NE(shown.find("the end."), std::string::npos) << shown;
    EXPECT_EQ(t.ShownLinks(), (std::vector<std::string>{"Rooms", "Wolves", "Stories", "Goodbye"}));
}
