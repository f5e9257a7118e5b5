// The player-action sprites in front of the view (weapons, hands, spells) are drawn for a 380 x 320
// view; a smaller view shrinks them, less than in proportion so that they stay readable.
#pragma once

#include "core/Types.h"

struct CActionSpriteSize {
    u16 viewWidth = 380, viewHeight = 320;
    bool fixedSize = false;                               // the widths are never scaled
    u16 referenceWidth[2] = {}, referenceHeight[2] = {};  // for a 380 x 320 view
    u16 width[2] = {}, height[2] = {};                    // the sizes for this view
};

// Fills the output sizes from the reference sizes for the view; a size that is scaled has its
// reference first limited to 100.
inline void ScaleActionSpriteToView(CActionSpriteSize& s) {
    auto limited = [](u16 v) -> i32 { return v > 100 ? 100 : v; };
    if (s.viewWidth < 380 && !s.fixedSize) {
        const i32 effective = s.viewWidth + (380 - s.viewWidth) * 7 / 12;
        for (int i = 0; i < 2; ++i)
            s.width[i] = static_cast<u16>(limited(s.referenceWidth[i]) * effective / 380);
    } else {
        for (int i = 0; i < 2; ++i) s.width[i] = s.referenceWidth[i];
    }
    if (s.viewHeight < 320) {
        const i32 effective = s.viewHeight + (320 - s.viewHeight) / 2;
        for (int i = 0; i < 2; ++i)
            s.height[i] = static_cast<u16>(limited(s.referenceHeight[i]) * effective / 320);
    } else {
        for (int i = 0; i < 2; ++i) s.height[i] = s.referenceHeight[i];
    }
}
