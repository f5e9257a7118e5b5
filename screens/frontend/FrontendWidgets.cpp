#include "screens/frontend/FrontendWidgets.h"

#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/TextLabel.h"
#include "ui/WidgetHost.h"

bool PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element) {
    widget.Attach(&form);
    widget.SetLayoutRect(FindLayoutRect(form.game, group, element));
    if ((widget.state & kWidgetEnabled) == 0) return false;
    form.AddWidget(&widget);
    return true;
}

void PlaceLabel(CForm& form, CTextLabel& label, u16 group, u32 element, const char* text, u32 alignment,
                u32 font, u32 colour) {
    if (!PlaceWidget(form, label, group, element)) return;
    label.alignment = alignment;
    label.font = font;
    label.textColour = colour;
    label.backgroundColour = kFrontendOutlineColour;
    label.outline = 1;
    label.SetText(text);
}

void PlacePictureButton(CForm& form, CBitmapButton& button, u16 group, u32 element, u16 normal, u16 pressed,
                        bool transparent, u16 shortcutKey) {
    if (!PlaceWidget(form, button, group, element)) return;
    CWidgetHost* game = form.game;
    CRecordHolder* pictures[3] = {game ? game->GetInterfacePicture(normal) : nullptr,
                                  game ? game->GetInterfacePicture(pressed) : nullptr, nullptr};
    button.SetPictures(pictures, element, shortcutKey);
    button.transparent = transparent ? 1 : 0;
}
