#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/PdbFile.h"
#include "data/TextureSet.h"
#include "tests/ui/WidgetRig.h"
#include "ui/PictureWidgets.h"
#include "ui/PictureSets.h"
#include "ui/PictureView.h"
#include "ui/WidgetHelpers.h"

using widgetrig::MakePicture;
using widgetrig::Rig;

namespace {

struct PictureRig : Rig {
    explicit PictureRig(u32 mode = 15) : Rig(mode, 160, 100) { InstallInterfacePictures(); }
    void Place(CWidget& w, u16 x, u16 y, u16 width, u16 height) {
        w.Attach(screen);
        w.SetRect(x, y, width, height);
        screen->AddWidget(&w);
    }
};

// A picture whose every texel is one colour.
std::unique_ptr<CRecordHolder> Solid(int w, int h, u16 colour) {
    return MakePicture(w, h, [=](int, int) { return colour; });
}

}  // namespace

TEST(TapWidgets, APenDownInsideGivesTheIdAndNothingElseDoes) {
    PictureRig rig;
    CTapIcon icon;
    CTapImage image;
    CCardSlot slot;
    struct Case {
        i32 x, y;
        u32 down, moving, result;
    } const cases[] = {{20, 20, 1, 0, 77}, {20, 20, 1, 1, 0}, {20, 20, 0, 0, 0}, {49, 39, 1, 0, 77},
                       {50, 20, 1, 0, 0},  {20, 40, 1, 0, 0}, {9, 20, 1, 0, 0}};
    for (CWidget* w : std::initializer_list<CWidget*>{&icon, &image, &slot}) {
        rig.Place(*w, 10, 10, 40, 30);
        w->id = 77;
        for (const Case& c : cases)
            EXPECT_EQ(w->OnPen(c.x, c.y, c.down, c.moving), c.result) << c.x << "," << c.y;
    }
}

// Card piles: the pile grows one pixel up and left per step (5 cards in the large modes, 8 in the
// small), every second card mirrored; a pile of 0 still shows one card; a single card wears its badge.
TEST(CardSlot, PileHeightsByCount) {
    struct Case {
        u32 mode, count;
        int cards;
    } const cases[] = {{15, 0, 1},  {15, 1, 1}, {15, 4, 1}, {15, 5, 1}, {15, 10, 2},
                       {15, 23, 4}, {2, 7, 1},  {2, 8, 1},  {2, 16, 2}};
    for (const Case& c : cases) {
        PictureRig rig(c.mode);
        rig.Clear(0);
        auto card = MakePicture(10, 14, [](int x, int) { return static_cast<u16>(x < 5 ? 0xF800 : 0x001F); });
        CCardSlot slot;
        rig.Place(slot, 40, 40, 10, 14);
        slot.card = card.get();
        slot.count = c.count;
        slot.Draw();
        // The top-left pixel of card i lies at (40 - i, 40 - i); the topmost card is the last drawn.
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(rig.Pixel(40 - i, 40 - i) != 0, i < c.cards)
                << "mode " << c.mode << ", count " << c.count << ", card " << i;
        const int top = c.cards - 1;
        EXPECT_EQ(rig.Pixel(40 - top, 40 - top), top % 2 ? 0x001F : 0xF800) << "mirrored on odd cards";
    }
}

TEST(CardSlot, EmptySlotAndBadge) {
    PictureRig rig;
    rig.Clear(0);
    auto empty = Solid(10, 14, 0x07E0);
    auto card = Solid(10, 14, 0xF800);
    auto badge = Solid(3, 3, 0xFFE0);
    CCardSlot slot;
    rig.Place(slot, 40, 40, 10, 14);
    slot.emptySlot = empty.get();
    slot.badge = badge.get();
    slot.Draw();
    EXPECT_EQ(rig.Pixel(41, 41), 0x07E0);
    slot.card = card.get();
    slot.count = 1;
    slot.Draw();
    EXPECT_EQ(rig.Pixel(41, 41), 0xF800);
    EXPECT_EQ(rig.Pixel(50, 46), 0xFFE0) << "the badge sits 10 right and 6 down in the large modes";
}

TEST(TapWidgets, IconAndImageLooks) {
    PictureRig rig;
    rig.Clear(0);
    auto icon = MakePicture(
        12, 12, [](int x, int y) { return static_cast<u16>((x + y) % 5 == 0 ? 0xFFFF : 0x07FF); });
    auto badge = Solid(2, 2, 0xF81F);
    auto opaque = Solid(12, 12, 0x8410);
    auto overlay1 = MakePicture(12, 12, [](int x, int) { return static_cast<u16>(x < 6 ? 0xFFFF : 0xF800); });
    auto overlay2 = MakePicture(12, 12, [](int, int y) { return static_cast<u16>(y < 6 ? 0xFFFF : 0x001F); });
    CTapIcon tapIcon, noIcon;
    rig.Place(tapIcon, 10, 10, 12, 12);
    tapIcon.icon = icon.get();
    tapIcon.badge = badge.get();
    tapIcon.Draw();
    rig.Place(noIcon, 30, 10, 12, 12);
    noIcon.badge = badge.get();
    noIcon.Draw();  // without its icon nothing at all, not even the badge
    CTapImage images[4];
    const u32 flags[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        rig.Place(images[i], static_cast<u16>(10 + 16 * i), 40, 12, 12);
        images[i].picture = opaque.get();
        images[i].overlay1 = flags[i][0];
        images[i].overlay1Picture = overlay1.get();
        images[i].overlay2 = flags[i][1];
        images[i].overlay2Picture = overlay2.get();
        images[i].Draw();
    }
    CTapImage onlyTransparent;
    rig.Place(onlyTransparent, 80, 40, 12, 12);
    onlyTransparent.transparentPicture = icon.get();
    onlyTransparent.overlay1 = 1;
    onlyTransparent.overlay1Picture = overlay1.get();
    onlyTransparent.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/tap_widgets", rig.Capture(0, 0, 100, 60)));
    EXPECT_EQ(rig.Pixel(40, 16), 0) << "no badge without an icon";
}

TEST(Picture, DrawsTheChosenSidesAndTheFill) {
    PictureRig rig;
    rig.Clear(0x0841);
    CPicture framed, sides, filled;
    rig.Place(framed, 5, 5, 40, 30);
    rig.Place(sides, 55, 5, 40, 30);
    rig.Place(filled, 105, 5, 40, 30);
    for (CPicture* p : {&framed, &sides, &filled}) {
        p->frameSet = InterfacePictureSet(&rig.game, kMessageFrameFirstPicture, 9);
        p->transparent = 1;
    }
    framed.sides = 0x0F;
    sides.sides = 0x02 | 0x08;
    filled.sides = 0x0F;
    filled.fill = 1;
    filled.colour = 0x4080C0;
    for (CPicture* p : {&framed, &sides, &filled}) p->Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/picture_frames", rig.Capture(0, 0, 160, 40)));
}

TEST(Compass, AtFacingZeroTheStripsEndComesFirst) {
    PictureRig rig;
    rig.Clear(0);
    // A 120-column strip (360 degrees at 3 per column) whose column c has blue c / 4 and a marked
    // first row; the shades are black, so they halve what lies under them.
    auto strip = MakePicture(
        120, 8, [](int x, int y) { return static_cast<u16>(y == 0 ? 0xFFFF : (x / 4) | 0x0400); });
    auto overlay =
        MakePicture(120, 8, [](int x, int y) { return static_cast<u16>(x == 0 && y > 0 ? 0xF800 : 0xFFFF); });
    auto shade = Solid(4, 8, 0);
    CCompass compass;
    rig.Place(compass, 20, 30, 40, 8);
    compass.Setup(strip.get(), shade.get(), overlay.get(), shade.get());
    EXPECT_EQ(compass.stripWidth, 120u);
    EXPECT_EQ(compass.leftShadeWidth, 4u);
    rig.gameScreen->facing = 0;
    compass.Draw();
    // pos = 0 / 3 - 40 / 2 + 10 = -10: strip columns 110..119 at x 20..29, then 0..29 at 30..59.
    auto column = [&](int x) { return rig.Pixel(x, 33) & 0x1F; };
    for (int x = 24; x < 56; ++x) {
        const int c = x < 30 ? 110 + (x - 20) : x - 30;
        if (x == 30) {
            EXPECT_EQ(rig.Pixel(x, 33), 0xF800) << "the overlay's column 0 lands where the strip starts";
            continue;
        }
        EXPECT_EQ(column(x), c / 4) << "at x " << x;
    }
    // Under the shades the strip is halved.
    EXPECT_EQ(column(20), (110 / 4) / 2);
    EXPECT_EQ(column(59), (29 / 4) / 2);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/compass_facing0", rig.Capture(16, 26, 48, 16)));

    // Facing 90: heading 270, pos = 90 - 20 + 10 = 80; columns 80..119 fill the widget.
    rig.gameScreen->facing = 90;
    compass.Draw();
    EXPECT_EQ(column(40), (80 + 20) / 4);
    // The small modes draw from row 1 with two rows less.
    rig.game.layoutMode = 2;
    rig.Clear(0x07E0);
    compass.Draw();
    EXPECT_EQ(rig.Pixel(40, 30 + 5), (((80 + 20) / 4) | 0x0400));
    EXPECT_EQ(rig.Pixel(40, 30 + 6), 0x07E0) << "height 8 - 2";
}

// --- animations ---

namespace {

struct AnimationRig : PictureRig {
    AnimationRig() {
        game.textureSet.Add("base", Solid(20, 20, 0x001F));
        game.textureSet.Add("one", Solid(4, 4, 0xF800));
        game.textureSet.Add("two", Solid(4, 4, 0x07E0));
        for (int i = 0; i < 8; ++i) frames[i] = Solid(10, 10, static_cast<u16>(0x0841 * (i + 1)));
        for (int i = 0; i < 8; ++i) framePointers[i] = frames[i].get();
    }
    CResourceAnimation Record(std::initializer_list<const char*> names) {
        CResourceAnimation a;
        u16 offset = 2;
        for (const char* n : names) {
            CResourceAnimationFrame f;
            f.name = n;
            f.x = offset;
            f.y = offset;
            f.delay = 10;  // 100 ms
            a.frames.push_back(f);
            offset = static_cast<u16>(offset + 6);
        }
        a.frames[0].x = a.frames[0].y = 0;
        return a;
    }
    std::unique_ptr<CRecordHolder> frames[8];
    CRecordHolder* framePointers[8] = {};
};

}  // namespace

// A resource animation of a base and one frame keeps that frame over the base: the index wraps to 1.
TEST(Animation, AResourceAnimationWrapsToItsFirstFrameAfterTheBase) {
    AnimationRig rig;
    CResourceAnimation record = rig.Record({"base", "one", "two"});
    CAnimation anim;
    rig.Place(anim, 10, 10, 20, 20);
    anim.SetAnimation(&record);
    EXPECT_EQ(anim.stretch, 0u);
    EXPECT_EQ(anim.frame, 1u);
    std::vector<u32> seen;
    for (int t = 0; t < 6; ++t) {
        rig.clock.Advance(50);
        EXPECT_EQ(anim.OnTick(0), 0u);
        seen.push_back(anim.frame);
    }
    EXPECT_EQ(seen, (std::vector<u32>{1, 2, 2, 1, 1, 2}));
    // A full redraw shows frame 1 over the base, whatever the index.
    rig.Clear(0);
    anim.Draw();
    EXPECT_EQ(rig.Pixel(10, 10), 0x001F);
    EXPECT_EQ(rig.Pixel(18, 18), 0xF800);
    EXPECT_EQ(rig.Pixel(24, 24), 0x001F);
}

TEST(Animation, AFixedAnimationShowsEightFramesAt200MsAndWrapsToZero) {
    AnimationRig rig;
    CAnimation anim;
    rig.Place(anim, 10, 10, 10, 10);
    anim.SetFrames(rig.framePointers);
    std::vector<u32> seen;
    for (int t = 0; t < 10; ++t) {
        rig.clock.Advance(199);
        anim.OnTick(0);
        const u32 before = anim.frame;
        rig.clock.Advance(1);
        anim.OnTick(0);
        EXPECT_NE(anim.frame, before) << "a frame lasts 200 ms";
        seen.push_back(anim.frame);
        EXPECT_EQ(rig.Pixel(15, 15), static_cast<u16>(0x0841 * (anim.frame + 1)));
    }
    EXPECT_EQ(seen, (std::vector<u32>{1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));
}

// Fewer than two frames make a still picture, and a base picture that cannot be found (size 0) is
// never scaled; without a record or frames the widget is black.
TEST(Animation, DegenerateAnimationsStayStill) {
    AnimationRig rig;
    CResourceAnimation lone = rig.Record({"base"});
    CResourceAnimation missing = rig.Record({"nowhere", "one"});
    CResourceAnimation empty;
    CAnimation a, b, c, d;
    rig.Place(a, 10, 10, 20, 20);
    rig.Place(b, 40, 10, 30, 30);
    rig.Place(c, 80, 10, 20, 20);
    rig.Place(d, 110, 10, 20, 20);
    a.SetAnimation(&lone);
    b.SetAnimation(&missing);
    c.SetAnimation(&empty);
    EXPECT_EQ(b.pictureWidth, 0u);
    EXPECT_EQ(b.stretch, 1u);
    rig.Clear(0x1234);
    for (int t = 0; t < 5; ++t) {
        rig.clock.Advance(500);
        for (CAnimation* x : {&a, &b, &c, &d}) x->OnTick(0);
    }
    EXPECT_EQ(a.frame, 1u);
    a.Draw();
    b.Draw();
    c.Draw();
    d.Draw();
    EXPECT_EQ(rig.Pixel(15, 15), 0x001F) << "the lone base is drawn";
    EXPECT_EQ(rig.Pixel(45, 15), 0x1234) << "nothing to scale";
    EXPECT_EQ(rig.Pixel(115, 15), 0) << "no record: black";
}

TEST(Animation, AStretchedResourceAnimationScalesItsFrames) {
    AnimationRig rig;
    CResourceAnimation record = rig.Record({"base", "one"});
    CAnimation anim;
    rig.Place(anim, 10, 10, 40, 40);  // twice the base
    anim.SetAnimation(&record);
    EXPECT_EQ(anim.stretch, 1u);
    rig.Clear(0);
    anim.Draw();
    EXPECT_EQ(rig.Pixel(49, 49), 0x001F);
    // Frame 1, a 4 x 4 picture at offset (8, 8): at (16, 16) and 8 x 8 pixels when doubled.
    EXPECT_EQ(rig.Pixel(25, 25), 0x001F);
    EXPECT_EQ(rig.Pixel(26, 26), 0xF800);
    EXPECT_EQ(rig.Pixel(33, 33), 0xF800);
    EXPECT_EQ(rig.Pixel(34, 34), 0x001F);
}

// Sizes read from picture records: a record too short for its header, or with a negative size, has
// no size, so buttons and animations built on it stay 0 x 0 and scale nothing.
TEST(PictureSize, ShortOrNegativeRecordsHaveNoSize) {
    auto holderOf = [](std::vector<u8> bytes) {
        auto holder = std::make_unique<CRecordHolder>();
        auto* record = new CRecordData;
        record->size = static_cast<u32>(bytes.size());
        record->data = new u8[bytes.size() + 1];
        std::copy(bytes.begin(), bytes.end(), record->data);
        holder->record = record;
        holder->data = record->data;
        return holder;
    };
    struct Case {
        const char* what;
        std::vector<u8> bytes;
        i32 w, h;
    } const cases[] = {
        {"empty record", {}, 0, 0},
        {"seven bytes", {0, 0, 5, 0, 6, 0, 0}, 0, 0},
        {"header only", {0, 0, 5, 0, 6, 0, 0, 0}, 5, 6},
        {"negative width", {0, 0, 0xFB, 0xFF, 6, 0, 0, 0}, 0, 6},
        {"negative height", {0, 0, 5, 0, 0x00, 0x80, 0, 0}, 5, 0},
    };
    for (const Case& c : cases) {
        auto holder = holderOf(c.bytes);
        i32 w = -1, h = -1;
        PictureSizeOf(holder.get(), w, h);
        EXPECT_EQ(w, c.w) << c.what;
        EXPECT_EQ(h, c.h) << c.what;
    }
    i32 w = -1, h = -1;
    PictureSizeOf(nullptr, w, h);
    EXPECT_EQ(w, 0);
    CRecordHolder unloaded;
    PictureSizeOf(&unloaded, w, h);
    EXPECT_EQ(h, 0);
}

// A see-through picture whose size differs from its view is not scaled (there is no see-through
// scaler), but it must not vanish: it goes at its own size, centred, and cut to the view's rectangle;
// taps count on the picture where it stands.
TEST(PictureView, ASeeThroughPictureOfAnotherSizeStillShowsCentredAndCut) {
    struct Case {
        int pw, ph;
    } const cases[] = {{20, 10}, {60, 50}, {20, 50}};
    for (const Case& c : cases) {
        PictureRig rig;
        auto picture = Solid(c.pw, c.ph, 0x07E0);
        CPictureView view;
        rig.Place(view, 40, 30, 40, 30);
        view.SetPicture(picture.get(), 1, 0, 0);
        rig.video->FillRect(0, 0, 160, 100, 0);
        view.Draw();
        EXPECT_EQ(rig.Pixel(60, 45), 0x07E0) << c.pw << "x" << c.ph;
        const int left = 40 + (40 - std::min(40, c.pw)) / 2, top = 30 + (30 - std::min(30, c.ph)) / 2;
        EXPECT_EQ(rig.Pixel(left, top), 0x07E0);
        EXPECT_EQ(rig.Pixel(left - 1, top), 0) << "nothing left of the picture or the view";
        EXPECT_EQ(rig.Pixel(left, top - 1), 0) << "nothing above the picture or the view";
        view.id = 5;
        EXPECT_EQ(view.OnPen(left, top, 1, 0), 5u);
        const bool smaller = c.pw <= 40 && c.ph <= 30;
        EXPECT_EQ(view.OnPen(40, 30, 1, 0), smaller ? 0u : 5u) << "the view's corner is outside a smaller picture";
    }
}
