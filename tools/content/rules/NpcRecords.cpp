#include "tools/content/rules/RuleRecords.h"

namespace {

void PutCondition(ByteWriter& w, const ConditionDef& c) {
    w.U8(0x20);
    PutText(w, c.name);
    w.Align(2);
    w.U16(c.word);
    for (int b : c.bytes) w.U8(b);
}

void PutLine(ByteWriter& w, const LineDef& line) {
    w.U8(0x22);
    for (int i = 0; i < 5; ++i) {
        w.U8(line.conditionPresent[i] ? 1 : 0);
        if (line.conditionPresent[i]) PutCondition(w, line.conditions[i]);
    }
    PutText(w, line.text);
    for (const ChoiceDef& c : line.choices) {
        w.U8(c.present ? 1 : 0);
        if (!c.present) continue;
        w.U8(0x21);
        w.U8(c.hasCondition ? 1 : 0);
        if (c.hasCondition) PutCondition(w, c.condition);
        PutText(w, c.text);
    }
    w.Align(2);
    w.U16(static_cast<uint32_t>(line.script.size()));
    w.Bytes(line.script.data(), line.script.size());
}

void PutEntry(ByteWriter& w, const DialogueEntryDef& e, bool fullRead, int version) {
    w.U8(0x23);
    w.Align(4);
    w.U32(e.shared);
    PutText(w, e.name);
    if (!fullRead && e.shared != 0) return;
    if (version > 37) PutText(w, e.textA);
    if (version > 36) {
        w.U8(e.hasCondition ? 1 : 0);
        if (e.hasCondition) PutCondition(w, e.condition);
    }
    if (version > 59) PutText(w, e.textB);
    w.Align(2);
    w.U16(static_cast<uint32_t>(e.lines.size()));
    for (const LineDef& l : e.lines) PutLine(w, l);
}
}  // namespace

void PutDialogue(ByteWriter& w, const DialogueDef& d, bool fullRead, int version) {
    for (const std::vector<DialogueEntryDef>* list : {&d.topics, &d.greetings}) {
        w.Align(2);
        w.U16(static_cast<uint32_t>(list->size()));
        for (const DialogueEntryDef& e : *list) PutEntry(w, e, fullRead, version);
    }
}

RuleRecord WriteSharedDialogueRecord(const DialogueDef& dialogue, int version) {
    ByteWriter w;
    w.U8(0x24);
    PutDialogue(w, dialogue, true, version);
    return w.Take();
}

RuleRecord WritePortraitRecord(const std::vector<PortraitDef>& portraits, int version) {
    ByteWriter w;
    PutCount(w, 0x25, portraits.size());
    for (const PortraitDef& p : portraits) {
        w.U8(0x26);
        PutText(w, p.id);
        if (version > 10) w.U8(p.selectable);
    }
    return w.Take();
}

RuleRecords WriteNpcRecords(const std::vector<NpcDef>& npcs, int version) {
    RuleRecords out;
    ByteWriter head;
    PutCount(head, 0x2B, npcs.size());
    out.push_back(head.Take());
    for (const NpcDef& n : npcs) {
        ByteWriter w;
        w.U8(0x2A);
        PutText(w, n.id);
        for (int i = 0; i < 3; ++i) PutText(w, n.texts[i]);
        if (version > 48) PutText(w, n.texts[3]);
        if (version > 55) PutText(w, n.texts[4]);
        if (version > 80) PutText(w, n.texts[5]);
        w.Align(4);
        w.U32(n.maxPayment);
        if (version > 68) w.U8(n.merchantLevel);
        w.Align(2);
        w.U16(n.classMask);
        for (int b : n.bytes) w.U8(b);
        w.U8(n.trainerSkill);
        if (version > 103) {
            w.Align(2);
            w.U16(n.maxBet);
        }
        w.U8(n.hasItems ? 1 : 0);
        if (n.hasItems) {
            w.Align(2);
            w.U16(static_cast<uint32_t>(n.items.size()));
            for (const auto& item : n.items) {
                // The second text of a pair is its first field.
                w.U8(0x29);
                PutText(w, item.second);
                PutText(w, item.first);
            }
        }
        w.U8(n.hasDialogue ? 1 : 0);
        if (n.hasDialogue) PutDialogue(w, n.dialogue, false, version);
        if (version > 56) w.U8(n.hours);
        if (version > 66) w.U8(n.markByte);
        out.push_back(w.Take());
    }
    return out;
}
