#include "screens/frontend/SettingsScreen.h"

#include <iterator>

#include "core/Settings.h"
#include "display/Video.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/FrontendWidgets.h"
#include "ui/Layout.h"
#include "sound/SoundManager.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"

namespace {

// Element ids of group 46; each control's command id is its element id.
constexpr u32 kTitle = 16;
constexpr u32 kBack = 25;
constexpr u32 kSoundLabel = 587;
constexpr u32 kSoundBoxes[11] = {599, 588, 589, 590, 591, 592, 593, 594, 595, 596, 597};
constexpr u32 kMusicLabel = 598;
constexpr u32 kMusicBoxes[11] = {610, 600, 601, 602, 603, 604, 605, 606, 607, 608, 609};
constexpr u32 kOrientationLabel = 611;
constexpr u32 kOrientationLinks[3] = {612, 613, 651};
constexpr u32 kViewSizeLabel = 652;
constexpr u32 kViewSizeValue = 653;
constexpr u32 kViewSmaller = 654;
constexpr u32 kViewLarger = 655;
constexpr u32 kKeysHeader = 614;
constexpr u32 kRowNames[9] = {615, 616, 617, 618, 152, 623, 624, 625, 626};
constexpr u32 kRowLeft[9] = {631, 633, 634, 635, 649, 636, 637, 638, 639};
constexpr u32 kRowValues[9] = {619, 620, 621, 622, 648, 627, 628, 629, 630};
constexpr u32 kRowRight[9] = {632, 640, 641, 642, 650, 643, 644, 645, 646};
constexpr u32 kDefaultKeys = 647;

constexpr u16 kArrowLeftPicture = 4154;  // normal, then pressed
constexpr u16 kArrowRightPicture = 4156;

constexpr u32 kLabelColour = kFrontendLabelColour;
constexpr u32 kValueColour = 0x64C8C8;
constexpr u32 kSelectedLinkColour = 0xFFFFFF;
constexpr u32 kBoxLit = 0xC8C8C8;
constexpr u32 kBoxDark = 0x585858;

struct Choice {
    const char* name;
    u32 value;
};

constexpr Choice kCommands[kKeyCommandCount] = {
    {"none", 0},           {"forward", 1000},      {"back", 1002},  {"turn left", 1004}, {"turn right", 1006},
    {"strafe left", 3004}, {"strafe right", 3005}, {"spell", 3001}, {"hit", 3000},       {"use", 3006},
};

constexpr Choice kForward[] = {{"none", 0}, {"up arrow", 38}, {"w", 119}};
constexpr Choice kBackward[] = {{"none", 0}, {"down arrow", 40}, {"s", 115}};
constexpr Choice kTurnLeft[] = {{"none", 0}, {"left arrow", 37}, {"q", 113}, {"a", 97}};
constexpr Choice kTurnRight[] = {{"none", 0}, {"right arrow", 39}, {"e", 101}, {"d", 100}};
constexpr Choice kAction[] = {{"none", 0}, {"space", 32}, {"return", 13},
                              {"tab", 9},  {"ctrl", 162}, {"shift", 160}};
constexpr Choice kSpell[] = {{"none", 0},   {"space", 32},  {"return", 13}, {"tab", 9},
                             {"ctrl", 162}, {"shift", 160}, {"s", 115},     {"c", 99}};
constexpr Choice kStrafeLeft[] = {{"none", 0}, {"a", 97}, {"q", 113}, {"left arrow", 37}};
constexpr Choice kStrafeRight[] = {{"none", 0}, {"d", 100}, {"e", 101}, {"right arrow", 39}};

struct ChoiceList {
    const Choice* choices;
    u32 count;
};
constexpr ChoiceList kKeyChoices[9] = {
    {kForward, std::size(kForward)},         {kBackward, std::size(kBackward)},
    {kTurnLeft, std::size(kTurnLeft)},       {kTurnRight, std::size(kTurnRight)},
    {kAction, std::size(kAction)},           {kSpell, std::size(kSpell)},
    {kAction, std::size(kAction)},           {kStrafeLeft, std::size(kStrafeLeft)},
    {kStrafeRight, std::size(kStrafeRight)},
};

// "Foward:" is the row's name as the game has always shown it.
constexpr const char* kDesktopRowNames[9] = {"Foward:", "Backward:", "Turn left:",   "Turn right:",  "Use:",
                                             "Spell:",  "Hit:",      "Strafe left:", "Strafe right:"};
constexpr const char* kHandheldRowNames[9] = {
    "Up arrow:", "Down arrow:", "Left arrow:", "Right arrow:", "Select:",
    "Calendar:", "Contacts:",   "Messaging:",  "Home:"};

constexpr u32 kDesktopDefaults[9] = {119, 115, 113, 101, 32, 99, 13, 97, 100};
constexpr u32 kPlainDefaults[9] = {1000, 1002, 1004, 1006, 3006, 3001, 3004, 3005, 3000};
constexpr u32 kLeftDefaults[9] = {1004, 1006, 1002, 1000, 3006, 3001, 3004, 3005, 3000};
constexpr u32 kRightDefaults[9] = {1006, 1004, 1000, 1002, 3006, 3000, 3005, 3004, 3001};

constexpr const char* kViewSizeNames[3] = {"largest", "moderate", "smallest"};

bool ModeIn(u32 mode, std::initializer_list<u32> modes) {
    for (u32 m : modes)
        if (m == mode) return true;
    return false;
}

int IndexOf(const u32* ids, u32 count, u32 id) {
    for (u32 i = 0; i < count; ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

const char* KeyCommandName(u32 index) { return index < kKeyCommandCount ? kCommands[index].name : ""; }
u32 KeyCommandValue(u32 index) { return index < kKeyCommandCount ? kCommands[index].value : 0; }

u32 FindKeyCommand(u32 value) {
    for (u32 i = 0; i < kKeyCommandCount; ++i)
        if (kCommands[i].value == value) return i;
    return 0;
}

u32 KeyChoiceCount(u32 row) { return row < 9 ? kKeyChoices[row].count : 0; }

u32 KeyChoiceValue(u32 index, u32 row) {
    return row < 9 && index < kKeyChoices[row].count ? kKeyChoices[row].choices[index].value : 0;
}

const char* KeyChoiceName(u32 index, u32 row) {
    return row < 9 && index < kKeyChoices[row].count ? kKeyChoices[row].choices[index].name : "";
}

u32 FindKeyChoice(u32 row, u32 value) {
    if (row >= 9) return 0;
    for (u32 i = 0; i < kKeyChoices[row].count; ++i)
        if (kKeyChoices[row].choices[i].value == value) return i;
    return 0;
}

u32 LayoutModeForOrientation(u32 mode, u32 orientation) {
    const bool portrait = orientation == 0;
    switch (mode) {
    case 3:
    case 4: return portrait ? 3 : 4;
    case 6:
    case 7: return portrait ? 7 : 6;
    case 9:
    case 10: return portrait ? 10 : 9;
    default: return mode;
    }
}

CGameSettings& CSettingsScreen::Settings() const { return shell_.GetSettings(); }
u32 CSettingsScreen::Mode() const { return shell_.GetLayoutMode(); }

void CSettingsScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    orientation = video ? video->viewSet : 0;
    BuildWidgets();
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

bool CSettingsScreen::Place(CWidget& widget, u32 element) {
    return PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CSettingsScreen::PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment, u32 font,
                                 u32 colour) {
    ::PlaceLabel(*this, label, kLayoutGroup, element, text, alignment, font, colour);
}

void CSettingsScreen::PlaceArrow(CBitmapButton& button, u32 element, u16 firstPicture) {
    PlacePictureButton(*this, button, kLayoutGroup, element, firstPicture, static_cast<u16>(firstPicture + 1),
                       true);
}

void CSettingsScreen::PlaceLink(CTextLink& link, u32 element, const char* text) {
    if (!Place(link, element)) return;
    link.Setup(text, element, kValueColour, kSelectedLinkColour, kFrontendOutlineColour);
}

void CSettingsScreen::BuildWidgets() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    const u32 mode = Mode();

    PlaceLabel(title, kTitle, "Settings", CTextLabel::kAlignCentre, 2, kLabelColour);
    PlaceLabel(soundLabel, kSoundLabel, "Sound volume:", CTextLabel::kAlignLeft, 1, kLabelColour);
    for (u32 i = 0; i < 11; ++i) {
        if (Place(soundBoxes[i], kSoundBoxes[i])) soundBoxes[i].capabilities |= kWidgetTakesPen;
    }
    PlaceLabel(musicLabel, kMusicLabel, "Music volume:", CTextLabel::kAlignLeft, 1, kLabelColour);
    for (u32 i = 0; i < 11; ++i) {
        if (Place(musicBoxes[i], kMusicBoxes[i])) musicBoxes[i].capabilities |= kWidgetTakesPen;
    }
    RefreshVolumeBoxes();

    if (ModeIn(mode, {3, 4, 6, 7, 9, 10})) {
        PlaceLabel(orientationLabel, kOrientationLabel, "Orientation:", CTextLabel::kAlignLeft, 1,
                   kLabelColour);
        static constexpr const char* kNames[3] = {"Portrait", "Left Landscape", "Right Landscape"};
        for (u32 i = 0; i < 3; ++i) {
            PlaceLink(orientationLinks[i], kOrientationLinks[i], kNames[i]);
            if (i == orientation)
                orientationLinks[i].state |= kWidgetLatched;
            else
                orientationLinks[i].state &= static_cast<u16>(~kWidgetLatched);
        }
    }

    if (ModeIn(mode, {2, 3, 4, 9, 10, 11, 14, 15})) {
        const char* text = orientation == 1                 ? "Left landscape view size:"
                           : orientation >= 2               ? "Right landscape view size:"
                           : ModeIn(mode, {11, 14, 15, 16}) ? "View size:"
                                                            : "Portrait view size:";
        PlaceLabel(viewSizeLabel, kViewSizeLabel, text, CTextLabel::kAlignLeft | CTextLabel::kAlignBottom, 1,
                   kLabelColour);
        PlaceArrow(viewLeft, kViewSmaller, kArrowLeftPicture);
        PlaceLabel(viewValue, kViewSizeValue, "", CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1,
                   kValueColour);
        PlaceArrow(viewRight, kViewLarger, kArrowRightPicture);
        RefreshViewSize();
    }

    const char* header = orientation == 1                          ? "Left landscape keys:"
                         : orientation >= 2                        ? "Right landscape keys:"
                         : ModeIn(mode, {2, 5, 8, 11, 14, 15, 16}) ? "Keys:"
                                                                   : "Portrait keys:";
    PlaceLabel(keysHeader, kKeysHeader, header, CTextLabel::kAlignLeft, 1, kLabelColour);
    const char* const* names = IsDesktopLayoutMode(mode) ? kDesktopRowNames : kHandheldRowNames;
    for (u32 r = 0; r < kRowCount; ++r) {
        PlaceLabel(rowNames[r], kRowNames[r], names[r], CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, 1,
                   kLabelColour);
        PlaceArrow(rowLeft[r], kRowLeft[r], kArrowLeftPicture);
        PlaceLabel(rowValues[r], kRowValues[r], "", CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1,
                   kValueColour);
        PlaceArrow(rowRight[r], kRowRight[r], kArrowRightPicture);
    }
    PlaceLink(defaultKeysLink, kDefaultKeys, "Default keys");
    RefreshKeyRows();

    PlacePictureButton(*this, backButton, kLayoutGroup, kBack, kPictureOk, static_cast<u16>(kPictureOk + 1),
                       false, static_cast<u16>(kCommandUse));
    flags |= kFormRedrawAll;
}

void CSettingsScreen::RefreshVolumeBoxes() {
    const CGameSettings& s = Settings();
    for (u32 i = 0; i < 11; ++i) {
        soundBoxes[i].colour = i <= s.SoundVolume ? kBoxLit : kBoxDark;
        musicBoxes[i].colour = i <= s.MusicVolume ? kBoxLit : kBoxDark;
        soundBoxes[i].state |= kWidgetRedraw;
        musicBoxes[i].state |= kWidgetRedraw;
    }
    flags |= kFormRedrawAll;
}

u32& CSettingsScreen::ViewSizeWord() {
    CGameSettings& s = Settings();
    return orientation == 0 ? s.ViewSize : orientation == 1 ? s.LViewSize : s.RViewSize;
}

void CSettingsScreen::RefreshViewSize() {
    u32& size = ViewSizeWord();
    if (size > 2) {
        size = 0;
        shell_.SaveSettings();
    }
    viewValue.SetText(kViewSizeNames[size]);
    viewLeft.EnablePen(size < 2 ? 1 : 0);
    viewRight.EnablePen(size >= 1 ? 1 : 0);
}

u32 CSettingsScreen::GetKeyBinding(u32 row) const {
    const CGameSettings& s = Settings();
    if (row < kRowCount) {
        const u32* set = orientation == 0 ? s.Key : orientation == 1 ? s.LKey : s.RKey;
        return set[row];
    }
    return row < CGameSettings::kKeyCount ? s.Key[row] : 0;
}

void CSettingsScreen::SetKeyBinding(u32 row, u32 value) {
    CGameSettings& s = Settings();
    if (row < kRowCount) {
        u32* set = orientation == 0 ? s.Key : orientation == 1 ? s.LKey : s.RKey;
        set[row] = value;
    } else if (row < CGameSettings::kKeyCount) {
        s.Key[row] = value;
    }
}

u32 CSettingsScreen::RowChoice(u32 row) const {
    const u32 value = GetKeyBinding(row);
    return IsDesktopLayoutMode(Mode()) ? FindKeyChoice(row, value) : FindKeyCommand(value);
}

u32 CSettingsScreen::RowChoiceCount(u32 row) const {
    return IsDesktopLayoutMode(Mode()) ? KeyChoiceCount(row) : kKeyCommandCount;
}

u32 CSettingsScreen::RowChoiceValue(u32 row, u32 index) const {
    return IsDesktopLayoutMode(Mode()) ? KeyChoiceValue(index, row) : KeyCommandValue(index);
}

void CSettingsScreen::RefreshKeyRows() {
    const bool desktop = IsDesktopLayoutMode(Mode());
    for (u32 r = 0; r < kRowCount; ++r) {
        const u32 k = RowChoice(r);
        rowValues[r].SetText(desktop ? KeyChoiceName(k, r) : KeyCommandName(k));
        rowLeft[r].EnablePen(k >= 1 ? 1 : 0);
        rowRight[r].EnablePen(k + 1 < RowChoiceCount(r) ? 1 : 0);
        rowNames[r].state |= kWidgetRedraw;
    }
}

void CSettingsScreen::Click() { PlayInterfaceSound(game, 0, 10); }

void CSettingsScreen::ApplyVolumes() {
    const CGameSettings& s = Settings();
    if (CSoundManager* sound = shell_.GetSound())
        sound->SetVolumes(static_cast<i32>(s.SoundVolume), static_cast<i32>(s.MusicVolume));
}

void CSettingsScreen::SetSoundVolume(u32 volume) {
    Settings().SoundVolume = volume;
    shell_.SaveSettings();
    ApplyVolumes();
    Click();
    RefreshVolumeBoxes();
}

void CSettingsScreen::SetMusicVolume(u32 volume) {
    CGameSettings& s = Settings();
    s.MusicVolume = volume;
    shell_.SaveSettings();
    // The click sounds at the new music level, so the player hears what was chosen.
    const u32 effects = s.SoundVolume;
    s.SoundVolume = volume;
    ApplyVolumes();
    Click();
    s.SoundVolume = effects;
    ApplyVolumes();
    RefreshVolumeBoxes();
}

void CSettingsScreen::SmallerView() {
    Click();
    u32& size = ViewSizeWord();
    if (size < 2) ++size;
    shell_.SaveSettings();
    RefreshViewSize();
    // The 3D view rectangle follows at once, so the game view shows the new size when it comes back.
    if (video) video->LayoutViewRect();
    flags |= kFormRedrawAll;
}

void CSettingsScreen::LargerView() {
    Click();
    u32& size = ViewSizeWord();
    if (size > 0) --size;
    shell_.SaveSettings();
    RefreshViewSize();
    if (video) video->LayoutViewRect();
    flags |= kFormRedrawAll;
}

void CSettingsScreen::PreviousKeyChoice(u32 row) {
    Click();
    const u32 k = RowChoice(row);
    SetKeyBinding(row, RowChoiceValue(row, k > 0 ? k - 1 : 0));
    RefreshKeyRows();
    flags |= kFormRedrawAll;
}

void CSettingsScreen::NextKeyChoice(u32 row) {
    Click();
    const u32 k = RowChoice(row);
    SetKeyBinding(row, RowChoiceValue(row, k + 1 < RowChoiceCount(row) ? k + 1 : k));
    RefreshKeyRows();
    flags |= kFormRedrawAll;
}

void CSettingsScreen::SetDefaultKeys() {
    Click();
    const u32* defaults = orientation == 1              ? kLeftDefaults
                          : orientation >= 2            ? kRightDefaults
                          : IsDesktopLayoutMode(Mode()) ? kDesktopDefaults
                                                        : kPlainDefaults;
    for (u32 r = 0; r < kRowCount; ++r) SetKeyBinding(r, defaults[r]);
    shell_.SaveSettings();
    RefreshKeyRows();
    flags |= kFormRedrawAll;
}

void CSettingsScreen::SetOrientation(u32 newOrientation) {
    if (newOrientation > 2 || (orientationLinks[newOrientation].state & kWidgetLatched) != 0) return;
    Click();
    orientation = newOrientation;
    const u32 mode = LayoutModeForOrientation(Mode(), newOrientation);
    // Left and right landscape share one layout mode; between them only the key set and the view-size
    // word change, and the window stays as it is.
    if (mode != Mode()) shell_.SwitchLayoutMode(mode);
    BuildWidgets();
    for (CTextLink& link : orientationLinks) link.state |= kWidgetRedraw;
}

void CSettingsScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
}

u32 CSettingsScreen::OnKey(u32 key) {
    // Escape leaves the screen as the back button does.
    return CScreen::OnKey(key == kCommandCancel ? kCommandUse : key);
}

u32 CSettingsScreen::OnCommand(u32 command) {
    if (command == kBack) {
        PlayInterfaceSound(game, 1, 10);
        shell_.SaveSettings();
        return kScreenBack;
    }
    int i;
    if ((i = IndexOf(kSoundBoxes, 11, command)) >= 0) {
        SetSoundVolume(static_cast<u32>(i));
    } else if ((i = IndexOf(kMusicBoxes, 11, command)) >= 0) {
        SetMusicVolume(static_cast<u32>(i));
    } else if ((i = IndexOf(kOrientationLinks, 3, command)) >= 0) {
        SetOrientation(static_cast<u32>(i));
    } else if ((i = IndexOf(kRowLeft, kRowCount, command)) >= 0) {
        PreviousKeyChoice(static_cast<u32>(i));
    } else if ((i = IndexOf(kRowRight, kRowCount, command)) >= 0) {
        NextKeyChoice(static_cast<u32>(i));
    } else if (command == kDefaultKeys) {
        SetDefaultKeys();
    } else if (command == kViewSmaller) {
        SmallerView();
    } else if (command == kViewLarger) {
        LargerView();
    } else {
        return kScreenStay;
    }
    Redraw();
    return kScreenStay;
}
