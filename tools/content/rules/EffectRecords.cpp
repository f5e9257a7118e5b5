#include "tools/content/rules/RuleRecords.h"

void PutText(ByteWriter& w, const std::string& text) {
    w.Text(text);
    w.U8(0);
}

void PutEffect(ByteWriter& w, const EffectDef& e, int version) {
    w.U8(5);
    PutText(w, e.id);
    w.Align(2);
    w.I16(e.amount);
    w.I16(e.amountPerLevel);
    w.I16(e.duration);
    w.I16(e.durationPerLevel);
    w.U8(e.target);
    w.U8(e.mode);
    w.U8(e.kind);
    if (version > 24) w.U8(e.radius);
}

void PutEffectList(ByteWriter& w, const std::vector<EffectDef>& effects, int version) {
    w.Align(2);
    w.U16(static_cast<uint32_t>(effects.size()));
    for (const EffectDef& e : effects) PutEffect(w, e, version);
}

void PutPresent(ByteWriter& w, uint8_t tag, bool present) {
    w.U8(tag);
    w.Align(2);
    w.U16(present ? 1 : 0);
}

void PutCount(ByteWriter& w, uint8_t tag, size_t count) {
    w.U8(tag);
    w.Align(2);
    w.U16(static_cast<uint32_t>(count));
}

void PutTextArray(ByteWriter& w, const std::vector<std::string>& texts) {
    w.Align(2);
    w.U16(static_cast<uint32_t>(texts.size()));
    for (const std::string& t : texts) PutText(w, t);
}
