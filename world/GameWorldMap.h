// The world-map dialog's view of the game: the current map's and world's titles, the surface grid
// with its sections' names, the clock, the world's picture and the player's place on it, and the
// automap of the explored cells.
#pragma once

#include "ui/WorldMapDialog.h"

class CGameScreen;

class CGameWorldMap : public IWorldMapSource {
public:
    explicit CGameWorldMap(CGameScreen& view) : view_(view) {}
    const char* MapTitle() const override;
    const char* WorldTitle() const override;
    void GridSize(u32& width, u32& height) const override;
    const char* SectionTitleAt(u32 column, u32 row) const override;
    u32 ClockMinutes() const override;
    void FormatTime(CStr& text) const override;
    const CRecordHolder* WorldPicture() const override;
    void WorldPosition(i32& x, i32& y) const override;
    IMapViewSource* MapSource() override;

private:
    CGameScreen& view_;
};
