#include "ui/WidgetGameData.h"

namespace {
CWidgetGameData nothing;
CWidgetGameData* installed = nullptr;
}  // namespace

CWidgetGameData& WidgetGameData() { return installed != nullptr ? *installed : nothing; }

void SetWidgetGameData(CWidgetGameData* data) { installed = data; }
