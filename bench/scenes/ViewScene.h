// A small synthetic world for the 3D view's benchmark and tests: a map of wall and floor cells and three
// textures (bricks, floor tiles, ceiling boards) written into the view record as the game view's cache
// builder would (ground entries, solid lower and upper blocks), drawn by the real cell emitters. Tests
// dress further cells through the view record (blocks of every kind, pits, walls with pictures).
#pragma once

#include "display/Picture.h"
#include "view3d/CellEmitters.h"
#include "view3d/Renderer3D.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace scene {

// Encoding-0 picture record from index(x, y) into `table`.
std::vector<u8> IndexedRecord(int width, int height, const std::vector<u8>& texels,
                              const std::vector<u16>& table);

class Pictures : public CViewPictureSource {
public:
    void Add(u16 id, std::vector<u8> record);
    const CPictureData* GetViewPicture(u16 id) const override;
    CViewPalette GetViewPalette(u16 id) const override;
    i8 GetPictureAnchor(u16 id) const override {
        auto it = anchors.find(id);
        return it == anchors.end() ? 0 : it->second;
    }
    std::map<u16, std::vector<u16>> palettes;
    std::map<u16, i8> anchors;

private:
    std::map<u16, std::vector<u8>> records_;
    std::map<u16, CPictureData> pictures_;
};

inline constexpr u16 kBrick = 1, kFloor = 2, kCeiling = 3;

// Walls ('#') and floor (anything else) of a map given row by row.
class CorridorMap {
public:
    explicit CorridorMap(std::vector<std::string> rows) : rows_(std::move(rows)) {}
    bool IsWall(i32 x, i32 y) const;
    i32 Width() const { return static_cast<i32>(rows_.empty() ? 0 : rows_[0].size()); }
    i32 Height() const { return static_cast<i32>(rows_.size()); }

private:
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
    bool IsWall(i32 x, i32 y) const { return map->IsWall(x, y); }
    // Writes the view record from the map: every floor cell one ground entry, every wall cell solid
    // lower and upper blocks.
    void BuildRecord();
    CCellView& CellAt(i32 x, i32 y) { return *view->CellView(x, y); }
    CCellOverlayView& OverlayAt(i32 x, i32 y) {
        return view->overlayViews[static_cast<size_t>(y * kWindowCells + x)];
    }
    // Interns a block or ground description and returns its index.
    u16 AddBlock(const CBlockCacheEntry& e);
    u16 AddGround(const CGroundCacheEntry& e);
    u16 AddWall(const CWallCacheEntry& e);

    i32 width, height, guard, orientation;
    i32 bufferWidth, bufferHeight;  // logical
    std::vector<u16> memory;
    Pictures pictures;
    std::unique_ptr<CorridorMap> map;
    std::unique_ptr<CViewEmitters> emitters;
    std::unique_ptr<CViewState3D> view;
    std::unique_ptr<CRenderer3D> renderer;

    u16 Logical(i32 x, i32 y) const;  // buffer coordinates, guard included
};

// Pictures of the dressed scenes: sprites, a door frame and leaf, a decal, a roof, a glow, an overlay,
// moss with its mask and a panel.
// The frames of one pose in frame-buffer orientations 0, 1 and 2 (`build` dresses each scene), with
// whether each kept its guard band.
struct OrientationFrames {
    std::vector<u16> frames[3];
    bool guards[3] = {false, false, false};
};
OrientationFrames RenderInEveryOrientation(const std::vector<std::string>& map, i32 width, i32 height,
                                           void (*build)(Scene&), i32 cx, i32 cy, i32 fx, i32 fy, i32 angle);

// A position inside a cell (0..1023 units) as the 16-bit field keeps it: units times 64.
inline i16 Units(i32 units) { return static_cast<i16>(static_cast<u16>(units << 6)); }

namespace art {
inline constexpr u16 kSprite = 10, kFrame = 11, kLeaf = 12, kDecal = 13, kRoof = 14, kGlow = 15,
                     kOverlay = 16, kMoss = 17, kMask = 18, kPanel = 19;
u16 Rgb(int r, int g, int b);
// A picture of w x h texels whose table index comes from index(x, y).
std::vector<u8> Picture(int w, int h, std::vector<u16> table, int (*index)(int, int));
// A one-bit mask picture (one bit per 2 x 2 texels).
std::vector<u8> MaskRecord(int w, int h, bool (*bit)(int, int));
void AddPictures(Scene& s);
}  // namespace art

}  // namespace scene
