#include "tools/content/ContentBuilder.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdexcept>

#include "core/PdbFile.h"
#include "display/GlyphTables.h"
#include "tools/content/FontStrips.h"
#include "tools/content/InterfacePictures.h"
#include "tools/content/LayoutTable.h"
#include "tools/content/Painter.h"
#include "tools/content/PictureEncoder.h"
#include "tools/content/Wav.h"
#include "tools/content/world/WorldWriter.h"

namespace {

// Strip 3011 (the game's font 0) is bold; the others are the book face of the interface.
std::string StripFont(const std::string& folder, uint32_t record) {
    return folder + (record == 3011 ? "/DejaVuSans-Bold.ttf" : "/DejaVuSans.ttf");
}

}  // namespace

std::vector<ContentRecord> BuildInterfaceRecords(const std::string& fontFolder) {
    SetFontFolder(fontFolder);
    std::vector<ContentRecord> out;
    out.push_back({3003, BuildLayoutRecord(LayoutGroups(), LayoutModes()), "layout table", {}});
    for (const GlyphTable& table : kGlyphTables) {
        FontStrip strip = RasteriseStrip(table, StripFont(fontFolder, table.record));
        out.push_back({static_cast<uint16_t>(table.record), EncodeStrip(strip), "font strip", {}});
    }
    // The large layouts' column first (what start-up loads in layout mode 15), then the pictures
    // screens read by number, then the other layout families' columns where their records differ.
    std::vector<PictureRecord> large = PaintInterfacePictures();
    std::vector<PictureRecord> screens = PaintScreenPictures();
    std::vector<PictureRecord> pictures = large;
    pictures.insert(pictures.end(), screens.begin(), screens.end());
    std::vector<PictureRecord> others = PaintOtherLayoutPictures(large);
    std::set<uint16_t> seen;
    for (PictureRecord& p : pictures) {
        if (!seen.insert(p.record).second)
            throw std::logic_error("record " + std::to_string(p.record) + " painted twice");
        out.push_back({p.record, EncodePicture(p.picture), p.use, std::move(p.picture)});
    }
    for (PictureRecord& p : others) {
        // The other columns give way to a picture that a screen reads by the same number.
        if (!seen.insert(p.record).second) continue;
        out.push_back({p.record, EncodePicture(p.picture), p.use, std::move(p.picture)});
    }
    out.push_back({4031, MakeWav(ClickSamples()), "click sound", {}});
    out.push_back({4032, MakeWav(ConfirmSamples()), "confirm sound", {}});
    std::sort(out.begin(), out.end(),
              [](const ContentRecord& a, const ContentRecord& b) { return a.id < b.id; });
    return out;
}

bool WriteInterfaceDatabase(const std::vector<ContentRecord>& records, const std::string& path) {
    CPdbFile db;
    CPdbHeader& h = db.Header();
    std::memset(h.name, 0, sizeof h.name);
    std::memcpy(h.name, kDataName, std::strlen(kDataName));
    std::memcpy(h.type, kDataType, 4);
    std::memcpy(h.creator, kDataCreator, 4);
    h.creationDate = h.modificationDate = world::kBuiltDate1904;
    for (const ContentRecord& r : records) db.AddRecord(r.id, r.data.data(), static_cast<u32>(r.data.size()));
    return db.Save(path.c_str()) == 1;
}

namespace {

// Decodes a picture record the way the blits read it, so that the sheet shows what the game shows.
bool DecodePicture(const std::vector<uint8_t>& d, int& w, int& h, std::vector<uint16_t>& px) {
    if (d.size() < 8) return false;
    int enc = d[0];
    w = static_cast<int16_t>(d[2] | d[3] << 8);
    h = static_cast<int16_t>(d[4] | d[5] << 8);
    if (w <= 0 || h <= 0) return false;
    size_t n = static_cast<size_t>(w) * h;
    size_t dataLen = enc == 0 ? n : enc == 1 ? n / 4 : n / 2;
    size_t table = 8 + dataLen + (dataLen % 2);
    auto u16at = [&](size_t at) {
        return at + 1 < d.size() ? static_cast<uint16_t>(d[at] | d[at + 1] << 8) : uint16_t{0xF81F};
    };
    px.resize(n);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t c;
            if (enc == 0) {
                c = u16at(table + 2 * d.at(8 + static_cast<size_t>(y) * w + x));
            } else {
                size_t bi = static_cast<size_t>(y >> 1) * (w >> 1) + (x >> 1);
                size_t k = enc == 1 ? d.at(8 + bi) : u16at(8 + 2 * bi);
                c = u16at(table + 2 * (4 * k + 2 * (y & 1) + (x & 1)));
            }
            px[static_cast<size_t>(y) * w + x] = c;
        }
    return true;
}

}  // namespace

namespace {

bool WritePng(const Canvas& sheet, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, sheet.Width(), sheet.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(sheet.Width()) * 3);
    for (int y = 0; y < sheet.Height(); ++y) {
        for (int x = 0; x < sheet.Width(); ++x) {
            Rgba c = sheet.Get(x, y);
            row[3 * x] = c.r, row[3 * x + 1] = c.g, row[3 * x + 2] = c.b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return true;
}

}  // namespace

bool WriteContactSheet(const std::vector<ContentRecord>& records, const std::string& path) {
    // Pages of 12 x 8 cells of 128 x 140: the picture scaled down to fit 120 x 120 over a checkerboard
    // (which shows transparency), and the record number below it. path "x.png" gives x-1.png, x-2.png ...
    const int cw = 128, ch = 140, cols = 12, rowsPerPage = 8;
    std::vector<const ContentRecord*> pics;
    for (const ContentRecord& r : records)
        if (r.picture.Width() > 0) pics.push_back(&r);
    const size_t perPage = static_cast<size_t>(cols) * rowsPerPage;
    std::string stem =
        path.size() > 4 && path.substr(path.size() - 4) == ".png" ? path.substr(0, path.size() - 4) : path;
    for (size_t page = 0; page * perPage < pics.size(); ++page) {
        Canvas sheet(cols * cw, rowsPerPage * ch, Rgb(0x808080));
        for (size_t k = 0; k < perPage && page * perPage + k < pics.size(); ++k) {
            const ContentRecord* rec = pics[page * perPage + k];
            int w = 0, h = 0;
            std::vector<uint16_t> px;
            if (!DecodePicture(rec->data, w, h, px)) continue;
            int ox = static_cast<int>(k % cols) * cw, oy = static_cast<int>(k / cols) * ch;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 120; ++x)
                    sheet.Set(ox + 4 + x, oy + 4 + y, ((x / 8 + y / 8) % 2) ? Rgb(0x9A9A9A) : Rgb(0x6A6A6A));
            int scale = std::max({1, (w + 119) / 120, (h + 119) / 120});
            for (int y = 0; y < h / scale; ++y)
                for (int x = 0; x < w / scale; ++x) {
                    uint16_t c = px[static_cast<size_t>(y * scale) * w + x * scale];
                    if (c == kTransparent565) continue;
                    sheet.Set(ox + 4 + x, oy + 4 + y,
                              Rgba{static_cast<uint8_t>((c >> 11) * 255 / 31),
                                   static_cast<uint8_t>(((c >> 5) & 63) * 255 / 63),
                                   static_cast<uint8_t>((c & 31) * 255 / 31), 255});
                }
            PaintText(sheet, std::to_string(rec->id), ox, oy + 122, cw, 16, 11, Rgb(0xFFFFFF), true, false,
                      false);
        }
        if (!WritePng(sheet, stem + "-" + std::to_string(page + 1) + ".png")) return false;
    }
    return true;
}

bool WriteFontSample(const std::vector<ContentRecord>& records, const std::string& path) {
    // Each strip draws a sample text the way the game's text runs do: glyph by glyph from the glyph
    // table's columns, one blank column between glyphs, values 1..3 in the text colour and its two
    // shades towards the background, higher values from the strip's own table.
    const std::string samples[] = {
        "The quick brown fox jumps over the lazy dog. 0123456789",
        "Gold: \x0e\x0f\x10\x18 \x09  hp: \xa1\xa2/\xa3\xa4\x83  \x94 Link  \xb5 \xb6  \x91\x92\x93",
        "\xc0\xc9\xd6\xdc\xdf \xe0\xe9\xf6\xfc\xe7 \x8a\x8c\x9a\x9c  \x0c  ABCDEFGHIJKLMNOPQRSTUVWXYZ"};
    Canvas sheet(1000, 5 * 3 * 30 + 20, Rgb(0x2A190D));
    int y = 10;
    for (const GlyphTable& table : kGlyphTables) {
        const ContentRecord* rec = nullptr;
        for (const ContentRecord& r : records)
            if (r.id == table.record) rec = &r;
        if (!rec || rec->data.size() < 8) return false;
        const std::vector<uint8_t>& d = rec->data;
        int sw = static_cast<int16_t>(d[2] | d[3] << 8), sh = static_cast<int16_t>(d[4] | d[5] << 8);
        size_t tableAt = 8 + static_cast<size_t>(sw) * sh + (static_cast<size_t>(sw) * sh) % 2;
        Rgba shades[4] = {Rgba{}, Rgb(0xF0E6C8), Mix(Rgb(0xF0E6C8), Rgb(0x2A190D), 83 / 256.0f),
                          Mix(Rgb(0xF0E6C8), Rgb(0x2A190D), 171 / 256.0f)};
        for (const std::string& text : samples) {
            int x = 10;
            for (unsigned char ch : text) {
                int first = 0, width = kMissingGlyphWidth;
                for (const GlyphRecord& g : table.glyphs)
                    if (g.code == ch) first = g.first, width = g.end - g.first;
                for (int gy = 0; gy < sh; ++gy)
                    for (int gx = 0; gx < width; ++gx) {
                        uint8_t v = d[8 + static_cast<size_t>(gy) * sw + first + gx];
                        if (v == 0) continue;
                        if (v < 4) {
                            sheet.Set(x + gx, y + gy, shades[v]);
                        } else if (tableAt + 2 * v + 1 < d.size()) {
                            uint16_t c =
                                static_cast<uint16_t>(d[tableAt + 2 * v] | d[tableAt + 2 * v + 1] << 8);
                            sheet.Set(x + gx, y + gy,
                                      Rgba{static_cast<uint8_t>((c >> 11) * 255 / 31),
                                           static_cast<uint8_t>(((c >> 5) & 63) * 255 / 63),
                                           static_cast<uint8_t>((c & 31) * 255 / 31), 255});
                        }
                    }
                x += width + 1;
            }
            y += table.lineHeight + 4;
        }
        y += 8;
    }
    return WritePng(sheet.Crop(0, 0, 1000, std::min(sheet.Height(), y)), path);
}

bool WriteLayoutPreview(const std::string& path) {
    // Every layout group of the large layouts at half size: the form as a dark panel and each element
    // as an outlined box with its id, so that overlaps and crowding show at a glance.
    const int cellW = 410, cellH = 320, cols = 3, rowsPerPage = 3;
    const auto& groups = LayoutGroups();
    std::string stem =
        path.size() > 4 && path.substr(path.size() - 4) == ".png" ? path.substr(0, path.size() - 4) : path;
    size_t perPage = static_cast<size_t>(cols) * rowsPerPage;
    for (size_t page = 0; page * perPage < groups.size(); ++page) {
        Canvas sheet(cols * cellW, rowsPerPage * cellH, Rgb(0x505050));
        for (size_t k = 0; k < perPage && page * perPage + k < groups.size(); ++k) {
            const LayoutGroupDef& g = groups[page * perPage + k];
            int ox = static_cast<int>(k % cols) * cellW + 5, oy = static_cast<int>(k / cols) * cellH + 5;
            sheet.Fill(ox, oy, g.width / 2, g.height / 2, Rgb(0x2A190D));
            sheet.Frame(ox, oy, g.width / 2, g.height / 2, Rgb(0xC9A040), 1);
            for (const LayoutRect& e : g.elements) {
                if (e.x == 0 && e.y == 0 && e.w == g.width && e.h == g.height) continue;
                Rgba c = Rgb(0x60C0F0);
                sheet.Frame(ox + e.x / 2, oy + e.y / 2, std::max(1, e.w / 2), std::max(1, e.h / 2), c, 1);
                PaintText(sheet, std::to_string(e.id), ox + e.x / 2, oy + e.y / 2, std::max(14, e.w / 2),
                          std::max(8, e.h / 2), 8, Rgb(0xF0E0A0), false, false, false);
            }
            PaintText(sheet, "group " + std::to_string(g.group), ox, oy + 296, 200, 14, 11, Rgb(0xFFFFFF),
                      true, false, false);
        }
        if (!WritePng(sheet, stem + "-" + std::to_string(page + 1) + ".png")) return false;
    }
    return true;
}

namespace {

const ContentRecord* FindRecord(const std::vector<ContentRecord>& records, uint16_t id) {
    for (const ContentRecord& r : records)
        if (r.id == id) return &r;
    return nullptr;
}

// Draws picture record id at (x, y) on the canvas, tiled over w x h when they are given.
void Put(Canvas& c, const std::vector<ContentRecord>& records, uint16_t id, int x, int y, int w = 0,
         int h = 0) {
    const ContentRecord* r = FindRecord(records, id);
    int pw = 0, ph = 0;
    std::vector<uint16_t> px;
    if (!r || !DecodePicture(r->data, pw, ph, px)) return;
    if (w == 0) w = pw;
    if (h == 0) h = ph;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            uint16_t v = px[static_cast<size_t>(j % ph) * pw + i % pw];
            if (v == kTransparent565) continue;
            c.Set(x + i, y + j,
                  Rgba{static_cast<uint8_t>((v >> 11) * 255 / 31),
                       static_cast<uint8_t>(((v >> 5) & 63) * 255 / 63),
                       static_cast<uint8_t>((v & 31) * 255 / 31), 255});
        }
}

// The nine-piece box as the game draws it: corners whole, edges and centre tiled.
void Box(Canvas& c, const std::vector<ContentRecord>& records, uint16_t first, int x, int y, int w, int h,
         bool centre = true) {
    int pw = 0, ph = 0, rw = 0, bh = 0;
    std::vector<uint16_t> px;
    if (const ContentRecord* r = FindRecord(records, first)) DecodePicture(r->data, pw, ph, px);
    if (const ContentRecord* r = FindRecord(records, first + 6)) DecodePicture(r->data, rw, bh, px);
    if (const ContentRecord* r = FindRecord(records, first + 2)) DecodePicture(r->data, rw, bh, px);
    int L = pw, T = ph, R = pw, B = bh;
    Put(c, records, first + 0, x, y);
    Put(c, records, first + 3, x + L, y, w - L - R, T);
    Put(c, records, first + 6, x + w - R, y);
    Put(c, records, first + 1, x, y + T, L, h - T - B);
    if (centre) Put(c, records, first + 4, x + L, y + T, w - L - R, h - T - B);
    Put(c, records, first + 7, x + w - R, y + T, R, h - T - B);
    Put(c, records, first + 2, x, y + h - B);
    Put(c, records, first + 5, x + L, y + h - B, w - L - R, B);
    Put(c, records, first + 8, x + w - R, y + h - B);
}

}  // namespace

bool WriteMockScreen(const std::vector<ContentRecord>& records, const std::string& path) {
    // A screen put together from the large layouts' pictures, for judging how they look side by side.
    Canvas c(800, 584);
    Put(c, records, 3200, 0, 0, 800, 584);
    Box(c, records, 3291, 160, 60, 480, 400);
    PaintText(c, "Select a class", 176, 74, 448, 34, 22, Rgb(0xF2DA92));
    Box(c, records, 3039, 184, 116, 200, 260);
    Box(c, records, 3140, 400, 116, 216, 260);
    for (int k = 0; k < 7; ++k)
        PaintText(c, k == 2 ? "Mage" : "Warrior", 404, 120 + 30 * k, 208, 28, 18,
                  k == 2 ? Rgb(0x8A2A1A) : Rgb(0x161616), k == 2, false, false);
    Put(c, records, 3100, 250, 404);
    Put(c, records, 3102, 450, 404);
    Box(c, records, 3015, 200, 480, 400, 90);
    PaintText(c, "Do you want to continue?", 212, 492, 376, 30, 18, Rgb(0x161616), false, false, false);
    Put(c, records, 3491, 250, 526 - 6);
    Put(c, records, 3493, 450, 526 - 6);
    for (int k = 0; k < 7; ++k) Put(c, records, static_cast<uint16_t>(3236 + 2 * k), 20, 20 + 70 * k);
    Put(c, records, 3823, 690, 20), Put(c, records, 3824, 696, 20, 90, 16), Put(c, records, 3825, 786, 20);
    Put(c, records, 3826, 690, 44), Put(c, records, 3827, 696, 44, 60, 16), Put(c, records, 3828, 756, 44);
    return WritePng(c, path);
}
