// Where the game view's dialogs stand: sized by their layout group and placed in the game view's 3D
// view rectangle, centred or in its lower right corner. Without a view rectangle they centre on the
// frame buffer; a dialog stays on the screen as far as it fits.
#pragma once

#include "core/Types.h"

class CForm;

void CentreInGameView(CForm& dialog, u16 group);
// The lower right corner, `inset` pixels inside the view's edges.
void PlaceInGameViewCorner(CForm& dialog, u16 group, i32 inset);
