#include "ui/TextLines.h"

#include <utility>

void CTextLines::Append(CStr text) {
    if (strings.size() == capacity) {
        capacity += kGrowthStep;
        strings.reserve(capacity);
    }
    strings.push_back(std::move(text));
}

void CTextLines::Clear() {
    strings.clear();
    strings.shrink_to_fit();
    strings.reserve(kGrowthStep);
    capacity = kGrowthStep;
}
