// The renderer of the first-person view: it reads the view record that the main game view keeps up to
// date, and draws one frame into the 3D view rectangle of the frame buffer: background, the scan of
// the visible cells with their emitters, sort, occlusion, then the polygon fillers. Its 2D drawing kit
// is the display's CRenderer; this object holds only what a 3D frame needs, in fixed arrays, so that no
// frame allocates.
//
// Coordinates: map units of 1024 per cell; view space x right, y up, z ahead; screen in 1/16 pixel
// from the view rectangle's top-left.
#pragma once

#include "core/Types.h"
#include "display/FrameTarget.h"
#include "display/Picture.h"
#include "view3d/Clip.h"
#include "view3d/Fillers.h"
#include "view3d/ViewRecord.h"

#include <array>
#include <vector>

class CRenderer3D;

// The draw-list record of one polygon.
struct CPolygon {
    u8 flags = 0;  // bit 0 fixed (white) fog, bit 1 visible, bits 2 and 3 the special pictures of type 11
    i8 type = 0;   // 0..14
    i16 firstVertex = 0;
    i16 vertexCount = 0;
    i16 firstTexCoord = 0;
    i16 firstFog = 0;
    u16 texture[3] = {0, 0, 0};
    u16 palette[3] = {0, 0, 0};
    u16 maskA = 0;
    u16 maskB = 0;
};

inline constexpr u8 kPolygonFixedFog = 0x01;
inline constexpr u8 kPolygonVisible = 0x02;
inline constexpr u8 kPolygonSpecial1 = 0x04;
inline constexpr u8 kPolygonSpecial2 = 0x08;

// The sort entry of a polygon; the entries, not the records, are sorted.
struct CDrawEntry {
    i32 maxDepth = 0;
    i32 minDepth = 0;
    i16 polygon = 0;
    i8 layer = 0;
    u8 spare = 0;
};

inline constexpr i32 kMaxPolygons = 300;
inline constexpr i32 kPoolSize = 1200;
inline constexpr i32 kMaxOccluders = 50;
inline constexpr i32 kOcclusionColumns = 800;
// The grid-corner cache covers corner offsets -24..+23 from the eye's cell: the farthest corner a scan
// of the largest visible distance (15 cells) touches lies within 21 cells, column rule included.
inline constexpr i32 kCornerCacheHalf = 24;
inline constexpr i32 kCornerCacheSide = 2 * kCornerCacheHalf;
inline constexpr i32 kMaxVisibleCells = 15;

// The fillers by name, as the draw loop picks them from the polygon type and the heading class.
enum class CFillerId : u8 {
    kNone,
    kFlat,
    kAxisU1,
    kAxisU2,
    kAxisU3,
    kAxisU4,
    kAxisU5,
    kAxisV1,
    kAxisV2,
    kAxisV3,
    kAxisV4,
    kAxisV5,
    kFree1,
    kFree2,
    kFree3,
    kFree4,
    kFree5,
    kFree10,
    kColumn7,
    kColumn8,
    kColumn9,
    kColumn13,
    kColumn14,
    kLevel,
    kBackground,
    kCount
};

// What a textured filler receives: the frame target, the polygon's vertices, texture coordinates and
// fog weights, the fog colour (spread form) and the looked-up textures and masks.
struct CFillArgs {
    const CFrameTarget* target = nullptr;
    i32 count = 0;
    const CScreenVertex* vertices = nullptr;
    const CUVPair* texCoords = nullptr;
    const i16* fog = nullptr;
    u32 fogColour = 0;
    const CTextureDesc* textures[3] = {nullptr, nullptr, nullptr};
    const CMaskDesc* masks[2] = {nullptr, nullptr};
};
// Returns the pixels it wrote.
using CTexturedFiller = u32 (*)(const CFillArgs& args);

// The cell emitters of ground, ceiling, blocks, walls and pictures plug in here: the per-cell dispatch
// calls EmitCell for every scanned cell inside the map and EmitOutsideCell for every other one.
class CCellEmitters {
public:
    virtual ~CCellEmitters() = default;
    virtual void EmitCell(CRenderer3D& renderer, i32 x, i32 y) = 0;
    virtual void EmitOutsideCell(CRenderer3D& renderer, i32 x, i32 y) = 0;
};

// Counts of one frame, for the benchmark and the tests of the limits.
struct CFrameStats {
    u32 cellsScanned = 0;
    u32 polygonsEmitted = 0;
    u32 polygonsDropped = 0;   // appends refused at the draw list's limits
    u32 occludersDropped = 0;  // side faces not entered at the occluder limit
    u32 polygonsVisible = 0;
    u32 polygonsDrawn = 0;
    u64 pixelsWritten = 0;
    u32 cornerCacheMisses = 0;  // grid corners asked for outside the cache
};

struct CMapPoint {
    i32 x = 0, y = 0;
};

struct COccluder {
    i32 left = 0, right = 0;
    i32 topLeft = 0, topRight = 0;
    i32 bottomLeft = 0, bottomRight = 0;
};

// Rain or snow: a streak of `length` rows (16.16) from (x, y) in pixels (16.16), moving by (dx, dy).
struct CWeatherParticle {
    i32 length = 0, x = 0, y = 0, dx = 0, dy = 0;
};

// The weather's numbers as the game view passes them: the slant angle (16.16 degrees), the streak
// colour, a value kept for the caller, the streak length bounds a and b and the speed bounds d and e
// (all 16.16).
struct CWeatherParameters {
    i32 angle = 0;
    u16 colour = 0xFFFF;
    i32 value = 0;
    i32 a = 0, b = 0, d = 0, e = 0;
};

// The weather's random numbers, 0 .. 32767; tests script them.
class CWeatherRandom {
public:
    virtual ~CWeatherRandom() = default;
    virtual i32 Next() = 0;
};

inline constexpr i32 kMaxWeatherParticles = 1000;
inline constexpr i32 kThumbnailWidth = 80;
inline constexpr i32 kThumbnailHeight = 50;

class CRenderer3D {
public:
    CViewState3D* viewState = nullptr;  // not owned

    // --- constants (Init) ---
    i32 cellSize = 1024;
    i32 levelHeight = 731;
    i32 viewWidthUnits = 1158;
    i32 lowerPitLevel = -1980;
    i32 pitLevel = -1249;
    i32 groundHeight = -518;
    i32 blockTopHeight = 213;
    i32 ceilingHeight = 944;
    i32 scanMargin = 2;
    i32 referenceWidth = 380;
    i32 pictureUnitsPerCell = 336;
    i32 pictureUnitsPerLevel = 240;
    i32 horizonLift = 70;
    i32 fieldOfView = 60;
    i32 skyBandTop = 10;
    i32 skyBandBottom = 110;
    u32 fixedFogColour = kFixedFogColour;
    u8 deepPit = 1;
    i32 nearDepth = 512;

    // --- view set-up (SetupView) ---
    i32 viewWidth = 0, viewHeight = 0;  // pixels
    i32 focalDistance = 0;
    i32 eyeDistance = 0;
    i32 nearestGroundDistance = 0;
    i32 farDepth = 0;
    i32 fogStartDepth = 0;
    i32 projectionScale = 0;
    i32 centreColumn = 0;  // -8 W, 1/16 pixel
    i32 horizon = 0;       // 1/16 pixel
    i32 viewWidth16 = 0, viewHeight16 = 0;
    u32 viewFogColour = 0;  // spread form
    CFrameTarget target3D;
    CFrameTarget target2D;

    // --- heading (SetupHeading) ---
    i32 headingClass = 0;
    i32 headingC = 1024, headingS = 0;
    i32 eyeOffset = 0;
    i32 eyeX = 0, eyeY = 0;
    i32 eyeCellX = 0, eyeCellY = 0;
    CMapPoint scanTriangle[3];

    // --- background (SetupFarRows, UpdateSkyOffset) ---
    i32 ceilingRow = 0, groundRow = 0, pitRow = 0;
    i32 fadeHeight = 0, bandBottom = 0, skyHeight = 0;
    i32 skyV0 = 0, skyV1 = 0;
    i32 skyU0 = 0, skyU1 = 0, skyWrap = 0, splitColumn = 0;

    // --- draw list ---
    std::array<CPolygon, kMaxPolygons> polygons{};
    std::array<CDrawEntry, kMaxPolygons> entries{};
    std::array<CScreenVertex, kPoolSize> vertexPool{};
    std::array<CUVPair, kPoolSize> texCoordPool{};
    std::array<i16, kPoolSize> fogPool{};
    i32 vertexCursor = 0, texCoordCursor = 0, fogCursor = 0;
    i32 polygonCount = 0;

    CClipper clip;
    CFrameStats stats;
    // The game view keeps the last frame's polygons when nothing in them changed: a frame whose draw
    // list, pictures, fog and target are those of the frame before is not filled again but copied back
    // from the pixels the last fill left; the weather and the overlays then draw over it as always.
    // Off by default, so that every RenderFrame of the tests and benchmarks fills.
    bool reuseUnchangedFrame = false;
    // True when the last RenderFrame copied the kept polygons back instead of filling.
    bool frameReused = false;
    // Forget the kept frame: the next frame fills (a picture may have changed in place).
    void ForgetKeptFrame() { keptValid_ = false; }
    CCellEmitters* emitters = nullptr;
    // When false the occlusion pass marks every polygon visible (the tests compare both).
    bool occlusionEnabled = true;

    void Init();
    void SetupView();
    void SetupFarRows();
    void SetupHeading();
    void UpdateSkyOffset();
    void RenderFrame();
    void ScanVisibleCells(const CMapPoint triangle[3]);
    void EmitCell(i32 x, i32 y);

    // --- emitter services ---
    // The view-space {x, z} of the grid corner at (dx, dy) cells from the eye's cell, projected once per frame.
    CMapPoint GetGridCorner(i32 dx, i32 dy);
    CMapPoint ProjectGridCorner(i32 dx, i32 dy) const;
    // A point given relative to the grid corner (dx, dy): view-space x and z.
    CMapPoint TransformCellPoint(i32 dx, i32 dy, i32 px, i32 py, i32 pz);
    // False when the view has no such picture.
    bool LookUpTexture(u16 textureId, u16 paletteId, CTextureDesc& texture) const;
    bool LookUpMask(u16 pictureId, CMaskDesc& mask) const;
    u32 CellBlockKinds(i32 x, i32 y) const;
    bool IsFrontFacing() const;
    // The record an emitter fills before EmitPolygon; a scratch record when the list is full.
    CPolygon& NextPolygon();
    // Append the clipped polygon (clip.screen, clip.uv) with its fog weights, type and layer.
    void EmitPolygon(i32 count, i32 type, u16 light, i32 layer);
    void EmitLitPolygon(i32 count, u16 light);
    // Append the clipped polygon without texture coordinates and fog (flat type 0).
    void EmitFlatPolygon(i32 count, i32 layer);
    static int ComparePolygons(const void* a, const void* b);
    void SortPolygons();
    void DrawPolygons();

    // --- background ---
    void EmitSkyQuad();
    void EmitSkyFadeQuad();
    void EmitSkyFloorQuad();
    void EmitSkyWrapQuad();
    void EmitSkyFadeWrapQuad();
    void EmitUndergroundQuad();

    // --- occlusion ---
    void CullOccluded();
    void TestOccluded(CPolygon& polygon, const std::vector<i16>& columns);
    void AddLowerOccluder(CPolygon& polygon);
    bool AddUpperOccluder(CPolygon& polygon);
    i32 OccluderCount() const { return occluderCount_; }
    const COccluder& Occluder(i32 i) const { return occluders_[static_cast<size_t>(i)]; }

    // --- weather (particles live in the view rectangle's pixels) ---
    std::array<CWeatherParticle, kMaxWeatherParticles> particles{};
    i32 particleCount = 0, wantedParticles = 0;
    u16 weatherColour = 0xFFFF;
    i32 weatherValue = 0;
    i32 slantSine = 0, slantCosine = 0x10000, drift = 0;
    i32 lengthMin = 0, lengthMax = 0, speedMin = 0, speedMax = 0;
    CWeatherRandom* weatherRandom = nullptr;  // not owned; null: the renderer's own generator
    void SetWeatherParameters(const CWeatherParameters& p);
    void StartWeatherParticles(i32 count, const CWeatherParameters& p);
    void ChangeWeatherParticles(i32 count, const CWeatherParameters& p);
    // elapsed: 16.16 seconds.
    void MoveWeatherParticles(i32 elapsed);
    void DrawWeatherParticles(bool firstGroup);
    i32 WeatherRandom();
    i32 RandomBetween(i32 low, i32 high);

    // --- overlays and thumbnail ---
    // The two pictures over the view's lower corners, cut to the view rectangle on every side.
    void DrawViewOverlays();
    // An 80 x 50 picture of what the last frame left in the view rectangle; black for an empty view.
    void MakeViewThumbnail(u16* buffer);
    // Nearest-neighbour scaling of the whole view into columns x0 .. x0 + width - 1 and rows y0 ..
    // y0 + height - 1 of an 80-pixel-wide buffer.
    void ScaleViewInto(u16* buffer, i32 x0, i32 y0, i32 width, i32 height) const;

    // Polygons whose second or third texture (or mask) did not share the first texture's layout and
    // was replaced; the first one is logged.
    u32 layoutFaults = 0;

    // --- fillers ---
    void SetFiller(CFillerId id, CTexturedFiller filler) { fillers_[static_cast<size_t>(id)] = filler; }
    CTexturedFiller Filler(CFillerId id) const { return fillers_[static_cast<size_t>(id)]; }
    // The filler of a polygon type under a heading class; `levelQuad` for types 13 and 14.
    static CFillerId ChooseFiller(i32 type, i32 headingClass, bool levelQuad);
    static bool IsLevelQuad(const CScreenVertex* v, i32 count);

private:
    bool Reserve(i32 count, bool texCoords, bool fog);
    void AppendClipped(i32 count, i32 type, u16 light, i32 layer, bool lit);
    // Enters a side face into a column array (the upper one may merge with the lower faces below).
    bool AddOccluder(CPolygon& polygon, std::vector<i16>& columns, bool upper);
    void AppendScreenQuad(const CScreenVertex corners[4], const CUVPair* uv, const i16* fog, i32 type,
                          u16 texture, u16 palette);
    void DepthBounds(i32 count, CDrawEntry& entry) const;
    void FinishRecord(i32 count, i32 type, i32 layer, bool texCoords, bool fog);

    // A key of everything a fill of the current draw list reads, and the view's pixels the last fill
    // left, for reuseUnchangedFrame.
    u64 FrameKey() const;
    void KeepFrame();
    bool RestoreKeptFrame() const;
    u64 keptKey_ = 0;
    bool keptValid_ = false;
    std::vector<u16> kept_;

    std::array<CMapPoint, kCornerCacheSide * kCornerCacheSide> corners_{};
    CPolygon scratchPolygon_;
    std::vector<i16> lowerColumns_, upperColumns_;
    std::array<COccluder, kMaxOccluders> occluders_{};
    i32 occluderCount_ = 0;
    std::array<CTexturedFiller, static_cast<size_t>(CFillerId::kCount)> fillers_{};
    u32 randomState_ = 1;
    void SpawnParticle(CWeatherParticle& p, bool fresh);
    void BlitOverlay(const CTextureDesc& t, i32 x, i32 y, i32 sourceX, i32 width, i32 height, bool mirrored);
    bool CheckLayouts(i32 type, CTextureDesc* textures, i32 textureCount, CMaskDesc* masks, i32 maskCount);
};
