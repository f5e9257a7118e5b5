#include "screens/npc/CardBoardWidgets.h"

#include <string>

#include "core/LayoutTable.h"
#include "core/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "screens/npc/CardTable.h"
#include "ui/Draw.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

namespace {

constexpr u32 kNameColour = 0xE8F4F8;
constexpr u32 kNameShade = 0x101820;
constexpr u32 kCountColour = 0x60E0FF;
constexpr u32 kHeadingColour = 0x70D8F0;
constexpr u32 kBodyColour = 0xE0E8E8;
constexpr u32 kPanelColour = 0x102418;
constexpr u32 kPanelRim = 0x3A7A90;
constexpr u32 kFlashColour = 0x2020E0;
constexpr u32 kSelectedRim = 0x40E8FF;
constexpr u32 kRimColour = 0x40A0C9;

void DrawRim(CVideo* video, i32 x, i32 y, i32 w, i32 h, i32 thickness, u16 colour) {
    video->FillRect(x, y, w, thickness, colour);
    video->FillRect(x, y + h - thickness, w, thickness, colour);
    video->FillRect(x, y, thickness, h, colour);
    video->FillRect(x + w - thickness, y, thickness, h, colour);
}

// Draws a picture into a rectangle: as it is when it fits exactly, centred when it is smaller, else
// stretched (opaque) over the rectangle.
void DrawFitted(CVideo* video, const CRecordHolder* picture, i32 x, i32 y, i32 w, i32 h) {
    i32 pw = 0, ph = 0;
    PictureSizeOf(picture, pw, ph);
    if (pw <= 0 || ph <= 0) return;
    if (pw <= w && ph <= h)
        video->DrawPictureTransparent(picture, x + (w - pw) / 2, y + (h - ph) / 2);
    else
        video->DrawPictureStretched(picture, x, y, w, h);
}

bool SmallMode(const CWidgetHost* game) { return game != nullptr && IsSmallLayoutMode(game->GetLayoutMode()); }

}  // namespace

void CBoardPicture::Draw() {
    if (video == nullptr || picture == nullptr) return;
    DrawFitted(video, picture, x, y, w, h);
}

void CCardPlace::Draw() {
    if (video == nullptr) return;
    if (card == nullptr) {
        if (emptyMark != nullptr) DrawFitted(video, emptyMark, x, y, w, h);
        return;
    }
    if (faceDown) {
        DrawFitted(video, back, x, y, w, h);
        return;
    }
    DrawFitted(video, card->IsMarker() ? markerFace : instantFace, x, y, w, h);
    // The card's own picture sits in the window of the face; its number in the band below: what a
    // marker lasts, else the amount it deals or heals.
    i32 pw = 0, ph = 0;
    PictureSizeOf(picture, pw, ph);
    const i32 inset = (static_cast<i32>(w) - pw) / 2;
    if (picture != nullptr) video->DrawPictureTransparent(picture, x + inset, y + inset);
    const u32 number = card->IsMarker() ? card->value3 : card->value1;
    if (fonts != nullptr && number > 0) {
        CStr text;
        text.Format("%u", number);
        ToNumberGlyphs(text);
        fonts->Select(1, kNameColour, kNameShade);
        const i32 band = y + inset + ph + (SmallMode(game) ? 1 : 4);
        fonts->DrawTextBox(x, band, x + w, y + h, text.GetText(), CFontSet::kCentre | CFontSet::kOneLine);
    }
    if (selected) DrawRim(video, x, y, w, h, SmallMode(game) ? 1 : 2, PackColourWord(kSelectedRim));
}

void CCardMarkerPlace::Draw() {
    if (video == nullptr) return;
    if (ground != nullptr) DrawFitted(video, ground, x, y, w, h);
    if (card != nullptr && picture != nullptr) DrawFitted(video, picture, x, y, w, h);
    if (rim != nullptr) DrawFitted(video, rim, x, y, w, h);
    if (card != nullptr && flash && light != nullptr) DrawFitted(video, light, x, y, w, h);
    if (card != nullptr && fonts != nullptr) {
        CStr text;
        text.Format("%d", count);
        ToNumberGlyphs(text);
        fonts->Select(1, kCountColour, kNameShade);
        const i32 inset = SmallMode(game) ? 1 : 3;
        fonts->DrawTextBox(x + inset, y + inset, x + w - inset, y + h - inset, text.GetText(),
                           CFontSet::kAlignRight | CFontSet::kOneLine);
    }
}

void CCardPile::Draw() {
    if (video == nullptr) return;
    if (frame != nullptr) DrawFitted(video, frame, x - (SmallMode(game) ? 2 : 4), y - (SmallMode(game) ? 2 : 4),
                                     w + (SmallMode(game) ? 4 : 8), h + (SmallMode(game) ? 4 : 8));
    if (left > 0) DrawFitted(video, picture, x, y, w, h);
    if (fonts == nullptr) return;
    CStr text;
    text.Format("%u", left);
    ToNumberGlyphs(text);
    fonts->Select(SmallMode(game) ? 1 : 2, kNameColour, kNameShade);
    fonts->DrawTextBox(x, y + h - h / 3, x + w, y + h, text.GetText(), CFontSet::kCentre | CFontSet::kOneLine);
}

void CCardPortrait::Draw() {
    CPanel::Draw();
    if (video == nullptr) return;
    // Gold round the face, red while its side has just been hit.
    DrawRim(video, x - 1, y - 1, w + 2, h + 2, 1, PackColourWord(kRimColour));
    if (flash) DrawRim(video, x, y, w, h, SmallMode(game) ? 2 : 3, PackColourWord(kFlashColour));
}

void CCardTextPanel::Show(const char* newHeading, const char* newBody) {
    heading.Assign(newHeading ? newHeading : "");
    // The card texts break their lines with their own character; the fonts go on a new line at a
    // carriage return.
    std::string text = newBody ? newBody : "";
    for (char& c : text)
        if (c == kCardTextBreak) c = '\r';
    body.Assign(text.c_str());
    state |= kWidgetRedraw;
}

void CCardTextPanel::Draw() {
    if (video == nullptr) return;
    video->FillRect(x, y, w, h, PackColourWord(kPanelColour));
    DrawRim(video, x, y, w, h, 1, PackColourWord(kPanelRim));
    if (fonts == nullptr) return;
    const i32 margin = SmallMode(game) ? 3 : 8;
    i32 top = y + margin / 2;
    if (heading.GetText()[0] != '\0') {
        fonts->Select(font + 1 < 3 ? font + 1 : font, kHeadingColour, kNameShade);
        fonts->DrawTextBox(x + margin, top, x + w - margin, y + h, heading.GetText(), CFontSet::kOneLine);
        top += CurrentLineHeight(fonts) + margin / 2;
    }
    fonts->Select(font, kBodyColour, kNameShade);
    fonts->DrawTextBox(x + margin, top, x + w - margin, y + h - margin / 2, body.GetText(), 0);
}

void CBoardButton::Draw() {
    if (video == nullptr || picture == nullptr) return;
    const i32 shift = (state & kWidgetPressed) != 0 ? 1 : 0;
    DrawFitted(video, picture, x + shift, y + shift, w, h);
}
