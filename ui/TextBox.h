// A static box with a title and a body text that is word-wrapped and cut into pages. The owner shows
// one page at a time by setting the current page and marking the box for redraw.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/TextLines.h"
#include "ui/Widget.h"

class CTextBox : public CWidget {
public:
    CTextBox() : CWidget(0) {}

    void Setup(u32 titleFont, u32 titleColour, u32 titleColourA, u32 bodyColour, u32 backgroundColour,
               u32 fill, i32 horizontalMargin, i32 topMargin, u32 titleColourB);
    // A null title keeps the old one; a null body counts as empty. Cuts the body into pages and shows
    // page 0.
    void SetText(const char* title, const char* body, u32 flagA, u32 flagB);
    u32 GetPageCount() const { return pages.GetCount(); }

    void Draw() override;

    CStr title;
    u32 titleFont = 0;
    u32 titleColour = 0;
    u32 titleColourA = 0;
    u32 titleColourB = 0;
    CTextLines pages;  // one string per page, its lines ended by CR
    u32 bodyFont = 0;
    u32 bodyColour = 0;
    u32 flagA = 0;
    u32 flagB = 0;
    u32 twoLineTitle = 0;
    u32 oneLineTitle = 0;
    i32 horizontalMargin = 0;
    i32 topMargin = 0;
    u32 backgroundColour = 0;
    u32 fill = 0;
    i32 bodyTop = 0;
    u32 currentPage = 0;
};
