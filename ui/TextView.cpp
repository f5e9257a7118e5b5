#include "ui/TextView.h"

#include <string>

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"

namespace {

bool IsSkippedAfterBreak(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

}  // namespace

void CTextViewLineArray::RemoveAt(u32 i) {
    if (i < lines_.size()) lines_.erase(lines_.begin() + i);
}

void CTextViewLineArray::Set(u32 i, const CTextViewLine& line) {
    if (i < lines_.size()) lines_[i] = line;
}

CTextView::CTextView() : CWidget(kWidgetTakesPen) {}

const char* CTextView::BulletText() const {
    // The small screens' fonts keep a narrow blank at code 11.
    return IsSmallLayoutMode(game->GetLayoutMode()) ? "-\x0b" : "- ";
}

void CTextView::ResetRows() {
    rows.Empty();
    for (i32 r = 0; r < visibleRows; ++r) rows.Append(CTextViewLine{});
}

void CTextView::SetColors(u32 style0, u32 style1, u32 style2, u32 second, CRecordHolder* background) {
    colours[0] = style0;
    colours[1] = style1;
    colours[2] = style2;
    secondColour = second;
    backgroundPicture = background;
    font = 1;
    fonts->Select(font, colours[0], secondColour);
    lineHeight = CurrentLineHeight(fonts);
    visibleRows = h / AtLeastOne(lineHeight + 1);
    i32 bulletWidth = 0, endsAtLf = 0;
    fonts->FindLineBreak(BulletText(), 0, 1000, false, bulletWidth, endsAtLf);
    margin = bulletWidth;
    ResetRows();
    insertionRow = 0;
    scrolled = 0;
    reservedRows = 0;
    markerInPlace = 0;
    backgroundOn = 1;
    centred = 0;
}

void CTextView::Clear() {
    ResetRows();
    pending.Empty();
    scrolled = 0;
    // The insertion row stays: the next message enters below the previous one.
    if (insertionRow > visibleRows) insertionRow = visibleRows;
}

void CTextView::AddText(const char* text, u32 style, u32 bullet) {
    if (text == nullptr) return;
    const i32 length = static_cast<i32>(std::char_traits<char>::length(text));
    const i32 limit = w - margin;
    // Wrap with the font the rows are drawn and measured with, not whichever font was selected
    // last: a line wrapped in a narrower font would be cut when drawn.
    fonts->Select(1, colours[0], secondColour);
    bool first = true;
    i32 p = 0;
    while (p < length) {
        i32 width = 0, endsAtLf = 0;
        i32 end = fonts->FindLineBreak(text, p, limit, true, width, endsAtLf);
        if (end < p) end = p;
        if (end > length) end = length;
        CTextViewLine line;
        line.bullet = (first && bullet != 0) ? 1 : 0;
        line.text = CStr(std::string(text + p, text + end).c_str());
        line.style = style;
        pending.Append(line);
        first = false;
        p = end;
        while (p < length && IsSkippedAfterBreak(text[p])) ++p;
    }
}

void CTextView::AddBlankLines(u32 count) {
    reservedRows = 1;
    for (u32 i = 0; i < count; ++i) {
        CTextViewLine line;
        line.text = " ";
        line.style = 1;
        pending.Append(line);
    }
    Draw();
}

i32 CTextView::MeasurePending(i32 wrapWidth, i32& widest) {
    fonts->Select(1, colours[0], secondColour);
    widest = 0;
    i32 total = 0;
    for (u32 i = 0; i < pending.Count(); ++i) {
        i32 lineWidest = 0, lines = 0;
        fonts->MeasureText(pending.At(i).text.GetText(), wrapWidth, lineWidest, lines);
        total += lines;
        if (lineWidest > widest) widest = lineWidest;
    }
    return total;
}

void CTextView::DrawLines() {
    if (backgroundOn != 0 && backgroundPicture != nullptr)
        video->DrawPictureTiled(backgroundPicture, x, y, w, h);
    const i32 pitch = lineHeight + 1;
    // The 16-bit position words hold a view left of or above the screen (a message box wider than
    // the screen has one) as large numbers; the text is placed by their signed value and clipped.
    const i32 left = static_cast<i16>(x), first = static_cast<i16>(y);
    for (i32 r = 0; r < visibleRows && r < static_cast<i32>(rows.Count()); ++r) {
        const CTextViewLine& line = rows.At(static_cast<u32>(r));
        if (line.text.IsEmpty()) continue;
        const i32 top = first + r * pitch;
        fonts->Select(font, colours[line.style < 3 ? line.style : 0], secondColour);
        if (centred != 0) {
            fonts->DrawTextBox(left, top, left + w, top + lineHeight, line.text.GetText(), 4);
        } else {
            if (line.bullet != 0) fonts->DrawTextBox(left, top, left + w, top + lineHeight, BulletText(), 0);
            fonts->DrawTextBox(left + margin, top, left + w, top + lineHeight, line.text.GetText(), 0);
        }
    }
}

void CTextView::ScrollRowsUp() {
    const u32 count = rows.Count();
    if (count == 0) return;
    for (u32 r = 0; r + 1 < count; ++r) rows.Set(r, rows.At(r + 1));
    rows.At(count - 1).text = "";
}

void CTextView::Draw() {
    if (scrolled != 0) {
        DrawLines();
        return;
    }
    // A view lower than one line has no row to take a line: the lines wait until the owner gives
    // it a height.
    if (visibleRows <= 0) return;
    fonts->Select(font, colours[0], secondColour);
    while (pending.Count() != 0) {
        CTextViewLine line = pending.At(0);
        pending.RemoveAt(0);
        ++scrolled;
        if (insertionRow >= visibleRows) {
            ScrollRowsUp();
            insertionRow = visibleRows - 1;
        }
        rows.Set(static_cast<u32>(insertionRow), line);
        ++insertionRow;
        DrawLines();
        if (pending.Count() == 0) break;
        if (noPauses == 0) {
            video->Present();
            plat::Sleep(kLinePause);
        }
        if (scrolled > visibleRows - reservedRows - 1) {
            if (noPauses != 0) {
                DrawLines();
                return;
            }
            // The marker goes below the last line; with no row left below it, the rows move up
            // first, whatever the owner asked for.
            if (markerInPlace == 0 || insertionRow >= visibleRows)
                ScrollRowsUp();
            else
                ++insertionRow;
            CTextViewLine marker;
            marker.bullet = line.bullet;
            marker.style = line.style;
            const u32 mode = game->GetLayoutMode();
            marker.text = (mode == 5 || mode == 8) ? "" : "...";
            rows.Set(static_cast<u32>(insertionRow - 1), marker);
            DrawLines();
            return;
        }
    }
    scrolled = 0;
    if (insertionRow >= visibleRows && noPauses == 0 && !IsSmallLayoutMode(game->GetLayoutMode())) {
        plat::Sleep(kFinalPause);
        ScrollRowsUp();
        insertionRow = visibleRows - 1;
        DrawLines();
        video->Present();
    }
}
