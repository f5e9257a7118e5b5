// The background: on a surface map the sky panorama that turns with the view and fades into the fog
// colour, underground one flat area in the fog colour. Its quads go into the draw list first, at the
// depth far + 10 and in layer 0, so they sort behind every cell polygon and take part in occlusion.
#include "view3d/Renderer3D.h"

#include <algorithm>

namespace {

constexpr i32 kPanoramaWidth = 12160;  // 760 texels in sixteenths: 120 degrees of view angle
constexpr i32 kPanoramaView = 6080;    // the 380 texels the view shows at a time
constexpr i32 kFadeBottomV = 1760;     // the sky band's bottom row (110) in sixteenths

}  // namespace

void CRenderer3D::SetupFarRows() {
    const i32 W = viewWidth, H = viewHeight;
    if (W <= 0 || farDepth <= 0) return;
    const i64 k = projectionScale / farDepth;
    auto row = [&](i64 height) { return static_cast<i32>(((-(height * k)) >> 15) - horizon); };
    ceilingRow = std::max(0, row(ceilingHeight));
    groundRow = row(groundHeight);
    pitRow = std::min(H * 16, row(deepPit ? lowerPitLevel : pitLevel));
    fadeHeight = (skyBandTop * 16 * W) / referenceWidth;
    bandBottom = (skyBandBottom * 16 * W) / referenceWidth;
    skyV1 = (skyBandBottom - skyBandTop) * 16;
    skyV0 =
        skyV1 - static_cast<i32>(
                    (static_cast<i64>(std::min(bandBottom, groundRow) - fadeHeight) * referenceWidth) / W);
    skyHeight = groundRow - fadeHeight;
}

// The panorama's u range from the angle between the sky and the view: 380 / 60 texels per degree.
// Where the view angle equals the sky angle + 330 degrees the panorama starts at u = 0; at the sky
// angle - 330 degrees it starts at 6,080, the middle of the picture.
void CRenderer3D::UpdateSkyOffset() {
    const CViewState3D& vs = *viewState;
    i64 o = (((static_cast<i64>(vs.skyAngle) - vs.viewAngle + (330 << 16)) >> 12) * 380) / 60;
    if (o < 0) o += kPanoramaWidth;
    o %= kPanoramaWidth;
    if (o < 0) o += kPanoramaWidth;  // an angle pair outside one turn each
    skyU0 = static_cast<i32>(o);
    skyU1 = skyU0 + kPanoramaView;
    if (skyU1 > kPanoramaWidth) {
        skyWrap = skyU1 - kPanoramaWidth;
        skyU1 = kPanoramaWidth;
        splitColumn = viewWidth * 16 - (skyWrap * viewWidth) / referenceWidth;
    } else {
        skyWrap = 0;
        splitColumn = viewWidth * 16;
    }
}

void CRenderer3D::AppendScreenQuad(const CScreenVertex corners[4], const CUVPair* uv, const i16* fog,
                                   i32 type, u16 texture, u16 palette) {
    if (!Reserve(4, uv != nullptr, fog != nullptr)) return;
    for (i32 i = 0; i < 4; ++i) {
        vertexPool[static_cast<size_t>(vertexCursor + i)] = corners[i];
        if (uv) texCoordPool[static_cast<size_t>(texCoordCursor + i)] = uv[i];
        if (fog) fogPool[static_cast<size_t>(fogCursor + i)] = fog[i];
    }
    CDrawEntry& e = entries[static_cast<size_t>(polygonCount)];
    e.minDepth = e.maxDepth = farDepth + 10;
    CPolygon& p = polygons[static_cast<size_t>(polygonCount)];
    p = CPolygon{};
    p.texture[0] = texture;
    p.palette[0] = palette;
    FinishRecord(4, type, 0, uv != nullptr, fog != nullptr);
}

namespace {

void Quad(CScreenVertex out[4], i32 x0, i32 y0, i32 x1, i32 y1, i32 z) {
    out[0] = {x0, y0, z};
    out[1] = {x1, y0, z};
    out[2] = {x1, y1, z};
    out[3] = {x0, y1, z};
}

}  // namespace

void CRenderer3D::EmitSkyQuad() {
    CScreenVertex c[4];
    Quad(c, 0, 0, splitColumn, skyHeight, farDepth + 10);
    const CUVPair uv[4] = {{skyU0, skyV0}, {skyU1, skyV0}, {skyU1, skyV1}, {skyU0, skyV1}};
    const i16 fog[4] = {128, 128, 128, 128};
    AppendScreenQuad(c, uv, fog, 12, viewState->skyTexture, viewState->skyPalette);
}

void CRenderer3D::EmitSkyFadeQuad() {
    CScreenVertex c[4];
    Quad(c, 0, skyHeight, splitColumn, skyHeight + fadeHeight, farDepth + 10);
    const CUVPair uv[4] = {{skyU0, skyV1}, {skyU1, skyV1}, {skyU1, kFadeBottomV}, {skyU0, kFadeBottomV}};
    const i16 fog[4] = {128, 128, 0, 0};
    AppendScreenQuad(c, uv, fog, 12, viewState->skyTexture, viewState->skyPalette);
}

void CRenderer3D::EmitSkyFloorQuad() {
    CScreenVertex c[4];
    Quad(c, 0, skyHeight + fadeHeight, viewWidth16, pitRow, farDepth + 10);
    AppendScreenQuad(c, nullptr, nullptr, 0, 0, 0);
}

void CRenderer3D::EmitSkyWrapQuad() {
    CScreenVertex c[4];
    Quad(c, splitColumn, 0, viewWidth16, skyHeight, farDepth + 10);
    const CUVPair uv[4] = {{0, skyV0}, {skyWrap, skyV0}, {skyWrap, skyV1}, {0, skyV1}};
    const i16 fog[4] = {128, 128, 128, 128};
    AppendScreenQuad(c, uv, fog, 12, viewState->skyTexture, viewState->skyPalette);
}

void CRenderer3D::EmitSkyFadeWrapQuad() {
    CScreenVertex c[4];
    Quad(c, splitColumn, skyHeight, viewWidth16, skyHeight + fadeHeight, farDepth + 10);
    const CUVPair uv[4] = {{0, skyV1}, {skyWrap, skyV1}, {skyWrap, kFadeBottomV}, {0, kFadeBottomV}};
    const i16 fog[4] = {128, 128, 0, 0};
    AppendScreenQuad(c, uv, fog, 12, viewState->skyTexture, viewState->skyPalette);
}

void CRenderer3D::EmitUndergroundQuad() {
    CScreenVertex c[4];
    Quad(c, 0, ceilingRow, viewWidth16, pitRow, farDepth + 10);
    AppendScreenQuad(c, nullptr, nullptr, 0, 0, 0);
}
