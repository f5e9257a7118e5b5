// Writes a small interface database for start-up tests: the layout table, every interface picture of
// a layout column and the font strips as 1 x 1 pictures, and the two interface sounds.
#pragma once

#include <set>
#include <string>

#include "core/Types.h"

namespace app_test {

struct InterfaceDataOptions {
    u32 layoutMode = 15;             // which column of pictures to write
    std::set<u16> leaveOut;          // records not to write
    const char* creator = "VnTl";
};

// Writes "VantrelData.pdb" into the folder (with its trailing '/'); false when it cannot.
bool WriteInterfaceData(const std::string& folder, const InterfaceDataOptions& options = {});

}  // namespace app_test
