#include "bench/scenes/ViewScene.h"

#include <cstring>

namespace scene {

std::vector<u8> IndexedRecord(int width, int height, const std::vector<u8>& texels,
                              const std::vector<u16>& table) {
    // Byte by byte: GCC 12 takes an insert behind the eight header bytes for an overflow.
    std::vector<u8> r = {0,
                         0,
                         static_cast<u8>(width),
                         static_cast<u8>(width >> 8),
                         static_cast<u8>(height),
                         static_cast<u8>(height >> 8),
                         0,
                         0};
    r.reserve(r.size() + texels.size() + 1 + 2 * table.size());
    for (u8 t : texels) r.push_back(t);
    if (r.size() & 1) r.push_back(0);
    for (u16 c : table) {
        r.push_back(static_cast<u8>(c));
        r.push_back(static_cast<u8>(c >> 8));
    }
    return r;
}

namespace {

using art::Rgb;

std::vector<u8> Bricks() {
    std::vector<u8> t(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            // Wall textures run their width down the face: the courses lie along the texture's columns.
            int row = x / 32, shift = (row & 1) ? 32 : 0;
            bool mortar = (x % 32) < 3 || ((y + shift) % 64) < 3;
            t[static_cast<size_t>(y * 256 + x)] =
                mortar ? 0 : static_cast<u8>(1 + ((y + shift) / 64 + row) % 3);
        }
    return IndexedRecord(256, 256, t,
                         {Rgb(200, 200, 190), Rgb(150, 60, 40), Rgb(170, 75, 50), Rgb(130, 50, 35)});
}

std::vector<u8> Tiles() {
    std::vector<u8> t(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            bool edge = (x % 128) < 4 || (y % 128) < 4;
            t[static_cast<size_t>(y * 256 + x)] = edge ? 2 : static_cast<u8>(((x / 128) + (y / 128)) & 1);
        }
    return IndexedRecord(256, 256, t, {Rgb(90, 110, 90), Rgb(60, 80, 65), Rgb(30, 35, 30)});
}

std::vector<u8> Boards() {
    std::vector<u8> t(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            t[static_cast<size_t>(y * 256 + x)] = (x % 64) < 4 ? 0 : static_cast<u8>(1 + (x / 64) % 2);
    return IndexedRecord(256, 256, t, {Rgb(40, 30, 20), Rgb(110, 85, 55), Rgb(95, 75, 50)});
}

}  // namespace

void Pictures::Add(u16 id, std::vector<u8> record) {
    records_[id] = std::move(record);
    CPictureData p;
    ReadPicture(records_[id].data(), records_[id].size(), p);
    pictures_[id] = p;
}

const CPictureData* Pictures::GetViewPicture(u16 id) const {
    auto it = pictures_.find(id);
    return it == pictures_.end() ? nullptr : &it->second;
}

CViewPalette Pictures::GetViewPalette(u16 id) const {
    auto it = palettes.find(id);
    if (it == palettes.end()) return {};
    return {it->second.data(), static_cast<u32>(it->second.size())};
}

bool CorridorMap::IsWall(i32 x, i32 y) const {
    if (x < 0 || y < 0 || y >= Height() || x >= Width()) return false;
    return rows_[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#';
}

u16 Scene::AddBlock(const CBlockCacheEntry& e) {
    return view->blockCache.Intern(0, e, false, nullptr, "%lu%lu");
}
u16 Scene::AddGround(const CGroundCacheEntry& e) {
    return view->groundCache.Intern(0, e, false, nullptr, "%lu%lu");
}
u16 Scene::AddWall(const CWallCacheEntry& e) {
    return view->wallCache.Intern(0, e, false, nullptr, "%lu%lu");
}

void Scene::BuildRecord() {
    view->groundCache.Reset();
    view->blockCache.Reset();
    view->wallCache.Reset();
    CGroundCacheEntry ground;
    ground.texture[0] = kFloor;
    const u16 groundIndex = AddGround(ground);
    CBlockCacheEntry wall;
    wall.kind = 2;
    wall.picture[0] = kBrick;
    const u16 wallIndex = AddBlock(wall);
    for (i32 y = 0; y < kWindowCells; ++y)
        for (i32 x = 0; x < kWindowCells; ++x) {
            CCellView& c = CellAt(x, y);
            CCellOverlayView& o = OverlayAt(x, y);
            c = CCellView{};
            o = CCellOverlayView{};
            o.upperLight = 256;
            if (x >= map->Width() || y >= map->Height()) continue;
            if (map->IsWall(x, y)) {
                c.lowerBlock = wallIndex;
                o.upperBlock = wallIndex;
            } else {
                c.ground = groundIndex;
            }
        }
}

Scene::Scene(std::vector<std::string> map, i32 w, i32 h, i32 g, i32 o)
    : width(w), height(h), guard(g), orientation(o), bufferWidth(w + 2 * g), bufferHeight(h + 2 * g) {
    memory.assign(static_cast<size_t>(bufferWidth) * bufferHeight, kCanary);
    pictures.Add(kBrick, Bricks());
    pictures.Add(kFloor, Tiles());
    pictures.Add(kCeiling, Boards());
    this->map = std::make_unique<CorridorMap>(std::move(map));
    emitters = std::make_unique<CViewEmitters>();
    view = std::make_unique<CViewState3D>();
    CViewState3D& v = *view;
    v.pictures = &pictures;
    v.mapWidth = static_cast<u16>(this->map->Width());
    v.mapHeight = static_cast<u16>(this->map->Height());
    v.skyTexture = kCeiling;
    v.fogStart = 1 * kFogStep;
    v.visibleDistance = 6 * kFogStep;
    v.fogColour = Rgb(20, 24, 32);
    v.viewX = static_cast<u32>(g);
    v.viewY = static_cast<u32>(g);
    v.viewWidth = static_cast<u32>(w);
    v.viewHeight = static_cast<u32>(h);
    v.frameBuffer.width = bufferWidth;
    v.frameBuffer.height = bufferHeight;
    v.frameBuffer.orientation = o;
    if (o == 0) {
        v.frameBuffer.pitch = bufferWidth;
        v.frameBuffer.pixels = memory.data();
    } else if (o == 1) {
        v.frameBuffer.pitch = bufferHeight;
        v.frameBuffer.pixels = memory.data() + static_cast<size_t>(bufferWidth - 1) * bufferHeight;
    } else {
        v.frameBuffer.pitch = bufferHeight;
        v.frameBuffer.pixels = memory.data() + (bufferHeight - 1);
    }
    renderer = std::make_unique<CRenderer3D>();
    renderer->Init();
    renderer->viewState = &v;
    renderer->emitters = emitters.get();
    BuildRecord();
}

void Scene::Pose(i32 cx, i32 cy, i32 fx, i32 fy, i32 angle) {
    view->viewPosX = (cx * 1024 + fx) << 6;
    view->viewPosY = (cy * 1024 + fy) << 6;
    view->viewAngle = angle;
}

void Scene::Render() { renderer->RenderFrame(); }

u16 Scene::Logical(i32 x, i32 y) const {
    CFrameTarget t;
    t.pixels = view->frameBuffer.pixels;
    t.pitch = view->frameBuffer.pitch;
    t.orientation = orientation;
    return *(t.pixels + FrameOffset(t, x, y));
}

std::vector<u16> Scene::ViewPixels() const {
    std::vector<u16> out;
    out.reserve(static_cast<size_t>(width) * height);
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) out.push_back(Logical(x + guard, y + guard));
    return out;
}

bool Scene::GuardIntact() const {
    for (i32 y = 0; y < bufferHeight; ++y)
        for (i32 x = 0; x < bufferWidth; ++x) {
            bool inside = x >= guard && x < guard + width && y >= guard && y < guard + height;
            if (!inside && Logical(x, y) != kCanary) return false;
        }
    return true;
}

OrientationFrames RenderInEveryOrientation(const std::vector<std::string>& map, i32 width, i32 height,
                                           void (*build)(Scene&), i32 cx, i32 cy, i32 fx, i32 fy, i32 angle) {
    OrientationFrames out;
    for (int o = 0; o < 3; ++o) {
        Scene s(map, width, height, 4, o);
        if (build) build(s);
        s.Pose(cx, cy, fx, fy, angle);
        s.Render();
        out.guards[o] = s.GuardIntact();
        out.frames[o] = s.ViewPixels();
    }
    return out;
}

namespace art {

u16 Rgb(int r, int g, int b) { return static_cast<u16>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }

std::vector<u8> Picture(int w, int h, std::vector<u16> table, int (*index)(int, int)) {
    std::vector<u8> t(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) t[static_cast<size_t>(y * w + x)] = static_cast<u8>(index(x, y));
    return IndexedRecord(w, h, t, table);
}

std::vector<u8> MaskRecord(int w, int h, bool (*bit)(int, int)) {
    std::vector<u8> r(8, 0);
    r[2] = static_cast<u8>(w), r[3] = static_cast<u8>(w >> 8);
    r[4] = static_cast<u8>(h), r[5] = static_cast<u8>(h >> 8);
    // One bit per 2 x 2 texels, rows of 16 bytes per two texture rows, then a one-entry table.
    std::vector<u8> bits(static_cast<size_t>(h / 2) * 16 + static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; y += 2)
        for (int x = 0; x < w; x += 2)
            if (bit(x, y))
                bits[static_cast<size_t>(16 * (y / 2) + x / 16)] |= static_cast<u8>(1 << ((x / 2) & 7));
    r.insert(r.end(), bits.begin(), bits.end());
    r.push_back(0), r.push_back(0);
    return r;
}

void AddPictures(Scene& s) {
    const u16 clear = 0xFFFF;
    s.pictures.Add(kSprite, Picture(32, 48, {clear, Rgb(200, 170, 60), Rgb(120, 80, 30)}, [](int x, int y) {
                       int dx = x - 16, dy = y - 24;
                       return dx * dx * 4 + dy * dy < 520 ? (y % 12 < 2 ? 2 : 1) : 0;
                   }));
    s.pictures.Add(kFrame, Picture(256, 256, {clear, Rgb(90, 60, 40), Rgb(60, 40, 25)}, [](int x, int y) {
                       bool post = x < 24 || x >= 232 || y < 24;
                       return post ? 1 + ((x + y) / 16) % 2 : 0;
                   }));
    s.pictures.Add(kLeaf, Picture(208, 232, {clear, Rgb(140, 100, 60), Rgb(100, 70, 40)},
                                  [](int x, int) { return 1 + (x / 26) % 2; }));
    s.pictures.Add(kDecal, Picture(32, 32, {clear, Rgb(230, 210, 80)}, [](int x, int y) {
                       int dx = x - 16, dy = y - 16;
                       return dx * dx + dy * dy < 150 ? 1 : 0;
                   }));
    s.pictures.Add(kRoof, Picture(256, 128, {Rgb(120, 40, 30), Rgb(90, 30, 25)}, [](int x, int y) {
                       return (y % 16 < 2 || (x + (y / 16) * 8) % 32 < 2) ? 1 : 0;
                   }));
    s.pictures.Add(kGlow, Picture(16, 16, {clear, Rgb(255, 240, 160)}, [](int x, int y) {
                       int dx = x - 8, dy = y - 8;
                       return dx * dx + dy * dy < 40 ? 1 : 0;
                   }));
    s.pictures.Add(kOverlay,
                   Picture(120, 90, {clear, Rgb(180, 180, 200), Rgb(90, 90, 110)},
                           [](int x, int y) { return (x > 40 && x < 80) || y > 60 ? 1 + (y / 10) % 2 : 0; }));
    s.pictures.Add(kMoss, Picture(256, 256, {Rgb(60, 120, 40), Rgb(40, 90, 30)},
                                  [](int x, int y) { return ((x / 8) + (y / 8)) % 2; }));
    s.pictures.Add(kMask, MaskRecord(256, 256, [](int x, int y) {
                       int dx = x - 128, dy = y - 128;
                       return dx * dx + dy * dy < 90 * 90;
                   }));
    s.pictures.Add(kPanel, Picture(256, 160, {Rgb(70, 70, 120), Rgb(200, 200, 230)},
                                   [](int x, int y) { return (x % 64 < 4 || y % 40 < 4) ? 1 : 0; }));
    s.pictures.anchors[kSprite] = 2;
}

}  // namespace art

}  // namespace scene
