// The machinery that every polygon filler of the 3D view shares: exact edge steppers, the edge walkers
// that follow the two sides of a convex polygon row by row, the coverage rule (a pixel belongs to a
// polygon when its centre lies in [top, bottom) and [left edge, right edge)), the span set-up of a
// coordinate, the fog factor and blend, and the flat fill. Screen coordinates are in sixteenths of a
// pixel relative to the view rectangle, vertices run clockwise on the screen (y down).
//
// Products that may pass 32 bits for wide views or deep scenes (stepper set-up, span steps) are taken
// in 64 bits and truncated as the 32-bit arithmetic would; where the 32-bit values fit the results are
// the same.
#pragma once

#include "core/Types.h"
#include "display/FrameTarget.h"

#include <climits>

// A vertex of a clipped polygon: screen x and y in 1/16 pixel, and its view-space depth.
struct CScreenVertex {
    i32 x = 0, y = 0, z = 0;
};

// A texture coordinate pair in 1/16 texel.
struct CUVPair {
    i32 u = 0, v = 0;
};

// Steps a quantity q along an edge exactly: `value` is q at the current sample with its fraction dropped
// towards the edge's starting value; the remainder is kept in `error` / `denominator`, so there is no
// drift however long the edge.
struct CEdgeStepper {
    i32 value = 0;
    i32 sign = 1;
    i32 step = 0;
    i32 errorIncrement = 0;
    i32 denominator = 1;
    i32 error = 0;
    u8 rising = 0;

    void Step() {
        value += step;
        error += errorIncrement;
        if (error >= denominator) {
            value += sign;
            error -= denominator;
        }
    }
};

// q from q0 at y0 to q1 at y1 (y0 < y1, 1/16 pixel), sampled at pixel centres from the first centre at
// or below y0. A constant q counts as falling.
void SetUpEdgeStepper(CEdgeStepper& s, i32 y0, i32 y1, i32 q0, i32 q1);
// The same with 1,024 units per sample, samples at multiples of 1,024 (the visible-cell scan); here a
// constant q counts as rising.
void SetUpCellEdgeStepper(CEdgeStepper& s, i32 y0, i32 y1, i32 q0, i32 q1);

// One side of a polygon as the row (or column) loop walks it.
struct CEdgeWalker {
    i32 count = 0;
    const CScreenVertex* vertices = nullptr;
    i32 start = 0;  // where this side begins (top)
    i32 end = 0;    // where it ends (bottom)
    i32 from = 0;
    i32 to = 0;
    CEdgeStepper x;  // the coordinate across the major axis
    i32 spanBound = 0;
};

inline constexpr i32 kWalkerDone = INT_MAX;

// Finds the top-left, top-right, bottom-left and bottom-right vertices (ties to the lower index) and
// starts walker a on top-left .. bottom-left and walker b on top-right .. bottom-right. `columns`
// swaps the roles of x and y (the column fillers).
void InitEdgeWalkers(const CScreenVertex* vertices, i32 count, bool columns, CEdgeWalker& a, CEdgeWalker& b);
// Bring a row walker to the edge that holds row y (walking to lower, respectively higher, indices) and
// set up its x stepper. The backward walk stops at its end vertex (span bound kWalkerDone, result
// false); the forward one has no such test.
bool StepEdgeBackward(CEdgeWalker& w, i32 y);
bool StepEdgeForward(CEdgeWalker& w, i32 y);
// The same for column walkers (major axis x, stepper along y): the forward walk stops at its end
// vertex, the backward one has no such test.
bool StepColumnEdgeForward(CEdgeWalker& w, i32 x);
bool StepColumnEdgeBackward(CEdgeWalker& w, i32 x);

// First pixel of a span from the left edge's stepper and the pixel after its last from the right
// edge's (the coverage rule).
inline i32 SpanFirst(const CEdgeStepper& left) {
    i32 x = left.value;
    i32 a = ((x & 15) == 8 && left.error != 0 && left.rising) ? 1 : 0;
    return (x + 7 + a) >> 4;
}
inline i32 SpanEnd(const CEdgeStepper& right) {
    i32 x = right.value;
    i32 b = 0;
    if ((x & 15) == 8 && right.error != 0) b = right.rising ? 1 : -1;
    return (x + 7 + b) >> 4;
}

// The first row centre (1/16 pixel) at or below y.
inline i32 FirstCentre(i32 y) { return ((y + 7) & ~15) + 8; }

// Per-pixel change of a coordinate along a span, 12 fraction bits: ((cR - cL) << 12) / (xR - xL), 0 on
// a span of no width.
i32 SpanCoordinateStep(i32 cL, i32 cR, i32 xL, i32 xR);
// The coordinate at the first pixel's centre, 12 fraction bits.
i32 SpanCoordinateStart(i32 cL, i32 first, i32 xL, i32 step);

// Spread form of an RGB565 colour: green in bits 21..26, red in 11..15, blue in 0..4.
inline u32 SpreadColour(u16 c) { return ((static_cast<u32>(c) << 16) | c) & 0x07E0F81Fu; }
// The fixed fog colour, white in spread form.
inline constexpr u32 kFixedFogColour = 0x07E0F81Fu;

// Fog factor 0..32 from the stepped 8 * fog weight F and depth W of an edge: (F / W) >> 5, and 32 (no
// fog) when that is above 32 or negative.
i32 FogFactor(i32 f8z, i32 w);
// The texel moved towards the fog colour: f = 0 gives the fog colour, 32 the texel.
inline u16 FogBlend(u16 texel, u32 fogSpread, i32 f) {
    u32 r = ((((SpreadColour(texel) - fogSpread) * static_cast<u32>(f)) >> 5) + fogSpread) & 0x07E0F81Fu;
    return static_cast<u16>((r >> 16) | (r & 0xFFFF));
}

// A 64-bit product saturated to 32 bits (the weighted stepper ends of deep scenes).
inline i32 SaturateI32(i64 v) {
    return static_cast<i32>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
}
// The quotient of two steppers (a perspective-correct value at an edge); 0 for a zero depth.
inline i32 StepperQuotient(const CEdgeStepper& q, const CEdgeStepper& w) {
    return w.value != 0 ? q.value / w.value : 0;
}

// The flat fill of polygon type 0: every covered pixel takes `colour`. Returns the pixels written.
u32 FillFlatPolygon(const CFrameTarget& target, i32 count, const CScreenVertex* vertices, u16 colour);
