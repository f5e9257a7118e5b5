// The game as the video output and the fonts see it, for tests: a headless window, a layout table,
// the view state, view-size settings and interface records kept in memory.
#pragma once

#include "display/DisplayHost.h"
#include "display/GlyphTables.h"
#include "platform/headless/HeadlessWindow.h"
#include "display/ViewState.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace displaytest {

struct LayoutEntry {
    u16 group;
    u32 mode;
    u16 width, height;
    std::vector<std::array<u16, 5>> elements;  // id, x, y, w, h
};

// A layout table record: group directory, per group its mode list, per mode its layout.
inline std::vector<u8> BuildLayoutTable(const std::vector<LayoutEntry>& entries) {
    std::map<u16, std::vector<const LayoutEntry*>> groups;
    for (const LayoutEntry& e : entries) groups[e.group].push_back(&e);
    std::vector<u8> t;
    auto put = [&t](size_t at, u16 v) {
        if (t.size() < at + 2) t.resize(at + 2);
        t[at] = static_cast<u8>(v);
        t[at + 1] = static_cast<u8>(v >> 8);
    };
    put(0, static_cast<u16>(groups.size()));
    size_t next = 2 + 4 * groups.size();
    size_t g = 0;
    for (auto& [id, layouts] : groups) {
        put(2 + 4 * g, static_cast<u16>(next));
        put(4 + 4 * g, id);
        size_t list = next;
        put(list, static_cast<u16>(layouts.size()));
        next = list + 2 + 4 * layouts.size();
        for (size_t m = 0; m < layouts.size(); ++m) {
            put(list + 2 + 4 * m, static_cast<u16>(next));
            put(list + 4 + 4 * m, static_cast<u16>(layouts[m]->mode));
            put(next, layouts[m]->width);
            put(next + 2, layouts[m]->height);
            put(next + 4, static_cast<u16>(layouts[m]->elements.size()));
            next += 6;
            for (const auto& e : layouts[m]->elements) {
                for (int k = 0; k < 5; ++k) put(next + 2 * k, e[k]);
                next += 10;
            }
        }
        ++g;
    }
    return t;
}

// A font strip drawn to match a glyph table: every glyph column holds texel 1 in row 0, 2 in row 1,
// 3 in row 2 and 4 in row 3; table entry 4 is `extra`.
inline std::vector<u8> BuildStrip(const GlyphTable& table, u16 extra) {
    int width = 1;
    for (const GlyphRecord& g : table.glyphs) width = std::max<int>(width, g.end);
    const int height = 4;
    std::vector<u8> r(8, 0);
    r[2] = static_cast<u8>(width);
    r[3] = static_cast<u8>(width >> 8);
    r[4] = height;
    std::vector<u8> texels(static_cast<size_t>(width) * height, 0);
    for (const GlyphRecord& g : table.glyphs)
        for (int x = g.first; x < g.end; ++x)
            for (int y = 0; y < height; ++y) texels[y * width + x] = static_cast<u8>(y + 1);
    // Columns 0 .. 4 also carry the pattern: unlisted codes are drawn from there.
    for (int x = 0; x < 5 && x < width; ++x)
        for (int y = 0; y < height; ++y) texels[y * width + x] = static_cast<u8>(y + 1);
    r.insert(r.end(), texels.begin(), texels.end());
    if (texels.size() & 1) r.push_back(0);
    for (int i = 0; i < 5; ++i) {
        u16 c = i == 4 ? extra : 0;
        r.push_back(static_cast<u8>(c));
        r.push_back(static_cast<u8>(c >> 8));
    }
    return r;
}

class FakeHost : public CDisplayHost {
public:
    FakeHost() {
        window = plat::CreateHeadlessWindow();
        EXPECT_TRUE(window->Create("Vantrel", 50, 50, 800, 584));
        for (const GlyphTable& t : kGlyphTables) records[t.record] = BuildStrip(t, 0x1234);
    }

    u32 GetLayoutMode() const override { return mode; }
    plat::Window* GetWindow() override { return window.get(); }
    void GetClientSize(u32& width, u32& height) const override {
        width = static_cast<u32>(window->ClientWidth());
        height = static_cast<u32>(window->ClientHeight());
    }
    void ChangeScreenMode(u32 newMode) override {
        changes.push_back(newMode);
        auto it = clientSizes.find(newMode);
        if (it != clientSizes.end()) window->MoveResize(50, 50, it->second.first, it->second.second);
    }
    CViewState* GetViewState() override { return &view; }
    void GetLayoutTable(const u8*& table, size_t& size) const override {
        table = layout.empty() ? nullptr : layout.data();
        size = layout.size();
    }
    u32 GetViewSize(u32 viewSet) const override { return viewSize[viewSet % 3]; }
    bool ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) override {
        auto it = records.find(record);
        if (it == records.end()) return false;
        bytes = it->second;
        return true;
    }

    u32 mode = 15;
    std::unique_ptr<plat::HeadlessWindow> window;
    std::map<u32, std::pair<int, int>> clientSizes = {{15, {800, 584}}, {9, {640, 480}}, {6, {320, 240}}};
    std::vector<u32> changes;
    CViewState view;
    std::vector<u8> layout;
    u32 viewSize[3] = {0, 0, 0};
    std::map<u32, std::vector<u8>> records;
};

}  // namespace displaytest
