// The built-in block models: small roof-like shapes over one cell, one row per joint code (0..47, how
// a roof block joins its roof neighbours) or shape code (48..59, the shapes of kind-1 blocks). Points
// are view units relative to the cell's north-west grid corner and the model's base height; texture
// coordinates are sixteenths of a texel of a 256-texel-wide texture.
#pragma once

#include "core/Types.h"

#include <vector>

struct CModelVertex {
    i32 x = 0, height = 0, y = 0;
};

struct CModelCorner {
    u16 vertex = 0;  // index into the row's vertices
    i32 u = 0, v = 0;
};

struct CModelFace {
    u16 firstCorner = 0;
    u16 cornerCount = 0;
};

struct CModelRow {
    u16 firstFace = 0;
    u16 firstVertex = 0;
    u16 vertexCount = 0;
    u16 faceCount = 0;
};

inline constexpr i32 kModelRows = 60;
inline constexpr i32 kRoofHeight = 396;
inline constexpr i32 kRoofInset = 305;

struct CBlockModelTable {
    CModelRow rows[kModelRows];
    std::vector<CModelVertex> vertices;
    std::vector<CModelFace> faces;
    std::vector<CModelCorner> corners;
};

// The table, built once on first use.
const CBlockModelTable& BlockModels();

// The open sides (bit 0 north, 1 west, 2 south, 3 east: the roof slopes down to them) and the missing
// diagonal neighbours (bit 0 north-west, 1 south-west, 2 south-east, 3 north-east: a valley runs into
// that corner) of a model row; false for the empty rows.
bool ModelRowShape(i32 row, u8& openSides, u8& missingCorners);
