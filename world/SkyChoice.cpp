#include "world/SkyChoice.h"

#include "data/MapSection.h"
#include "data/TextureSet.h"
#include "data/WorldRecords.h"
#include "view3d/ViewRecord.h"
#include "world/Weather.h"

namespace {

CViewSky ViewSkyOf(const CSkyRecord& record, u16 pictureIndex) {
    CViewSky sky;
    sky.fogColour = record.word;
    sky.visibilityPercent = record.value;
    sky.pictureId = pictureIndex;
    return sky;
}

}  // namespace

bool CWorldSkySource::PrepareSkyPicture(const std::string& name, CViewSky& sky) {
    u8 value = 0, last = 0;
    u16 word = 0, picture = 0;
    if (!skies_.PrepareSkyPicture(textures_, name.c_str(), value, word, last, picture)) return false;
    sky.fogColour = word;
    sky.visibilityPercent = value;
    sky.pictureId = picture;
    movingSky = last != 0;
    return true;
}

CViewSky CWorldSkySource::LoadSkyPictures() {
    const CSkyRecord* record = skies_.LoadSkyPictures(textures_, hour_, weatherLevel_);
    movingSky = record && record->last != 0;
    return record ? ViewSkyOf(*record, textures_.FindPictureIndex(record->picture)) : CViewSky{};
}

void UpdateSkyPicture(CViewState3D& view, CWorldSkySource& skies, std::string& skyName, const CMapSection* section,
                      const CPictureSetList& pictureSets, u32 clockMinutes, CWeather& weather, bool sheltered) {
    if (!section) return;
    if (!section->IsSurface()) {
        // The section's set index is 1-based (0: none).
        const u8 set = section->bytes[1];
        const CPictureSet* pictures = set ? pictureSets.At(set - 1u) : nullptr;
        const u16 ceiling =
            pictures && !pictures->pictureIndices.empty() ? static_cast<u16>(pictures->pictureIndices[0]) : 0;
        ApplyUndergroundSky(view, section->bytes[0], section->lightBColour, ceiling, section->bytes[2]);
        skies.movingSky = false;
        return;
    }
    skies.SetMoment(clockMinutes % 1440 / 60, weather.Intensity() / 100);
    ApplySurfaceSky(view, skies, skyName, weather.IsFlashOn(), static_cast<i32>(clockMinutes % 1440));
    if (sheltered) view.flags &= static_cast<u16>(~kViewFlagWeather);
    weather.UpdateParticles(false, section, clockMinutes);
}
