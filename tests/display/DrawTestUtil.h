// Helpers of the drawing tests: picture records built from texel lists, and a frame buffer in any of
// the three orientations with guard bands around it that must stay untouched.
#pragma once

#include "core/Types.h"
#include "display/FrameTarget.h"
#include "display/Picture.h"
#include "display/Renderer.h"
#include "display/ViewState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace drawtest {

inline constexpr u16 kGuard = 0xA5A5;

// A picture record: header, texel data (bytes as given), a pad byte when odd, the colour table.
inline std::vector<u8> MakePictureRecord(u8 encoding, i16 width, i16 height, const std::vector<u8>& data,
                                         const std::vector<u16>& table) {
    std::vector<u8> r(8, 0);
    r[0] = encoding;
    r[2] = static_cast<u8>(width);
    r[3] = static_cast<u8>(static_cast<u16>(width) >> 8);
    r[4] = static_cast<u8>(height);
    r[5] = static_cast<u8>(static_cast<u16>(height) >> 8);
    r.reserve(9 + data.size() + 2 * table.size());
    for (u8 b : data) r.push_back(b);
    if (data.size() & 1) r.push_back(0);
    for (u16 c : table) {
        r.push_back(static_cast<u8>(c));
        r.push_back(static_cast<u8>(c >> 8));
    }
    return r;
}

// The same picture (given as colours, rows packed) in encoding 0, 1 or 2. Encoding 0 keeps one table
// entry per distinct colour; encodings 1 and 2 one block entry per block, entry 0 left for the
// see-through block (a block whose four texels are all 0xFFFF uses it).
inline std::vector<u8> EncodePicture(u8 encoding, int width, int height, const std::vector<u16>& colours) {
    std::vector<u8> data;
    std::vector<u16> table;
    if (encoding == 0) {
        for (u16 c : colours) {
            auto it = std::find(table.begin(), table.end(), c);
            if (it == table.end()) {
                table.push_back(c);
                it = table.end() - 1;
            }
            data.push_back(static_cast<u8>(it - table.begin()));
        }
    } else {
        table = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
        for (int by = 0; by < height / 2; ++by) {
            for (int bx = 0; bx < width / 2; ++bx) {
                u16 q[4] = {colours[(2 * by) * width + 2 * bx], colours[(2 * by) * width + 2 * bx + 1],
                            colours[(2 * by + 1) * width + 2 * bx],
                            colours[(2 * by + 1) * width + 2 * bx + 1]};
                u32 k = 0;
                if (!(q[0] == 0xFFFF && q[1] == 0xFFFF && q[2] == 0xFFFF && q[3] == 0xFFFF)) {
                    // Equal blocks share an entry, so that encoding 1 stays within its 256 entries.
                    for (k = 1; k < table.size() / 4; ++k)
                        if (std::equal(q, q + 4, table.begin() + 4 * k)) break;
                    if (k == table.size() / 4) table.insert(table.end(), q, q + 4);
                }
                data.push_back(static_cast<u8>(k));
                if (encoding == 2) data.push_back(static_cast<u8>(k >> 8));
            }
        }
    }
    return MakePictureRecord(encoding, static_cast<i16>(width), static_cast<i16>(height), data, table);
}

inline CPictureData Read(const std::vector<u8>& record) {
    CPictureData p;
    EXPECT_TRUE(ReadPicture(record.data(), record.size(), p));
    return p;
}

// A logical width x height frame buffer in memory, turned by the orientation, with a guard band of
// `guard` pixels before and after the memory that the target may use.
class Frame {
public:
    Frame(int width, int height, int orientation = 0, u16 fill = 0, int guard = 64)
        : width_(width), height_(height), guard_(guard) {
        // Orientations 1 and 2 lay logical columns along memory rows.
        memRows_ = orientation == 0 ? height : width;
        pitch_ = orientation == 0 ? width : height;
        memory_.assign(static_cast<size_t>(memRows_) * pitch_ + 2 * guard, kGuard);
        std::fill(memory_.begin() + guard, memory_.end() - guard, fill);
        u16* base = memory_.data() + guard;
        view_.frameBuffer.pixels = orientation == 0   ? base
                                   : orientation == 1 ? base + static_cast<size_t>(width - 1) * pitch_
                                                      : base + (height - 1);
        view_.frameBuffer.width = width;
        view_.frameBuffer.height = height;
        view_.frameBuffer.pitch = pitch_;
        view_.frameBuffer.orientation = orientation;
        renderer_.Init();
        renderer_.viewState = &view_;
        renderer_.SetupView();
    }
    CRenderer& R() { return renderer_; }
    CViewState& View() { return view_; }
    u16 At(int x, int y) const {
        const CFrameTarget& t = renderer_.target2D;
        return t.pixels[FrameOffset(t, x, y)];
    }
    void Set(int x, int y, u16 c) {
        const CFrameTarget& t = renderer_.target2D;
        t.pixels[FrameOffset(t, x, y)] = c;
    }
    std::vector<u16> Logical() const {
        std::vector<u16> out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) out.push_back(At(x, y));
        return out;
    }
    bool GuardsIntact() const {
        for (int i = 0; i < guard_; ++i)
            if (memory_[i] != kGuard || memory_[memory_.size() - 1 - i] != kGuard) return false;
        return true;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_, guard_, memRows_ = 0, pitch_ = 0;
    std::vector<u16> memory_;
    CViewState view_;
    CRenderer renderer_;
};

}  // namespace drawtest
