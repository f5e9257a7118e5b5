#include <gtest/gtest.h>

#include "screens/npc/Conversation.h"

#include <set>
#include <string>
#include <vector>

namespace {

// Conditions hold when their name is in the set. Scripts are one letter per talk command: B goodbye,
// N gonext, F gofirst, L an object list of two entries.
struct Fixture : ITalkOutput, IConditionEvaluator {
    std::set<std::string> holding;
    std::vector<std::string> speech;
    std::vector<i32> answerNumbers;
    std::string chosen = "unset";
    int pauses = 0;
    int overflowLines = -1;  // NeedsContinue when this many lines or more are needed
    bool waiting = false;
    CConversation* talk = nullptr;
    CDialogue dialogue;

    bool Holds(const CConditionRef& c) const override {
        return c.data && holding.count(reinterpret_cast<const char*>(c.data)) > 0;
    }
    void AppendSpeech(const char* text, int style, bool start) override {
        speech.push_back(std::string(start ? "- " : "  ") + (style == kStylePlayer ? "P:" : "N:") + text);
    }
    void RunLineScript(const u8* code, u32 size) override {
        for (u32 i = 0; i < size; ++i) {
            switch (code[i]) {
            case 'B': talk->EndTalk(); break;
            case 'N': talk->SetGoNext(); break;
            case 'F': talk->SetGoFirst(); break;
            case 'L':
                talk->CreateObjectList();
                talk->AddListEntry("item_sword",
                                   "-\x0b"
                                   "Sword");
                talk->AddListEntry("item_shield",
                                   "-\x0b"
                                   "Shield");
                break;
            }
        }
    }
    void SetAnswerNumber(i32 a) override { answerNumbers.push_back(a); }
    void SetChosenEntry(const char* t) override { chosen = t; }
    bool NeedsContinue(int answerLines) override {
        if (waiting) return true;
        return overflowLines >= 0 && answerLines >= overflowLines;
    }
    void Pause() override { ++pauses; }

    // A condition whose parameter bytes are its name.
    static CConditionRef* Cond(const char* name) {
        if (!name) return nullptr;
        auto* c = new CConditionRef;
        c->data = reinterpret_cast<const u8*>(name);
        c->length = static_cast<u32>(std::char_traits<char>::length(name)) + 1;
        return c;
    }
    // A line: text, optional condition, script letters, answers as (text, condition) pairs.
    static CDialogueLine* Line(const char* text, const char* cond = nullptr, const char* script = nullptr,
                               std::vector<std::pair<const char*, const char*>> answers = {}) {
        auto* l = new CDialogueLine;
        l->text = text;
        if (cond) {
            l->conditions[0] = Cond(cond);
            l->conditionCount = 1;
        }
        if (script) {
            l->script = reinterpret_cast<u8*>(const_cast<char*>(script));
            l->scriptLength = static_cast<u16>(std::char_traits<char>::length(script));
        }
        for (auto& [t, c] : answers) {
            auto* choice = new CDialogueChoice;
            choice->text = t;
            choice->condition = Cond(c);
            l->choices[l->choiceCount++] = choice;
        }
        return l;
    }
    static CDialogueEntry* Entry(CPointerArray& list, const char* title, const char* prompt,
                                 std::vector<CDialogueLine*> lines, const char* cond = nullptr) {
        auto* e = new CDialogueEntry;
        e->textA = title;
        e->textB = prompt;
        e->condition = Cond(cond);
        for (CDialogueLine* l : lines) e->lines.Add(l);
        list.Add(e);
        return e;
    }
    ~Fixture() override {
        // The script bytes are string literals here; the dialogue never owns them.
        for (int i = 0; i < dialogue.topics.GetCount(); ++i)
            for (int j = 0; j < dialogue.topics.At<CDialogueEntry>(i)->GetLineCount(); ++j)
                dialogue.topics.At<CDialogueEntry>(i)->GetLine(j)->script = nullptr;
    }
    std::string Last() const { return speech.empty() ? "" : speech.back(); }
};

// The fixture dialogue: a greeting for friends and one for strangers, a plain topic, a quest topic with
// answers, a chained story (gonext), a shop list, a topic whose lines all fail, a farewell, a riddle
// whose answers all fail.
void BuildDialogue(Fixture& f) {
    using F = Fixture;
    F::Entry(f.dialogue.greetings, "g1", nullptr, {F::Line("Welcome back, friend.", "friend")}, "friend");
    F::Entry(f.dialogue.greetings, "g2", nullptr, {F::Line("Hail, stranger.")});
    F::Entry(f.dialogue.topics, "Town", "Tell me about the town.",
             {F::Line("It is small.", "never"), F::Line("Quiet, mostly.")});
    F::Entry(f.dialogue.topics, "Quest", "Any work?",
             {F::Line("Wolves trouble my sheep. Will you help?", nullptr, nullptr,
                      {{"Yes.", nullptr}, {"Only for gold.", "greedy"}, {"No.", nullptr}}),
              F::Line("Thank you!")});
    F::Entry(f.dialogue.topics, "Story", nullptr,
             {F::Line("Once,", nullptr, "N"), F::Line("long ago,", nullptr, "N"),
              F::Line("there was a king."), F::Line("The end.")});
    F::Entry(f.dialogue.topics, "Wares", nullptr,
             {F::Line("Pick one.", nullptr, "L"), F::Line("Fine choice.")});
    F::Entry(f.dialogue.topics, "Hidden", nullptr, {F::Line("Secret.", "never")});
    F::Entry(f.dialogue.topics, "Bye", nullptr, {F::Line("Farewell.", nullptr, "B"), F::Line("unreachable")});
    F::Entry(f.dialogue.topics, "Riddle", nullptr,
             {F::Line("Answer me.", nullptr, nullptr, {{"Fire.", "never"}, {"Ice.", "never"}}),
              F::Line("Nobody knows.")});
}

int TopicIndex(const CConversation& talk, const char* title) {
    for (size_t i = 0; i < talk.GetTopics().size(); ++i)
        if (talk.GetTopics()[i].title == title) return static_cast<int>(i);
    return -1;
}

struct Talk {
    Fixture f;
    CConversation talk{&f.dialogue, f, f};
    Talk() {
        f.talk = &talk;
        BuildDialogue(f);
    }
};

}  // namespace

TEST(Conversation, GreetingIsTheFirstPassingEntryAndLine) {
    for (bool friendly : {true, false}) {
        Talk t;
        if (friendly) t.f.holding.insert("friend");
        t.talk.Start();
        EXPECT_EQ(t.f.Last(), friendly ? "- N:Welcome back, friend." : "- N:Hail, stranger.");
        EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Menu);
    }
}

TEST(Conversation, NoGreetingOrNoDialogueIsSilence) {
    Fixture f;
    CConversation none(nullptr, f, f);
    none.Start();
    EXPECT_EQ(f.Last(), "- N:(silence)");
    EXPECT_EQ(none.GetPhase(), CConversation::Phase::Menu);
    EXPECT_TRUE(none.GetTopics().empty());
}

TEST(Conversation, TopicsWithoutAPassingLineAreLeftOut) {
    Talk t;
    t.talk.Start();
    std::vector<std::string> titles;
    for (const auto& topic : t.talk.GetTopics()) titles.push_back(topic.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Town", "Quest", "Story", "Wares", "Bye", "Riddle"}));
    t.talk.ChooseTopic(TopicIndex(t.talk, "Town"));
    EXPECT_EQ(t.f.speech[1], "- P:Tell me about the town.");
    EXPECT_EQ(t.f.speech[2], "- N:Quiet, mostly.");
}

TEST(Conversation, AnswersAreThePassingSlotsAndLeadToTheNextLine) {
    struct Case {
        bool greedy;
        std::vector<int> slots;
        int pick;
        const char* said;
    } cases[] = {
        {false, {0, 2}, 0, "- P:Yes."},
        {true, {0, 1, 2}, 1, "- P:Only for gold."},
        {false, {0, 2}, 2, "- P:No."},
    };
    for (const Case& c : cases) {
        Talk t;
        if (c.greedy) t.f.holding.insert("greedy");
        t.talk.Start();
        t.talk.ChooseTopic(TopicIndex(t.talk, "Quest"));
        ASSERT_EQ(t.talk.GetPhase(), CConversation::Phase::Answers);
        std::vector<int> slots;
        for (const auto& a : t.talk.GetAnswers()) slots.push_back(a.slot);
        EXPECT_EQ(slots, c.slots);
        t.f.answerNumbers.clear();
        t.talk.ChooseAnswer(c.pick);
        EXPECT_EQ(t.f.answerNumbers.front(), c.pick + 1);
        EXPECT_EQ(t.f.speech[t.f.speech.size() - 2], c.said);
        EXPECT_EQ(t.f.Last(), "- N:Thank you!");
        EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Menu);
        EXPECT_EQ(t.f.answerNumbers.back(), 0);
    }
}

TEST(Conversation, AnswerBeyondTheCountSaysNothingAndGoesOn) {
    Talk t;
    t.talk.Start();
    t.talk.ChooseTopic(TopicIndex(t.talk, "Quest"));
    t.talk.ChooseAnswer(3);
    EXPECT_EQ(t.f.speech[t.f.speech.size() - 2], "- P:");
    EXPECT_EQ(t.f.Last(), "- N:Thank you!");
}

TEST(Conversation, LineWhoseAnswersAllFailGoesOnWithoutAnswers) {
    Talk t;
    t.talk.Start();
    t.talk.ChooseTopic(TopicIndex(t.talk, "Riddle"));
    EXPECT_EQ(t.f.Last(), "- N:Answer me.");
    EXPECT_TRUE(t.talk.GetAnswers().empty());
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Menu);
    EXPECT_FALSE(t.talk.GetTopics().empty());
}

TEST(Conversation, GoNextChainsLinesWithoutADashAndWithAPause) {
    Talk t;
    t.talk.Start();
    const size_t before = t.f.speech.size();
    t.talk.ChooseTopic(TopicIndex(t.talk, "Story"));
    std::vector<std::string> spoken(t.f.speech.begin() + static_cast<long>(before), t.f.speech.end());
    EXPECT_EQ(spoken, (std::vector<std::string>{"- N:Once,", "  N:long ago,", "  N:there was a king."}));
    EXPECT_EQ(t.f.pauses, 2);
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Menu);
}

TEST(Conversation, GoFirstAfterAnAnswerReturnsToTheTopicStart) {
    Fixture f;
    CConversation talk(&f.dialogue, f, f);
    f.talk = &talk;
    Fixture::Entry(f.dialogue.topics, "Loop", nullptr,
                   {Fixture::Line("Choose.", nullptr, "F", {{"Again", nullptr}, {"Stop", "stopping"}}),
                    Fixture::Line("After.")});
    talk.Start();
    talk.ChooseTopic(0);
    ASSERT_EQ(talk.GetPhase(), CConversation::Phase::Answers);
    talk.ChooseAnswer(0);
    EXPECT_EQ(f.speech.back(), "  N:Choose.");  // back at the first line, continuing the utterance
    EXPECT_EQ(talk.GetPhase(), CConversation::Phase::Answers);
}

TEST(Conversation, SelfLoopingGoFirstStopsAndHandsBackTheMenu) {
    Fixture f;
    CConversation talk(&f.dialogue, f, f);
    f.talk = &talk;
    Fixture::Entry(f.dialogue.topics, "Echo", nullptr, {Fixture::Line("Echo.", nullptr, "F")});
    talk.Start();
    talk.ChooseTopic(0);
    EXPECT_EQ(static_cast<int>(f.speech.size()), 1 + CConversation::kMaxChain);
    EXPECT_EQ(talk.GetPhase(), CConversation::Phase::Menu);
}

TEST(Conversation, GoodbyeLeavesOnlyTheExit) {
    Talk t;
    t.talk.Start();
    t.talk.ChooseTopic(TopicIndex(t.talk, "Bye"));
    EXPECT_EQ(t.f.Last(), "- N:Farewell.");
    EXPECT_TRUE(t.talk.HasEnded());
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Ended);
    EXPECT_TRUE(t.talk.GetTopics().empty());
    t.talk.ChooseTopic(0);
    EXPECT_EQ(t.f.Last(), "- N:Farewell.");
}

TEST(Conversation, GreetingThatSaysGoodbyeEndsTheTalk) {
    Fixture f;
    CConversation talk(&f.dialogue, f, f);
    f.talk = &talk;
    Fixture::Entry(f.dialogue.greetings, "g", nullptr, {Fixture::Line("Go away.", nullptr, "B")});
    Fixture::Entry(f.dialogue.topics, "T", nullptr, {Fixture::Line("x")});
    talk.Start();
    EXPECT_EQ(talk.GetPhase(), CConversation::Phase::Ended);
    EXPECT_TRUE(talk.GetTopics().empty());
    for (int i = 0; i < f.dialogue.greetings.GetCount(); ++i)
        f.dialogue.greetings.At<CDialogueEntry>(i)->GetLine(0)->script = nullptr;
}

TEST(Conversation, ObjectListAcceptAndCancel) {
    struct Case {
        int pick;  // -1 cancel, -2 accept without selection (out of range)
        const char* said;
        const char* chosen;
    } cases[] = {
        {1, "- P:-\x0bShield", "item_shield"},
        {-1, "- P:...", ""},
    };
    for (const Case& c : cases) {
        Talk t;
        t.talk.Start();
        t.talk.ChooseTopic(TopicIndex(t.talk, "Wares"));
        ASSERT_EQ(t.talk.GetPhase(), CConversation::Phase::ObjectList);
        ASSERT_EQ(t.talk.GetListEntries().size(), 2u);
        t.talk.AcceptListEntry(7);  // no such entry: nothing happens
        EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::ObjectList);
        if (c.pick >= 0)
            t.talk.AcceptListEntry(c.pick);
        else
            t.talk.CancelList();
        EXPECT_EQ(t.f.speech[t.f.speech.size() - 2], c.said);
        EXPECT_EQ(t.f.chosen, c.chosen);
        EXPECT_EQ(t.f.Last(), "- N:Fine choice.");
        EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Menu);
    }
}

TEST(Conversation, ContinueWaitsBeforeAnswersThatDoNotFit) {
    Talk t;
    t.talk.Start();
    t.f.overflowLines = 2;
    t.talk.ChooseTopic(TopicIndex(t.talk, "Quest"));
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Continue);
    t.talk.ChooseAnswer(0);  // not offered yet
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Continue);
    t.f.overflowLines = -1;
    t.talk.Continue();
    EXPECT_EQ(t.talk.GetPhase(), CConversation::Phase::Answers);
    EXPECT_EQ(t.talk.GetAnswers().size(), 2u);
}
