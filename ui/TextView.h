// The scrolling text view: messages, conversation text and book pages in a fixed number of rows.
// Text is added as whole messages, wrapped into lines and queued; the next draw rolls the queued
// lines in from the bottom one by one, pausing on the window's thread between them, and stops at a
// full page with a "..." row until the owner asks for the next page.
#pragma once

#include <deque>
#include <vector>

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

// One wrapped line. The text is held as a string of its own, so a line may be as long as the
// wrapping makes it (a word wider than the view keeps the rest of its message on one line).
struct CTextViewLine {
    u32 bullet = 0;  // 1 on the first line of a message added with a bullet
    CStr text;
    u32 style = 0;  // 0, 1 or 2: which of the view's text colours
};

// The lines of the view: the rows on screen, or the lines waiting to roll in (oldest first).
class CTextViewLineArray {
public:
    u32 Count() const { return static_cast<u32>(lines_.size()); }
    CTextViewLine& At(u32 i) { return lines_[i]; }
    const CTextViewLine& At(u32 i) const { return lines_[i]; }
    void Append(const CTextViewLine& line) { lines_.push_back(line); }
    // Removes line i; later lines move one place down. An index past the end changes nothing.
    void RemoveAt(u32 i);
    void Set(u32 i, const CTextViewLine& line);
    void Empty() { lines_.clear(); }

private:
    std::deque<CTextViewLine> lines_;
};

class CTextView : public CWidget {
public:
    CTextView();

    void SetColors(u32 style0, u32 style1, u32 style2, u32 secondColour, CRecordHolder* background);
    void Clear();
    void AddText(const char* text, u32 style, u32 bullet);
    void AddBlankLines(u32 count);
    // Lines that the pending texts take when wrapped at wrapWidth; widest gets the widest line.
    i32 MeasurePending(i32 wrapWidth, i32& widest);
    void DrawLines();
    void Draw() override;

    bool HasPending() const { return pending.Count() != 0; }
    u32 PendingCount() const { return pending.Count(); }

    i32 visibleRows = 0;
    CTextViewLineArray rows;
    CTextViewLineArray pending;
    i32 scrolled = 0;
    i32 reservedRows = 0;
    u32 noPauses = 0;
    u32 markerInPlace = 0;
    i32 insertionRow = 0;
    i32 margin = 0;
    u32 font = 0;
    u32 backgroundOn = 0;
    u32 centred = 0;
    u32 colours[3] = {0, 0, 0};
    u32 secondColour = 0;
    i32 lineHeight = 0;
    CRecordHolder* backgroundPicture = nullptr;

private:
    const char* BulletText() const;
    void ResetRows();
    void ScrollRowsUp();
    // Milliseconds the view waits after each line while a message rolls in, and before the last
    // scroll that frees the bottom row.
    static constexpr u32 kLinePause = 100;
    static constexpr u32 kFinalPause = 50;
};
