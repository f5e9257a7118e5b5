#include "ui/Draw.h"

#include <algorithm>
#include <string>

#include "ui/WidgetHost.h"
#include "core/Str.h"
#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "display/Picture.h"
#include "display/Video.h"
#include "ui/Form.h"
#include "display/Renderer.h"

bool GetHolderPicture(const CRecordHolder* holder, CPictureData& picture) {
    const CPictureData* read = holder ? holder->Picture() : nullptr;
    if (read) picture = *read;
    return read != nullptr;
}

namespace {

CRenderer* GameRenderer(CWidgetHost* game);

struct FramePiece {
    CPictureData picture;
    bool valid = false;
    i32 Width() const { return valid ? picture.width : 0; }
    i32 Height() const { return valid ? picture.height : 0; }
};

struct FrameSet {
    FramePiece piece[9];
    FrameSet(CRecordHolder* const* set, int count) {
        for (int i = 0; i < count && set; ++i) piece[i].valid = GetHolderPicture(set[i], piece[i].picture);
    }
};

void Whole(CRenderer& r, const FramePiece& p, u32 transparent, i32 x, i32 y) {
    if (!p.valid) return;
    const CPictureData& pic = p.picture;
    if (transparent)
        r.DrawPictureTransparent(x, y, pic, pic.width, 0, 0, pic.width, pic.height);
    else
        r.DrawPicture(x, y, pic, pic.width, 0, 0, pic.width, pic.height);
}

void Tiled(CRenderer& r, const FramePiece& p, u32 transparent, i32 x, i32 y, i32 w, i32 h) {
    // A box narrower or lower than its corners leaves nothing to tile between them.
    if (!p.valid || w <= 0 || h <= 0) return;
    const CPictureData& pic = p.picture;
    if (transparent)
        r.DrawPictureTiledTransparent(x, y, pic, pic.width, pic.height, w, h);
    else
        r.DrawPictureTiled(x, y, pic, pic.width, pic.height, w, h);
}

}  // namespace

void DrawLayoutFrame(CRenderer& r, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w, i32 h) {
    FrameSet f(set, 9);
    const FramePiece* p = f.piece;
    i32 left = p[0].Width(), right = p[6].Width(), top = p[0].Height(), bottom = p[2].Height();
    i32 iw = w - left - right, ih = h - top - bottom;
    i32 xr = x + left + iw, yb = y + top + ih;
    Whole(r, p[0], transparent, x, y);
    Tiled(r, p[3], transparent, x + left, y, iw, top);
    Whole(r, p[6], transparent, xr, y);
    Tiled(r, p[1], transparent, x, y + top, left, ih);
    Tiled(r, p[4], transparent, x + left, y + top, iw, ih);
    Tiled(r, p[7], transparent, xr, y + top, right, ih);
    Whole(r, p[2], transparent, x, yb);
    Tiled(r, p[5], transparent, x + left, yb, iw, bottom);
    Whole(r, p[8], transparent, xr, yb);
}

void DrawFramedPicture(CRenderer& r, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, u32 flags,
                       i32 w, i32 h, u32 colour) {
    FrameSet f(set, 9);
    const FramePiece* p = f.piece;
    i32 left = p[0].Width(), right = p[6].Width(), top = p[0].Height(), bottom = p[2].Height();
    i32 iw = w - left - right, ih = h - top - bottom;
    i32 xr = x + left + iw, yb = y + top + ih;
    if ((flags & kFrameFill) && iw > 0 && ih > 0)
        r.FillRect(x + left, y + top, iw, ih,
                   PackRGB565(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    bool hasTop = flags & kFrameTop, hasBottom = flags & kFrameBottom;
    if (hasTop) {
        Whole(r, p[0], transparent, x, y);
        Tiled(r, p[3], transparent, x + left, y, iw, top);
        Whole(r, p[6], transparent, xr, y);
    }
    if (hasBottom) {
        Whole(r, p[2], transparent, x, yb);
        Tiled(r, p[5], transparent, x + left, yb, iw, bottom);
        Whole(r, p[8], transparent, xr, yb);
    }
    if (flags & kFrameLeft) {
        Tiled(r, p[1], transparent, x, y + top, left, ih);
        if (!hasTop) Whole(r, p[0], transparent, x, y);
        if (!hasBottom) Whole(r, p[2], transparent, x, yb);
    }
    if (flags & kFrameRight) {
        Tiled(r, p[7], transparent, xr, y + top, right, ih);
        if (!hasTop) Whole(r, p[6], transparent, xr, y);
        if (!hasBottom) Whole(r, p[8], transparent, xr, yb);
    }
}

// A piece of a button frame fitted to a button of another height: its upper half at the top, its
// lower half at the bottom and a middle row repeated between, tiled across `w`.
void PieceToHeight(CRenderer& r, const FramePiece& p, u32 transparent, i32 x, i32 y, i32 w, i32 h) {
    if (!p.valid || w <= 0 || h <= 0) return;
    const CPictureData& pic = p.picture;
    const i32 pw = pic.width, ph = pic.height;
    if (pw <= 0 || ph <= 0) return;
    const i32 topRows = h < ph ? h / 2 : ph / 2;
    const i32 bottomRows = h < ph ? h - topRows : ph - ph / 2;
    auto band = [&](i32 dy, i32 sy, i32 rows) {
        for (i32 cx = 0; cx < w; cx += pw) {
            const i32 cw = std::min(pw, w - cx);
            if (transparent)
                r.DrawPictureTransparent(x + cx, dy, pic, pw, 0, sy, cw, rows);
            else
                r.DrawPicture(x + cx, dy, pic, pw, 0, sy, cw, rows);
        }
    };
    band(y, 0, topRows);
    for (i32 row = topRows; row < h - bottomRows; ++row) band(y + row, ph / 2, 1);
    band(y + h - bottomRows, ph - bottomRows, bottomRows);
}

void DrawButtonFrame(CRenderer& r, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w, i32 h) {
    FrameSet f(set, 3);
    const FramePiece* p = f.piece;
    i32 leftCap = p[0].Width(), rightCap = p[2].Width();
    // The frames are drawn for buttons of the caps' height. A button laid out taller or lower would
    // show the middle's tiles repeating under the caps, so its pieces are fitted to its height.
    if (p[0].valid && h != p[0].Height()) {
        PieceToHeight(r, p[0], transparent, x, y, leftCap, h);
        PieceToHeight(r, p[1], transparent, x + leftCap, y, w - leftCap - rightCap, h);
        PieceToHeight(r, p[2], transparent, x + w - rightCap, y, rightCap, h);
        return;
    }
    Whole(r, p[0], transparent, x, y);
    Tiled(r, p[1], transparent, x + leftCap, y, w - leftCap - rightCap, h);
    Whole(r, p[2], transparent, x + w - rightCap, y);
}

void DrawLayoutFrame(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h) {
    if (CRenderer* r = GameRenderer(game)) DrawLayoutFrame(*r, set, transparent, x, y, w, h);
}

void DrawFramedPicture(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, u32 flags,
                       i32 w, i32 h, u32 colour) {
    if (CRenderer* r = GameRenderer(game)) DrawFramedPicture(*r, set, transparent, x, y, flags, w, h, colour);
}

void DrawButtonFrame(CWidgetHost* game, CRecordHolder* const* set, u32 transparent, i32 x, i32 y, i32 w,
                     i32 h) {
    if (CRenderer* r = GameRenderer(game)) DrawButtonFrame(*r, set, transparent, x, y, w, h);
}

void DrawFormBackground(CForm& form) {
    CRenderer* r = GameRenderer(form.game);
    if (r == nullptr) return;
    i32 x = static_cast<i32>(form.x), y = static_cast<i32>(form.y);
    i32 w = static_cast<i32>(form.width), h = static_cast<i32>(form.height);
    CPictureData picture;
    if (form.background != nullptr) {
        if (GetHolderPicture(form.background, picture) && w > 0 && h > 0)
            r->DrawPictureTiled(x, y, picture, picture.width, picture.height, w, h);
        return;
    }
    r->FillRect(x, y, w, h, PackRGB565(form.fillRed, form.fillGreen, form.fillBlue));
}

namespace {

CRenderer* GameRenderer(CWidgetHost* game) {
    CVideo* video = game ? game->GetVideo() : nullptr;
    return video ? video->GetRenderer() : nullptr;
}

}  // namespace

void FormatCompactNumber(u32 value, CStr& out) {
    if (value >= 1000000)
        out.Format("%luM", value / 1000000);
    else if (value >= 10000)
        out.Format("%luK", value / 1000);
    else
        out.Format("%lu", value);
}

namespace {

struct GlyphSet {
    u8 digit0, k, m, b, percent, minus, plus;
};

void ConvertGlyphs(CStr& text, const GlyphSet& set) {
    std::string s = text.GetText();
    char before = 0;  // the previous character as it was before conversion
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        bool afterDigit = (before >= '0' && before <= '9') || before == ')';
        bool beforeDigit = i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '9';
        if (c >= '0' && c <= '9')
            s[i] = static_cast<char>(set.digit0 + (c - '0'));
        else if (afterDigit && c == 'K')
            s[i] = static_cast<char>(set.k);
        else if (afterDigit && c == 'M')
            s[i] = static_cast<char>(set.m);
        else if (afterDigit && c == 'B')
            s[i] = static_cast<char>(set.b);
        else if (afterDigit && c == '%')
            s[i] = static_cast<char>(set.percent);
        else if (beforeDigit && c == '-')
            s[i] = static_cast<char>(set.minus);
        else if (beforeDigit && c == '+')
            s[i] = static_cast<char>(set.plus);
        before = c;
    }
    text.Assign(s.c_str());
}

}  // namespace

void ToNumberGlyphs(CStr& text) { ConvertGlyphs(text, {14, 24, 25, 26, 27, 28, 29}); }
void ToAltNumberGlyphs(CStr& text) { ConvertGlyphs(text, {160, 130, 131, 132, 133, 134, 135}); }
