#include "tests/ui/WidgetRig.h"

#include <algorithm>

#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "display/GlyphTables.h"

namespace w1test {

namespace {

// A strip whose glyphs are small patterns that differ from code to code: a left stem in the text
// colour, a right edge in the third shade and code bits along the top and through the middle, so
// that a wrong character, column or colour shows in a captured frame.
std::vector<u8> SynthStrip(const GlyphTable& table) {
    int stripWidth = 8;
    for (const GlyphRecord& g : table.glyphs) stripWidth = std::max(stripWidth, static_cast<int>(g.end));
    const int stripHeight = table.stripHeight;
    std::vector<u8> texels(static_cast<size_t>(stripWidth) * stripHeight, 0);
    for (const GlyphRecord& g : table.glyphs) {
        if (g.code == 32 || g.code == 11 || g.end <= g.first) continue;
        const int gw = g.end - g.first;
        const int top = stripHeight / 4, bottom = stripHeight - stripHeight / 5;
        for (int row = top; row < bottom; ++row) {
            for (int col = 0; col < gw; ++col) {
                u8 t = 0;
                if (col == 0) t = 1;
                else if (col == gw - 1) t = 3;
                else if (row == top) t = ((g.code >> (col % 8)) & 1) ? 1 : 0;
                else if (row == (top + bottom) / 2) t = ((g.code >> ((col + 3) % 8)) & 1) ? 2 : 0;
                texels[static_cast<size_t>(row) * stripWidth + g.first + col] = t;
            }
        }
    }
    // Entries 0..3 stand for the shades; none of them is read from the table.
    return testing_support::IndexedPicture(
        stripWidth, stripHeight, [&](int x, int y) { return texels[static_cast<size_t>(y) * stripWidth + x]; },
        {0, 0, 0, 0});
}

}  // namespace

std::unique_ptr<CRecordHolder> MakePicture(int width, int height, const std::function<u16(int, int)>& colour) {
    return std::unique_ptr<CRecordHolder>(testing_support::MakeHolder(testing_support::PictureRecord(width, height, colour)));
}

std::unique_ptr<CRecordHolder> MakePicture(int width, int height, u16 colour) {
    const u16 border = static_cast<u16>((colour >> 1) & 0x7BEF);
    return MakePicture(width, height, [=](int x, int y) {
        return (x == 0 || y == 0 || x == width - 1 || y == height - 1) ? border : colour;
    });
}

void FakeHost::GetLayoutTable(const u8*& table, size_t& size) const {
    table = layoutTable.empty() ? nullptr : layoutTable.data();
    size = layoutTable.size();
}

bool FakeHost::ReadInterfaceRecord(u32 record, std::vector<u8>& bytes) {
    const GlyphTable* table = FindGlyphTable(record);
    if (table == nullptr) return false;
    bytes = SynthStrip(*table);
    return true;
}

Rig::Rig(u32 layoutMode, int w, int h, RigView view, std::vector<LayoutSpec> layouts) : width(w), height(h) {
    game.layoutMode = layoutMode;
    window = plat::CreateHeadlessWindow();
    window->Create("Vantrel", 0, 0, w, h);
    game.SetScreen(kScreenGame, std::make_unique<CGameScreen>());
    gameScreen = static_cast<CGameScreen*>(game.GetScreen(kScreenGame));
    gameScreen->Attach(&game);
    if (view.width == 0) view = {0, 0, static_cast<u16>(w), static_cast<u16>(h)};
    layouts.push_back({43, static_cast<u16>(layoutMode), static_cast<u16>(w), static_cast<u16>(h),
                       {{550, view.x, view.y, view.width, view.height}}});
    host.layoutTable = BuildLayoutTable(layouts);
    game.layoutTable.reset(testing_support::MakeRecord(host.layoutTable));
    host.window = window.get();
    host.viewState = &gameScreen->viewState;
    host.clientWidth = static_cast<u32>(w);
    host.clientHeight = static_cast<u32>(h);
    game.video = std::make_unique<CVideo>(&host);
    video = game.video.get();
    EXPECT_TRUE(video->Create(window.get()));
    EXPECT_EQ(video->SyncBackBuffer(), 1u);
    fonts.Init();
    fonts.LoadFonts(host, video->GetRenderer());
    game.textColor = 0x94D6EF;
    game.pressedTextColor = 0x4294C6;
    game.tickCounter = 100;
    game.SetScreen(kScreenMainMenu, std::make_unique<RecordingScreen>());
    screen = static_cast<RecordingScreen*>(game.GetScreen(kScreenMainMenu));
    screen->Attach(&game);
    game.currentScreen = screen;
    screen->Enter(0, 0, 0, 0);
}

Rig::~Rig() {
    // The screens go with the game; the game must not draw through the video output any more.
    game.currentScreen = nullptr;
}

void Rig::Clear(u16 colour) { video->FillRect(0, 0, width, height, colour); }

u16 Rig::Pixel(int x, int y) const {
    const CFrameBufferDesc& fb = gameScreen->viewState.frameBuffer;
    return fb.pixels[static_cast<size_t>(y) * fb.pitch + x];
}

testing_support::Rgb565Image Rig::Capture(int x, int y, int w, int h) const {
    testing_support::Rgb565Image image;
    image.width = w;
    image.height = h;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) image.pixels.push_back(Pixel(col, row));
    return image;
}

void Rig::SetInterfacePicture(u16 base, std::unique_ptr<CRecordHolder> picture) {
    const int index = InterfacePictureIndex(base);
    ASSERT_GE(index, 0) << base;
    game.SetInterfacePicture(index, std::move(picture));
}

void Rig::InstallInterfacePictures() {
    constexpr u16 kClear = 0xFFFF;
    const u16 gold = 0xC58A, brown = 0x6220, parchment = 0xE6B2, dark = 0x2104;
    // The message frame: rounded gold corners (see-through outside the curve), brown edges, parchment.
    const int c = 8;
    auto corner = [=](int flipX, int flipY) {
        return MakePicture(c, c, [=](int x, int y) {
            const int dx = flipX ? x : c - 1 - x, dy = flipY ? y : c - 1 - y;
            if (dx * dx + dy * dy > c * c) return kClear;
            return (dx + dy) % 3 == 0 ? brown : gold;
        });
    };
    SetInterfacePicture(3015, corner(0, 0));
    SetInterfacePicture(3016, MakePicture(c, 4, [=](int x, int) { return x < 3 ? gold : brown; }));
    SetInterfacePicture(3017, corner(0, 1));
    SetInterfacePicture(3018, MakePicture(4, c, [=](int, int y) { return y < 3 ? gold : brown; }));
    SetInterfacePicture(3019, MakePicture(6, 6, [=](int x, int y) { return (x + y) % 5 ? parchment : 0xD671; }));
    SetInterfacePicture(3020, MakePicture(4, c, [=](int, int y) { return y >= c - 3 ? gold : brown; }));
    SetInterfacePicture(3021, corner(1, 0));
    SetInterfacePicture(3022, MakePicture(c, 4, [=](int x, int) { return x >= c - 3 ? gold : brown; }));
    SetInterfacePicture(3023, corner(1, 1));
    // Button frames: caps and a middle 30 pixels high; the pressed set is lighter.
    const u16 normalFace = 0x2A69, pressedFace = 0x5BD1;
    for (int pressed = 0; pressed < 2; ++pressed) {
        const u16 face = pressed ? pressedFace : normalFace;
        const u16 base = static_cast<u16>(pressed ? 3027 : 3024);
        SetInterfacePicture(base, MakePicture(5, 30, [=](int x, int y) {
            return (x == 0 || y == 0 || y == 29) ? (x == 0 && (y == 0 || y == 29) ? kClear : gold) : face;
        }));
        SetInterfacePicture(base + 1, MakePicture(3, 30, [=](int, int y) { return (y == 0 || y == 29) ? gold : face; }));
        SetInterfacePicture(base + 2, MakePicture(5, 30, [=](int x, int y) {
            return (x == 4 || y == 0 || y == 29) ? (x == 4 && (y == 0 || y == 29) ? kClear : gold) : face;
        }));
    }
    // The progress frame: eight pieces of a two-pixel frame.
    for (u16 i = 0; i < 8; ++i) SetInterfacePicture(static_cast<u16>(3190 + i), MakePicture(2, 2, gold));
    // Gauges: vertical 3378..3383 and horizontal 3823..3828 (moving cap, fill, fixed cap).
    const u16 capColour[2] = {0xF800, 0x001F};
    for (int style = 0; style < 2; ++style) {
        const u16 v = static_cast<u16>(style ? 3378 : 3381), hz = static_cast<u16>(style ? 3823 : 3826);
        SetInterfacePicture(v, MakePicture(10, 4, capColour[style]));
        SetInterfacePicture(v + 1, MakePicture(10, 40, [=](int x, int y) { return static_cast<u16>(((y * 2) << 5) | (x * 3)); }));
        SetInterfacePicture(v + 2, MakePicture(10, 3, dark));
        SetInterfacePicture(hz, MakePicture(4, 10, capColour[style]));
        SetInterfacePicture(hz + 1, MakePicture(80, 10, [=](int x, int y) { return static_cast<u16>(((x / 3) << 11) | (y * 5)); }));
        SetInterfacePicture(hz + 2, MakePicture(3, 10, dark));
    }
}

}  // namespace w1test
