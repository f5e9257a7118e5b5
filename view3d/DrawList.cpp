// The draw list: the emitters' appends, the sort order and the draw loop that hands every visible
// polygon to its filler.
#include "view3d/Renderer3D.h"

#include "core/Sort.h"

#include <algorithm>
#include <cstdio>

CPolygon& CRenderer3D::NextPolygon() {
    if (polygonCount >= kMaxPolygons) {
        scratchPolygon_ = CPolygon{};
        return scratchPolygon_;
    }
    return polygons[static_cast<size_t>(polygonCount)];
}

// Whether one more polygon of `count` vertices fits the record array and the pools it uses; a refused
// append is counted and the polygon is dropped.
bool CRenderer3D::Reserve(i32 count, bool texCoords, bool fog) {
    bool fits = count >= 3 && count <= kClipCorners && polygonCount < kMaxPolygons &&
                vertexCursor + count <= kPoolSize && (!texCoords || texCoordCursor + count <= kPoolSize) &&
                (!fog || fogCursor + count <= kPoolSize);
    if (!fits) ++stats.polygonsDropped;
    return fits;
}

void CRenderer3D::DepthBounds(i32 count, CDrawEntry& entry) const {
    const bool fromInput = clip.inputCount > 0;
    i32 n = fromInput ? std::min(clip.inputCount, kClipCorners) : count;
    i32 lo = INT32_MAX, hi = INT32_MIN;
    for (i32 i = 0; i < n; ++i) {
        i32 z = fromInput ? clip.input[i].z : clip.screen[i].z;
        lo = std::min(lo, z);
        hi = std::max(hi, z);
    }
    entry.minDepth = lo;
    entry.maxDepth = hi;
}

void CRenderer3D::FinishRecord(i32 count, i32 type, i32 layer, bool texCoords, bool fog) {
    const i32 n = polygonCount;
    CPolygon& p = polygons[static_cast<size_t>(n)];
    p.type = static_cast<i8>(type);
    p.firstVertex = static_cast<i16>(vertexCursor);
    p.vertexCount = static_cast<i16>(count);
    p.firstTexCoord = static_cast<i16>(texCoordCursor);
    p.firstFog = static_cast<i16>(fogCursor);
    vertexCursor += count;
    if (texCoords) texCoordCursor += count;
    if (fog) fogCursor += count;
    CDrawEntry& e = entries[static_cast<size_t>(n)];
    e.layer = static_cast<i8>(layer);
    e.polygon = static_cast<i16>(n);
    polygonCount = n + 1;
    ++stats.polygonsEmitted;
}

// The clipped polygon with its fog weights: (far - z) * 1024 / (far - fog start), signed and not
// clamped, times the light (and, for the lit faces, each corner's light factor).
void CRenderer3D::AppendClipped(i32 count, i32 type, u16 light, i32 layer, bool lit) {
    if (!Reserve(count, true, true)) return;
    const i64 span = static_cast<i64>(farDepth) - fogStartDepth;
    for (i32 i = 0; i < count; ++i) {
        vertexPool[static_cast<size_t>(vertexCursor + i)] = clip.screen[i];
        texCoordPool[static_cast<size_t>(texCoordCursor + i)] = clip.uv[i];
        i64 w = span != 0 ? ((static_cast<i64>(farDepth) - clip.screen[i].z) * 1024) / span : 0;
        if (lit) w = (w * clip.light[i]) >> 16;
        fogPool[static_cast<size_t>(fogCursor + i)] = static_cast<i16>((w * light) >> 11);
    }
    DepthBounds(count, entries[static_cast<size_t>(polygonCount)]);
    FinishRecord(count, type, layer, true, true);
}

void CRenderer3D::EmitPolygon(i32 count, i32 type, u16 light, i32 layer) {
    AppendClipped(count, type, light, layer, false);
}

void CRenderer3D::EmitLitPolygon(i32 count, u16 light) { AppendClipped(count, 8, light, 1, true); }

void CRenderer3D::EmitFlatPolygon(i32 count, i32 layer) {
    if (!Reserve(count, false, false)) return;
    for (i32 i = 0; i < count; ++i) vertexPool[static_cast<size_t>(vertexCursor + i)] = clip.screen[i];
    DepthBounds(count, entries[static_cast<size_t>(polygonCount)]);
    polygons[static_cast<size_t>(polygonCount)].flags = 0;
    FinishRecord(count, 0, layer, false, false);
}

namespace {

// Drawing order of the layer groups: background, ceiling, sunken faces, ground, what lies above the
// block-top height, then what stands below it (layers 3 and 4 together).
int LayerGroup(int layer) {
    static constexpr int kGroups[7] = {0, 2, 3, 5, 5, 4, 1};
    return kGroups[layer];
}

int ByDepth(const CDrawEntry& a, const CDrawEntry& b) {
    if (a.maxDepth != b.maxDepth) return a.maxDepth > b.maxDepth ? -1 : 1;
    if (a.minDepth != b.minDepth) return a.minDepth > b.minDepth ? -1 : 1;
    return 0;
}

}  // namespace

// Earlier entries are drawn first, under later ones. This order is not transitive for some triples of
// layer-3 and layer-4 entries (the constant-depth rule between the two layers can disagree with the
// depth order among the others), so the result then depends on the sort's exact steps: frames stay
// deterministic only because the sort is always the program's SortArray with this comparison.
int CRenderer3D::ComparePolygons(const void* pa, const void* pb) {
    const CDrawEntry& a = *static_cast<const CDrawEntry*>(pa);
    const CDrawEntry& b = *static_cast<const CDrawEntry*>(pb);
    if (a.layer < 0 || a.layer > 6 || b.layer < 0 || b.layer > 6) return 0;
    int ga = LayerGroup(a.layer), gb = LayerGroup(b.layer);
    if (ga != gb) return ga < gb ? -1 : 1;
    if (a.layer == 0) return 0;
    if (a.layer != b.layer && a.minDepth == b.minDepth) {
        // A layer-3 polygon of constant depth goes after the layer-4 one, a sloped one before it.
        const CDrawEntry& l3 = a.layer == 3 ? a : b;
        int r = l3.minDepth == l3.maxDepth ? 1 : -1;
        return a.layer == 3 ? r : -r;
    }
    return ByDepth(a, b);
}

void CRenderer3D::SortPolygons() {
    SortArray(entries.data(), static_cast<u32>(polygonCount), sizeof(CDrawEntry),
              &CRenderer3D::ComparePolygons);
}

bool CRenderer3D::IsLevelQuad(const CScreenVertex* v, i32 count) {
    if (count != 4) return false;
    return (v[0].x != v[1].x && v[0].y == v[1].y && v[2].y == v[3].y) ||
           (v[1].y == v[2].y && v[0].y == v[3].y);
}

CFillerId CRenderer3D::ChooseFiller(i32 type, i32 headingClass, bool levelQuad) {
    if (type >= 1 && type <= 5) {
        i32 k = type - 1;
        if (headingClass == 0 || headingClass == 2)
            return static_cast<CFillerId>(static_cast<i32>(CFillerId::kAxisU1) + k);
        if (headingClass == 1 || headingClass == 3)
            return static_cast<CFillerId>(static_cast<i32>(CFillerId::kAxisV1) + k);
        return static_cast<CFillerId>(static_cast<i32>(CFillerId::kFree1) + k);
    }
    switch (type) {
    case 0: return CFillerId::kFlat;
    case 6: return CFillerId::kFree1;
    case 7: return CFillerId::kColumn7;
    case 8: return CFillerId::kColumn8;
    case 9: return CFillerId::kColumn9;
    case 10: return CFillerId::kFree10;
    case 11: return CFillerId::kLevel;
    case 12: return CFillerId::kBackground;
    case 13: return levelQuad ? CFillerId::kLevel : CFillerId::kColumn13;
    case 14: return levelQuad ? CFillerId::kLevel : CFillerId::kColumn14;
    default: return CFillerId::kNone;
    }
}

bool CRenderer3D::LookUpTexture(u16 textureId, u16 paletteId, CTextureDesc& texture) const {
    if (!viewState || !viewState->pictures || textureId == 0) return false;
    const CPictureData* picture = viewState->pictures->GetViewPicture(textureId);
    if (!picture || !picture->data) return false;
    if (paletteId != 0) {
        CViewPalette palette = viewState->pictures->GetViewPalette(paletteId);
        texture = TextureDescOf(*picture, palette.colours, palette.colours ? palette.count : 0);
        if (!palette.colours) texture.table = picture->table, texture.tableCount = 0;
    } else {
        texture = TextureDescOf(*picture);
    }
    return true;
}

bool CRenderer3D::LookUpMask(u16 pictureId, CMaskDesc& mask) const {
    if (!viewState || !viewState->pictures || pictureId == 0) return false;
    const CPictureData* picture = viewState->pictures->GetViewPicture(pictureId);
    if (!picture || !picture->data) return false;
    mask = MaskDescOf(*picture);
    return true;
}

// The cell's records are those of the 35 x 35 window (y * 35 + x), the same places the cache builder
// writes; a cell outside the window has no blocks.
u32 CRenderer3D::CellBlockKinds(i32 x, i32 y) const {
    if (!viewState || x < 0 || y < 0 || x >= kWindowCells || y >= kWindowCells) return 0;
    const size_t index = static_cast<size_t>(y * kWindowCells + x);
    u32 kinds = 0;
    u16 lower = viewState->cellViews[index].lowerBlock;
    u16 upper = viewState->overlayViews[index].upperBlock;
    if (lower && viewState->blockCache[lower].kind == 2) kinds |= 1;
    if (upper && viewState->blockCache[upper].kind == 2) kinds |= 2;
    return kinds;
}

bool CRenderer3D::IsFrontFacing() const {
    const CScreenVertex* v = clip.screen;
    i64 cross = (static_cast<i64>(v[1].x) - v[0].x) * (static_cast<i64>(v[2].y) - v[1].y) -
                (static_cast<i64>(v[1].y) - v[0].y) * (static_cast<i64>(v[2].x) - v[1].x);
    return cross >= 0;
}

void CRenderer3D::DrawPolygons() {
    for (i32 i = 0; i < polygonCount; ++i) {
        const CDrawEntry& e = entries[static_cast<size_t>(i)];
        const CPolygon& p = polygons[static_cast<size_t>(e.polygon)];
        if (!(p.flags & kPolygonVisible)) continue;
        const CScreenVertex* vertices = &vertexPool[static_cast<size_t>(p.firstVertex)];
        const CFillerId id = ChooseFiller(p.type, headingClass, IsLevelQuad(vertices, p.vertexCount));
        if (id == CFillerId::kNone) continue;
        if (id == CFillerId::kFlat) {
            stats.pixelsWritten += FillFlatPolygon(target3D, p.vertexCount, vertices, viewState->fogColour);
            ++stats.polygonsDrawn;
            continue;
        }
        CTexturedFiller filler = fillers_[static_cast<size_t>(id)];
        if (!filler) continue;

        CTextureDesc textures[3];
        CMaskDesc masks[2];
        CFillArgs args;
        args.target = &target3D;
        args.count = p.vertexCount;
        args.vertices = vertices;
        args.texCoords = &texCoordPool[static_cast<size_t>(p.firstTexCoord)];
        args.fog = &fogPool[static_cast<size_t>(p.firstFog)];
        args.fogColour = (p.flags & kPolygonFixedFog) ? fixedFogColour : viewFogColour;

        // Textures and masks each polygon type reads; a polygon whose picture is missing draws nothing.
        i32 textureCount = 1, maskCount = 0;
        switch (p.type) {
        case 2: textureCount = 2, maskCount = 1; break;
        case 3: textureCount = 3, maskCount = 2; break;
        case 4:
        case 9: textureCount = 2; break;
        case 5: textureCount = 3, maskCount = 1; break;
        default: break;
        }
        bool ok = true;
        if (p.type == 11 && (p.flags & (kPolygonSpecial1 | kPolygonSpecial2))) {
            const u8* special = viewState->specialPictures[(p.flags & kPolygonSpecial1) ? 0 : 1];
            if (special) ReadPictureHeader(special, textures[0]);
            ok = special != nullptr;
        } else {
            for (i32 k = 0; k < textureCount && ok; ++k)
                ok = LookUpTexture(p.texture[k], p.palette[k], textures[k]);
        }
        if (maskCount > 0 && ok) ok = LookUpMask(p.maskA, masks[0]);
        if (maskCount > 1 && ok) ok = LookUpMask(p.maskB, masks[1]);
        if (!ok) continue;
        CheckLayouts(p.type, textures, textureCount, masks, maskCount);
        for (i32 k = 0; k < textureCount; ++k) args.textures[k] = &textures[k];
        for (i32 k = 0; k < maskCount; ++k) args.masks[k] = &masks[k];
        stats.pixelsWritten += filler(args);
        ++stats.polygonsDrawn;
    }
}

// The textures of one ground or wall polygon are read with the first texture's layout: a second or third
// texture must have its width (256 on the ground) and encoding and at least its height, and a mask must
// cover it; one that does not is replaced (a texture by the first, a mask by none), and the first such
// polygon is logged.
bool CRenderer3D::CheckLayouts(i32 type, CTextureDesc* textures, i32 textureCount, CMaskDesc* masks,
                               i32 maskCount) {
    if (!((type >= 1 && type <= 5) || type == 9)) return true;
    const CTextureDesc& t1 = textures[0];
    const bool ground = type != 9;
    bool sound = !ground || t1.width == 256;
    for (i32 k = 1; k < textureCount; ++k) {
        const CTextureDesc& t = textures[k];
        if (t.width != t1.width || t.encoding != t1.encoding || t.height < t1.height) {
            textures[k] = t1;
            sound = false;
        }
    }
    for (i32 k = 0; k < maskCount; ++k) {
        if (!masks[k].bits || masks[k].width < t1.width || masks[k].height < t1.height) {
            masks[k] = CMaskDesc{};
            sound = false;
        }
    }
    if (sound) return true;
    if (layoutFaults++ == 0)
        std::fprintf(stderr,
                     "3D view: a polygon of type %d mixes texture layouts; a safe texture is drawn instead\n",
                     static_cast<int>(type));
    return false;
}
