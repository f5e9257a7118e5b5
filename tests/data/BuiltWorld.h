// The builder's resource and base worlds (and, when asked, its additional world) written into a
// temporary folder and loaded by the game's loader, with each world's cell references translated as
// the game view does.
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
    explicit BuiltWorld(bool withAdditionalWorld = false);
    bool Loaded() const { return res && base; }

    testing_support::TempDir dir;
    CFileFinder finder;
    CTextureSet textures;
    CWorldLists lists{textures};
    std::unique_ptr<CWorld> res, base, additional;
    CCellRefs refs, additionalRefs;

private:
    std::unique_ptr<CWorld> Load(const std::string& name);
    CCellRefs RefsOf(CWorld& world);
};

}  // namespace fixtures
