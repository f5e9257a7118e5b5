// The pen strokes of the splash title: fourteen hand-placed point lists that write "Vantrel" in the
// large title picture. The splash screen reveals its hidden picture along them, and the content
// builder paints both title pictures along the same points, so that the strokes and the lettering
// always agree.
#pragma once

#include "core/Types.h"

constexpr int kSplashStrokeCount = 14;
constexpr int kSplashStrokeMaxPoints = 100;
// Side of the square block that each point reveals.
constexpr int kSplashBlock = 3;

// Start delays of the strokes, in animation steps: the second stroke of a letter, the underline and
// the stars wait until the first strokes are under way.
constexpr u16 kSplashStrokeDelays[kSplashStrokeCount] = {0, 0, 20, 0, 0, 30, 0, 30, 0, 0, 40, 0, 40, 0};

// Stroke `index` as x, y words, ended by an x of 0; null outside 0 .. 13.
const i16* SplashStrokeList(int index);
