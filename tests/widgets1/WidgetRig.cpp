#include "tests/widgets1/WidgetRig.h"

#include <algorithm>

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

Rig::Rig(u32 layoutMode, int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {
    game.layoutMode = layoutMode;
    viewState.frameBuffer.pixels = pixels.data();
    viewState.frameBuffer.width = w;
    viewState.frameBuffer.height = h;
    viewState.frameBuffer.pitch = w;
    viewState.frameBuffer.orientation = 0;
    renderer.Init();
    renderer.viewState = &viewState;
    renderer.SetupView();
    host.viewState = &viewState;
    host.clientWidth = static_cast<u32>(w);
    host.clientHeight = static_cast<u32>(h);
    fonts.Init();
    fonts.LoadFonts(host, &renderer);
    game.fonts = &fonts;
    game.tickCounter = 100;
    screen = new RecordingScreen;
    screen->Attach(&game);
    game.SetScreen(9, screen);
    game.currentScreen = screen;
}

Rig::~Rig() { game.fonts = nullptr; }

void Rig::Clear(u16 colour) { std::fill(pixels.begin(), pixels.end(), colour); }

testing_support::Rgb565Image Rig::Capture(int x, int y, int w, int h) const {
    testing_support::Rgb565Image image;
    image.width = w;
    image.height = h;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) image.pixels.push_back(Pixel(col, row));
    return image;
}

}  // namespace w1test
