// A small synthetic world for the 3D view's tests and benchmark: a map of wall and floor cells, three
// textures (bricks, floor tiles, ceiling boards) and a stand-in for the cell emitters that draws walls,
// ground and ceiling as textured faces, and flat ground and ceiling outside the map. The emitters of
// the game replace the stand-in; the renderer's pipeline, clipping, draw list and fillers are the real
// ones.
#pragma once

#include "display/Picture.h"
#include "view3d/Renderer3D.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace scene {

// Encoding-0 picture record from index(x, y) into `table`.
std::vector<u8> IndexedRecord(int width, int height, const std::vector<u8>& texels, const std::vector<u16>& table);

class Pictures : public CViewPictureSource {
public:
    void Add(u16 id, std::vector<u8> record);
    const CPictureData* GetViewPicture(u16 id) const override;
    CViewPalette GetViewPalette(u16 id) const override;
    i8 GetPictureAnchor(u16) const override { return 0; }
    std::map<u16, std::vector<u16>> palettes;

private:
    std::map<u16, std::vector<u8>> records_;
    std::map<u16, CPictureData> pictures_;
};

inline constexpr u16 kBrick = 1, kFloor = 2, kCeiling = 3;

// Walls ('#') and floor (anything else) of a map given row by row.
class CorridorEmitters : public CCellEmitters {
public:
    explicit CorridorEmitters(std::vector<std::string> rows) : rows_(std::move(rows)) {}
    void EmitCell(CRenderer3D& r, i32 x, i32 y) override;
    void EmitOutsideCell(CRenderer3D& r, i32 x, i32 y) override;
    bool IsWall(i32 x, i32 y) const;
    i32 Width() const { return static_cast<i32>(rows_.empty() ? 0 : rows_[0].size()); }
    i32 Height() const { return static_cast<i32>(rows_.size()); }

private:
    void Horizontal(CRenderer3D& r, i32 x, i32 y, i32 height, u16 texture, i32 layer, bool ceiling);
    void Side(CRenderer3D& r, i32 ax, i32 ay, i32 bx, i32 by);
    std::vector<std::string> rows_;
};

// A scene: the view record, pictures and emitters, a frame buffer with a guard band of `guard` pixels
// around the view rectangle (filled with kCanary), and the renderer bound to them.
inline constexpr u16 kCanary = 0xA5A5;

struct Scene {
    Scene(std::vector<std::string> map, i32 width, i32 height, i32 guard = 8, i32 orientation = 0);
    // Cell (cx, cy) and a position inside it in 1/1024 cell, angle in 16.16 degrees.
    void Pose(i32 cx, i32 cy, i32 fx, i32 fy, i32 angle);
    void Render();
    // The logical picture of the view rectangle.
    std::vector<u16> ViewPixels() const;
    // Whether every pixel outside the view rectangle still holds the canary.
    bool GuardIntact() const;

    i32 width, height, guard, orientation;
    i32 bufferWidth, bufferHeight;  // logical
    std::vector<u16> memory;
    Pictures pictures;
    std::unique_ptr<CorridorEmitters> emitters;
    std::unique_ptr<CViewState3D> view;
    std::unique_ptr<CRenderer3D> renderer;

    u16 Logical(i32 x, i32 y) const;
};

}  // namespace scene
