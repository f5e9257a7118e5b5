#include "SceneFixture.h"

#include "view3d/FreeFillers.h"

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
            int row = y / 32, shift = (row & 1) ? 32 : 0;
            bool mortar = (y % 32) < 3 || ((x + shift) % 64) < 3;
            t[static_cast<size_t>(y * 256 + x)] = mortar ? 0 : static_cast<u8>(1 + ((x + shift) / 64 + row) % 3);
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

bool CorridorEmitters::IsWall(i32 x, i32 y) const {
    if (x < 0 || y < 0 || y >= Height() || x >= Width()) return false;
    return rows_[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#';
}

void CorridorEmitters::Horizontal(CRenderer3D& r, i32 x, i32 y, i32 height, u16 texture, i32 layer, bool ceiling) {
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    // Ground corners run (x, y), (x+1, y), (x+1, y+1), (x, y+1); a ceiling the other way round.
    const i32 ox[4] = {0, 1, 1, 0}, oy[4] = {0, 0, 1, 1};
    const CUVPair uv[4] = {{0, 0}, {4096, 0}, {4096, 4096}, {0, 4096}};
    for (int i = 0; i < 4; ++i) {
        int k = ceiling ? (4 - i) % 4 : i;
        const CMapPoint c = r.GetGridCorner(dx + ox[k], dy + oy[k]);
        r.clip.input[i] = {c.x, height, c.y};
        r.clip.uv[i] = uv[k];
    }
    i32 n = r.clip.ClipTexturedPolygon(4);
    if (n < 3) return;
    CPolygon& p = r.NextPolygon();
    p = CPolygon{};
    p.texture[0] = texture;
    r.EmitPolygon(n, 6, 256, layer);
}

void CorridorEmitters::Side(CRenderer3D& r, i32 ax, i32 ay, i32 bx, i32 by) {
    // A wall face on the edge from corner a to corner b, seen from the open cell on its left: the face
    // runs a-top, b-top, b-bottom, a-bottom.
    const CMapPoint a = r.GetGridCorner(ax - r.eyeCellX, ay - r.eyeCellY);
    const CMapPoint b = r.GetGridCorner(bx - r.eyeCellX, by - r.eyeCellY);
    r.clip.input[0] = {a.x, r.blockTopHeight, a.y};
    r.clip.input[1] = {b.x, r.blockTopHeight, b.y};
    r.clip.input[2] = {b.x, r.groundHeight, b.y};
    r.clip.input[3] = {a.x, r.groundHeight, a.y};
    r.clip.uv[0] = {0, 0};
    r.clip.uv[1] = {4096, 0};
    r.clip.uv[2] = {4096, 4096};
    r.clip.uv[3] = {0, 4096};
    i32 n = r.clip.ClipTexturedPolygon(4);
    if (n < 3 || !r.IsFrontFacing()) return;
    CPolygon& p = r.NextPolygon();
    p = CPolygon{};
    p.texture[0] = kBrick;
    r.EmitPolygon(n, 7, 256, 3);
}

void CorridorEmitters::EmitCell(CRenderer3D& r, i32 x, i32 y) {
    if (IsWall(x, y)) {
        // The faces towards open neighbours, each seen from outside the block.
        if (!IsWall(x, y - 1)) Side(r, x + 1, y, x, y);
        if (!IsWall(x + 1, y)) Side(r, x + 1, y + 1, x + 1, y);
        if (!IsWall(x, y + 1)) Side(r, x, y + 1, x + 1, y + 1);
        if (!IsWall(x - 1, y)) Side(r, x, y, x, y + 1);
        return;
    }
    Horizontal(r, x, y, r.groundHeight, kFloor, 2, false);
    Horizontal(r, x, y, r.blockTopHeight, kCeiling, 6, true);
}

void CorridorEmitters::EmitOutsideCell(CRenderer3D& r, i32 x, i32 y) {
    const i32 dx = x - r.eyeCellX, dy = y - r.eyeCellY;
    const i32 ox[4] = {0, 1, 1, 0}, oy[4] = {0, 0, 1, 1};
    for (i32 height : {r.groundHeight, r.blockTopHeight}) {
        for (int i = 0; i < 4; ++i) {
            const CMapPoint c = r.GetGridCorner(dx + ox[i], dy + oy[i]);
            r.clip.input[i] = {c.x, height, c.y};
        }
        i32 n = r.clip.ClipFlatQuad();
        if (n >= 3) r.EmitFlatPolygon(n, height == r.groundHeight ? 2 : 6);
    }
}

Scene::Scene(std::vector<std::string> map, i32 w, i32 h, i32 g, i32 o)
    : width(w), height(h), guard(g), orientation(o), bufferWidth(w + 2 * g), bufferHeight(h + 2 * g) {
    memory.assign(static_cast<size_t>(bufferWidth) * bufferHeight, kCanary);
    pictures.Add(kBrick, Bricks());
    pictures.Add(kFloor, Tiles());
    pictures.Add(kCeiling, Boards());
    emitters = std::make_unique<CorridorEmitters>(std::move(map));
    view = std::make_unique<CViewState3D>();
    CViewState3D& v = *view;
    v.pictures = &pictures;
    v.mapWidth = static_cast<u16>(emitters->Width());
    v.mapHeight = static_cast<u16>(emitters->Height());
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
    // Wall faces are opaque side faces (type 7), so the occlusion pass works on them; the fixture draws
    // them with the free filler until the column fillers exist.
    renderer->SetFiller(CFillerId::kColumn7, &FillFreePolygon1);
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
