// The layout table (record 3003): for each form (layout group) and each layout mode, the form's size
// and the rectangle of every element that the game's screens and dialogs look up.
#pragma once

#include <cstdint>
#include <vector>

struct LayoutRect {
    uint16_t id, x, y, w, h;
};

struct LayoutGroupDef {
    uint16_t group;
    uint16_t width, height;  // in the 800 x 584 layout
    std::vector<LayoutRect> elements;
    // A form that the portrait layouts (3, 7 and 10) cannot show in the landscape arrangement has its
    // own for them, in the 480 x 640 layout; empty when the landscape one serves.
    uint16_t portraitWidth = 0, portraitHeight = 0;
    std::vector<LayoutRect> portrait;
};

// Every group with its rectangles for the large layouts (modes 9, 10, 11, 14, 15).
const std::vector<LayoutGroupDef>& LayoutGroups();

// The layout modes the record serves and the scale each mode's rectangles are drawn at: the large
// modes share the 800 x 584 rectangles; the small and base modes get proportionally smaller copies.
struct LayoutModeScale {
    uint16_t mode;
    int numerator, denominator;
    bool portrait = false;  // a tall layout: a group's portrait arrangement serves it when there is one
};
const std::vector<LayoutModeScale>& LayoutModes();

// The record: u16 group count; per group {u16 offset, u16 id}; per group a mode list {u16 count;
// per mode {u16 layout offset, u16 mode}}; per layout {u16 w, h, count; count x {id, x, y, w, h}}.
// Modes drawn at the same scale and arrangement share one layout. Throws std::length_error past 64 KiB, since the
// offsets are 16-bit.
std::vector<uint8_t> BuildLayoutRecord(const std::vector<LayoutGroupDef>& groups,
                                       const std::vector<LayoutModeScale>& modes);
