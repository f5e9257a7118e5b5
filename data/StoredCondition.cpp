#include "data/StoredCondition.h"

#include "core/Stream.h"

void SerializeConditionRef(CStream& stream, CConditionRef& ref) {
    ref = CConditionRef();
    if (stream.IsWriting()) return;
    stream.MatchByte(0x20);
    const u32 start = stream.GetOffset();
    const char* text = nullptr;
    stream.SerializeStringRef(text);
    stream.Align(2);
    u16 value = 0;
    u8 kind = 0;
    u8 op = 0;
    u8 extra = 0;
    stream.SerializeU16(value);
    stream.SerializeU8(kind);
    stream.SerializeU8(op);
    stream.SerializeU8(extra);
    if (stream.HasError()) return;
    ref.data = stream.GetBuffer() + start;
    ref.offset = start;
    ref.length = stream.GetOffset() - start;
}

bool DecodeStoredCondition(const CConditionRef& ref, StoredCondition& out) {
    if (!ref.data) return false;
    u32 i = 0;
    while (i < ref.length && ref.data[i] != 0) ++i;
    if (i >= ref.length) return false;
    // The value starts at the next even offset of the record behind the text's NUL.
    const u32 absolute = (ref.offset + i + 1 + 1) & ~1u;
    const u32 at = absolute - ref.offset;
    if (u64(at) + 5 > ref.length) return false;
    out.parameter = reinterpret_cast<const char*>(ref.data);
    out.value = static_cast<i16>(ref.data[at] | (ref.data[at + 1] << 8));
    out.kind = static_cast<i8>(ref.data[at + 2]);
    out.op = ref.data[at + 3];
    out.extra = ref.data[at + 4];
    return true;
}
