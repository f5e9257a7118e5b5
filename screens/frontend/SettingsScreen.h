// The settings screen (screen 14): the two volumes, the orientation of the handheld layouts, the size
// of the 3D view and the nine movement and action keys, either as keyboard keys (the desktop layouts)
// or as commands of the handheld's buttons (every other layout). Volumes, view size and default keys
// are saved at once; single key changes are saved when the screen is left.
#pragma once

#include "core/Types.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextLink.h"

class CScreenHost;
struct CGameSettings;

// The command ids that a handheld button can be given, with their names ("none" first).
constexpr u32 kKeyCommandCount = 10;
const char* KeyCommandName(u32 index);
u32 KeyCommandValue(u32 index);
// The index of a command id in that list; 0 ("none") when it is not there.
u32 FindKeyCommand(u32 value);

// The keyboard choices of the desktop layouts, per key row 0..8.
u32 KeyChoiceCount(u32 row);
u32 KeyChoiceValue(u32 index, u32 row);
const char* KeyChoiceName(u32 index, u32 row);
// The index of a key code in the row's choices; 0 ("none") when absent or for a row above 8.
u32 FindKeyChoice(u32 row, u32 value);

// The layout modes whose key words hold keyboard keys rather than handheld commands.
inline bool IsDesktopLayoutMode(u32 mode) { return mode == 14 || mode == 15 || mode == 16; }
// The layout mode for an orientation (0 portrait, 1 and 2 landscape): the handheld pairs 3/4, 7/6 and
// 10/9 turn; every other mode stays.
u32 LayoutModeForOrientation(u32 mode, u32 orientation);

class CSettingsScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 46;
    static constexpr u32 kRowCount = 9;
    static constexpr u32 kRowSlots = 13;

    explicit CSettingsScreen(CScreenHost& shell) : shell_(shell) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    void BuildWidgets();
    void RefreshVolumeBoxes();
    void RefreshViewSize();
    void RefreshKeyRows();

    // The key word of a row for the working orientation; rows 9..11 are always Key10..Key12, and a
    // row above 11 reads 0 and writes nothing.
    u32 GetKeyBinding(u32 row) const;
    void SetKeyBinding(u32 row, u32 value);

    void PreviousKeyChoice(u32 row);
    void NextKeyChoice(u32 row);
    void SetDefaultKeys();
    void SetSoundVolume(u32 volume);
    void SetMusicVolume(u32 volume);
    void SmallerView();
    void LargerView();
    void SetOrientation(u32 newOrientation);

    // The view-size word of the working orientation.
    u32& ViewSizeWord();

    CTextLabel title;
    CTextLabel soundLabel;
    CColorBox soundBoxes[11];
    CTextLabel musicLabel;
    CColorBox musicBoxes[11];
    CTextLabel orientationLabel;
    CTextLink orientationLinks[3];
    CTextLabel keysHeader;
    CTextLabel rowNames[kRowSlots];
    CBitmapButton rowLeft[kRowSlots];
    CTextLabel rowValues[kRowSlots];
    CBitmapButton rowRight[kRowSlots];
    CTextLink defaultKeysLink;
    CTextLabel viewSizeLabel;
    CBitmapButton viewLeft;
    CTextLabel viewValue;
    CBitmapButton viewRight;
    CBitmapButton backButton;

    u32 orientation = 0;

private:
    CGameSettings& Settings() const;
    u32 Mode() const;
    bool Place(CWidget& widget, u32 element);
    void PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment, u32 font, u32 colour);
    void PlaceArrow(CBitmapButton& button, u32 element, u16 firstPicture);
    void PlaceLink(CTextLink& link, u32 element, const char* text);
    // The index of the row's key word in the list the layout mode uses, and the length of that list.
    u32 RowChoice(u32 row) const;
    u32 RowChoiceCount(u32 row) const;
    u32 RowChoiceValue(u32 row, u32 index) const;
    void ApplyVolumes();
    void Click();
    void Redraw();

    CScreenHost& shell_;
};
