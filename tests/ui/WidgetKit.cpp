#include "WidgetKit.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "data/RecordHolder.h"

namespace widgetkit {

void SetInterfacePicture(CGame& game, u16 base, const std::vector<u8>& bytes) {
    const int index = InterfacePictureIndex(base);
    ASSERT_GE(index, 0) << base;
    std::unique_ptr<CRecordHolder> holder(MakeHolder(bytes));
    holder->recordId = base;
    game.SetInterfacePicture(index, std::move(holder));
}

const char* FakeGameData::FindPortraitPictureName(const char* id) {
    for (const Portrait& p : portraits)
        if (id != nullptr && p.id == id) return p.picture.c_str();
    return nullptr;
}

bool FakeGameData::FindCreatureKind(const char* id, u8& kindClass, const char*& first, const char*& second) {
    for (const Kind& k : kinds) {
        if (id != nullptr && k.id == id) {
            kindClass = k.kindClass;
            first = k.first.c_str();
            second = k.second.c_str();
            return true;
        }
    }
    return false;
}

CRecordHolder* FakeGameData::FindPicture(const char* name) {
    for (auto& [n, holder] : pictures)
        if (name != nullptr && n == name) return holder.get();
    return nullptr;
}

bool FakeGameData::EnsurePictureLoaded(CRecordHolder* picture) {
    for (auto& [holder, bytes] : pending) {
        if (holder == picture && holder->record == nullptr) {
            ++loads;
            holder->record = MakeRecord(bytes);
            holder->data = holder->record->data;
        }
    }
    return picture != nullptr && picture->data != nullptr;
}

CRecordHolder* FakeGameData::PictureAt(u32 index) {
    return index < pictures.size() ? pictures[index].second.get() : nullptr;
}

const CPaletteRef* FakeGameData::PaletteAt(u32 index) {
    return index < palettes.size() ? palettes[index] : nullptr;
}

bool FakeGameData::FindEquippedItemPicture(int slot, CRecordHolder*& picture, const CPaletteRef*& palette) {
    if (slot < 0 || slot >= 14 || equipped[slot] == nullptr) return false;
    picture = equipped[slot];
    palette = nullptr;
    return true;
}

void FakeGameData::PlaySound(const char* name, u32 volume) {
    sounds.emplace_back(name != nullptr ? name : "");
    volumes.push_back(volume);
}

CRecordHolder* FakeGameData::AddPicture(const std::string& name, const std::vector<u8>& bytes, bool loaded) {
    auto holder = std::make_unique<CRecordHolder>();
    CRecordHolder* raw = holder.get();
    if (loaded) {
        raw->record = MakeRecord(bytes);
        raw->data = raw->record->data;
    } else {
        pending.emplace_back(raw, bytes);
    }
    pictures.emplace_back(name, std::move(holder));
    return raw;
}

}  // namespace widgetkit

// ---- Stage ----

#include "display/DisplayHost.h"
#include "display/FontSet.h"
#include "display/GlyphTables.h"
#include "display/Video.h"
#include "display/Renderer.h"
#include "display/ViewState.h"
#include "platform/headless/HeadlessWindow.h"
#include "display/FrameTarget.h"
#include "tests/support/FakeDisplayHost.h"

namespace widgetkit {

struct Stage::Impl {
    Impl(CGame& game, int width, int height) : host(width, height) {
        host.game = &game;
        host.strips = testing_support::BlockPatternStrip;
        game.video = std::make_unique<CVideo>(&host);
        game.fonts = std::make_unique<CFontSet>();
    }
    testing_support::FakeDisplayHost host;
};

Stage::Stage(u32 layoutMode, int width, int height) : impl(std::make_unique<Impl>(game, width, height)) {
    game.layoutMode = layoutMode;
    EXPECT_TRUE(game.video->Create(impl->host.window.get()));
    game.fonts->Init();
    game.fonts->LoadFonts(impl->host, game.video->GetRenderer());
    game.textColor = 0x94D6EF;
    form.Attach(&game);
    form.width = static_cast<u32>(width);
    form.height = static_cast<u32>(height);
    Clear(0);
}

Stage::~Stage() {
    // The video output draws into the stage's window, which goes with the stage before the game.
    game.video.reset();
}

int Stage::Width() const { return impl->host.window->ClientWidth(); }
int Stage::Height() const { return impl->host.window->ClientHeight(); }

u16 Stage::Pixel(int x, int y) const {
    const CFrameTarget& t = game.video->GetRenderer()->target2D;
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || t.pixels == nullptr) return 0;
    return t.pixels[FrameOffset(t, x, y)];
}

void Stage::Clear(u16 colour) { game.video->FillRect(0, 0, Width(), Height(), colour); }

testing_support::Rgb565Image Stage::Capture() const { return Capture(0, 0, Width(), Height()); }

testing_support::Rgb565Image Stage::Capture(int x, int y, int w, int h) const {
    testing_support::Rgb565Image image;
    image.width = w;
    image.height = h;
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) image.pixels.push_back(Pixel(x + xx, y + yy));
    return image;
}

int Stage::Count(int x, int y, int w, int h, u16 colour) const {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) n += Pixel(xx, yy) == colour ? 1 : 0;
    return n;
}

void Stage::SetLayouts(const std::vector<LayoutSpec>& layouts) {
    game.layoutTable.reset(MakeRecord(BuildLayoutTable(layouts)));
}

void Stage::FillPictures(u16 first, int count, i16 width, i16 height) {
    for (int i = 0; i < count; ++i) {
        const u16 base = static_cast<u16>(first + i);
        const u16 inside = static_cast<u16>(0x0841 * (1 + (base * 7) % 29));
        const u16 border = static_cast<u16>(0xF800 >> (i % 3 * 5));
        SetInterfacePicture(game, base, BorderedPicture(width, height, inside, border));
    }
}

}  // namespace widgetkit
