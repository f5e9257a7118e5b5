// The stored conditions of dialogue records: a parameter text, then (at the next even offset of the
// record) the comparison value, the kind, the operator and an extra operand. A reference points into
// the loaded record and knows how many bytes the condition has, so reading it never leaves the record.
#pragma once

#include "core/Types.h"

class CStream;

// A talk node offers at most this many conditions and answers; counts read from a record are bounded
// to them so that no slot array is read or written past its end.
inline constexpr u32 kMaxTalkNodeConditions = 5;
inline constexpr u32 kMaxTalkAnswers = 4;

struct CConditionRef {
    const u8* data = nullptr;  // the parameter text's first byte inside the record
    u32 offset = 0;            // its offset from the record's start (the value aligns to the record)
    u32 length = 0;            // bytes of the whole condition
};

struct StoredCondition {
    const char* parameter = "";
    i16 value = 0;
    i8 kind = 0;
    u8 op = 0;
    u8 extra = 0;
};

// Reads one condition at the stream's cursor: skips a blank marker byte when one stands there, keeps
// where the condition lies and steps over it (text, alignment to 2, value, kind, operator, extra).
// Nothing is copied. A condition that does not fit the record leaves the reference empty and the
// stream's error set.
void SerializeConditionRef(CStream& stream, CConditionRef& ref);
// The fields of a referenced condition; false for an empty reference or one that does not fit.
bool DecodeStoredCondition(const CConditionRef& ref, StoredCondition& out);

// Decides whether a stored condition holds. The script engine's condition evaluator answers for the
// game; the dialogue look-ups ask through this, so the data layer needs nothing of the script's.
class IConditionEvaluator {
public:
    virtual ~IConditionEvaluator() = default;
    virtual bool Holds(const CConditionRef& condition) const = 0;
};

inline u8 BoundConditionCount(u8 count) {
    return count > kMaxTalkNodeConditions ? kMaxTalkNodeConditions : count;
}
inline u8 BoundAnswerCount(u8 count) { return count > kMaxTalkAnswers ? kMaxTalkAnswers : count; }
