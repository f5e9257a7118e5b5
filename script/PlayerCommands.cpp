#include "script/PlayerCommands.h"

#include "core/Str.h"
#include "script/ScriptContext.h"
#include "script/ScriptMessages.h"

#include <cstring>
#include <string>

namespace {

constexpr u32 kMaxGold = 1000000000u;

IScriptWorld& WorldOf(CScriptContext& context) {
    static IScriptWorld none;
    return context.GetWorld() ? *context.GetWorld() : none;
}

// The base world's prefixes; a ship home from there goes nowhere.
bool IsBaseWorldPrefix(const char* prefix) {
    for (const char* base : {"base", "bres", "bmus", "bsnd"})
        if (CompareFirstFourNoCase(prefix, base) == 0) return true;
    return false;
}

}  // namespace

i32 TransitionKindFromKeyword(const char* keyword) {
    static constexpr struct {
        const char* word;
        i32 kind;
    } kKinds[] = {{"teleport", 1},    {"hole", 2},     {"fall", 3},      {"ladderdown", 4},
                  {"ladder down", 4}, {"ladderup", 5}, {"ladder up", 5}, {"stairdown", 6},
                  {"stair down", 6},  {"stairup", 7},  {"stair up", 7}};
    if (!keyword) return 0;
    for (const auto& k : kKinds)
        if (CompareStringsNoCase(keyword, k.word) == 0) return k.kind;
    return 0;
}

i32 ParseDirectionLetter(const char* word) {
    if (!word) return 0;
    switch (word[0]) {
    case 'w':
    case 'W': return 1;
    case 's':
    case 'S': return 2;
    case 'e':
    case 'E': return 3;
    default: return 0;
    }
}

const char* GetHighestSkill(const IScriptPlayer& player, const char* list) {
    static constexpr size_t kMaxItem = 83;
    i32 best = 0;
    i32 bestSkill = 0;
    std::string all = list ? list : "";
    size_t start = 0;
    while (start <= all.size()) {
        size_t comma = all.find(',', start);
        if (comma == std::string::npos) comma = all.size();
        const std::string item = all.substr(start, std::min(comma - start, kMaxItem));
        const i32 skill = player.FindSkillId(item.c_str());
        if (skill) {
            const i32 value = player.GetSkillDetails(skill);
            if (value > best) {
                best = value;
                bestSkill = skill;
            }
        }
        start = comma + 1;
    }
    return bestSkill ? player.GetSkillKey(bestSkill) : "";
}

i32 IScriptPlayer::ExecuteCommand(CScriptContext& context, i32 command, const ScriptArgs& args,
                                  ScriptResult& result) {
    return ExecutePlayerScriptCommand(context, *this, command, args, result);
}

i32 ExecutePlayerScriptCommand(CScriptContext& context, IScriptPlayer& player, i32 command,
                               const ScriptArgs& args, ScriptResult& result) {
    IScriptWorld& world = WorldOf(context);
    const char* t1 = args[0].GetText();
    const char* t2 = args[1].GetText();
    const i32 n1 = args[0].GetNumber();
    const i32 n2 = args[1].GetNumber();
    auto number = [&result](i32 n) { result = std::make_unique<CScriptValue>(n); };
    auto truth = [&result](bool b) { result = std::make_unique<CScriptValue>(b ? 1 : 0); };
    auto text = [&result](const char* s) { result = std::make_unique<CScriptValue>(s ? s : ""); };

    switch (command) {
    case 131: player.AddQuest(t1); break;
    case 132:
    case 133: {
        const bool solved = command == 132;
        if (const char* title = player.SetQuestState(t1, solved ? 1 : 2)) {
            CStr message;
            message.Format(solved ? "The %s quest has been solved." : "The %s quest has failed.", title);
            ShowGameMessage(context, message.GetText(), 0);
        }
        break;
    }
    case 134: truth(player.HasQuest(t1)); break;
    case 135: truth(player.IsQuestSolved(t1)); break;
    case 136: truth(player.IsQuestFailed(t1)); break;
    case 137: player.RemoveQuest(t1); break;
    case 138: player.FindItem(t1, n2, true); break;
    case 139: player.ReceiveItem(t1, n2, true); break;
    case 140: player.RemoveItems(t1, n2); break;
    case 141: truth(player.CountItems(t1) >= n2); break;
    case 143:
        if (n1 < 0)
            player.RemoveXp(static_cast<i32>(0u - static_cast<u32>(n1)), true);
        else
            player.AddXp(n1, true);
        break;
    case 144: player.RemoveXp(n1, n2 != 0); break;
    case 145: player.RestoreSavedXp(); break;
    case 146: player.AddGold(n1, true, true); break;
    case 147: {
        u64 gold = u64(player.GetGold()) + u64(i64(n1));
        if (i64(player.GetGold()) + i64(n1) < 0) gold = 0;
        player.SetGold(static_cast<u32>(gold > kMaxGold ? kMaxGold : gold));
        CStr message;
        message.Format("You have %s %ld%c.", "received", n1, 9);
        ShowGameMessage(context, message.GetText(), 0);
        break;
    }
    case 148: player.RemoveGold(n1, true); break;
    case 149: number(static_cast<i32>(player.GetGold())); break;
    case 151: world.PostChangeMapEvent(t1, TransitionKindFromKeyword(t2)); break;
    case 152: {
        const i32 skill = player.FindSkillId(t1);
        number(skill ? player.GetSkillValue(skill) : 0);
        break;
    }
    case 153:
        if (const i32 skill = player.FindSkillId(t1)) player.AddSkillValue(skill, n2, true);
        break;
    case 154: player.LearnSpell(t1, true); break;
    case 155: player.ForgetSpell(t1); break;
    case 156: truth(player.KnowsSpell(t1)); break;
    case 157: player.AddAbility(t1, true); break;
    case 158: player.RemoveAbility(t1); break;
    case 159: truth(player.HasAbility(t1)); break;
    case 160: {
        const i32 attribute = player.FindAttributeId(t1);
        number(attribute ? player.GetAttributeValue(attribute, true) : 0);
        break;
    }
    case 161:
        if (const i32 attribute = player.FindAttributeId(t1)) player.AddAttributeValue(attribute, n2, true);
        break;
    case 162: world.PostChangeMapEvent(t1, 0); break;
    case 163: world.PostMapPromptEvent(t1, t2, 0, 0); break;
    case 164: world.PostTurnEvent(ParseDirectionLetter(t1)); break;
    case 165: world.PostSetPositionEvent(n1, n2); break;
    case 166:
    case 167: {
        i32 x = 0;
        i32 y = 0;
        world.GetPlayerCell(x, y);
        i32 v = command == 166 ? x : y;
        CMapSection* section = world.GetCurrentSection();
        if (section && world.IsSurfaceSection(section)) v -= 7;
        number(v);
        break;
    }
    case 173: player.InfectDisease(t1); break;
    case 174: player.CureDisease(t1); break;
    case 175: truth(player.IsDiseased(t1)); break;
    case 176: text(player.GetRaceKey()); break;
    case 177: number(player.GetHp()); break;
    case 178: player.SetHp(n1, true); break;
    case 179: player.AddHp(n1, true); break;
    case 180: player.SetFullHp(true); break;
    case 181: number(player.GetMaxHp()); break;
    case 182: number(player.GetMana()); break;
    case 183: player.SetMana(n1, true); break;
    case 184: player.AddMana(n1, true); break;
    case 185: player.SetFullMana(true); break;
    case 186: number(player.GetMaxMana()); break;
    case 192: truth(player.GetFame() >= 0); break;
    case 193: truth(player.GetFame() < 0); break;
    case 194: truth(player.GetRaceIndex() == 1); break;
    case 195: world.CastSpellAtPlayer(t1, n2); break;
    case 196: number(player.GetFame()); break;
    case 197: player.AddFame(n1); break;
    case 198: number(player.GetCrime()); break;
    case 199: player.ClearCrime(); break;
    case 200: player.AddCrime(n1); break;
    case 201: number(player.GetOutfit()); break;
    case 210: number(player.GetLevel()); break;
    case 213: number(player.GetArmorClass(1)); break;
    case 228: world.PostMapPromptEvent(t1, t2, TransitionKindFromKeyword(args[2].GetText()), 0); break;
    case 234: world.PostJailEvent(t1); break;
    case 235: world.PostStepBackEvent(); break;
    case 236: world.ClearJail(); break;
    case 237: truth(world.GetJailState() != 0); break;
    case 242: number(static_cast<i32>(player.GetSavedXp())); break;
    case 246: truth(player.GetGender() != 0); break;
    case 251: text(GetHighestSkill(player, t1)); break;
    case 254: {
        std::string target = t1;
        std::string voyage = t2;
        if (CompareStrings(t1, "expback") == 0) {
            if (!world.IsWorldOpen() || IsBaseWorldPrefix(world.GetCurrentWorldPrefix())) break;
            const i32 expansion = world.GetCurrentWorldExpansion();
            if (expansion < 1 || expansion > 3) break;
            target = "base_city" + std::to_string(expansion);
            voyage = "The ship takes you back to Viruredi.";
        }
        world.PostShipVoyageEvent(target.c_str(), voyage.c_str());
        break;
    }
    default: break;
    }
    return 0;
}
