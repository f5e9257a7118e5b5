#include "script/ScriptContext.h"

#include "core/NamedObject.h"
#include "display/FontSet.h"
#include "script/ScriptCommands.h"
#include "script/ScriptEngine.h"
#include "script/ScriptMessages.h"
#include "script/PlayerCommands.h"

#include <algorithm>
#include <cstring>

using namespace script;

namespace {

// Without a game every command finds nothing and changes nothing.
IScriptWorld& NoWorld() {
    static IScriptWorld none;
    return none;
}

i32 Clamp(i32 v, i32 lo, i32 hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

CScriptContext::CScriptContext() {
    chosenEntry_.Assign("");
    listTitle_.Assign("");
    spellId_.Assign("");
    records_.reserve(4);
}

CScriptContext::~CScriptContext() {
    if (engine_ && engine_->GetContext() == this) engine_->SetContext(nullptr);
}

void CScriptContext::Attach(CGame* owner, CScriptEngine* engine) {
    game_ = owner;
    engine_ = engine;
    if (engine_) engine_->SetContext(this);
    u32 filled[4] = {};
    // The lists go map objects, creatures, the player, the world.
    static constexpr i32 kListBits[4] = {kTargetMapObject, kTargetCreature, kTargetPlayer, kTargetWorld};
    // The engine keeps one record per command however often a context attaches to it.
    const bool addRecords = engine_ && engine_->GetCommandRecordCount() == 0;
    for (const CommandRow& row : kCommandTable) {
        if (addRecords) engine_->AddCommandRecord(row);
        for (int t = 0; t < 4; ++t)
            if ((row.targetMask & kListBits[t]) && filled[t] + 1 < kCommandListSize)
                lists_[t][filled[t]++] = static_cast<u8>(row.id);
    }
    for (int t = 0; t < 4; ++t) lists_[t][filled[t]] = 0;
}

void CScriptContext::ResetForSetup() {
    answer_ = 0;
    answer2_ = 0;
    listBuilt_ = false;
    listTitle_.Assign("");
    if (world_) world_->DeletePendingList();
}

void CScriptContext::SetupEvent(i32 eventKind, IScriptMapObject* trigger, CMapSection* section,
                                CMapCell* cell, i32 x, i32 y, i32 side, i32 where, i32 routing) {
    ResetForSetup();
    eventKind_ = eventKind;
    trigger_ = trigger;
    creature_ = nullptr;
    section_ = section;
    cell_ = cell;
    place_ = ScriptPlace{section, x, y, side, where};
    routing_ = routing;
    npc_ = nullptr;
    if (trigger && trigger->GetTypeByte() == 12)
        npc_ = (world_ ? *world_ : NoWorld()).FindNpc(trigger->GetName());
}

void CScriptContext::SetupObjectEvent(i32 eventKind, IScriptCreature* creature, CMapSection* section,
                                      CMapCell* cell, i32 x, i32 y) {
    ResetForSetup();
    eventKind_ = eventKind;
    trigger_ = nullptr;
    creature_ = creature;
    section_ = section;
    cell_ = (x >= 0 && x < 35 && y >= 0 && y < 35) ? cell : nullptr;
    place_ = ScriptPlace{section, x, y, -1, 1};
    // Creature events come from the main game view, so their messages go there.
    routing_ = kRouteGameView;
    npc_ = creature ? (world_ ? *world_ : NoWorld()).FindNpc(creature->GetName()) : nullptr;
}

void CScriptContext::SetupWithoutTrigger(i32 eventKind, IScriptNpc* npc, i32 routing) {
    ResetForSetup();
    eventKind_ = eventKind;
    trigger_ = nullptr;
    creature_ = nullptr;
    section_ = nullptr;
    cell_ = nullptr;
    place_ = ScriptPlace{};
    npc_ = npc;
    routing_ = routing;
    damage_ = 0;
}

void CScriptContext::SetupTalkEvent(IScriptNpc* npc) { SetupWithoutTrigger(kEventUse, npc, kRouteTalk); }

void CScriptContext::SetupPageEvent() { SetupWithoutTrigger(kEventNone, nullptr, kRoutePages); }

void CScriptContext::SetEventObjects(const char* attacker, const char* target) {
    eventObjectNames_[0].Assign(attacker ? attacker : "");
    eventObjectNames_[1].Assign(target ? target : "");
}

i32 CScriptContext::RunScriptById(const char* id) {
    IScriptWorld& world = world_ ? *world_ : NoWorld();
    const u8* code = nullptr;
    u32 size = 0;
    if (!id || !world.FindScriptCode(id, code, size)) return -1;
    if (!code || !engine_) return 0;
    if (engine_->LoadScript(code, size) != 0) {
        PostScriptError();
        return 0;
    }
    const i32 result = engine_->Run();
    return (result == 0 || result == 20) ? 1 : 0;
}

void CScriptContext::RunTriggerScript(const char* scriptId) {
    if (!scriptId || !*scriptId) return;
    RunScriptById(scriptId);
    (world_ ? *world_ : NoWorld()).RebuildChangedCells(*this);
}

void CScriptContext::PostScriptError() {
    (world_ ? *world_ : NoWorld()).PostMessageEvent("Script error!", 1);
}

void CScriptContext::FindOrAddStateRecord(CMapSection* section, i32 where, i32 x, i32 y, i32 side) {
    const ScriptStateRecord record{section, where, x, y, side};
    if (std::find(records_.begin(), records_.end(), record) == records_.end()) records_.push_back(record);
}

void CScriptContext::ClearStateRecords() {
    records_.clear();
    records_.shrink_to_fit();
    records_.reserve(4);
}

i32 CScriptContext::DispatchToMapObject(IScriptMapObject* object, const ScriptPlace& place, i32 command,
                                        const ScriptArgs& args, ScriptResult& result) {
    if (!object) return 0;
    bool changed = false;
    const i32 code = object->ExecuteCommand(place, command, args, result, changed);
    if (changed) {
        FindOrAddStateRecord(place.section, place.where, place.x, place.y, place.side);
        // A visibility change of a type-5 object shows on every side of its cell.
        if (object->GetTypeByte() == 5 && (command == 110 || command == 111))
            for (i32 side = 0; side < 4; ++side)
                FindOrAddStateRecord(place.section, place.where, place.x, place.y, side);
    }
    return code;
}

i32 CScriptContext::DispatchToCreature(IScriptCreature* creature, const ScriptPlace& place, i32 command,
                                       const ScriptArgs& args, ScriptResult& result) {
    if (!creature) return 0;
    bool changed = false;
    const i32 code = creature->ExecuteMonsterCommand(place, command, args, result, changed);
    if (changed) FindOrAddStateRecord(place.section, place.where, place.x, place.y, place.side);
    return code;
}

i32 CScriptContext::RunCommand(const char* target, i32 command, const ScriptArgs& args,
                               ScriptResult& result) {
    const CommandRow* row = engine_ ? engine_->GetCommandRecord(command) : nullptr;
    if (!row) row = FindCommand(command);
    // Code 255 reads as a command but names none.
    if (!row) return 1;
    if (row->targetMask & kTargetWorld) return ExecuteWorldCommand(command, args, result);

    IScriptWorld& world = world_ ? *world_ : NoWorld();
    const char* name = target ? target : "";
    if (CompareStringsNoCase(name, "(this)") == 0) {
        if (creature_) return DispatchToCreature(creature_, place_, command, args, result);
        if (trigger_) return DispatchToMapObject(trigger_, place_, command, args, result);
        return 12;
    }
    if (CompareStringsNoCase(name, "player") == 0) {
        IScriptPlayer* player = world.GetPlayer();
        if (!player) return 12;
        return player->ExecuteCommand(*this, command, args, result);
    }
    const IScriptWorld::Target found = world.FindMapObjectByName(name);
    switch (found.kind) {
    case kObjectMapObject:
        return DispatchToMapObject(found.mapObject ? found.mapObject : world.GetDefaultMapObject(),
                                   found.place, command, args, result);
    case kObjectCreature:
        return DispatchToCreature(found.creature ? found.creature : world.GetFallbackCreature(), found.place,
                                  command, args, result);
    case 0: return 12;
    default: return 0;
    }
}

void CScriptContext::PassTimeTo(const char* text) {
    const u32 length = static_cast<u32>(std::strlen(text));
    if (length <= 2) return;
    i32 n = ParseInt(text);
    // A negative time names no hour of the day.
    if (n < 0) return;
    if (n < 100) n *= 100;
    if (n >= 1300) return;
    if (CompareStringsNoCase(text + length - 2, "am") == 0) {
        if (n >= 1200) n -= 1200;
    } else if (n < 1200) {
        n += 1200;
    }
    IScriptWorld& world = world_ ? *world_ : NoWorld();
    const i32 goal = (n / 100) * 60 + n % 100;
    const i32 current = static_cast<i32>(world.GetClock() % 1440);
    i32 advance = 0;
    if (goal > current)
        advance = goal - current;
    else if (goal < current)
        advance = 1440 - (current - goal);
    if (advance) world.AdvanceClock(advance % 60, advance / 60, 0);
}

void CScriptContext::SetMapFog(const ScriptArgs& args, bool reset) {
    IScriptWorld& world = world_ ? *world_ : NoWorld();
    CMapSection* section = world.FindSectionInAllWorlds(args[0].GetText());
    if (!section || world.IsSurfaceSection(section)) return;
    if (reset) {
        world.ResetSectionFog(section);
    } else {
        const char* colour = args[2].GetText();
        u16 fog = 0;
        if (std::strlen(colour) == 6)
            fog = PackRGB565(ParseHexByte(colour), ParseHexByte(colour + 2), ParseHexByte(colour + 4));
        world.SetSectionFog(section, static_cast<u8>(Clamp(args[1].GetNumber(), 0, 100)), fog);
    }
    if (section == world.GetCurrentSection()) world.RefreshView();
}

void CScriptContext::CreateMonsterCommand(i32 command, const ScriptArgs& args) {
    IScriptWorld& world = world_ ? *world_ : NoWorld();
    CMapSection* section = world.GetCurrentSection();
    if (!section) return;
    CMonsterType* type = world.FindMonsterType(args[0].GetText());
    if (!type) return;
    if (command == 206) {
        world.RemoveMonstersOfType(section, type);
        return;
    }
    i32 x = 0;
    i32 y = 0;
    bool scripted = true;
    if (command == 207) {
        if (!world.GetMapObjectPosition(args[1].GetText(), x, y)) return;
        scripted = false;
    } else if (command == 208) {
        x = args[1].GetNumber();
        y = args[2].GetNumber();
    } else {
        static constexpr i32 kStepX[4] = {0, -1, 0, 1};
        static constexpr i32 kStepY[4] = {-1, 0, 1, 0};
        const i32 dir = ParseDirectionLetter(args[1].GetText());
        const i32 distance = args[2].GetNumber();
        world.GetPlayerCell(x, y);
        x = static_cast<i32>(u32(x) + u32(distance) * u32(kStepX[dir]));
        y = static_cast<i32>(u32(y) + u32(distance) * u32(kStepY[dir]));
        if (world.IsSurfaceSection(section)) {
            x -= 7;
            y -= 7;
        }
    }
    // A position from a script that lies outside the section would put a creature off the map.
    i32 width = 0;
    i32 height = 0;
    world.GetSectionSize(section, width, height);
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    world.CreateMonster(section, type, x, y, scripted);
}

i32 CScriptContext::ExecuteWorldCommand(i32 command, const ScriptArgs& args, ScriptResult& result) {
    IScriptWorld& world = world_ ? *world_ : NoWorld();
    auto number = [&result](i32 n) { result = std::make_unique<CScriptValue>(n); };
    auto truth = [&result](bool b) { result = std::make_unique<CScriptValue>(b ? 1 : 0); };
    const u32 clock = world.GetClock();
    const char* a1 = args[0].GetText();

    switch (command) {
    case 100:
    case 252: {
        // A name that no global has yields the default value: 0, or the empty text.
        const CScriptValue* global = world.FindGlobal(a1);
        if (command == 100)
            number(global ? global->GetNumber() : 0);
        else
            result = std::make_unique<CScriptValue>(global ? global->GetText() : "");
        break;
    }
    case 101:
        if (CScriptValue* global = world.FindGlobal(a1)) {
            global->SetNumber(args[1].GetNumber());
            world.GlobalChanged(a1);
        }
        break;
    case 253:
        if (CScriptValue* global = world.FindGlobal(a1)) {
            global->SetString(args[1].GetText());
            world.GlobalChanged(a1);
        }
        break;
    case 117:
    case 118: {
        const u32 hour = (clock % 1440) / 60;
        const bool day = hour >= 6 && hour <= 21;
        truth(command == 117 ? day : !day);
        break;
    }
    case 119: number(static_cast<i32>(clock)); break;
    case 120: number(static_cast<i32>(clock / 1440 + 1)); break;
    case 121: number(static_cast<i32>((clock % 1440) / 60)); break;
    case 122: number(static_cast<i32>((clock % 1440) % 60)); break;
    case 123:
    case 124:
    case 125: {
        const u32 t = static_cast<u32>(args[0].GetNumber());
        u32 diff = t > clock ? 0 : clock - t;
        if (command == 123)
            diff = diff / 60 / 24;
        else if (command == 124)
            diff /= 60;
        number(static_cast<i32>(diff));
        break;
    }
    case 244: world.AdvanceClock(args[2].GetNumber(), args[1].GetNumber(), args[0].GetNumber()); break;
    case 249: PassTimeTo(a1); break;
    case 221:
    case 222:
    case 223:
    case 224:
    case 225:
    case 226:
    case 227:
    case 243:
    case 245:
    case 247: {
        static constexpr struct {
            i32 command;
            i32 kind;
        } kEvents[] = {{221, 1},  {222, 2},  {223, 4},   {224, 8},   {225, 16},
                       {226, 32}, {227, 64}, {243, 128}, {245, 256}, {247, 512}};
        for (const auto& e : kEvents)
            if (e.command == command) truth(eventKind_ == e.kind);
        break;
    }
    case 129: truth(eventKind_ == kEventSpell && *a1 && CompareStrings(a1, spellId_.GetText()) == 0); break;
    case 130:
        truth(eventKind_ == kEventHit && *a1 &&
              (CompareStrings(a1, eventObjectNames_[0].GetText()) == 0 ||
               CompareStrings(a1, eventObjectNames_[1].GetText()) == 0));
        break;
    case 127: number(damage_); break;
    case 128: damage_ = args[0].GetNumber(); break;
    case 229: {
        bool changed = false;
        if (trigger_) {
            trigger_->HandleEvent(eventKind_, place_, cell_, changed);
            FindOrAddStateRecord(place_.section, place_.where, place_.x, place_.y, place_.side);
        } else if (creature_) {
            creature_->HandleMonsterEvent(eventKind_, place_, cell_, changed);
            FindOrAddStateRecord(place_.section, place_.where, place_.x, place_.y, place_.side);
        }
        break;
    }
    case 232: number(answer_); break;
    case 168: truth(args[0].HasText() && CompareStrings(a1, world.GetCurrentMapName()) == 0); break;
    case 169: truth(args[0].HasText() && CompareStrings(a1, world.GetCurrentWorldId()) == 0); break;
    case 142: number(world.GetItemValue(a1)); break;
    case 188: number(static_cast<i32>(world.NextRandom(args[0].GetNumber()))); break;
    case 187: ShowGameMessage(*this, a1, 0); break;
    case 230:
    case 231:
        if (routing_ == kRouteGameView) world.PostMessageEvent(a1, command == 230 ? 12 : 3);
        break;
    case 238:
        if (routing_ == kRouteGameView) {
            listBuilt_ = true;
            listTitle_.Assign(a1);
            world.CreatePendingList(a1);
        } else if (routing_ == kRouteTalk) {
            world.ClearTalkTopics();
            listBuilt_ = true;
        }
        break;
    case 170: {
        if (!((routing_ == kRouteGameView && listBuilt_) || routing_ == kRouteTalk)) break;
        const char* title = args[1].GetText();
        static constexpr const char* kPacks[3] = {"exppack1", "exppack2", "exppack3"};
        for (int n = 3; n >= 1; --n) {
            if (CompareStrings(a1, kPacks[n - 1]) == 0 && CompareStrings(title, kPacks[n - 1]) == 0) {
                world.AddWorldStartEntries(n, routing_ == kRouteTalk);
                return 0;
            }
        }
        if (routing_ == kRouteGameView)
            world.AddPendingListEntry(a1, title);
        else
            world.AddTalkTopic(a1, title);
        break;
    }
    case 171:
        if (routing_ == kRouteGameView && listBuilt_) world.PostShowObjectListEvent();
        break;
    case 172:
        if (routing_ == kRouteTalk)
            result = std::make_unique<CScriptValue>(chosenEntry_.GetText());
        else if (routing_ == kRouteGameView)
            result = std::make_unique<CScriptValue>(listBuilt_ ? chosenEntry_.GetText() : "");
        else
            result = std::make_unique<CScriptValue>(static_cast<const char*>(nullptr));
        break;
    case 233:
        if (routing_ == kRouteTalk) world.EndTalk();
        break;
    case 248:
        if (routing_ == kRouteTalk) world.SetTalkGoNext();
        break;
    case 250:
        if (routing_ == kRouteTalk) world.SetTalkGoFirst();
        break;
    case 189: world.PostTalkEvent(a1); break;
    case 202: number(world.GetCloud()); break;
    case 204: number(world.GetRain()); break;
    case 203:
        world.SetSkyName(a1);
        world.SetCloud(Clamp(args[1].GetNumber(), 0, 100));
        world.RedrawSky();
        break;
    case 205: world.SetRain(Clamp(args[0].GetNumber(), 0, 999)); break;
    case 190:
    case 191: SetMapFog(args, command == 191); break;
    case 206:
    case 207:
    case 208:
    case 209: CreateMonsterCommand(command, args); break;
    case 217:
    case 218: {
        const bool attract = command == 217;
        const i32 changed = world.ScanCreatures(args[0].GetNumber(), attract ? 1 : 0);
        const char* text = attract ? (changed ? "You have attracted some monsters."
                                              : "You have failed to attract any monsters.")
                                   : (changed ? "You have calmed some monsters down."
                                              : "You have failed to calm any monsters down.");
        ShowGameMessage(*this, text, 1);
        break;
    }
    case 211: world.PlaySound(a1, args[1].GetNumber()); break;
    case 212: world.PlayMusic(a1); break;
    case 219: world.PostPlaySceneEvent(a1); break;
    default:
        // "playcard" has the world bit but nothing to act on until the card game exists.
        break;
    }
    return 0;
}
