#include "tests/support/GameEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"

namespace testing_support {

// The saved games go into the same folder: a test never touches the user's own.
GameEnvironment::GameEnvironment() : savedFolder_(plat::ProgramFolder()) {
    plat::SetProgramFolder(dir.Path());
    plat::SetUserDataFolder(dir.Path());
}

GameEnvironment::~GameEnvironment() {
    plat::SetProgramFolder(savedFolder_);
    plat::SetUserDataFolder("");
}

bool GameEnvironment::CopyBuiltDatabase() {
    for (const char* name :
         {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase", "VantrelEmber"}) {
        if (!withWorlds && std::string(name) != "VantrelData") continue;
        if (!withAdditionalWorld && std::string(name) == "VantrelEmber") continue;
        const std::string file = std::string(name) + ".pdb";
        std::error_code error;
        std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/" + file, dir.File(file),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            ADD_FAILURE() << "no " << file << " in the build folder: " << error.message();
            return false;
        }
    }
    return true;
}

}  // namespace testing_support
