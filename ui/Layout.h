// The layout table as the widgets read it: the host's loaded table in the host's current layout mode.
// The table's readers themselves live in core/LayoutTable.h.
#pragma once

#include "core/LayoutTable.h"

class CWidgetHost;

const u8* FindLayoutRect(const CWidgetHost* host, u16 group, u32 element);
void GetLayoutSize(const CWidgetHost* host, u16 group, u32& width, u32& height);
