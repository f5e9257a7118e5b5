#include "tests/support/GameEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Files.h"

namespace testing_support {

GameEnvironment::GameEnvironment() : savedFolder_(plat::ProgramFolder()) { plat::SetProgramFolder(dir.Path()); }

GameEnvironment::~GameEnvironment() { plat::SetProgramFolder(savedFolder_); }

bool GameEnvironment::CopyBuiltDatabase() {
    std::error_code error;
    std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/VantrelData.pdb", dir.File("VantrelData.pdb"),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) ADD_FAILURE() << "no interface database in the build folder: " << error.message();
    return !error;
}

}  // namespace testing_support
