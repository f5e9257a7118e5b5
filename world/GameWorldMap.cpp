#include "world/GameWorldMap.h"

#include "data/MapSection.h"
#include "data/World.h"
#include "world/GameScreen.h"

const char* CGameWorldMap::MapTitle() const {
    return view_.section && view_.section->displayName ? view_.section->displayName : "";
}

const char* CGameWorldMap::WorldTitle() const { return view_.world ? view_.world->title.GetText() : ""; }

void CGameWorldMap::GridSize(u32& width, u32& height) const {
    width = view_.world ? view_.world->gridWidth : 0;
    height = view_.world ? view_.world->gridHeight : 0;
}

const char* CGameWorldMap::SectionTitleAt(u32 column, u32 row) const {
    const CMapSection* s = view_.world ? view_.world->FindSectionAt(column, row) : nullptr;
    return s && s->displayName ? s->displayName : nullptr;
}

u32 CGameWorldMap::ClockMinutes() const { return view_.gameClock.minutes; }

void CGameWorldMap::FormatTime(CStr& text) const { view_.gameClock.FormatTime(text); }

const CRecordHolder* CGameWorldMap::WorldPicture() const {
    return view_.world ? view_.world->worldMapPicture.get() : nullptr;
}

void CGameWorldMap::WorldPosition(i32& x, i32& y) const {
    x = view_.world ? static_cast<i32>(view_.world->worldX) : 0;
    y = view_.world ? static_cast<i32>(view_.world->worldY) : 0;
}

IMapViewSource* CGameWorldMap::MapSource() { return view_.automap.get(); }
