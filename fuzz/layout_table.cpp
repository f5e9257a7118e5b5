// Arbitrary bytes as the layout table: the start-up check and every look-up must stay inside the
// record, and a table the check passes must give every needed element.
#include "core/LayoutTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

constexpr CLayoutNeed kNeeds[] = {{2, 8}, {3, 12}, {43, 550}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool sound = CheckLayoutTable(data, size, 15, kNeeds, std::size(kNeeds)).empty();
    for (const CLayoutNeed& need : kNeeds) {
        const u8* element = FindLayoutRectIn(data, size, 15, need.group, need.element);
        if (sound && element == nullptr) std::abort();
        if (element != nullptr && (element < data || element + 10 > data + size)) std::abort();
        CLayoutElement e = ReadLayoutElement(element);
        u32 width = 0, height = 0;
        GetLayoutSizeIn(data, size, 15, need.group, width, height);
        (void)e;
    }
    return 0;
}
