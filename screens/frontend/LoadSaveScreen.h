// The load and save screen (screen 8): the four saved-game slots 1..4, each with the picture, place and
// time of its saved game, and buttons to load or save the chosen slot and to delete its saved game.
// The main menu opens it to load (first entry word 1) or to save (0). The automatic save of slot 0 is
// not shown here.
#pragma once

#include <memory>
#include <string>

#include "core/Types.h"
#include "ui/Boxes.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/PictureView.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CScreenHost;
struct CSavedGameInfo;

class CLoadSaveScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 11;
    static constexpr u32 kSlots = 4;
    static constexpr u32 kCommandLoadSave = 94;
    static constexpr u32 kCommandDelete = 95;
    static constexpr u32 kCommandBack = 26;
    enum : u32 { kModeSave = 0, kModeLoad = 1 };
    enum : u32 {
        kNoPrompt = 0,
        kOverwritePrompt = 2,
        kDeletePrompt = 3,
        kRemovedNotice = 4,
        kSavedNotice = 5,
        kFailedNotice = 6
    };

    explicit CLoadSaveScreen(CScreenHost& shell);
    ~CLoadSaveScreen() override;

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    void ShowSlot(u32 i);
    void SelectSlot(i32 i);
    // The slot's file is there (a saved game or a damaged one): it can be deleted, and saving over it asks.
    bool SlotHoldsGame(u32 i) const { return i < kSlots && infos[i] != nullptr; }
    bool SlotLoadable(u32 i) const;

    CTextLabel title;
    CColorBox boxes[kSlots];
    CPictureView thumbnails[kSlots];
    CTextLabel labels[kSlots];
    std::unique_ptr<CSavedGameInfo> infos[kSlots];
    CBitmapButton loadSaveButton;
    CBitmapButton deleteButton;
    CBitmapButton backButton;
    CTextView promptView;
    CButtonBar promptBar;

    u32 mode = kModeLoad;
    i32 selected = -1;
    u32 promptState = kNoPrompt;
    std::string message;  // the text of the prompt or notice shown last

private:
    void ListSlot(u32 i);
    void SaveSelected();
    void DeleteSelected();
    u32 LoadSelected();
    void ShowMessage(const char* text, u32 buttons, u32 state);
    void Redraw();

    CScreenHost& shell_;
};
