// The conversation with an NPC without a screen: the greeting, the topic menu, the lines an NPC speaks,
// the answers the player picks, the scripts lines run, the object list scripts offer and the end of
// the talk. The talk screen shows what this decides; the scripts reach it through the talk hooks
// (EndTalk, SetGoNext, SetGoFirst, CreateObjectList, AddListEntry).
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "data/Dialogue.h"

#include <string>
#include <vector>

// Speech styles of the speech view.
enum TalkStyle : int { kStyleNpc = 0, kStylePlayer = 1 };

// What the conversation needs of the talk screen and the script engine.
class ITalkOutput {
public:
    virtual ~ITalkOutput() = default;
    // Appends the text; `startsUtterance` asks for the dash that opens an utterance.
    virtual void AppendSpeech(const char* text, int style, bool startsUtterance) = 0;
    // Runs a line's compiled script; its talk commands come back through the conversation's hooks.
    virtual void RunLineScript(const u8* code, u32 size) = 0;
    // The script context's answer number (1..4, 0 none) and chosen object.
    virtual void SetAnswerNumber(i32 answer) = 0;
    virtual void SetChosenEntry(const char* text) = 0;
    // True when the speech view holds text it has not shown yet, or `answerLines` more lines would not
    // fit: the talk then waits for "Continue".
    virtual bool NeedsContinue(int answerLines) { return false; }
    // The short pause before a line that follows another without the player's word.
    virtual void Pause() {}
};

class CConversation {
public:
    enum class Phase { Idle, Continue, Answers, ObjectList, Menu, Ended };

    struct Topic {
        std::string title;
        CDialogueEntry* entry;
        CDialogueLine* line;  // its first passing line
    };
    struct Answer {
        int slot;  // 0..3
        std::string text;
    };
    struct ListEntry {
        std::string id;
        std::string title;
    };

    // The lines a chain of `gonext`/`gofirst` may speak at once: a line that sends the talk back to
    // itself would otherwise never hand control to the player.
    static constexpr int kMaxChain = 64;

    CConversation(const CDialogue* dialogue, const IConditionEvaluator& evaluator, ITalkOutput& output)
        : dialogue_(dialogue), evaluator_(evaluator), output_(output) {}

    // The first tick: the greeting, or "(silence)" and the menu.
    void Start();
    // The player's choices. Each is ignored when it does not fit the phase.
    void ChooseTopic(int index);
    void ChooseAnswer(int slot);
    void Continue();
    void AcceptListEntry(int index);
    void CancelList();

    // The talk hooks of the script commands.
    void EndTalk();
    void SetGoNext() { goNext_ = true; }
    void SetGoFirst() { goFirst_ = true; }
    void CreateObjectList();
    void AddListEntry(const char* id, const char* title);

    Phase GetPhase() const { return phase_; }
    bool HasEnded() const { return ended_; }
    const std::vector<Topic>& GetTopics() const { return topics_; }
    const std::vector<Answer>& GetAnswers() const { return answers_; }
    const std::vector<ListEntry>& GetListEntries() const { return list_; }
    const CDialogueLine* GetCurrentLine() const { return line_; }

private:
    void Speak(CDialogueLine* line);
    // Steps 4.. of speaking: what follows the line; false when it waits for the player.
    bool Follow();
    void CollectAnswers();
    void BuildMenu();
    void GoOnFrom(CDialogueLine* next);

    const CDialogue* dialogue_;
    const IConditionEvaluator& evaluator_;
    ITalkOutput& output_;

    Phase phase_ = Phase::Idle;
    CDialogueEntry* entry_ = nullptr;
    CDialogueLine* line_ = nullptr;
    bool ended_ = false;
    bool goNext_ = false;
    bool goFirst_ = false;
    bool listStarted_ = false;
    std::vector<Topic> topics_;
    std::vector<Answer> answers_;
    std::vector<ListEntry> list_;
};
