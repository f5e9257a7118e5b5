#include "world/GameScriptWorld.h"

#include <algorithm>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/CharacterTables.h"
#include "data/MapSection.h"
#include "data/Npc.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "world/Creatures.h"
#include "world/GameMapObjects.h"
#include "world/GameScreen.h"

// An NPC record as the scripts and the conditions see it. It holds the id, not the record: a world
// reset frees the records, and the next question finds the new world's record of that id, or none.
class CGameScriptWorld::CNpcView : public IScriptNpc {
public:
    CNpcView(const CGameScreen& view, std::string id) : view_(view), id_(std::move(id)) {}
    const char* GetName() const override { return Record() ? id_.c_str() : ""; }
    u8 GetRaceByte() const override { return Record() ? Record()->GetRace() : 1; }
    i32 GetWillingness() const override { return Record() ? static_cast<i32>(Record()->talkFlag) : 0; }

private:
    const CNpc* Record() const {
        const CWorldLists* lists = view_.GetHost() ? view_.GetHost()->GetWorldLists() : nullptr;
        return lists ? lists->npcs.FindById(id_.c_str()) : nullptr;
    }
    const CGameScreen& view_;
    std::string id_;
};

// The creature that answers for a placed object without one. Its type is made anew for each command
// from the open world's kind, so nothing of it outlives a world reset.
class CGameScriptWorld::CFallbackCreature : public IScriptCreature {
public:
    explicit CFallbackCreature(const CCreatureKind* kind) { type_.SetKind(kind); }
    const char* GetName() const override { return type_.kindId ? type_.kindId : ""; }
    i32 ExecuteMonsterCommand(const ScriptPlace&, i32 command, const ScriptArgs&, ScriptResult& result,
                              bool&) override {
        // As the placed creatures' handler, every command gives a value; a query of the type gives
        // the type's, anything else 0 (it stands nowhere, has nothing and changes nothing).
        i32 value = 0;
        switch (command) {
        case 177:
        case 181: value = type_.values[creature::kMaxHp]; break;
        case 194: value = type_.kind == kCreatureUndead ? 1 : 0; break;
        case 210: value = type_.level; break;
        case 213: value = type_.values[creature::kArmourClass]; break;
        default: break;
        }
        if (command >= 100 && command <= 254) result = std::make_unique<CScriptValue>(value);
        return 0;
    }
    const char* GetKindId() const override { return GetName(); }

private:
    CMonsterType type_;
};

CGameScriptWorld::CGameScriptWorld(CGameScreen& view) : view_(view), player_(view) {}

CGameScriptWorld::~CGameScriptWorld() = default;

namespace {

CGlobalVar* FindWorldGlobal(const CGameScreen& view, const char* name) {
    CWorldLists* lists = view.GetHost() ? view.GetHost()->GetWorldLists() : nullptr;
    return lists && name && *name ? lists->globals.FindById(name) : nullptr;
}

}  // namespace

CScriptValue* CGameScriptWorld::FindGlobal(const char* name) {
    const CGlobalVar* variable = FindWorldGlobal(view_, name);
    if (!variable) return nullptr;
    CScriptValue& copy = globals_[name];
    if (variable->type)
        copy.SetString(variable->text.c_str());
    else
        copy.SetNumber(variable->number);
    return &copy;
}

void CGameScriptWorld::GlobalChanged(const char* name) {
    CGlobalVar* variable = FindWorldGlobal(view_, name);
    const auto copy = name ? globals_.find(name) : globals_.end();
    if (!variable || copy == globals_.end()) return;
    variable->type = copy->second.IsString() ? 1 : 0;
    variable->number = copy->second.GetNumber();
    variable->text = copy->second.GetText() ? copy->second.GetText() : "";
}

const char* CGameScriptWorld::GetRaceName(u8 raceIndex) const {
    const CPlayer* player = view_.GetPlayer();
    const CRuleContext* rules = player ? player->GetWorld() : nullptr;
    const char* name = rules && rules->races ? rules->races->GetName(raceIndex) : nullptr;
    return name ? name : "";
}

IScriptNpc* CGameScriptWorld::FindNpc(const char* id) {
    const CWorldLists* lists = view_.GetHost() ? view_.GetHost()->GetWorldLists() : nullptr;
    if (!id || !*id || !lists || !lists->npcs.FindById(id)) return nullptr;
    std::unique_ptr<CNpcView>& npc = npcs_[id];
    if (!npc) npc = std::make_unique<CNpcView>(view_, id);
    return npc.get();
}

bool CGameScriptWorld::IsSurfaceSection(CMapSection* section) const {
    return section && section->IsSurface();
}

bool CGameScriptWorld::CastSpellAtPlayer(const char* spellId, i32 skillValue) {
    const CPlayer* player = view_.GetPlayer();
    const CRuleContext* rules = player ? player->GetWorld() : nullptr;
    const CSpell* spell =
        rules && rules->spells && spellId && *spellId ? rules->spells->FindById(spellId) : nullptr;
    if (!spell || !view_.mapObjects) return false;
    view_.mapObjects->CastSpellAtPlayer(spell, skillValue);
    return true;
}

void CGameScriptWorld::PlaySound(const char* name, i32 volume) {
    if (name && *name) view_.PlaySound(name, volume);
}

u32 CGameScriptWorld::NextRandom(i32 n) {
    return view_.random && n > 0 ? view_.random->Next(static_cast<u32>(n)) : 0;
}

u32 CGameScriptWorld::GetClock() const { return view_.gameClock.minutes; }

// Scripts pass time forward only: a negative span is none.
void CGameScriptWorld::AdvanceClock(i32 minutes, i32 hours, i32 days) {
    if (days < 0 || hours < 0 || minutes < 0) return;
    view_.gameClock.AdvanceClock(static_cast<u32>(days), static_cast<u32>(hours), static_cast<u32>(minutes));
}

const char* CGameScriptWorld::FormatDateTime() const {
    view_.FormatDateTime(dateTime_);
    return dateTime_.GetText();
}

CMapSection* CGameScriptWorld::GetCurrentSection() { return view_.section; }

const char* CGameScriptWorld::GetCurrentMapName() const {
    return view_.section && view_.section->GetName() ? view_.section->GetName() : "";
}

const char* CGameScriptWorld::GetCurrentMapDisplayName() const {
    return view_.section && view_.section->displayName ? view_.section->displayName : "";
}

const char* CGameScriptWorld::GetCurrentWorldId() const {
    return view_.world ? view_.world->shortName.GetText() : "";
}

bool CGameScriptWorld::IsWorldOpen() const { return view_.world != nullptr; }

const char* CGameScriptWorld::GetCurrentWorldPrefix() const {
    return view_.world ? view_.world->shortName.GetText() : "";
}

i32 CGameScriptWorld::GetCurrentWorldExpansion() const { return view_.world ? view_.world->expansion : 0; }

i32 CGameScriptWorld::GetCloud() const { return view_.cloud; }

i32 CGameScriptWorld::GetRain() const { return view_.weather.Intensity(); }

void CGameScriptWorld::SetSkyName(const char* name) { view_.skyName = name ? name : ""; }

void CGameScriptWorld::SetCloud(i32 cloud) { view_.cloud = std::clamp(cloud, 0, 100); }

void CGameScriptWorld::RedrawSky() { view_.UpdateSkyPicture(); }

void CGameScriptWorld::SetRain(i32 rain) {
    view_.weather.SetIntensity(rain, view_.section, view_.gameClock.minutes);
    // Without a sky of its own the surface's sky follows the weather.
    view_.UpdateSkyPicture();
}

CMapSection* CGameScriptWorld::FindSectionInAllWorlds(const char* name) {
    CWorldList* worlds = view_.GetHost() ? view_.GetHost()->GetWorldList() : nullptr;
    return worlds && name && *name ? worlds->FindSectionInAllWorlds(name) : nullptr;
}

void CGameScriptWorld::SetSectionFog(CMapSection* section, u8 viewDistance, u16 fogColour) {
    if (section) section->SetFog(viewDistance, fogColour);
}

void CGameScriptWorld::ResetSectionFog(CMapSection* section) {
    if (section) section->ResetFog();
}

// The fog is all that changed: the sky and fog are chosen again, the cells stay as they are.
void CGameScriptWorld::RefreshView() { view_.UpdateSkyPicture(); }

i32 CGameScriptWorld::GetItemValue(const char* id) {
    const CPlayer* player = view_.GetPlayer();
    const CRuleContext* rules = player ? player->GetWorld() : nullptr;
    const CItemType* type = rules && rules->items && id && *id ? rules->items->FindItemType(id) : nullptr;
    return type ? static_cast<i32>(type->GetValue(nullptr, *rules)) : 0;
}

bool CGameScriptWorld::GetMapObjectPosition(const char* name, i32& x, i32& y) {
    const CPlacement* p = view_.section && name && *name ? view_.section->FindPlacementByName(name) : nullptr;
    if (!p) return false;
    x = p->x;
    y = p->y;
    return true;
}

void CGameScriptWorld::ClearJail() {
    view_.gameClock.inPrison = false;
    view_.gameClock.prisonArrival = 0;
    view_.jailTarget.Assign("");
}

i32 CGameScriptWorld::GetJailState() const { return view_.gameClock.inPrison ? 1 : 0; }

void CGameScriptWorld::PostPlaySceneEvent(const char* name) {
    if (name && *name) view_.PostPlaySceneEvent(name);
}

void CGameScriptWorld::PlayMusic(const char* name) { view_.PlayScriptMusic(name); }

void CGameScriptWorld::GetPlayerCell(i32& x, i32& y) const {
    x = view_.playerX;
    y = view_.playerY;
}

void CGameScriptWorld::RebuildChangedCells(CScriptContext&) { view_.RebuildChangedCells(); }

IScriptWorld::Target CGameScriptWorld::FindMapObjectByName(const char* name) {
    return view_.mapObjects ? view_.mapObjects->FindByName(name) : Target{};
}

IScriptMapObject* CGameScriptWorld::GetDefaultMapObject() {
    return view_.mapObjects ? view_.mapObjects->DefaultObject() : nullptr;
}

IScriptCreature* CGameScriptWorld::GetFallbackCreature() {
    const CWorldLists* lists = view_.GetHost() ? view_.GetHost()->GetWorldLists() : nullptr;
    fallback_ = std::make_unique<CFallbackCreature>(lists ? lists->creatures.FindCreatureKind("bres_cyclops")
                                                          : nullptr);
    return fallback_.get();
}

void CGameScriptWorld::PostMessageEvent(const char* text, i32 options) {
    view_.PostMessageEvent(text, static_cast<u32>(options), nullptr);
}

void CGameScriptWorld::AppendMessage(const char* text, i32) { view_.AppendMessage(text); }

void CGameScriptWorld::PostTalkEvent(const char* npcId) { view_.PostTalkEvent(npcId); }

void CGameScriptWorld::PostChangeMapEvent(const char* mapObject, i32 transitionKind) {
    view_.PostChangeMapEvent(mapObject, static_cast<u32>(transitionKind));
}

void CGameScriptWorld::PostMapPromptEvent(const char* mapObject, const char* question, i32 transitionKind,
                                          i32 extra) {
    view_.PostMapPromptEvent(mapObject, question, static_cast<u32>(transitionKind), static_cast<u32>(extra));
}

void CGameScriptWorld::PostTurnEvent(i32 direction) { view_.PostTurnEvent(static_cast<u32>(direction)); }

void CGameScriptWorld::PostSetPositionEvent(i32 x, i32 y) {
    if (x < 0 || y < 0) return;
    view_.PostSetPositionEvent(static_cast<u32>(x), static_cast<u32>(y));
}

void CGameScriptWorld::PostJailEvent(const char* jail) { view_.PostJailEvent(jail); }

void CGameScriptWorld::PostStepBackEvent() { view_.PostStepBackEvent(); }

void CGameScriptWorld::PostShipVoyageEvent(const char* target, const char* text) {
    view_.PostShipVoyageEvent(target, text);
}

void CGameScriptWorld::CreatePendingList(const char* title) {
    view_.pendingList.open = true;
    view_.pendingList.title.Assign(title ? title : "");
    view_.pendingList.entries.clear();
}

void CGameScriptWorld::DeletePendingList() {
    view_.pendingList.open = false;
    view_.pendingList.entries.clear();
}

void CGameScriptWorld::AddPendingListEntry(const char* id, const char* title) {
    if (!view_.pendingList.open) return;
    view_.pendingList.entries.emplace_back(id ? id : "", title ? title : "");
}

void CGameScriptWorld::PostShowObjectListEvent() { view_.PostShowObjectListEvent(0); }

IScriptWorld* CGameScriptWorld::Screens() const {
    return view_.GetHost() ? view_.GetHost()->GetScreenScripts() : nullptr;
}

void CGameScriptWorld::ClearTalkTopics() {
    if (IScriptWorld* s = Screens()) s->ClearTalkTopics();
}

void CGameScriptWorld::AddTalkTopic(const char* id, const char* title) {
    if (IScriptWorld* s = Screens()) s->AddTalkTopic(id, title);
}

void CGameScriptWorld::AddWorldStartEntries(i32 expansion, bool toTalk) {
    CWorldList* worlds = view_.GetHost() ? view_.GetHost()->GetWorldList() : nullptr;
    if (worlds == nullptr || expansion < 1 || expansion > 3) return;
    worlds->AddWorldStartEntries(static_cast<u32>(expansion), [this, toTalk](const char* label, const char* id) {
        if (toTalk)
            AddTalkTopic(id, label);
        else
            AddPendingListEntry(id, label);
    });
}

void CGameScriptWorld::AddTalkText(const char* text, i32 style) {
    if (IScriptWorld* s = Screens()) s->AddTalkText(text, style);
}

void CGameScriptWorld::EndTalk() {
    if (IScriptWorld* s = Screens()) s->EndTalk();
}

void CGameScriptWorld::SetTalkGoNext() {
    if (IScriptWorld* s = Screens()) s->SetTalkGoNext();
}

void CGameScriptWorld::SetTalkGoFirst() {
    if (IScriptWorld* s = Screens()) s->SetTalkGoFirst();
}

void CGameScriptWorld::SetPagesText(const char* text) {
    if (IScriptWorld* s = Screens()) s->SetPagesText(text);
}

bool CGameScriptWorld::FindScriptCode(const char* id, const u8*& code, u32& size) {
    CWorldLists* lists = view_.GetHost() ? view_.GetHost()->GetWorldLists() : nullptr;
    const CScript* script = lists && id ? lists->scripts.FindById(id) : nullptr;
    if (!script) return false;
    code = script->code;
    size = script->codeLength;
    return true;
}
