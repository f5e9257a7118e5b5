#include "screens/npc/Conversation.h"

#include <algorithm>

void CConversation::Start() {
    entry_ = nullptr;
    line_ = nullptr;
    CDialogueEntry* entry = nullptr;
    CDialogueLine* line = nullptr;
    if (dialogue_ && dialogue_->PickGreeting(evaluator_, entry, line)) {
        entry_ = entry;
        Speak(line);
        return;
    }
    output_.AppendSpeech("(silence)", kStyleNpc, true);
    BuildMenu();
    goNext_ = goFirst_ = false;
}

void CConversation::ChooseTopic(int index) {
    if (phase_ != Phase::Menu || index < 0 || index >= static_cast<int>(topics_.size())) return;
    const Topic topic = topics_[static_cast<size_t>(index)];
    entry_ = topic.entry;
    if (entry_->textB && *entry_->textB) output_.AppendSpeech(entry_->textB, kStylePlayer, true);
    Speak(topic.line);
}

void CConversation::ChooseAnswer(int slot) {
    if (phase_ != Phase::Answers || slot < 0 || slot > 3) return;
    output_.SetAnswerNumber(slot + 1);
    const CDialogueChoice* choice =
        line_ && slot < std::min<int>(line_->choiceCount, 4) ? line_->choices[slot] : nullptr;
    output_.AppendSpeech(choice && choice->text ? choice->text : "", kStylePlayer, true);
    CDialogueLine* next = nullptr;
    if (entry_) next = CDialogue::FindNextEntry(*entry_, goFirst_ ? nullptr : line_, evaluator_);
    answers_.clear();
    output_.Pause();
    GoOnFrom(next);
}

void CConversation::Continue() {
    if (phase_ != Phase::Continue) return;
    Follow();
}

void CConversation::AcceptListEntry(int index) {
    if (phase_ != Phase::ObjectList || index < 0 || index >= static_cast<int>(list_.size())) return;
    const ListEntry chosen = list_[static_cast<size_t>(index)];
    output_.AppendSpeech(chosen.title.c_str(), kStylePlayer, true);
    output_.SetChosenEntry(chosen.id.c_str());
    list_.clear();
    listStarted_ = false;
    output_.Pause();
    GoOnFrom(entry_ && line_ ? CDialogue::FindNextEntry(*entry_, line_, evaluator_) : nullptr);
}

void CConversation::CancelList() {
    if (phase_ != Phase::ObjectList) return;
    output_.AppendSpeech("...", kStylePlayer, true);
    output_.SetChosenEntry("");
    list_.clear();
    listStarted_ = false;
    output_.Pause();
    GoOnFrom(entry_ && line_ ? CDialogue::FindNextEntry(*entry_, line_, evaluator_) : nullptr);
}

void CConversation::EndTalk() {
    ended_ = true;
    topics_.clear();
    // A line being spoken decides what follows itself; otherwise only the exit stays.
    phase_ = Phase::Ended;
}

void CConversation::CreateObjectList() {
    listStarted_ = true;
    list_.clear();
}

void CConversation::AddListEntry(const char* id, const char* title) {
    if (listStarted_) list_.push_back({id ? id : "", title ? title : ""});
}

void CConversation::GoOnFrom(CDialogueLine* next) {
    if (next) {
        Speak(next);
        return;
    }
    output_.SetAnswerNumber(0);
    goNext_ = goFirst_ = false;
    if (ended_)
        phase_ = Phase::Ended;
    else
        BuildMenu();
}

void CConversation::Speak(CDialogueLine* line) {
    for (int chain = 0; line; ++chain) {
        line_ = line;
        const bool followsOn = goNext_ || goFirst_;
        output_.AppendSpeech(line->text ? line->text : "", kStyleNpc, !followsOn);
        goNext_ = goFirst_ = false;
        answers_.clear();
        if (line->script && line->scriptLength) output_.RunLineScript(line->script, line->scriptLength);
        if (!Follow()) return;
        // The menu stands; a pending go flag moves on within the same entry.
        if (!goNext_ && !goFirst_) return;
        CDialogueLine* next = nullptr;
        if (entry_ && chain + 1 < kMaxChain)
            next = CDialogue::FindNextEntry(*entry_, goFirst_ ? nullptr : line_, evaluator_);
        if (!next) {
            output_.SetAnswerNumber(0);
            goNext_ = goFirst_ = false;
            BuildMenu();
            return;
        }
        output_.Pause();
        line = next;
    }
}

bool CConversation::Follow() {
    CollectAnswers();
    int answerLines = 0;
    for (const Answer& a : answers_)
        answerLines +=
            a.text.empty() ? 1 : 1 + static_cast<int>(std::count(a.text.begin(), a.text.end(), '\r'));
    if (output_.NeedsContinue(answerLines)) {
        phase_ = Phase::Continue;
        return false;
    }
    // A line whose answers all fail goes on as a line without answers: the player keeps a way on.
    if (!answers_.empty()) {
        phase_ = Phase::Answers;
        return false;
    }
    if (listStarted_) {
        phase_ = Phase::ObjectList;
        goNext_ = goFirst_ = false;
        return false;
    }
    output_.SetAnswerNumber(0);
    if (ended_) {
        phase_ = Phase::Ended;
        goNext_ = goFirst_ = false;
        return false;
    }
    BuildMenu();
    return true;
}

void CConversation::CollectAnswers() {
    answers_.clear();
    if (!line_) return;
    const CDialogueChoice* passing[4] = {};
    SelectTopicsByCondition(*line_, evaluator_, passing);
    const int count = std::min<int>(line_->choiceCount, 4);
    for (int slot = 0; slot < count; ++slot)
        if (passing[slot]) answers_.push_back({slot, passing[slot]->text ? passing[slot]->text : ""});
}

void CConversation::BuildMenu() {
    topics_.clear();
    phase_ = ended_ ? Phase::Ended : Phase::Menu;
    if (ended_ || !dialogue_) return;
    for (const CTopicChoice& t : dialogue_->CollectTopics(evaluator_))
        topics_.push_back({t.title ? t.title : "", t.entry, t.line});
}
