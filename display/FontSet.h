// The game's text drawing context: three bitmap fonts (strip pictures of glyphs with their glyph
// column tables), a colour pair turned into three shades, and the text operations that every form and
// widget uses: measure, find line breaks, wrap and draw into a box.
#pragma once

#include "core/Types.h"
#include "display/Picture.h"

#include <array>
#include <memory>
#include <vector>

class CDisplayHost;
class CRenderer;
class CStr;
struct GlyphTable;

// The interface records of the three font strips that a layout mode draws its text from: font 0 is
// always 3011; fonts 1 and 2 are 3010 and 3012 in the small modes, 3013 and 3014 in the large ones,
// 3012 and 3013 otherwise. Start-up, the fonts and the tools all ask here.
std::array<u32, 3> FontStripRecords(u32 layoutMode);

// 8-bit red, green and blue to RGB565, each field rounded to nearest (halves up).
u16 PackRGB565(u32 red, u32 green, u32 blue);

class CBitmapFont {
public:
    CBitmapFont();
    // first[c] and width[c] = end[c] - first[c] (8 bits) for every code.
    void SetGlyphs(u32 record, const u16* firstTable, const u16* endTable, u8 lineHeight);
    // Fills the columns from a glyph table: unlisted codes get first column 0 and width 5, a code
    // listed twice its last record.
    void SetGlyphTable(const GlyphTable& table);
    // Keeps the strip record; false (and no strip) when it is not a readable picture.
    bool SetStrip(std::vector<u8> record);

    u32 Record() const { return record_; }
    u8 LineHeight() const { return lineHeight_; }
    u16 FirstColumn(u8 code) const { return first_[code]; }
    u8 Width(u8 code) const { return width_[code]; }
    bool HasStrip() const { return strip_.data != nullptr; }
    const CPictureData& Strip() const { return strip_; }

private:
    u32 record_ = 0;
    std::vector<u8> bytes_;
    CPictureData strip_;
    std::array<u16, 256> first_{};
    std::array<u8, 256> width_{};
    u8 lineHeight_ = 0;
};

struct CShadeEntry {
    u32 colourA = 0;
    u32 colourB = 0;
    u16 shades[3] = {};
};

struct CTextRun {
    const CBitmapFont* font = nullptr;
    u16 colour1 = 0, colour2 = 0, colour3 = 0;
    // Signed: a line may start left of or above the target, and the glyphs clip it.
    i32 x = 0, y = 0;
    const char* text = nullptr;
};

class CFontSet {
public:
    // The line buffer holds one drawn line: at most kLineBufferSize - 1 characters; a longer line is
    // cut there (its end would lie far right of any screen).
    static constexpr u32 kLineBufferSize = 1000;
    static constexpr u32 kShadeGrowth = 4;

    CFontSet();
    void Init();
    // Creates the three fonts for the host's layout mode and loads their strips; font 1 becomes current.
    // False when a strip is missing or unreadable; that font then draws nothing but still measures.
    bool LoadFonts(CDisplayHost& host, CRenderer* renderer);
    void Release();
    void SetRenderer(CRenderer* renderer) { renderer_ = renderer; }

    void Select(u32 index, u32 colourA, u32 colourB);
    void ComputeShades();
    void AddShadeEntry(CShadeEntry entry);

    i32 FindLineBreak(const char* text, i32 start, i32 maxWidth, bool wordWrap, i32& lineWidth,
                      i32& endsAtLineFeed) const;
    void MeasureText(const char* text, i32 width, i32& widest, i32& lines) const;
    i32 DrawTextBox(i32 left, i32 top, i32 right, i32 bottom, const char* text, u32 flags);
    void WrapText(const char* text, i32 width, CStr& result) const;

    // Inspection, and the fonts for callers that draw glyphs themselves.
    const CBitmapFont* Font(u32 index) const { return index < 3 ? fonts_[index].get() : nullptr; }
    const CBitmapFont* CurrentFont() const { return current_; }
    const u16* Shades() const { return shades_; }
    u32 ShadeCount() const { return static_cast<u32>(cache_.size()); }
    u32 ShadeCapacity() const { return cacheCapacity_; }
    const CTextRun& Run() const { return run_; }

    enum : u32 { kOneLine = 1, kAlignRight = 2, kCentre = 4 };

private:
    i32 Advance(u8 c) const { return current_ ? current_->Width(c) + 1 : 6; }

    std::unique_ptr<CBitmapFont> fonts_[3];
    const CBitmapFont* current_ = nullptr;
    u32 colourA_ = 0, colourB_ = 0;
    bool hasPair_ = false;
    u16 shades_[3] = {};
    CDisplayHost* host_ = nullptr;
    CRenderer* renderer_ = nullptr;
    std::vector<CShadeEntry> cache_;
    u32 cacheCapacity_ = kShadeGrowth;
    char line_[kLineBufferSize] = {};
    CTextRun run_;
};
