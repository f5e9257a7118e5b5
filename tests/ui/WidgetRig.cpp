#include "tests/ui/WidgetRig.h"

#include <algorithm>

#include "ui/InterfacePictures.h"
#include "core/PdbFile.h"
#include "display/GlyphTables.h"

namespace widgetrig {

std::unique_ptr<CRecordHolder> MakePicture(int width, int height,
                                           const std::function<u16(int, int)>& colour) {
    return std::unique_ptr<CRecordHolder>(
        testing_support::MakeHolder(testing_support::PictureRecord(width, height, colour)));
}

std::unique_ptr<CRecordHolder> MakePicture(int width, int height, u16 colour) {
    const u16 border = static_cast<u16>((colour >> 1) & 0x7BEF);
    return MakePicture(width, height, [=](int x, int y) {
        return (x == 0 || y == 0 || x == width - 1 || y == height - 1) ? border : colour;
    });
}

Rig::Rig(u32 layoutMode, int w, int h, RigView view, std::vector<LayoutSpec> layouts) : width(w), height(h) {
    game.layoutMode = layoutMode;
    clock.SetTick(1000);
    host.game = &game;
    host.strips = testing_support::CodePatternStrip;
    game.SetScreen(kScreenGame, std::make_unique<CGameScreen>());
    gameScreen = static_cast<CGameScreen*>(game.GetScreen(kScreenGame));
    gameScreen->Attach(&game);
    if (view.width == 0) view = {0, 0, static_cast<u16>(w), static_cast<u16>(h)};
    layouts.push_back({43,
                       static_cast<u16>(layoutMode),
                       static_cast<u16>(w),
                       static_cast<u16>(h),
                       {{550, view.x, view.y, view.width, view.height}}});
    game.layoutTable.reset(testing_support::MakeRecord(BuildLayoutTable(layouts)));
    host.viewState = &gameScreen->viewState;
    game.video = std::make_unique<CVideo>(&host);
    video = game.video.get();
    EXPECT_TRUE(video->Create(window));
    EXPECT_EQ(video->SyncBackBuffer(), 1u);
    fonts.Init();
    fonts.LoadFonts(host, video->GetRenderer());
    game.textColor = 0x94D6EF;
    game.pressedTextColor = 0x4294C6;
    game.tickCounter = 100;
    game.SetScreen(kScreenMainMenu, std::make_unique<RecordingScreen>());
    screen = static_cast<RecordingScreen*>(game.GetScreen(kScreenMainMenu));
    screen->Attach(&game);
    game.currentScreen = screen;
    screen->Enter(0, 0, 0, 0);
}

Rig::~Rig() {
    // The screens go with the game; the game must not draw through the video output any more.
    game.currentScreen = nullptr;
}

void Rig::Clear(u16 colour) { video->FillRect(0, 0, width, height, colour); }

u16 Rig::Pixel(int x, int y) const {
    const CFrameBufferDesc& fb = gameScreen->viewState.frameBuffer;
    return fb.pixels[static_cast<size_t>(y) * fb.pitch + x];
}

testing_support::Rgb565Image Rig::Capture(int x, int y, int w, int h) const {
    testing_support::Rgb565Image image;
    image.width = w;
    image.height = h;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) image.pixels.push_back(Pixel(col, row));
    return image;
}

void Rig::SetInterfacePicture(u16 base, std::unique_ptr<CRecordHolder> picture) {
    const int index = InterfacePictureIndex(base);
    ASSERT_GE(index, 0) << base;
    game.SetInterfacePicture(index, std::move(picture));
}

void Rig::InstallInterfacePictures() {
    constexpr u16 kClear = 0xFFFF;
    const u16 gold = 0xC58A, brown = 0x6220, parchment = 0xE6B2, dark = 0x2104;
    // The message frame: rounded gold corners (see-through outside the curve), brown edges, parchment.
    const int c = 8;
    auto corner = [=](int flipX, int flipY) {
        return MakePicture(c, c, [=](int x, int y) {
            const int dx = flipX ? x : c - 1 - x, dy = flipY ? y : c - 1 - y;
            if (dx * dx + dy * dy > c * c) return kClear;
            return (dx + dy) % 3 == 0 ? brown : gold;
        });
    };
    SetInterfacePicture(3015, corner(0, 0));
    SetInterfacePicture(3016, MakePicture(c, 4, [=](int x, int) { return x < 3 ? gold : brown; }));
    SetInterfacePicture(3017, corner(0, 1));
    SetInterfacePicture(3018, MakePicture(4, c, [=](int, int y) { return y < 3 ? gold : brown; }));
    SetInterfacePicture(3019,
                        MakePicture(6, 6, [=](int x, int y) { return (x + y) % 5 ? parchment : 0xD671; }));
    SetInterfacePicture(3020, MakePicture(4, c, [=](int, int y) { return y >= c - 3 ? gold : brown; }));
    SetInterfacePicture(3021, corner(1, 0));
    SetInterfacePicture(3022, MakePicture(c, 4, [=](int x, int) { return x >= c - 3 ? gold : brown; }));
    SetInterfacePicture(3023, corner(1, 1));
    // Button frames: caps and a middle 30 pixels high; the pressed set is lighter.
    const u16 normalFace = 0x2A69, pressedFace = 0x5BD1;
    for (int pressed = 0; pressed < 2; ++pressed) {
        const u16 face = pressed ? pressedFace : normalFace;
        const u16 base = static_cast<u16>(pressed ? 3027 : 3024);
        SetInterfacePicture(
            base, MakePicture(5, 30, [=](int x, int y) {
                return (x == 0 || y == 0 || y == 29) ? (x == 0 && (y == 0 || y == 29) ? kClear : gold) : face;
            }));
        SetInterfacePicture(
            base + 1, MakePicture(3, 30, [=](int, int y) { return (y == 0 || y == 29) ? gold : face; }));
        SetInterfacePicture(
            base + 2, MakePicture(5, 30, [=](int x, int y) {
                return (x == 4 || y == 0 || y == 29) ? (x == 4 && (y == 0 || y == 29) ? kClear : gold) : face;
            }));
    }
    // The progress frame: eight pieces of a two-pixel frame.
    for (u16 i = 0; i < 8; ++i) SetInterfacePicture(static_cast<u16>(3190 + i), MakePicture(2, 2, gold));
    // Gauges: vertical 3378..3383 and horizontal 3823..3828 (moving cap, fill, fixed cap).
    const u16 capColour[2] = {0xF800, 0x001F};
    for (int style = 0; style < 2; ++style) {
        const u16 v = static_cast<u16>(style ? 3378 : 3381), hz = static_cast<u16>(style ? 3823 : 3826);
        SetInterfacePicture(v, MakePicture(10, 4, capColour[style]));
        SetInterfacePicture(v + 1, MakePicture(10, 40, [=](int x, int y) {
                                return static_cast<u16>(((y * 2) << 5) | (x * 3));
                            }));
        SetInterfacePicture(v + 2, MakePicture(10, 3, dark));
        SetInterfacePicture(hz, MakePicture(4, 10, capColour[style]));
        SetInterfacePicture(hz + 1, MakePicture(80, 10, [=](int x, int y) {
                                return static_cast<u16>(((x / 3) << 11) | (y * 5));
                            }));
        SetInterfacePicture(hz + 2, MakePicture(3, 10, dark));
    }
}

}  // namespace widgetrig
