#include "tests/widgets1/WidgetRig.h"

#include <algorithm>

#include "app/InterfacePictures.h"
#include "app/PdbFile.h"
#include "display/GlyphTables.h"

namespace w1test {

namespace {

void PutU16(std::vector<u8>& out, size_t at, u16 v) {
    if (out.size() < at + 2) out.resize(at + 2);
    out[at] = static_cast<u8>(v);
    out[at + 1] = static_cast<u8>(v >> 8);
}

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
    std::vector<u8> record(8, 0);
    PutU16(record, 2, static_cast<u16>(stripWidth));
    PutU16(record, 4, static_cast<u16>(stripHeight));
    record.insert(record.end(), texels.begin(), texels.end());
    if (record.size() % 2) record.push_back(0);
    // Entries 0..3 stand for the shades; none of them is read from the table.
    for (int i = 0; i < 4; ++i) {
        record.push_back(0);
        record.push_back(0);
    }
    return record;
}

}  // namespace

std::vector<u8> PictureRecord(int width, int height, const std::function<u16(int, int)>& colour) {
    std::vector<u16> table;
    std::vector<u8> texels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const u16 c = colour(x, y);
            auto it = std::find(table.begin(), table.end(), c);
            if (it == table.end()) {
                table.push_back(c);
                it = table.end() - 1;
            }
            texels.push_back(static_cast<u8>(it - table.begin()));
        }
    }
    std::vector<u8> record(8, 0);
    PutU16(record, 2, static_cast<u16>(width));
    PutU16(record, 4, static_cast<u16>(height));
    record.insert(record.end(), texels.begin(), texels.end());
    if (record.size() % 2) record.push_back(0);
    for (u16 c : table) {
        record.push_back(static_cast<u8>(c));
        record.push_back(static_cast<u8>(c >> 8));
    }
    return record;
}

std::unique_ptr<CRecordHolder> MakePicture(int width, int height, const std::function<u16(int, int)>& colour) {
    std::vector<u8> bytes = PictureRecord(width, height, colour);
    auto holder = std::make_unique<CRecordHolder>();
    auto* record = new CRecordData;
    record->size = static_cast<u32>(bytes.size());
    record->data = new u8[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), record->data);
    holder->record = record;
    holder->data = record->data;
    return holder;
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

std::vector<u8> BuildLayoutTable(const std::vector<LayoutSpec>& layouts) {
    // One group entry per layout (a group may repeat; each entry lists one mode).
    std::vector<u8> out;
    PutU16(out, 0, static_cast<u16>(layouts.size()));
    size_t at = 2 + 4 * layouts.size();
    for (size_t i = 0; i < layouts.size(); ++i) {
        const LayoutSpec& l = layouts[i];
        const size_t groupAt = at;
        PutU16(out, 2 + 4 * i, static_cast<u16>(groupAt));
        PutU16(out, 4 + 4 * i, l.group);
        PutU16(out, groupAt, 1);
        const size_t layoutAt = groupAt + 6;
        PutU16(out, groupAt + 2, static_cast<u16>(layoutAt));
        PutU16(out, groupAt + 4, l.mode);
        PutU16(out, layoutAt, l.width);
        PutU16(out, layoutAt + 2, l.height);
        PutU16(out, layoutAt + 4, static_cast<u16>(l.elements.size()));
        size_t e = layoutAt + 6;
        for (const LayoutElementSpec& el : l.elements) {
            PutU16(out, e, el.id);
            PutU16(out, e + 2, el.x);
            PutU16(out, e + 4, el.y);
            PutU16(out, e + 6, el.w);
            PutU16(out, e + 8, el.h);
            e += 10;
        }
        at = e;
    }
    return out;
}

Rig::Rig(u32 layoutMode, int w, int h, RigView view, std::vector<LayoutSpec> layouts) : width(w), height(h) {
    game.layoutMode = layoutMode;
    window = plat::CreateHeadlessWindow();
    window->Create("Vantrel", 0, 0, w, h);
    gameScreen = new CGameScreen;
    game.SetScreen(kScreenGame, gameScreen);
    gameScreen->Attach(&game);
    if (view.width == 0) view = {0, 0, static_cast<u16>(w), static_cast<u16>(h)};
    layouts.push_back({43, static_cast<u16>(layoutMode), static_cast<u16>(w), static_cast<u16>(h),
                       {{550, view.x, view.y, view.width, view.height}}});
    host.layoutTable = BuildLayoutTable(layouts);
    auto* table = new CRecordData;
    table->size = static_cast<u32>(host.layoutTable.size());
    table->data = new u8[table->size];
    std::copy(host.layoutTable.begin(), host.layoutTable.end(), table->data);
    game.layoutTable = table;
    host.window = window.get();
    host.viewState = &gameScreen->viewState;
    host.clientWidth = static_cast<u32>(w);
    host.clientHeight = static_cast<u32>(h);
    game.fonts = &fonts;
    video = new CVideo(&host);
    game.video = video;
    EXPECT_TRUE(video->Create(window.get()));
    EXPECT_EQ(video->SyncBackBuffer(), 1u);
    fonts.Init();
    fonts.LoadFonts(host, video->GetRenderer());
    game.textColor = 0x94D6EF;
    game.pressedTextColor = 0x4294C6;
    game.tickCounter = 100;
    screen = new RecordingScreen;
    game.SetScreen(kScreenMainMenu, screen);
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
    delete game.interfacePictures[static_cast<size_t>(index)];
    game.interfacePictures[static_cast<size_t>(index)] = picture.release();
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
