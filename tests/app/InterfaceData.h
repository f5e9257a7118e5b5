// Writes a small interface database for start-up tests: the layout table, every interface picture of
// a layout column and the font strips as 1 x 1 pictures, and the two interface sounds.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/Types.h"

namespace app_test {

struct InterfaceDataOptions {
    u32 layoutMode = 15;     // which column of pictures to write
    std::set<u16> leaveOut;  // records not to write
    const char* creator = "VnTl";
    std::vector<u8> layoutTable;  // record 3003 in place of the start-up table when not empty
};

// A layout table with what start-up and the screens need in layout mode 15: the 3D view (group 43),
// the splash (group 2) and the main menu (group 3).
std::vector<u8> StartupLayoutTable();

// Writes "VantrelData.pdb" into the folder (with its trailing '/'); false when it cannot.
bool WriteInterfaceData(const std::string& folder, const InterfaceDataOptions& options = {});

}  // namespace app_test
