// Stored conditions: their layout as records hold them, every kind 0..60, the operators, and the
// talk-node rules.
#include "ScriptFixture.h"

#include "core/Stream.h"
#include "data/Dialogue.h"
#include "script/ConditionEvaluator.h"

using namespace scripttest;

namespace {

using Bytes = std::vector<u8>;

// A record with `lead` bytes before the condition, written from the field list: text, NUL, zero
// bytes up to the next even offset of the record, value, kind, operator, extra operand.
Bytes ConditionRecord(const std::string& param, i16 value, i8 kind, u8 op, u8 extra, u32 lead = 0,
                      bool marker = false) {
    Bytes b(lead, 0xAA);
    if (marker) b.push_back(0x20);
    for (char c : param) b.push_back(static_cast<u8>(c));
    b.push_back(0);
    if (b.size() % 2) b.push_back(0);
    b.push_back(static_cast<u8>(value & 0xFF));
    b.push_back(static_cast<u8>((value >> 8) & 0xFF));
    b.push_back(static_cast<u8>(kind));
    b.push_back(op);
    b.push_back(extra);
    return b;
}

class Condition {
public:
    Condition(const std::string& param, i16 value, i8 kind, u8 op, u8 extra = 0, u32 lead = 0,
              bool marker = false)
        : bytes_(ConditionRecord(param, value, kind, op, extra, lead, marker)) {
        CStream stream;
        stream.InitForReading(bytes_.data(), static_cast<u32>(bytes_.size()));
        for (u32 i = 0; i < lead; ++i) {
            u8 skip = 0;
            stream.SerializeU8(skip);
        }
        SerializeConditionRef(stream, ref_);
        ok_ = !stream.HasError();
    }
    const CConditionRef* Ref() const { return &ref_; }
    bool Read() const { return ok_; }

private:
    Bytes bytes_;
    CConditionRef ref_;
    bool ok_ = false;
};

class ConditionRig : public ScriptRig {
public:
    ConditionRig() {
        world.clock = 1440 * 4 + 10 * 60;
        world.player.fame = -5;
        world.player.crime = 3;
        world.player.disease = "pox";
        world.globals["since"] = CScriptValue(static_cast<i32>(world.clock - 180 - 2 * 1440));
        world.globals["future"] = CScriptValue(static_cast<i32>(world.clock + 60));
        world.globals["count"] = CScriptValue(42);
        lever = &world.AddObject("lever");
        lever->state = -3;
        lever->closed = true;
        wolf = &world.AddCreature("wolf1");
        wolf->diseased = true;
        wolf->poison = 6;
        wolf->aggressive = true;
        wolf->paralyzed = true;
        wolf->cursed = true;
        context.SetAnswer(8);
        context.SetChosenEntry("ring");
    }
    bool Holds(const Condition& c, IScriptNpc* partner = nullptr) {
        return EvaluateCondition(context, c.Ref(), partner);
    }
    FakeMapObject* lever;
    FakeCreature* wolf;
};

struct KindCase {
    i8 kind;
    const char* param;
    u8 extra;
    i32 x;  // what the kind yields on the rig
};

TEST(ScriptConditions, EveryKindYieldsItsValue) {
    const KindCase cases[] = {
        {2, "", 0, 8},
        {3, "", 0, 3},
        {4, "", 0, 0},
        {6, "", 0, 0},
        {7, "", 0, 1},
        {8, "", 0, -5},
        {9, "", 0, 3},
        {10, "", 0, 75},
        {11, "", 0, 4},
        {12, "", 4, 1},
        {12, "", 2, 0},
        {13, "", 0, 21},
        {14, "", 2, 12},
        {14, "", 5, 15},
        {15, "", 3, 40},
        {15, "", 0, 0},
        {16, "", 0, 0},
        {17, "", 0, 0},
        {18, "apple", 0, 3},
        {18, "pear", 0, 0},
        {19, "", 0, 1},
        {19, "flu", 0, 0},
        {20, "wolf1", 0, 1},
        {20, "ghost", 0, 0},
        {21, "", 0, 4},
        {22, "wolf1", 0, 6},
        {22, "ghost", 0, 0},
        {23, "light", 0, 1},
        {24, "", 0, 0},
        {25, "", 21, 1},
        {25, "", 0, 1},
        {25, "", 33, 0},
        {26, "nightsight", 0, 1},
        {27, "", 0, 0},
        {28, "lever", 0, -3},
        {28, "nothing", 0, 0},
        {29, "", 0, 0},
        {30, "", 0, 7},
        {31, "", 0, 40},
        {32, "", 0, 300},
        {33, "", 0, 10},
        {34, "", 0, 5},
        {35, "since", 0, 51},
        {35, "future", 0, 0},
        {35, "nothing", 0, 0},
        {36, "since", 0, 2},
        {37, "", 0, 1},
        {38, "", 0, 0},
        {39, "count", 0, 42},
        {39, "nothing", 0, 0},
        {40, "lever", 0, 1},
        {40, "nothing", 0, 0},
        {41, "wolf1", 0, 1},
        {41, "ghost", 0, 0},
        {42, "q1", 0, 1},
        {42, "q5", 0, 0},
        {43, "q1", 0, 1},
        {44, "q2", 0, 1},
        {45, "base_town", 0, 1},
        {45, "base_cave", 0, 0},
        {46, "base", 0, 1},
        {47, "", 0, 1},
        {48, "wolf1", 0, 1},
        {49, "", 0, 0},
        {50, "wolf1", 0, 1},
        {51, "", 0, 1},
        {52, "", 0, 0},
        {53, "", 0, 1},
        // The run context's own creature is missing here: each of these yields 0.
        {54, "", 0, 0},
        {55, "", 0, 0},
        {56, "", 0, 0},
        {57, "", 0, 0},
        {58, "", 0, 0},
        {59, "bres_wolfkind", 0, 0},
        {60, "bres_wolf", 0, 0},
    };
    for (const KindCase& c : cases) {
        ConditionRig rig;
        EXPECT_TRUE(rig.Holds(Condition(c.param, static_cast<i16>(c.x), c.kind, 1, c.extra)))
            << "kind " << int(c.kind) << " " << c.param << " E " << int(c.extra) << " should yield " << c.x;
        EXPECT_FALSE(rig.Holds(Condition(c.param, static_cast<i16>(c.x), c.kind, 2, c.extra)))
            << "kind " << int(c.kind) << " " << c.param;
    }
}

TEST(ScriptConditions, RunContextCreatureTriggerAndPartner) {
    const KindCase cases[] = {
        {52, "", 0, -3},
        {54, "", 0, 1},
        {55, "", 0, 1},
        {56, "", 0, 1},
        {57, "", 0, 1},
        {58, "", 0, 6},
        {59, "bres_wolfkind", 0, 1},
        {59, "bres_bear", 0, 0},
        {60, "bres_wolf", 0, 1},
        {60, "bres_bear", 0, 0},
        {17, "", 0, 1},
        {29, "", 0, 1},
    };
    for (const KindCase& c : cases) {
        ConditionRig rig;
        FakeNpc partner;
        partner.race = 4;
        rig.context.SetupObjectEvent(kEventHit, rig.wolf, rig.world.section, nullptr, 3, 3);
        if (c.kind == 52)
            rig.context.SetupEvent(kEventUse, rig.lever, rig.world.section, nullptr, 3, 4, 0, 1,
                                   kRouteGameView);
        EXPECT_TRUE(rig.Holds(Condition(c.param, static_cast<i16>(c.x), c.kind, 1, c.extra), &partner))
            << "kind " << int(c.kind) << " " << c.param;
    }
}

TEST(ScriptConditions, KindsThatNeverHold) {
    struct Case {
        i8 kind;
        u8 extra;
    };
    // 1 and 5; kinds outside 0..60; attribute and skill numbers and amount indices out of their tables.
    const Case cases[] = {{1, 0},  {5, 0},    {61, 0},  {-1, 0},   {127, 0},  {-128, 0}, {14, 0},
                          {14, 6}, {14, 255}, {15, 21}, {15, 255}, {25, 228}, {25, 255}};
    for (const Case& c : cases) {
        ConditionRig rig;
        for (u8 op = 0; op < 8; ++op) {
            for (i16 v : {i16(-1), i16(0), i16(1)})
                EXPECT_FALSE(rig.Holds(Condition("", v, c.kind, op, c.extra)))
                    << "kind " << int(c.kind) << " E " << int(c.extra) << " op " << int(op) << " V " << v;
        }
    }
    ConditionRig rig;
    for (u8 op = 0; op < 8; ++op)
        EXPECT_TRUE(rig.Holds(Condition("", 99, 0, op))) << "kind 0 holds whatever the operator " << int(op);
}

TEST(ScriptConditions, Operators) {
    // Fame -5 (kind 8) against values around it; operators 0 and 7 never hold.
    const struct {
        u8 op;
        i16 v;
        bool holds;
    } cases[] = {
        {1, -5, true},  {1, -4, false}, {2, -4, true},  {2, -5, false}, {3, -6, true},
        {3, -5, false}, {4, -5, true},  {4, -4, false}, {5, -4, true},  {5, -5, false},
        {6, -5, true},  {6, -6, false}, {0, -5, false}, {7, -5, false}, {255, -5, false},
    };
    ConditionRig rig;
    for (const auto& c : cases)
        EXPECT_EQ(rig.Holds(Condition("", c.v, 8, c.op)), c.holds) << int(c.op) << " " << c.v;
    // Values are signed: gold 250 is above -1.
    EXPECT_TRUE(rig.Holds(Condition("", -32768, 11, 3)));
}

TEST(ScriptConditions, ValueAlignsToTheRecord) {
    ConditionRig rig;
    // Parameter texts of odd and even length at odd and even record offsets, with and without the
    // blank marker: the value always lands at the record's next even offset.
    for (const std::string& param : {std::string("apple"), std::string("pear"), std::string("")}) {
        for (u32 lead : {0u, 1u, 2u, 3u}) {
            for (bool marker : {false, true}) {
                const i16 count = param == "apple" ? 3 : 0;
                const Condition c(param, count, 18, 1, 0, lead, marker);
                ASSERT_TRUE(c.Read()) << param << " " << lead;
                EXPECT_TRUE(rig.Holds(c)) << param << " lead " << lead << " marker " << marker;
                StoredCondition fields;
                ASSERT_TRUE(DecodeStoredCondition(*c.Ref(), fields));
                EXPECT_EQ(fields.kind, 18);
                EXPECT_STREQ(fields.parameter, param.c_str());
            }
        }
    }
    // "apple" + NUL at offset 0 ends at 6: value at 6. "pear" + NUL ends at 5: value at 6.
    EXPECT_EQ(ConditionRecord("apple", 0x0102, 18, 1, 0).size(), 11u);
    EXPECT_EQ(ConditionRecord("pear", 0x0102, 18, 1, 0)[6], 0x02);
}

TEST(ScriptConditions, CutConditionsAreRefused) {
    const Bytes full = ConditionRecord("lever", 1, 40, 1, 0);
    for (size_t size = 0; size < full.size(); ++size) {
        Bytes cut(full.begin(), full.begin() + static_cast<long>(size));
        CStream stream;
        stream.InitForReading(cut.data(), static_cast<u32>(cut.size()));
        CConditionRef ref;
        SerializeConditionRef(stream, ref);
        EXPECT_TRUE(stream.HasError()) << size;
        EXPECT_EQ(ref.data, nullptr) << size;
        ConditionRig rig;
        EXPECT_FALSE(EvaluateCondition(rig.context, &ref, nullptr));
    }
    // A reference that claims fewer bytes than its fields need never reads past them.
    const Condition whole("lever", 1, 40, 1);
    CConditionRef shortRef = *whole.Ref();
    shortRef.length -= 1;
    StoredCondition fields;
    EXPECT_FALSE(DecodeStoredCondition(shortRef, fields));
    ConditionRig rig;
    EXPECT_FALSE(EvaluateCondition(rig.context, nullptr, nullptr));
}

TEST(ScriptConditions, RandomIsDrawnAtEachEvaluation) {
    ConditionRig rig;
    const Condition c("", 50, 30, 5);
    rig.world.randomValue = 10;
    EXPECT_TRUE(rig.Holds(c));
    rig.world.randomValue = 90;
    EXPECT_FALSE(rig.Holds(c));
}

TEST(ScriptConditions, AmountScale) {
    const struct {
        u32 index;
        u32 amount;
    } cases[] = {{0, 0},           {1, 1},           {20, 20},          {21, 25},
                 {24, 100},        {25, 150},        {32, 500},         {33, 600},
                 {47, 2000},       {48, 2500},       {53, 5000},        {54, 6000},
                 {58, 10000},      {59, 15000},      {76, 100000},      {77, 110000},
                 {86, 200000},     {87, 250000},     {102, 1000000},    {103, 1100000},
                 {112, 2000000},   {113, 2500000},   {128, 10000000},   {129, 11000000},
                 {218, 100000000}, {219, 200000000}, {227, 1000000000}, {228, 0}};
    for (const auto& c : cases) EXPECT_EQ(GetAmountScaleEntry(c.index), c.amount) << c.index;
}

TEST(ScriptConditions, TalkNodeConditions) {
    ConditionRig rig;
    const Condition yes("", 0, 0, 1);
    const Condition no("", 0, 1, 1);
    const Condition answered("", 8, 2, 1);
    const Condition fame("", -5, 8, 1);
    {
        // An answer is pending (8): a node whose conditions hold is offered only when one asks for it.
        const CConditionRef* node[] = {yes.Ref(), fame.Ref()};
        EXPECT_FALSE(TalkNodeConditionsHold(rig.context, node, 2, nullptr));
        const CConditionRef* asking[] = {fame.Ref(), answered.Ref()};
        EXPECT_TRUE(TalkNodeConditionsHold(rig.context, asking, 2, nullptr));
        EXPECT_FALSE(TalkNodeConditionsHold(rig.context, nullptr, 0, nullptr));
        rig.context.SetAnswer(0);
        EXPECT_TRUE(TalkNodeConditionsHold(rig.context, node, 2, nullptr));
        EXPECT_TRUE(TalkNodeConditionsHold(rig.context, nullptr, 0, nullptr));
        const CConditionRef* failing[] = {yes.Ref(), nullptr, no.Ref()};
        EXPECT_FALSE(TalkNodeConditionsHold(rig.context, failing, 3, nullptr));
    }
    {
        // A count from a record above five looks at five slots only.
        const CConditionRef* node[6] = {yes.Ref(), yes.Ref(), yes.Ref(), yes.Ref(), yes.Ref(), no.Ref()};
        EXPECT_TRUE(TalkNodeConditionsHold(rig.context, node, 255, nullptr));
    }
    {
        const ScriptTalkAnswer a0{yes.Ref(), "yes"};
        const ScriptTalkAnswer a1{no.Ref(), "no"};
        const ScriptTalkAnswer a2{nullptr, "always"};
        const ScriptTalkAnswer a4{nullptr, "fifth"};
        const ScriptTalkAnswer* answers[5] = {&a0, &a1, &a2, nullptr, &a4};
        const ScriptTalkAnswer* out[kMaxTalkAnswers + 1] = {};
        out[kMaxTalkAnswers] = &a4;  // a guard that must stay untouched
        EXPECT_EQ(SelectTopicsByCondition(rig.context, answers, 200, nullptr, out), 2u);
        EXPECT_EQ(out[0], &a0);
        EXPECT_EQ(out[1], nullptr);
        EXPECT_EQ(out[2], &a2);
        EXPECT_EQ(out[3], nullptr);
        EXPECT_EQ(out[4], &a4);
    }
    EXPECT_EQ(BoundConditionCount(9), 5);
    EXPECT_EQ(BoundConditionCount(3), 3);
    EXPECT_EQ(BoundAnswerCount(200), 4);
    EXPECT_EQ(BoundAnswerCount(4), 4);
}

// The dialogue records ask the script's evaluator through data's interface, with the same answers.
TEST(ScriptConditions, DialogueLinesAskTheScriptEvaluator) {
    ConditionRig rig;
    const Condition yes("", 0, 0, 1);
    const Condition no("", 0, 1, 1);
    const Condition fame("", -5, 8, 1);
    const CScriptConditionEvaluator evaluator(rig.context, nullptr);
    for (const Condition* c : {&yes, &no, &fame}) EXPECT_EQ(evaluator.Holds(*c->Ref()), rig.Holds(*c));

    CDialogueLine line;
    line.conditions[0] = new CConditionRef(*yes.Ref());
    line.conditions[2] = new CConditionRef(*fame.Ref());
    line.conditionCount = 3;
    auto* offered = new CDialogueChoice;
    offered->condition = new CConditionRef(*fame.Ref());
    offered->text = "offered";
    auto* hidden = new CDialogueChoice;
    hidden->condition = new CConditionRef(*no.Ref());
    hidden->text = "hidden";
    line.choices[0] = offered;
    line.choices[1] = hidden;
    line.choiceCount = 2;
    EXPECT_TRUE(line.Passes(evaluator));
    const CDialogueChoice* out[kMaxTalkAnswers] = {};
    EXPECT_EQ(SelectTopicsByCondition(line, evaluator, out), 1);
    EXPECT_EQ(out[0], offered);
    EXPECT_EQ(out[1], nullptr);
    line.conditions[1] = new CConditionRef(*no.Ref());
    EXPECT_FALSE(line.Passes(evaluator));
}

}  // namespace
