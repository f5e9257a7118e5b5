#include "ui/TextBox.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"
#include "ui/LayoutMath.h"

void CTextBox::Setup(u32 tFont, u32 tColour, u32 tColourA, u32 bColour, u32 bgColour, u32 fillOn, i32 hMargin,
                     i32 tMargin, u32 tColourB) {
    titleFont = tFont;
    titleColour = tColour;
    titleColourA = tColourA;
    bodyColour = bColour;
    backgroundColour = bgColour;
    fill = fillOn;
    horizontalMargin = hMargin;
    topMargin = tMargin;
    titleColourB = tColourB;
    bodyFont = 1;
    title.Assign("");
    twoLineTitle = 1;
    oneLineTitle = 0;
    currentPage = 0;
    pages.Clear();
    state |= kWidgetRedraw;
}

void CTextBox::SetText(const char* newTitle, const char* body, u32 a, u32 b) {
    flagA = a;
    flagB = b;
    if (newTitle != nullptr) title.Assign(newTitle);
    pages.Clear();
    state |= kWidgetRedraw;
    currentPage = 0;
    if (fonts == nullptr) {
        pages.Append(CStr(""));
        return;
    }
    const u32 mode = game != nullptr ? game->GetLayoutMode() : 0;
    const bool small = IsSmallLayoutMode(mode);
    const i32 wrapWidth = static_cast<i32>(w) - 2 * horizontalMargin;

    fonts->Select(titleFont, titleColour, backgroundColour);
    i32 widest = 0, titleLines = 0;
    fonts->MeasureText(title.GetText(), wrapWidth, widest, titleLines);
    if (twoLineTitle != 0 && !title.IsEmpty() && titleLines < 2 && !small) titleLines = 2;
    if (oneLineTitle != 0) titleLines = 1;
    const i32 titlePitch = CurrentLineHeight(fonts) + 1;
    if (small) {
        const i32 a2 = (twoLineTitle != 0 && titleLines < 2 && mode != 8 && mode != 5) ? 2 : 0;
        bodyTop = y + titleLines * titlePitch + topMargin + a2 - 2;
    } else {
        bodyTop = y + titleLines * titlePitch + topMargin - 3;
    }

    fonts->Select(bodyFont, bodyColour, backgroundColour);
    const i32 bodyPitch = CurrentLineHeight(fonts) + 1;
    const i32 firstPageLines = (y - bodyTop + h + topMargin + 4) / bodyPitch;
    const i32 laterPageLines = h / bodyPitch;

    CStr text(body != nullptr ? body : "");
    text.Replace("\n", "\r");
    CStr wrapped;
    fonts->WrapText(text.GetText(), wrapWidth, wrapped);

    // A page is complete when it holds its share of lines; a share of 0 or less (no room under the
    // title, or a box lower than a line) is never reached, so that page takes the rest of the body.
    const char* p = wrapped.GetText();
    CStr page;
    i32 lines = 0;
    bool first = true;
    bool appended = false;
    while (*p != 0) {
        const char* end = p;
        while (*end != 0 && *end != '\r') ++end;
        CStr line = CStr(p).Left(static_cast<int>(end - p));
        page.Append(line.GetText());
        page.AppendChar('\r');
        ++lines;
        p = *end == '\r' ? end + 1 : end;
        if (lines == (first ? firstPageLines : laterPageLines)) {
            pages.Append(page);
            appended = true;
            page.Assign("");
            lines = 0;
            first = false;
        }
    }
    if (!page.IsEmpty()) {
        pages.Append(page);
        appended = true;
    }
    if (!appended) pages.Append(CStr(""));
}

void CTextBox::Draw() {
    if (!IsShown() || video == nullptr || fonts == nullptr) return;
    if (fill != 0) video->FillRect(x, y, w, h, PackColourWord(backgroundColour));
    const i32 left = x + horizontalMargin;
    const i32 right = x + w - horizontalMargin + 1;
    const i32 bottom = y + h;
    if (currentPage == 0) {
        const u32 colour = flagB != 0 ? titleColourB : flagA != 0 ? titleColourA : titleColour;
        fonts->Select(titleFont, colour, backgroundColour);
        fonts->DrawTextBox(left, y + topMargin, right, bottom, title.GetText(), oneLineTitle != 0 ? 1 : 0);
    }
    const CStr* page = pages.GetAt(currentPage);
    if (page == nullptr) return;
    fonts->Select(bodyFont, bodyColour, backgroundColour);
    fonts->DrawTextBox(left, currentPage == 0 ? bodyTop : y + topMargin, right, bottom, page->GetText(), 0);
}
