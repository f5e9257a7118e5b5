// Helpers of the widget tests: a game with a layout table and interface pictures built in memory,
// and a stand-in for the game data that finds pictures by name and records the sounds played.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "core/Types.h"
#include "tests/support/Png.h"
#include "tests/support/TestRecords.h"
#include "ui/Form.h"
#include "ui/WidgetGameData.h"

#include "data/RecordHolder.h"
struct CRecordData;

namespace widgetkit {

using testing_support::BorderedPicture;
using testing_support::BuildLayoutTable;
using testing_support::LayoutElementSpec;
using testing_support::LayoutSpec;
using testing_support::MakeHolder;
using testing_support::MakeRecord;
using testing_support::SolidPicture;

// Fills an interface picture of the game (replacing what it held).
void SetInterfacePicture(CGame& game, u16 base, const std::vector<u8>& bytes);

// The game data stand-in of the tests: pictures by name and index, equipment pictures by slot, and a
// log of the sounds played. It installs itself for its lifetime.
class FakeGameData : public CWidgetGameData {
public:
    FakeGameData() { SetWidgetGameData(this); }
    ~FakeGameData() override { SetWidgetGameData(nullptr); }

    const char* FindPortraitPictureName(const char* id) override;
    bool FindCreatureKind(const char* id, u8& kindClass, const char*& first, const char*& second) override;
    CRecordHolder* FindPicture(const char* name) override;
    bool EnsurePictureLoaded(CRecordHolder* picture) override;
    CRecordHolder* PictureAt(u32 index) override;
    const CPaletteRef* PaletteAt(u32 index) override;
    bool FindEquippedItemPicture(int slot, CRecordHolder*& picture, const CPaletteRef*& palette) override;
    void PlaySound(const char* name, u32 volume) override;

    // A named picture, loaded now, or only when a widget asks for it (`loaded` false).
    CRecordHolder* AddPicture(const std::string& name, const std::vector<u8>& bytes, bool loaded = true);

    struct Portrait {
        std::string id, picture;
    };
    struct Kind {
        std::string id;
        u8 kindClass;
        std::string first, second;
    };
    std::vector<Portrait> portraits;
    std::vector<Kind> kinds;
    std::vector<std::pair<std::string, std::unique_ptr<CRecordHolder>>> pictures;
    std::vector<std::pair<CRecordHolder*, std::vector<u8>>> pending;
    std::vector<const CPaletteRef*> palettes;
    CRecordHolder* equipped[14] = {};
    std::vector<std::string> sounds;
    std::vector<u32> volumes;
    int loads = 0;
};

}  // namespace widgetkit

namespace widgetkit {

// A game that can draw: a frame buffer of the given size behind the video output, fonts whose strips
// are built from the glyph tables (each glyph a striped block, so text positions show in the
// pixels), a layout mode, and one form at (0, 0) covering the frame that widgets can be attached to.
class Stage {
public:
    explicit Stage(u32 layoutMode = 15, int width = 400, int height = 300);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    CGame game;
    CForm form;

    int Width() const;
    int Height() const;
    u16 Pixel(int x, int y) const;
    void Clear(u16 colour);
    // The whole frame buffer, or a part of it, rows packed.
    testing_support::Rgb565Image Capture() const;
    testing_support::Rgb565Image Capture(int x, int y, int w, int h) const;
    // Number of pixels of a colour inside a rectangle.
    int Count(int x, int y, int w, int h, u16 colour) const;

    // Installs a layout table built from the layouts.
    void SetLayouts(const std::vector<LayoutSpec>& layouts);
    // Fills every interface picture of a run of base numbers with bordered pictures of a size, the
    // colours changing from picture to picture so that each piece can be told apart.
    void FillPictures(u16 first, int count, i16 width, i16 height);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

}  // namespace widgetkit
