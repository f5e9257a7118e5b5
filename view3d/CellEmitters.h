// The cell emitters: they turn one cell of the view record into polygons of the draw list (ground,
// ceiling and pits, the sides of solid blocks, the blocks dressed by their kind, block models, the
// pictures of walls, cell objects, item piles and the cell's centre picture). The renderer's per-cell
// dispatch calls EmitCell for a cell inside the map and EmitOutsideCell for one outside it; nothing
// here draws pixels. Cells are addressed in the window's coordinates (the map fits the window).
#pragma once

#include "view3d/Renderer3D.h"

// A position inside a cell kept as view units times 64 in a 16-bit field: read without sign, so that the
// whole cell (0..1023 units) fits; a signed read would put everything past the middle outside the cell.
inline i32 CellPosition(i16 stored) { return static_cast<u16>(stored) >> 6; }

// View-angle limits (16.16 degrees) of the rules that depend on the heading.
inline constexpr i32 kAngle45 = 0x2D0000, kAngle60 = 0x3C0000, kAngle135 = 0x870000, kAngle225 = 0xE10000,
                     kAngle315 = 0x13B0000, kFullTurn = 360 << 16;
inline i32 WrapAngle(i32 a) {
    a %= kFullTurn;
    return a < 0 ? a + kFullTurn : a;
}

// Where an upright picture's pieces sort: cut at the block-top row into a lower (layer 3) and an
// upper (layer 5) piece, one piece in layer 3, or one piece in layer 5.
enum class CPictureSplit : u8 { kSplit, kLower, kUpper };

// The screen rectangle of a projected upright picture.
struct CBillboard {
    i32 depth = 0;
    i32 left = 0, top = 0, right = 0, bottom = 0;
    i32 scale = 0;
};

class CViewEmitters : public CCellEmitters {
public:
    void EmitCell(CRenderer3D& renderer, i32 x, i32 y) override;
    void EmitOutsideCell(CRenderer3D& renderer, i32 x, i32 y) override;

    // --- ground, ceiling, pits ---
    void EmitCellGround(i32 x, i32 y);
    void EmitCellCeiling(i32 x, i32 y);
    bool IsPitCell(i32 x, i32 y) const;
    // side 0 north, 1 west, 2 south, 3 east; face 0 upper, 1 lower.
    void BuildPitSide(i32 x, i32 y, i32 side, i32 face);

    // --- walls ---
    void EmitBlockSides(i32 x, i32 y);
    void BuildSide(i32 x, i32 y, i32 side, i32 lower, i32 upper, i32 width16, i32 height16);

    // --- blocks ---
    void EmitBlockModel(i32 x, i32 y);
    void EmitBlockByKind(i32 x, i32 y);
    void EmitTallPanel(i32 x, i32 y);
    void EmitCompositePicture(i32 x, i32 y, const CBlockCacheEntry& b);
    void EmitDoorBlock(i32 x, i32 y, const CBlockCacheEntry& b);
    void EmitTurningPicture(i32 x, i32 y, const CBlockCacheEntry& b);
    void EmitPictureGroupBlock(i32 x, i32 y, const CBlockCacheEntry& b, i32 height);
    void EmitPairedPictures(i32 x, i32 y, const CBlockCacheEntry& b);
    void EmitTurningPanel(i32 x, i32 y, const CBlockCacheEntry& b);

    // --- pictures ---
    void EmitWallPictures(i32 x, i32 y, i32 part);
    void EmitPictureStack(u16 group, i32 px, i32 height, i32 py, i32 x, i32 y, u16 light, i32 layer);
    void EmitCellObjects(i32 x, i32 y);
    void EmitGroundPictures(i32 x, i32 y);
    void EmitCellCentrePicture(i32 x, i32 y);

    // An upright picture standing (or, `hanging`, hanging) at (px, height, py) inside cell (x, y), with
    // the size factor 512 (normal) or 1024 (double); `small` uses the scale of wall pictures and items
    // (no size term). False when the point is not strictly between the near and the far depth.
    // `cutAtGround` leaves out what lies below the ground (a picture rising out of the floor).
    bool EmitBillboard(i32 x, i32 y, i32 px, i32 height, i32 py, i32 sizeFactor, bool hanging,
                       CPictureSplit split, u16 picture, u16 palette, u16 light, CBillboard& out,
                       bool mirrored = false, bool small = false, u8 flags = 0, bool cutAtGround = false);
    // The screen rows of a height at a depth, and the picture quad with its u and v ranges cut by the
    // split rule, clipped and emitted as type 11.
    i32 RowOfHeight(i32 height, i32 depth) const;
    void EmitPictureQuad(i32 left, i32 top, i32 right, i32 bottom, i32 depth, i32 u0, i32 u1, i32 v0, i32 v1,
                         u16 picture, u16 palette, u16 light, CPictureSplit split, u8 flags = 0);
    // Picture size in texels; false when the view has no such picture.
    bool PictureSize(u16 picture, i32& width, i32& height) const;

    CRenderer3D* renderer = nullptr;

private:
    CRenderer3D& R() const { return *renderer; }
    const CViewState3D& V() const { return *renderer->viewState; }
    const CCellView& Cell(i32 x, i32 y) const;
    const CCellOverlayView& Overlay(i32 x, i32 y) const;
    // The four corners of a horizontal quad of the cell at `height` into the clipper (ground order
    // (x, y), (x+1, y), (x+1, y+1), (x, y+1); `ceiling` the other way round) with the texture spread
    // over it.
    void HorizontalQuad(i32 x, i32 y, i32 height, bool ceiling, i32 width16, i32 height16);
    // A textured face, when it survives clipping; false otherwise. Emitted with the record's ids.
    bool EmitFace(i32 count, i32 type, u16 texture, u16 palette, u16 light, i32 layer, bool frontOnly,
                  u16 texture2 = 0, u16 palette2 = 0);
    // A vertical quad between two map points (in units inside cell (x, y)) from `low` to `high`, the
    // texture's u running along from u0 to u1 and v down from v0 to v1 (sixteenths of a texel).
    i32 VerticalQuad(i32 x, i32 y, i32 ax, i32 ay, i32 bx, i32 by, i32 low, i32 high, i32 u0, i32 u1, i32 v0,
                     i32 v1);
    // A flat picture is seen from both sides: clipped corners that run anticlockwise are turned round,
    // which shows the picture as its mirror image from behind.
    void FaceTheEye(i32 count);
    // Marks the polygons appended since `before` with the fixed fog (weights 0); shifts the last
    // entry's depths.
    void FixLastFog(i32 before);
    void ShiftLastDepth(i32 before, i32 maxBy, i32 minBy);
    void EmitModelFaces(i32 x, i32 y, const CBlockCacheEntry& b, u16 texture, u16 palette, i32 base,
                        u16 light, i32 layer);
    void EmitUprightFrame(i32 x, i32 y, u16 picture, u16 palette, i32 base, bool northSouth, u16 light,
                          i32 layer, bool splitAtLevel, i32& top, i32& lower, i32& upper, i32& along0);
};
