#include "screens/panels/ViewDialogPlacing.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"

namespace {

// The view rectangle, or the whole frame buffer when there is no view.
CViewRect ViewOrScreen(CWidgetHost* game) {
    CViewRect view = GameViewRect(game);
    if (view.width > 0 && view.height > 0) return view;
    view = CViewRect{};
    GameFrameBufferSize(game, view.width, view.height);
    return view;
}

// Inside the frame buffer as far as the dialog fits: a view that reaches past the screen's edge (a
// layout without its own arrangement for the screen's shape) does not push the dialog off it.
void SetOrigin(CForm& dialog, i32 x, i32 y) {
    i32 screenWidth = 0, screenHeight = 0;
    GameFrameBufferSize(dialog.game, screenWidth, screenHeight);
    if (screenWidth > 0) x = std::min(x, screenWidth - static_cast<i32>(dialog.width));
    if (screenHeight > 0) y = std::min(y, screenHeight - static_cast<i32>(dialog.height));
    dialog.x = static_cast<u32>(std::max(0, x));
    dialog.y = static_cast<u32>(std::max(0, y));
}

}  // namespace

void CentreInGameView(CForm& dialog, u16 group) {
    GetLayoutSize(dialog.game, group, dialog.width, dialog.height);
    const CViewRect view = ViewOrScreen(dialog.game);
    SetOrigin(dialog, view.x + (view.width - static_cast<i32>(dialog.width)) / 2,
              view.y + (view.height - static_cast<i32>(dialog.height)) / 2);
}

void PlaceInGameViewCorner(CForm& dialog, u16 group, i32 inset) {
    GetLayoutSize(dialog.game, group, dialog.width, dialog.height);
    const CViewRect view = ViewOrScreen(dialog.game);
    SetOrigin(dialog, view.x + view.width - static_cast<i32>(dialog.width) - inset,
              view.y + view.height - static_cast<i32>(dialog.height) - inset);
}
