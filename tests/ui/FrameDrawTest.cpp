#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/PdbFile.h"
#include "data/RecordHolder.h"
#include "ui/Draw.h"
#include "display/Renderer.h"
#include "display/ViewState.h"

namespace {

// A holder carrying a w x h picture of encoding 0 in one colour.
std::unique_ptr<CRecordHolder> SolidPicture(i16 w, i16 h, u16 colour) {
    u32 texels = static_cast<u32>(w) * static_cast<u32>(h);
    std::vector<u8> bytes = {0, 0, static_cast<u8>(w), 0, static_cast<u8>(h), 0, 0, 0};
    bytes.resize(8 + texels, 0);
    if (bytes.size() % 2) bytes.push_back(0);
    bytes.push_back(static_cast<u8>(colour));
    bytes.push_back(static_cast<u8>(colour >> 8));
    auto holder = std::make_unique<CRecordHolder>();
    holder->record = new CRecordData;
    holder->record->size = static_cast<u32>(bytes.size());
    holder->record->data = new u8[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), holder->record->data);
    holder->data = holder->record->data;
    return holder;
}

// A frame buffer of W x H pixels cleared to '.', drawn through a renderer and read back as letters:
// piece k of a set is drawn in colour k + 1 and shown as the letter 'a' + k.
class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), pixels_(static_cast<size_t>(w) * h, 0) {
        state_.frameBuffer = {pixels_.data(), w, h, w, 0};
        renderer_.Init();
        renderer_.viewState = &state_;
        renderer_.SetupView();
    }
    CRenderer& Renderer() { return renderer_; }
    std::string Row(int y) const {
        std::string s;
        for (int x = 0; x < w_; ++x) {
            u16 p = pixels_[static_cast<size_t>(y) * w_ + x];
            s += p == 0 ? '.' : p <= 26 ? static_cast<char>('a' + p - 1) : '#';
        }
        return s;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int y = 0; y < h_; ++y) rows.push_back(Row(y));
        return rows;
    }

private:
    int w_, h_;
    std::vector<u16> pixels_;
    CViewState state_;
    CRenderer renderer_;
};

// Nine pieces: corners 2 x 2, left and right edges 2 x 1, top and bottom edges 1 x 2, centre 1 x 1.
struct NineSet {
    std::unique_ptr<CRecordHolder> owned[9];
    CRecordHolder* set[9];
    NineSet() {
        static const i16 size[9][2] = {{2, 2}, {2, 1}, {2, 2}, {1, 2}, {1, 1},
                                       {1, 2}, {2, 2}, {2, 1}, {2, 2}};
        for (int k = 0; k < 9; ++k) {
            owned[k] = SolidPicture(size[k][0], size[k][1], static_cast<u16>(k + 1));
            set[k] = owned[k].get();
        }
    }
};

using Rows = std::vector<std::string>;

}  // namespace

TEST(FrameDrawing, NinePieceFrame) {
    NineSet nine;
    Canvas canvas(8, 6);
    DrawLayoutFrame(canvas.Renderer(), nine.set, 0, 1, 0, 6, 6);
    EXPECT_EQ(canvas.Rows(), (Rows{".aaddgg.", ".aaddgg.", ".bbeehh.", ".bbeehh.", ".ccffii.", ".ccffii."}));
}

TEST(FrameDrawing, NarrowBoxTilesNothingBetweenItsCorners) {
    NineSet nine;
    Canvas canvas(8, 6);
    // 3 wide: inner width -1, so the right column starts at x + 1, over the left one.
    DrawLayoutFrame(canvas.Renderer(), nine.set, 0, 2, 0, 3, 6);
    EXPECT_EQ(canvas.Rows(), (Rows{"..agg...", "..agg...", "..bhh...", "..bhh...", "..cii...", "..cii..."}));
}

TEST(FrameDrawing, FramedPictureSidesAndFill) {
    NineSet nine;
    struct Case {
        u32 flags;
        Rows rows;
    } cases[] = {
        // Sides only: the corners still come with the left and right sides.
        {kFrameLeft | kFrameRight, {"aa..gg", "aa..gg", "bb..hh", "cc..ii", "cc..ii"}},
        {kFrameTop | kFrameBottom, {"aaddgg", "aaddgg", "......", "ccffii", "ccffii"}},
        {kFrameTop | kFrameLeft | kFrameBottom | kFrameRight,
         {"aaddgg", "aaddgg", "bb..hh", "ccffii", "ccffii"}},
        // The fill covers the inner rectangle in the colour (0x00BBGGRR packed to RGB565).
        {kFrameFill, {"......", "......", "..##..", "......", "......"}},
        {0, {"......", "......", "......", "......", "......"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        Canvas canvas(6, 5);
        DrawFramedPicture(canvas.Renderer(), nine.set, 0, 0, 0, c.flags, 6, 5, 0x0000FF);
        EXPECT_EQ(canvas.Rows(), c.rows);
    }
}

TEST(FrameDrawing, ButtonFrameAndMissingPieces) {
    std::unique_ptr<CRecordHolder> caps[3] = {SolidPicture(2, 1, 1), SolidPicture(1, 1, 2),
                                              SolidPicture(1, 1, 3)};
    CRecordHolder* set[3] = {caps[0].get(), caps[1].get(), caps[2].get()};
    Canvas canvas(7, 3);
    // Pieces of the button's own height are drawn whole; for a button of another height every piece
    // is fitted to it (upper half, a middle row repeated, lower half), caps included, so nothing of
    // the middle shows under the caps.
    DrawButtonFrame(canvas.Renderer(), set, 0, 0, 0, 6, 1);
    EXPECT_EQ(canvas.Rows(), (Rows{"aabbbc.", ".......", "......."}));
    DrawButtonFrame(canvas.Renderer(), set, 0, 0, 0, 6, 3);
    EXPECT_EQ(canvas.Rows(), (Rows{"aabbbc.", "aabbbc.", "aabbbc."}));

    // A piece that is missing or not a picture is left out, and its metrics count as 0.
    CRecordHolder empty;
    set[0] = &empty;
    Canvas other(7, 1);
    DrawButtonFrame(other.Renderer(), set, 0, 0, 0, 6, 1);
    EXPECT_EQ(other.Rows(), (Rows{"bbbbbc."}));
}
