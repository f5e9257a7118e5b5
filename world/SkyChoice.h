// The sky of the map where the player stands, as the 3D view shows it: underground the map's own
// visibility, fog colour and ceiling; on the surface a sky record (the thunder sky while lightning
// flashes) with its fog colour, visibility percent and picture, and the rain or snow particles.
#pragma once

#include <string>

#include "core/Types.h"
#include "view3d/Sky.h"

class CMapSection;
class CPictureSetList;
class CSkyList;
class CTextureSet;
class CWeather;
struct CViewState3D;

// The world's sky records as the 3D view's sky choice asks for them. A record gives its u16 as the
// fog colour, its first u8 as the visibility percent and its last u8 as the moving-sky flag; without a
// name the record of the hour's time class nearest to the weather level is taken.
class CWorldSkySource : public CViewSkySource {
public:
    CWorldSkySource(const CSkyList& skies, CTextureSet& textures) : skies_(skies), textures_(textures) {}
    // The hour and the weather level (the weather's intensity in hundreds) the next choice is for.
    void SetMoment(u32 hour, i32 weatherLevel) {
        hour_ = hour;
        weatherLevel_ = weatherLevel;
    }

    bool PrepareSkyPicture(const std::string& name, CViewSky& sky) override;
    CViewSky LoadSkyPictures() override;

    // The record chosen last asks the sky to turn slowly.
    bool movingSky = false;

private:
    const CSkyList& skies_;
    CTextureSet& textures_;
    u32 hour_ = 12;
    i32 weatherLevel_ = 0;
};

// Chooses the sky and fog of the current map and sets the view's sky and weather flags: underground
// from the map's visibility byte, its fog colour (light B's colour) and its sky picture set's first
// picture as the ceiling; on the surface through the sky records (`skyName` is the map's chosen sky,
// emptied when it cannot be prepared), with rain or snow unless the player is sheltered, and the
// weather's particles given their colour. Nothing changes without a map.
void UpdateSkyPicture(CViewState3D& view, CWorldSkySource& skies, std::string& skyName, const CMapSection* section,
                      const CPictureSetList& pictureSets, u32 clockMinutes, CWeather& weather, bool sheltered);
