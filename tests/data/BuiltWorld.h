// The builder's resource and base worlds written into a temporary folder and loaded by the game's
// loader, with the base world's cell references translated as the game view does.
#pragma once

#include <memory>
#include <string>

#include "core/FileFinder.h"
#include "data/MapCells.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "tests/support/TempDir.h"

namespace fixtures {

class BuiltWorld {
public:
    BuiltWorld();
    bool Loaded() const { return res && base; }

    testing_support::TempDir dir;
    CFileFinder finder;
    CTextureSet textures;
    CWorldLists lists{textures};
    std::unique_ptr<CWorld> res, base;
    CCellRefs refs;

private:
    std::unique_ptr<CWorld> Load(const std::string& name);
};

}  // namespace fixtures
