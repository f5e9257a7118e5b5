// Tests the stored conditions of dialogue entries, talk nodes and answers against the game.
#pragma once

#include "core/Types.h"
#include "data/StoredCondition.h"

class CScriptContext;
class IScriptNpc;

// One answer of a talk node: its condition (null for none) and its text.
struct ScriptTalkAnswer {
    const CConditionRef* condition = nullptr;
    const char* text = nullptr;
};

inline constexpr u32 kAmountScaleSize = 228;
// Gold amount number index of the amount scale (0 .. 1,000,000,000); 0 outside it.
u32 GetAmountScaleEntry(u32 index);

// True when the condition holds. An empty or malformed reference never holds.
bool EvaluateCondition(CScriptContext& context, const CConditionRef* condition, IScriptNpc* partner);
// True when every condition of the node holds (empty slots hold) and, unless one of them is of kind 2,
// no answer is pending. At most five conditions are looked at.
bool TalkNodeConditionsHold(CScriptContext& context, const CConditionRef* const* conditions, u32 count,
                            IScriptNpc* partner);
// Fills out[i] for each answer slot below the count (at most four) with the answer when its condition
// holds or it has none, else null; returns how many entries were set.
u32 SelectTopicsByCondition(CScriptContext& context, const ScriptTalkAnswer* const* answers, u32 count,
                            IScriptNpc* partner, const ScriptTalkAnswer* out[kMaxTalkAnswers]);

// The evaluator the dialogue look-ups ask (data's IConditionEvaluator): each condition through
// EvaluateCondition with the context and the NPC talked to.
class CScriptConditionEvaluator : public IConditionEvaluator {
public:
    CScriptConditionEvaluator(CScriptContext& context, IScriptNpc* partner)
        : context_(context), partner_(partner) {}
    bool Holds(const CConditionRef& condition) const override {
        return EvaluateCondition(context_, &condition, partner_);
    }

private:
    CScriptContext& context_;
    IScriptNpc* partner_;
};
