#include "world/GameScriptWorld.h"

#include "core/Random.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "world/GameMapObjects.h"
#include "world/GameScreen.h"

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

IScriptWorld* CGameScriptWorld::Screens() const { return view_.GetHost() ? view_.GetHost()->GetScreenScripts() : nullptr; }

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
