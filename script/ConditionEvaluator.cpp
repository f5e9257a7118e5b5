#include "script/ConditionEvaluator.h"

#include "core/Str.h"
#include "script/ScriptContext.h"

namespace {

struct AmountRun {
    u32 count;
    u32 first;
    u32 step;
};
// Entry 0 is 0; the runs follow it.
constexpr AmountRun kAmountRuns[] = {
    {20, 1, 1},
    {4, 25, 25},
    {8, 150, 50},
    {15, 600, 100},
    {6, 2500, 500},
    {5, 6000, 1000},
    {18, 15000, 5000},
    {10, 110000, 10000},
    {16, 250000, 50000},
    {10, 1100000, 100000},
    {16, 2500000, 500000},
    {90, 11000000, 1000000},
    {9, 200000000, 100000000},
};

bool Compare(i32 x, i32 v, u8 op) {
    switch (op) {
    case 1: return x == v;
    case 2: return x != v;
    case 3: return x > v;
    case 4: return x >= v;
    case 5: return x < v;
    case 6: return x <= v;
    default: return false;
    }
}

}  // namespace

u32 GetAmountScaleEntry(u32 index) {
    if (index == 0 || index >= kAmountScaleSize) return 0;
    u32 at = index - 1;
    for (const AmountRun& run : kAmountRuns) {
        if (at < run.count) return run.first + at * run.step;
        at -= run.count;
    }
    return 0;
}

bool EvaluateCondition(CScriptContext& context, const CConditionRef* condition, IScriptNpc* partner) {
    StoredCondition c;
    if (!condition || !DecodeStoredCondition(*condition, c)) return false;
    static IScriptWorld none;
    IScriptWorld& world = context.GetWorld() ? *context.GetWorld() : none;
    static IScriptPlayer nobody;
    const IScriptPlayer& player = world.GetPlayer() ? *world.GetPlayer() : nobody;
    const char* param = c.parameter;
    const IScriptCreature* own = context.GetCreature();
    const u32 clock = world.GetClock();
    auto named = [&world, param]() { return world.FindMonsterByName(param); };
    auto sinceGlobal = [&world, param, clock](u32 unit) -> i32 {
        const CScriptValue* global = world.FindGlobal(param);
        if (!global) return 0;
        const u32 t = static_cast<u32>(global->GetNumber());
        return t > clock ? 0 : static_cast<i32>((clock - t) / unit);
    };

    i32 x = 0;
    switch (c.kind) {
    case 0: return true;
    case 1:
    case 5: return false;
    case 2: x = context.GetAnswer(); break;
    case 3: x = player.GetCrime(); break;
    case 4: x = player.GetGold() >= static_cast<u32>(player.GetCrime()) * 100u; break;
    case 6: x = player.GetFame() >= 0; break;
    case 7: x = player.GetFame() < 0; break;
    case 8: x = player.GetFame(); break;
    case 9: x = player.GetOutfit(); break;
    case 10: x = player.GetHpPercent(); break;
    case 11: x = player.GetLevel(); break;
    case 12: x = player.GetRaceIndex() == c.extra; break;
    case 13: x = player.GetArmorClass(1); break;
    case 14:
        // Attributes are numbered 1..5; another number names nothing.
        if (c.extra < 1 || c.extra > 5) return false;
        x = player.GetAttribute(c.extra);
        break;
    case 15:
        if (c.extra > 20) return false;
        x = c.extra ? player.GetSkillValue(c.extra) : 0;
        break;
    case 16: x = player.GetRaceIndex() == 1; break;
    case 17: x = partner && player.GetRaceIndex() == partner->GetRaceByte(); break;
    case 18: x = player.CountItems(param); break;
    case 19: x = player.IsDiseased(param); break;
    case 20: {
        const IScriptCreature* creature = named();
        x = creature && creature->HasAnyDisease();
        break;
    }
    case 21: x = player.GetPoisonStrength(); break;
    case 22: {
        const IScriptCreature* creature = named();
        x = creature ? creature->GetPoisonStrength() : 0;
        break;
    }
    case 23: x = player.KnowsSpell(param); break;
    case 24: x = player.GetSavedXp() != 0; break;
    case 25:
        // The scale has 228 amounts; a larger index asks for nothing the game knows.
        if (c.extra >= kAmountScaleSize) return false;
        x = player.GetGold() >= GetAmountScaleEntry(c.extra);
        break;
    case 26: x = player.HasAbility(param); break;
    case 27: x = 0; break;
    case 28: {
        const IScriptWorld::Target target = world.FindMapObjectByName(param);
        x = target.mapObject ? target.mapObject->GetState() : 0;
        break;
    }
    case 29: x = partner ? partner->GetWillingness() : 0; break;
    case 30: x = static_cast<i32>(world.NextRandom(100)); break;
    case 31: x = world.GetCloud(); break;
    case 32: x = world.GetRain(); break;
    case 33: x = static_cast<i32>((clock % 1440) / 60); break;
    case 34: x = static_cast<i32>(clock / 1440 + 1); break;
    case 35: x = sinceGlobal(60); break;
    case 36: x = sinceGlobal(1440); break;
    case 37:
    case 38: {
        const u32 hour = (clock % 1440) / 60;
        const bool day = hour >= 6 && hour <= 21;
        x = c.kind == 37 ? day : !day;
        break;
    }
    case 39: {
        const CScriptValue* global = world.FindGlobal(param);
        x = global ? global->GetNumber() : 0;
        break;
    }
    case 40: {
        const IScriptWorld::Target target = world.FindMapObjectByName(param);
        x = target.mapObject && target.mapObject->IsClosed();
        break;
    }
    case 41: {
        const IScriptCreature* creature = named();
        x = creature && creature->IsAggressive();
        break;
    }
    case 42: x = player.HasQuest(param); break;
    case 43: x = player.IsQuestSolved(param); break;
    case 44: x = player.IsQuestFailed(param); break;
    case 45: x = CompareStrings(param, world.GetCurrentMapName()) == 0; break;
    case 46: x = CompareStrings(param, world.GetCurrentWorldId()) == 0; break;
    case 47: x = player.IsParalyzed(); break;
    case 48: {
        const IScriptCreature* creature = named();
        x = creature && creature->IsParalyzed();
        break;
    }
    case 49: x = player.IsCursed(); break;
    case 50: {
        const IScriptCreature* creature = named();
        x = creature && creature->IsCursed();
        break;
    }
    case 51: x = *context.GetChosenEntry() != '\0'; break;
    case 52: x = context.GetTrigger() ? context.GetTrigger()->GetState() : 0; break;
    case 53: x = static_cast<i8>(player.GetGender()); break;
    case 54: x = own && own->IsAggressive(); break;
    case 55: x = own && own->IsParalyzed(); break;
    case 56: x = own && own->HasAnyDisease(); break;
    case 57: x = own && own->IsCursed(); break;
    case 58: x = own ? own->GetPoisonStrength() : 0; break;
    case 59: x = own && CompareStrings(own->GetKindId(), param) == 0; break;
    case 60: x = own && CompareStrings(own->GetTypeId(), param) == 0; break;
    default: return false;
    }
    return Compare(x, c.value, c.op);
}

bool TalkNodeConditionsHold(CScriptContext& context, const CConditionRef* const* conditions, u32 count,
                            IScriptNpc* partner) {
    if (count > kMaxTalkNodeConditions) count = kMaxTalkNodeConditions;
    bool asksAnswer = false;
    for (u32 i = 0; i < count; ++i) {
        const CConditionRef* condition = conditions ? conditions[i] : nullptr;
        if (!condition || !condition->data) continue;
        if (!EvaluateCondition(context, condition, partner)) return false;
        StoredCondition c;
        if (DecodeStoredCondition(*condition, c) && c.kind == 2) asksAnswer = true;
    }
    return asksAnswer || context.GetAnswer() == 0;
}

u32 SelectTopicsByCondition(CScriptContext& context, const ScriptTalkAnswer* const* answers, u32 count,
                            IScriptNpc* partner, const ScriptTalkAnswer* out[kMaxTalkAnswers]) {
    if (count > kMaxTalkAnswers) count = kMaxTalkAnswers;
    u32 set = 0;
    for (u32 i = 0; i < count; ++i) {
        const ScriptTalkAnswer* answer = answers ? answers[i] : nullptr;
        out[i] = nullptr;
        if (!answer) continue;
        if (!answer->condition || !answer->condition->data ||
            EvaluateCondition(context, answer->condition, partner)) {
            out[i] = answer;
            ++set;
        }
    }
    return set;
}
