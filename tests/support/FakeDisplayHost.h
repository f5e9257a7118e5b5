// The game as the video output and the fonts see it, for tests: a headless window of its own, a
// layout mode and table, the view state, view-size settings and interface records kept in memory.
// A widget rig lets the host follow its game object's layout mode and table instead.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "display/DisplayHost.h"
#include "display/GlyphTables.h"
#include "display/ViewState.h"
#include "platform/headless/HeadlessWindow.h"

class CWidgetHost;

namespace testing_support {

// Font strips drawn to match a glyph table, in three patterns (golden images show each):
// rows of texels 1, 2, 3 and 4 in every glyph column, table entry 4 being `extra`;
std::vector<u8> RowPatternStrip(const GlyphTable& table, u16 extra);
// small per-code glyph patterns (a stem, an edge, code bits), so that a wrong character shows;
std::vector<u8> CodePatternStrip(const GlyphTable& table);
// blocks of shade-1 texels with a shade-3 column every third strip column.
std::vector<u8> BlockPatternStrip(const GlyphTable& table);

class FakeDisplayHost : public CDisplayHost {
public:
    // A window of 800 x 584 at (50, 50) that the layout modes 15, 9 and 6 resize, and every font
    // strip of the glyph tables in rows (the video and font tests).
    FakeDisplayHost();
    // A window of width x height at (0, 0) that no mode change resizes, and no records (the widget
    // rigs, which give their own strips).
    FakeDisplayHost(int width, int height);
    FakeDisplayHost(const FakeDisplayHost&) = delete;
    FakeDisplayHost& operator=(const FakeDisplayHost&) = delete;

    u32 GetLayoutMode() const override;
    plat::Window* GetWindow() override { return window.get(); }
    void GetClientSize(u32& width, u32& height) const override;
    void ChangeScreenMode(u32 newMode) override;
    CViewState* GetViewState() override { return viewState; }
    void GetLayoutTable(const u8*& table, size_t& size) const override;
    u32 GetViewSize(u32 viewSet) const override { return viewSize[viewSet % 3]; }
    bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) override;

    // When set, the layout mode and the layout table are this game's, not `mode` and `layout`.
    const CWidgetHost* game = nullptr;
    u32 mode = 15;
    std::unique_ptr<plat::HeadlessWindow> window;
    std::map<u32, std::pair<int, int>> clientSizes;  // the client size that a mode change resizes to
    std::vector<u32> changes;                        // every mode change asked for
    CViewState view;
    CViewState* viewState = &view;
    std::vector<u8> layout;
    u32 viewSize[3] = {0, 0, 0};
    std::map<u32, std::vector<u8>> records;
    // Serves the strip of a glyph table's record that `records` does not hold.
    std::function<std::vector<u8>(const GlyphTable&)> strips;
};

}  // namespace testing_support
