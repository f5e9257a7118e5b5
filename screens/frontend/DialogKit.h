// What the front end's dialogs and pages share: placing a widget by its layout rectangle, centring a
// dialog on the display, the frame picture sets of the current layout, and the standard looks of
// labels, framed text buttons and OK/Cancel buttons.
#pragma once

#include "core/Types.h"

class CBitmapButton;
class CForm;
class CPicture;
class CRecordHolder;
class CTextLabel;
class CWidget;
class CWidgetHost;

// Attaches the widget to the form and places it by element `id` of layout group `group`; it joins the
// form only when the current layout has that element. True when it joined.
bool PlaceInLayout(CForm& form, CWidget& widget, u16 group, u32 id);

// Sizes a dialog form to its layout group, centres it on the display and gives it the dialog
// background.
void CentreDialog(CForm& form, u16 group);

// The nine-piece frame set drawn round dialogs: the compact one in the small layouts, else the large.
CRecordHolder* const* DialogFrameSet(CWidgetHost* game);
CRecordHolder* const* CompactFrameSet(CWidgetHost* game);

// A frame piece: the set, the sides drawn (0x0F all four; 0x80 fills the inside).
void SetupFramePiece(CPicture& piece, CRecordHolder* const* set, u32 pieceWord);

// A label with its text, font, alignment bits and colours (0x00BBGGRR); a non-zero outline colour
// draws the outline.
void SetupLabel(CTextLabel& label, const char* text, u32 font, u32 alignment, u32 colour, u32 outlineColour);

// A picture button on an interface picture pair (normal, pressed) with a command and no shortcut key.
void SetupPicturePair(CBitmapButton& button, CWidgetHost* game, u16 first, u32 command);

// A button with the OK (25) or Cancel (26) picture pair of the interface and no shortcut key.
void SetupOkButton(CBitmapButton& button, CWidgetHost* game);
void SetupCancelButton(CBitmapButton& button, CWidgetHost* game);

// The layout modes whose pages use the compact pictures and short texts.
bool IsCompactLayout(u32 mode);
