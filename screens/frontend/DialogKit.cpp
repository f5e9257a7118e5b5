#include "screens/frontend/DialogKit.h"

#include "core/LayoutTable.h"
#include "display/Video.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"
#include "ui/WidgetHost.h"

bool PlaceInLayout(CForm& form, CWidget& widget, u16 group, u32 id) {
    widget.Attach(&form);
    widget.id = static_cast<u16>(id);
    widget.SetLayoutRect(FindLayoutRect(form.game, group, id));
    if ((widget.state & kWidgetEnabled) == 0) return false;
    form.AddWidget(&widget);
    return true;
}

void CentreDialog(CForm& form, u16 group) {
    GetLayoutSize(form.game, group, form.width, form.height);
    u32 screenWidth = 0, screenHeight = 0;
    if (form.video != nullptr) {
        screenWidth = static_cast<u32>(form.video->Width());
        screenHeight = static_cast<u32>(form.video->Height());
    }
    form.x = screenWidth > form.width ? (screenWidth - form.width) / 2 : 0;
    form.y = screenHeight > form.height ? (screenHeight - form.height) / 2 : 0;
    form.background =
        form.game != nullptr ? form.game->GetInterfacePicture(kPictureDialogBackground) : nullptr;
    form.drawBackground = 1;
}

bool IsCompactLayout(u32 mode) { return IsSmallLayoutMode(mode); }

CRecordHolder* const* CompactFrameSet(CWidgetHost* game) {
    return InterfacePictureSet(game, kPictureCompactFrameSet, 9);
}

CRecordHolder* const* DialogFrameSet(CWidgetHost* game) {
    const bool compact = game != nullptr && IsCompactLayout(game->GetLayoutMode());
    return InterfacePictureSet(game, compact ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
}

void SetupFramePiece(CPicture& piece, CRecordHolder* const* set, u32 pieceWord) {
    piece.frameSet = set;
    piece.sides = pieceWord & 0x0F;
    piece.fill = (pieceWord & 0x80) != 0 ? 1 : 0;
    piece.colour = 0;
    piece.transparent = 1;
}

void SetupLabel(CTextLabel& label, const char* text, u32 font, u32 alignment, u32 colour, u32 outlineColour) {
    label.font = font;
    label.alignment = alignment;
    label.textColour = colour;
    label.backgroundColour = 0;
    label.outline = outlineColour != 0 ? 1 : 0;
    label.SetText(text != nullptr ? text : "");
    label.Layout();
    label.state |= kWidgetRedraw;
}

void SetupPicturePair(CBitmapButton& button, CWidgetHost* game, u16 first, u32 command) {
    // The button reads three pictures (normal, pressed, disabled); a pair has no disabled one.
    CRecordHolder* const* pair = InterfacePictureSet(game, first, 2);
    CRecordHolder* pictures[3] = {pair != nullptr ? pair[0] : nullptr, pair != nullptr ? pair[1] : nullptr,
                                  nullptr};
    button.SetPictures(pictures, command, 0);
    button.transparent = 1;
}

void SetupOkButton(CBitmapButton& button, CWidgetHost* game) {
    SetupPicturePair(button, game, kPictureOk, 25);
}
void SetupCancelButton(CBitmapButton& button, CWidgetHost* game) {
    SetupPicturePair(button, game, kPictureCancel, 26);
}
