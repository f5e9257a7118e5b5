#include "display/FontSet.h"

#include "core/LayoutTable.h"
#include "core/Str.h"
#include "display/DisplayHost.h"
#include "display/GlyphTables.h"
#include "display/Renderer.h"

#include <algorithm>
#include <cstring>

u16 PackRGB565(u32 red, u32 green, u32 blue) {
    auto field = [](u32 c, u32 n) {
        u32 q = (c * n * 256) / 255;
        return (q >> 8) + ((q >> 7) & 1);
    };
    return static_cast<u16>((field(red, 31) << 11) | (field(green, 63) << 5) | field(blue, 31));
}

CBitmapFont::CBitmapFont() { width_.fill(1); }

void CBitmapFont::SetGlyphs(u32 record, const u16* firstTable, const u16* endTable, u8 lineHeight) {
    record_ = record;
    lineHeight_ = lineHeight;
    for (int c = 0; c < 256; ++c) {
        first_[c] = firstTable[c];
        width_[c] = static_cast<u8>(endTable[c] - firstTable[c]);
    }
}

void CBitmapFont::SetGlyphTable(const GlyphTable& table) {
    u16 first[256], end[256];
    std::fill_n(first, 256, 0);
    std::fill_n(end, 256, kMissingGlyphWidth);
    for (const GlyphRecord& g : table.glyphs) {
        first[g.code] = g.first;
        end[g.code] = g.end;
    }
    SetGlyphs(table.record, first, end, table.lineHeight);
}

bool CBitmapFont::SetStrip(std::vector<u8> record) {
    bytes_ = std::move(record);
    if (!ReadPicture(bytes_.data(), bytes_.size(), strip_) || strip_.width == 0 || strip_.height == 0) {
        strip_ = CPictureData{};
        bytes_.clear();
        return false;
    }
    return true;
}

CFontSet::CFontSet() { Init(); }

void CFontSet::Init() {
    for (auto& font : fonts_) font.reset();
    current_ = nullptr;
    hasPair_ = false;
    run_ = CTextRun{};
    cache_.clear();
    cacheCapacity_ = kShadeGrowth;
    cache_.reserve(cacheCapacity_);
}

std::array<u32, 3> FontStripRecords(u32 layoutMode) {
    if (IsSmallLayoutMode(layoutMode)) return {3011, 3010, 3012};
    if (IsLargeLayoutMode(layoutMode)) return {3011, 3013, 3014};
    return {3011, 3012, 3013};
}

bool CFontSet::LoadFonts(CDisplayHost& host, CRenderer* renderer) {
    host_ = &host;
    renderer_ = renderer;
    const std::array<u32, 3> records = FontStripRecords(host.GetLayoutMode());
    bool all = true;
    for (int i = 0; i < 3; ++i) {
        fonts_[i] = std::make_unique<CBitmapFont>();
        const GlyphTable* table = FindGlyphTable(records[i]);
        if (table) fonts_[i]->SetGlyphTable(*table);
        std::vector<u8> bytes;
        if (!host.ReadInterfaceRecord(records[i], bytes) || !fonts_[i]->SetStrip(std::move(bytes)))
            all = false;
    }
    current_ = fonts_[1].get();
    run_.font = current_;
    run_.text = line_;
    return all;
}

void CFontSet::Release() {
    for (auto& font : fonts_) font.reset();
    current_ = nullptr;
    run_.font = nullptr;
    cache_.clear();
    cache_.shrink_to_fit();
    cacheCapacity_ = kShadeGrowth;
}

void CFontSet::Select(u32 index, u32 colourA, u32 colourB) {
    u32 mode = host_ ? host_->GetLayoutMode() : 0;
    if (mode == 9 || mode == 10 || mode == 14 || mode == 15) index = 2;
    if (index > 2) index = 2;
    current_ = fonts_[index].get();
    run_.font = current_;
    if (!hasPair_ || colourA != colourA_ || colourB != colourB_) {
        colourA_ = colourA;
        colourB_ = colourB;
        hasPair_ = true;
        ComputeShades();
    }
    run_.colour1 = shades_[0];
    run_.colour2 = shades_[1];
    run_.colour3 = shades_[2];
}

void CFontSet::ComputeShades() {
    for (const CShadeEntry& entry : cache_) {
        if (entry.colourA == colourA_ && entry.colourB == colourB_) {
            std::copy_n(entry.shades, 3, shades_);
            return;
        }
    }
    auto channel = [](u32 colour, int shift) { return static_cast<i32>((colour >> shift) & 0xFF); };
    auto toward = [&](int shift, i32 weight) {
        i32 a = channel(colourA_, shift), b = channel(colourB_, shift);
        return static_cast<u32>(a + (b - a) * weight / 256);  // signed, truncated towards zero
    };
    shades_[0] = PackRGB565(channel(colourA_, 0), channel(colourA_, 8), channel(colourA_, 16));
    shades_[1] = PackRGB565(toward(0, 83), toward(8, 83), toward(16, 83));
    shades_[2] = PackRGB565(toward(0, 171), toward(8, 171), toward(16, 171));
    CShadeEntry entry;
    entry.colourA = colourA_;
    entry.colourB = colourB_;
    std::copy_n(shades_, 3, entry.shades);
    AddShadeEntry(entry);
}

void CFontSet::AddShadeEntry(CShadeEntry entry) {
    if (cache_.size() == cacheCapacity_) {
        cacheCapacity_ += kShadeGrowth;
        cache_.reserve(cacheCapacity_);
    }
    cache_.push_back(entry);
}

i32 CFontSet::FindLineBreak(const char* text, i32 start, i32 maxWidth, bool wordWrap, i32& lineWidth,
                            i32& endsAtLineFeed) const {
    lineWidth = 0;
    endsAtLineFeed = 0;
    if (!text) return start;
    i32 len = static_cast<i32>(std::strlen(text));
    if (start >= len) return start;
    const auto* t = reinterpret_cast<const u8*>(text);
    i32 i = start;
    for (; i < len; ++i) {
        if (t[i] == '\r' || t[i] == '\n') {
            endsAtLineFeed = t[i] == '\n';
            return i;
        }
        lineWidth += Advance(t[i]);
        if (lineWidth >= maxWidth) break;
    }
    if (i >= len) return len;
    if (!wordWrap) return i;
    for (i32 k = i; k > start; --k) {
        lineWidth -= Advance(t[k]);
        if (t[k] == ' ') return k;
    }
    return len;
}

void CFontSet::MeasureText(const char* text, i32 width, i32& widest, i32& lines) const {
    widest = 0;
    lines = 0;
    if (!text || !*text || width == 0) return;
    i32 len = static_cast<i32>(std::strlen(text));
    i32 i = 0;
    while (i < len) {
        i32 w, lf;
        i32 b = FindLineBreak(text, i, width, true, w, lf);
        if (w > 0) {
            widest = std::max(widest, w + 1);
            ++lines;
            if (lf) return;
        }
        i = b;
        if (b < len && (text[b] == '\r' || text[b] == '\n')) {
            i = b + 1;
            if (w == 0) ++lines;
        } else if (b < len && text[b] == ' ') {
            while (i < len && text[i] == ' ') ++i;
        }
    }
}

i32 CFontSet::DrawTextBox(i32 left, i32 top, i32 right, i32 bottom, const char* text, u32 flags) {
    i32 lines = 1;
    i32 len = text ? static_cast<i32>(std::strlen(text)) : 0;
    i32 width = right - left;
    i32 y = top;
    if (len == 0) return 1;
    const bool oneLine = (flags & kOneLine) != 0;
    i32 start = 0;
    for (;;) {
        i32 w, lf;
        i32 b = FindLineBreak(text, start, width, !oneLine, w, lf);
        i32 x = left;
        if (flags & kCentre)
            x = width > w ? left + (width - w) / 2 : left;
        else if (flags & kAlignRight)
            x = right - w;
        u32 n = static_cast<u32>(std::max(0, b - start));
        n = std::min(n, kLineBufferSize - 1);
        std::memcpy(line_, text + start, n);
        line_[n] = '\0';
        run_.x = x;
        run_.y = y;
        run_.text = line_;
        if (renderer_) renderer_->DrawText(run_);
        if (b >= len || oneLine) return lines;
        ++lines;
        i32 next = b;
        if (text[b] == '\r' || text[b] == '\n') {
            next = b + 1;
        } else if (text[b] == ' ') {
            while (next < len && text[next] == ' ') ++next;
        }
        if (lf) return lines;
        i32 lineHeight = current_ ? current_->LineHeight() : 0;
        y += lineHeight;
        if (y + lineHeight > bottom + 3) return lines;
        if (next >= len) return lines;
        start = std::max(next, start + 1);
    }
}

void CFontSet::WrapText(const char* text, i32 width, CStr& result) const {
    result = "";
    if (!text || !*text || width == 0) return;
    i32 len = static_cast<i32>(std::strlen(text));
    i32 i = 0;
    std::vector<char> piece;
    auto append = [&](i32 from, i32 to) {  // text[from .. to - 1]
        piece.assign(text + from, text + to);
        piece.push_back('\0');
        result.Append(piece.data());
    };
    while (i < len) {
        i32 w, lf;
        i32 b = FindLineBreak(text, i, width, true, w, lf);
        if (b < len && text[b] == '\r') {
            append(i, b + 1);
            i = b + 1;
        } else {
            if (b > i) {
                append(i, b);
                result.Append("\r");
            }
            i = b;
        }
        if (b < len && text[b] == '\n') return;
        while (i < len && text[i] == ' ') ++i;
    }
}
