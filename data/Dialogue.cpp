#include "data/Dialogue.h"

#include "core/Str.h"
#include "core/Stream.h"

#include <cstring>
#include <string>

namespace {

CConditionRef* ReadCondition(CStream& stream) {
    auto* c = new CConditionRef;
    SerializeConditionRef(stream, *c);
    return c;
}

CDialogueLine* ReadLine(CStream& stream) {
    auto* line = new CDialogueLine;
    stream.MatchByte(0x22);
    for (u32 i = 0; i < kMaxTalkNodeConditions; ++i) {
        u8 present = 0;
        stream.SerializeU8(present);
        if (present) {
            line->conditions[i] = ReadCondition(stream);
            line->conditionCount = static_cast<u8>(i + 1);
        }
    }
    stream.SerializeStringRef(line->text);
    for (u32 i = 0; i < kMaxTalkAnswers; ++i) {
        u8 present = 0;
        stream.SerializeU8(present);
        if (!present) continue;
        auto* choice = new CDialogueChoice;
        stream.MatchByte(0x21);
        u8 hasCondition = 0;
        stream.SerializeU8(hasCondition);
        if (hasCondition) choice->condition = ReadCondition(stream);
        stream.SerializeStringRef(choice->text);
        line->choices[i] = choice;
        line->choiceCount = static_cast<u8>(i + 1);
    }
    stream.SerializeBlob(line->scriptLength, line->script);
    return line;
}

CDialogueEntry* ReadEntry(CStream& stream, u32 version, bool fullRead) {
    auto* e = new CDialogueEntry;
    stream.MatchByte(0x23);
    stream.Align(4);
    stream.SerializeU32(e->shared);
    e->SerializeName(stream, 0);
    if (!fullRead && e->shared != 0) return e;
    if (version > 37) stream.SerializeStringRef(e->textA);
    if (version > 36) {
        u8 hasCondition = 0;
        stream.SerializeU8(hasCondition);
        if (hasCondition) e->condition = ReadCondition(stream);
    }
    if (version > 59) stream.SerializeStringRef(e->textB);
    u16 count = 0;
    stream.SerializeU16(count);
    e->lines.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        CDialogueLine* line = ReadLine(stream);
        if (stream.HasError() || !e->lines.Add(line)) delete line;
    }
    return e;
}

bool ReadEntries(CStream& stream, CPointerArray& list, u32 version, bool fullRead) {
    u16 count = 0;
    stream.SerializeU16(count);
    list.Reserve(count);
    for (u32 i = 0; i < count && !stream.HasError(); ++i) {
        CDialogueEntry* e = ReadEntry(stream, version, fullRead);
        if (stream.HasError() || !list.Add(e)) delete e;
    }
    return !stream.HasError();
}

bool ConditionPasses(const CConditionRef* c, const IConditionEvaluator& evaluator) {
    return !c || evaluator.Holds(*c);
}

}  // namespace

CDialogueLine::~CDialogueLine() {
    for (CConditionRef*& c : conditions) {
        delete c;
        c = nullptr;
    }
    for (CDialogueChoice*& c : choices) {
        if (c) delete c->condition;
        delete c;
        c = nullptr;
    }
}

bool CDialogueLine::Passes(const IConditionEvaluator& evaluator) const {
    for (u32 i = 0; i < BoundConditionCount(conditionCount); ++i)
        if (!ConditionPasses(conditions[i], evaluator)) return false;
    return true;
}

CDialogueEntry::~CDialogueEntry() {
    lines.DeleteAll<CDialogueLine>();
    delete condition;
}

int SelectTopicsByCondition(const CDialogueLine& line, const IConditionEvaluator& evaluator,
                            const CDialogueChoice* out[kMaxTalkAnswers]) {
    int holding = 0;
    for (u32 i = 0; i < kMaxTalkAnswers; ++i) {
        const CDialogueChoice* c = line.choices[i];
        out[i] = c && ConditionPasses(c->condition, evaluator) ? c : nullptr;
        holding += out[i] ? 1 : 0;
    }
    return holding;
}

CDialogueEntry* FindDialogueEntryByName(const CPointerArray& entries, const char* name) {
    return FindRecordById<CDialogueEntry>(entries, name);
}

bool CDialogue::Load(CRecordReader& reader, u32 version) { return LoadRecord(reader.NextRecord(), version); }

bool CDialogue::LoadRecord(CRecordData* record, u32 version) {
    if (!record) return false;
    CStream stream;
    stream.InitForReading(*record);
    stream.MatchByte(0x24);
    bool ok = Read(stream, version, true);
    for (CPointerArray* list : {&topics, &greetings})
        for (int i = 0; i < list->GetCount(); ++i) list->At<CDialogueEntry>(i)->shared = 1;
    buffers_.Keep(record);
    return ok;
}

bool CDialogue::Read(CStream& stream, u32 version, bool fullRead) {
    bool ok = ReadEntries(stream, topics, version, fullRead);
    return ReadEntries(stream, greetings, version, fullRead) && ok;
}

void CDialogue::Clear() {
    topics.DeleteAll<CDialogueEntry>();
    greetings.DeleteAll<CDialogueEntry>();
    buffers_.Clear();
}

std::vector<CTopicChoice> CDialogue::CollectTopics(const IConditionEvaluator& evaluator) const {
    std::vector<CTopicChoice> result;
    for (int i = 0; i < topics.GetCount(); ++i) {
        CDialogueEntry* e = topics.At<CDialogueEntry>(i);
        if (CDialogueLine* line = FindNextEntry(*e, nullptr, evaluator))
            result.push_back({e->textA, e, line});
    }
    return result;
}

bool CDialogue::PickGreeting(const IConditionEvaluator& evaluator, CDialogueEntry*& entry,
                             CDialogueLine*& line) const {
    for (int i = 0; i < greetings.GetCount(); ++i) {
        CDialogueEntry* e = greetings.At<CDialogueEntry>(i);
        if (CDialogueLine* l = FindNextEntry(*e, nullptr, evaluator)) {
            entry = e;
            line = l;
            return true;
        }
    }
    return false;
}

CDialogueLine* CDialogue::FindNextEntry(const CDialogueEntry& entry, const CDialogueLine* line,
                                        const IConditionEvaluator& evaluator) {
    int start = 0;
    if (!line) {
        if (!ConditionPasses(entry.condition, evaluator)) return nullptr;
    } else {
        start = -1;
        for (int i = 0; i < entry.GetLineCount(); ++i)
            if (entry.GetLine(i) == line) start = i + 1;
        if (start < 0) return nullptr;
    }
    for (int i = start; i < entry.GetLineCount(); ++i)
        if (entry.GetLine(i)->Passes(evaluator)) return entry.GetLine(i);
    return nullptr;
}

CDialogueEntry* CDialogue::FindEntryByName(const char* name, const char* currentPrefix,
                                           const char* bresPrefix) const {
    if (!name) return nullptr;
    for (const char* prefix : {currentPrefix, bresPrefix}) {
        std::string p = prefix ? prefix : "";
        std::string n = name;
        std::string lookup;
        if (!p.empty() && n.compare(0, 5, p, 0, 5) == 0 && n.size() >= 5) {
            lookup = n;
        } else {
            // "bres_monster" under "base_" is looked up as "base_monster"; a name without a prefix
            // gets the prefix put in front.
            if (n.size() >= 5 && n[4] == '_') n.erase(0, 5);
            lookup = p + n;
        }
        if (CDialogueEntry* e = FindDialogueEntryByName(greetings, lookup.c_str())) return e;
    }
    return nullptr;
}
