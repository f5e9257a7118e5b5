// Dialogue: topics and greetings made of lines with conditions, choices and scripts. The world's
// shared dialogue is one record; an NPC may carry its own, whose shared entries carry only their
// names (the rest is the shared dialogue's).
#pragma once

#include "core/NamedObject.h"
#include "core/PointerArray.h"
#include "core/Types.h"
#include "data/RecordReader.h"
#include "data/StoredCondition.h"

#include <vector>

class CStream;

struct CDialogueChoice {
    const CConditionRef* condition = nullptr;
    const char* text = nullptr;
};

class CDialogueLine {
public:
    CDialogueLine() = default;
    ~CDialogueLine();
    CDialogueLine(const CDialogueLine&) = delete;
    CDialogueLine& operator=(const CDialogueLine&) = delete;
    // Each present condition holds.
    bool Passes(const IConditionEvaluator& evaluator) const;

    // The conditions are references into the dialogue's record (StoredCondition.h).
    CConditionRef* conditions[kMaxTalkNodeConditions] = {};
    u8 conditionCount = 0;
    CDialogueChoice* choices[kMaxTalkAnswers] = {};
    u8 choiceCount = 0;
    const char* text = nullptr;
    u8* script = nullptr;
    u16 scriptLength = 0;
};

class CDialogueEntry : public CNamedObject {
public:
    CDialogueEntry() = default;
    ~CDialogueEntry() override;
    CDialogueEntry(const CDialogueEntry&) = delete;
    CDialogueEntry& operator=(const CDialogueEntry&) = delete;
    int GetLineCount() const { return lines.GetCount(); }
    CDialogueLine* GetLine(int i) const { return lines.At<CDialogueLine>(i); }

    CPointerArray lines;
    const char* textA = nullptr;  // the title shown for a topic
    const char* textB = nullptr;
    CConditionRef* condition = nullptr;
    u32 shared = 0;
};

struct CTopicChoice {
    const char* title;
    CDialogueEntry* entry;
    CDialogueLine* line;
};

// The four choices of a line, each null when its condition does not hold; returns how many hold.
int SelectTopicsByCondition(const CDialogueLine& line, const IConditionEvaluator& evaluator,
                            const CDialogueChoice* out[kMaxTalkAnswers]);
CDialogueEntry* FindDialogueEntryByName(const CPointerArray& entries, const char* name);

class CDialogue {
public:
    CDialogue() = default;
    ~CDialogue() { Clear(); }
    CDialogue(const CDialogue&) = delete;
    CDialogue& operator=(const CDialogue&) = delete;

    // The world's shared dialogue: one record, every entry read whole and marked shared.
    bool Load(CRecordReader& reader, u32 version);
    bool LoadRecord(CRecordData* record, u32 version);
    // Topics then greetings from a stream (fullRead: read shared entries whole).
    bool Read(CStream& stream, u32 version, bool fullRead);
    void Clear();
    void Free() { Clear(); }

    std::vector<CTopicChoice> CollectTopics(const IConditionEvaluator& evaluator) const;
    // The first greeting whose condition passes and that has a passing line; false when none.
    bool PickGreeting(const IConditionEvaluator& evaluator, CDialogueEntry*& entry,
                      CDialogueLine*& line) const;
    // The first passing line after the given one (with none: the entry's condition first, then from
    // its first line); null when none.
    static CDialogueLine* FindNextEntry(const CDialogueEntry& entry, const CDialogueLine* line,
                                        const IConditionEvaluator& evaluator);
    // A greeting by name, tried under the current world's id prefix and then under "bres_".
    CDialogueEntry* FindEntryByName(const char* name, const char* currentPrefix,
                                    const char* bresPrefix = "bres_") const;

    struct Mark {
        int topics = 0, greetings = 0;
        size_t records = 0;
    };
    Mark GetMark() const { return {topics.GetCount(), greetings.GetCount(), buffers_.Count()}; }
    void RollBack(const Mark& mark) {
        TruncateElements<CDialogueEntry>(topics, mark.topics);
        TruncateElements<CDialogueEntry>(greetings, mark.greetings);
        buffers_.TruncateTo(mark.records);
    }

    CPointerArray topics;
    CPointerArray greetings;
    u32 word1 = 0;
    u32 word2 = 1;

private:
    CLoadedRecords buffers_;
};
