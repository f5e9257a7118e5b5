#include "ui/Layout.h"

#include "ui/WidgetHost.h"

const u8* FindLayoutRect(const CWidgetHost* host, u16 group, u32 element) {
    const u8* table = nullptr;
    size_t size = 0;
    if (host != nullptr) host->GetLayoutTable(table, size);
    if (table == nullptr) return nullptr;
    return FindLayoutRectIn(table, size, host->GetLayoutMode(), group, element);
}

void GetLayoutSize(const CWidgetHost* host, u16 group, u32& width, u32& height) {
    const u8* table = nullptr;
    size_t size = 0;
    if (host != nullptr) host->GetLayoutTable(table, size);
    if (table == nullptr) return;
    GetLayoutSizeIn(table, size, host->GetLayoutMode(), group, width, height);
}
