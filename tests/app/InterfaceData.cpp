#include "tests/app/InterfaceData.h"

#include <cstring>
#include <vector>

#include "core/FileFinder.h"
#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"

namespace app_test {

namespace {

void Put16(std::vector<u8>& b, u16 v) {
    b.push_back(static_cast<u8>(v));
    b.push_back(static_cast<u8>(v >> 8));
}

// One group (43, the main game view) with one layout for mode 15: the 3D view rectangle.
std::vector<u8> LayoutTable() {
    std::vector<u8> b;
    Put16(b, 1);   // groups
    Put16(b, 6);   // group offset
    Put16(b, 43);  // group id
    Put16(b, 1);   // modes
    Put16(b, 12);  // layout offset
    Put16(b, 15);  // mode
    Put16(b, 800);
    Put16(b, 584);
    Put16(b, 1);
    for (u16 v : {550, 0, 0, 480, 320}) Put16(b, v);
    return b;
}

}  // namespace

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
    add(3003, LayoutTable());
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
