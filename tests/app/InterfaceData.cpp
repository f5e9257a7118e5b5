#include "tests/app/InterfaceData.h"

#include <cstring>
#include <vector>

#include "core/FileFinder.h"
#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "tests/support/TestRecords.h"

namespace app_test {

std::vector<u8> StartupLayoutTable() {
    using testing_support::LayoutSpec;
    return testing_support::BuildLayoutTable({
        LayoutSpec{43, 15, 800, 584, {{550, 0, 0, 480, 320}}},
        LayoutSpec{2, 15, 800, 584, {{8, 100, 40, 600, 160}, {9, 300, 240, 200, 200}}},
        LayoutSpec{3,
                   15,
                   800,
                   584,
                   {{10, 0, 0, 800, 200},
                    {11, 0, 200, 200, 200},
                    {12, 460, 180, 300, 300},
                    {13, 200, 200, 200, 200},
                    {14, 0, 400, 800, 184},
                    {15, 700, 560, 100, 24}}},
    });
}

bool WriteInterfaceData(const std::string& folder, const InterfaceDataOptions& options) {
    CFileFinder finder;
    finder.SetFolder(folder);
    CPdbFile db(nullptr, &finder);
    CPdbFile::InitHeader(db.Header(), true, false);
    std::strncpy(db.Header().name, "VantrelData", sizeof db.Header().name);
    std::memcpy(db.Header().type, "VnTd", 4);
    std::memcpy(db.Header().creator, options.creator, 4);

    auto add = [&](u16 id, const std::vector<u8>& bytes) {
        if (!options.leaveOut.count(id)) db.AddRecord(id, bytes.data(), static_cast<u32>(bytes.size()));
    };
    add(3003, options.layoutTable.empty() ? StartupLayoutTable() : options.layoutTable);
    // A 1 x 1 picture of encoding 0: header, one texel, a pad byte, a one-entry palette.
    const std::vector<u8> picture = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0xE0, 0x07};
    for (int i = 0; i < kInterfacePictureCount; ++i)
        add(InterfacePictureRecord(InterfacePictureBase(i), options.layoutMode), picture);
    for (u16 font = 3010; font <= 3014; ++font) add(font, picture);
    add(kInterfaceSoundClick, {'R', 'I', 'F', 'F'});
    add(kInterfaceSoundConfirm, {'R', 'I', 'F', 'F'});
    return db.Save("VantrelData") == 1;
}

}  // namespace app_test
