#include "SceneFixture.h"


#include <cstring>

namespace scene {

std::vector<u8> IndexedRecord(int width, int height, const std::vector<u8>& texels, const std::vector<u16>& table) {
    // Byte by byte: GCC 12 takes an insert behind the eight header bytes for an overflow.
    std::vector<u8> r = {0, 0, static_cast<u8>(width), static_cast<u8>(width >> 8), static_cast<u8>(height),
                         static_cast<u8>(height >> 8), 0, 0};
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

u16 Rgb(int r, int g, int b) { return static_cast<u16>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }

std::vector<u8> Bricks() {
    std::vector<u8> t(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            // Wall textures run their width down the face: the courses lie along the texture's columns.
            int row = x / 32, shift = (row & 1) ? 32 : 0;
            bool mortar = (x % 32) < 3 || ((y + shift) % 64) < 3;
            t[static_cast<size_t>(y * 256 + x)] = mortar ? 0 : static_cast<u8>(1 + ((y + shift) / 64 + row) % 3);
        }
    return IndexedRecord(256, 256, t, {Rgb(200, 200, 190), Rgb(150, 60, 40), Rgb(170, 75, 50), Rgb(130, 50, 35)});
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
        for (int x = 0; x < 256; ++x) t[static_cast<size_t>(y * 256 + x)] = (x % 64) < 4 ? 0 : static_cast<u8>(1 + (x / 64) % 2);
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

u16 Scene::AddBlock(const CBlockCacheEntry& e) { return view->blockCache.Intern(0, e, false, nullptr, "%lu%lu"); }
u16 Scene::AddGround(const CGroundCacheEntry& e) { return view->groundCache.Intern(0, e, false, nullptr, "%lu%lu"); }
u16 Scene::AddWall(const CWallCacheEntry& e) { return view->wallCache.Intern(0, e, false, nullptr, "%lu%lu"); }

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

}  // namespace scene
