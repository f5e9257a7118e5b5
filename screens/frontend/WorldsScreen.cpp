#include "screens/frontend/WorldsScreen.h"

#include <string>

#include "core/WorldEntry.h"
#include "display/FontSet.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/FrontendWidgets.h"
#include "ui/Layout.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "world/GameScreen.h"

namespace {

// Element ids of group 47; a button's command id is its element id.
constexpr u32 kTitle = 16;
constexpr u32 kBack = 25;
constexpr u32 kNameHeader = 139;
constexpr u32 kDescription = 656;
constexpr u32 kEnableHeader = 673;
constexpr u32 kDeleteHeader = 681;
constexpr u32 kPreviousPage = 689;
constexpr u32 kNextPage = 690;
constexpr u32 kDisable[CWorldsScreen::kMaxRows] = {674, 675, 676, 677, 678, 679, 680, 700, 704, 708};
constexpr u32 kDelete[CWorldsScreen::kMaxRows] = {682, 683, 684, 685, 686, 687, 688, 701, 705, 709};
constexpr u32 kEnable[CWorldsScreen::kMaxRows] = {691, 692, 693, 694, 695, 696, 697, 710, 711, 712};
// The rows' name labels and the empty-list label answer no command; they take the free ids of the
// group.
constexpr u32 kRowNames[CWorldsScreen::kMaxRows] = {698, 699, 702, 703, 706, 707, 714, 715, 716, 717};
constexpr u32 kEmptyLabel = 718;

constexpr u16 kArrowLeftPicture = 4154;
constexpr u16 kArrowRightPicture = 4156;
constexpr u16 kBoxOff = kPictureCheckbox;
constexpr u16 kBoxOn = kPictureCheckbox + 1;
constexpr u16 kDeletePicture = kPictureCheckbox + 2;  // normal, then pressed

constexpr u32 kNameColour = 0x94D6EF;

// A title as it fits on one line of width pixels in a font: cut, with "...", where it would run into
// the buttons beside it or onto the row below (a world's maker may write a title of any length).
std::string FitToWidth(const CBitmapFont* font, const char* text, i32 width) {
    auto widthOf = [font](const std::string& s) {
        i32 w = 0;
        for (unsigned char c : s) w += font ? font->Width(c) + 1 : 6;
        return w;
    };
    std::string fitted = text ? text : "";
    for (char& c : fitted)
        if (c == '\r' || c == '\n') c = ' ';
    if (widthOf(fitted) < width) return fitted;
    while (!fitted.empty() && widthOf(fitted + "...") >= width) fitted.pop_back();
    return fitted + "...";
}

int IndexOf(const u32* ids, u32 id) {
    for (u32 i = 0; i < CWorldsScreen::kMaxRows; ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

u32 WorldRowsPerPage(u32 layoutMode) {
    switch (layoutMode) {
    case 3:
    case 7:
    case 9:
    case 10:
    case 14:
    case 15: return 10;
    case 5:
    case 8: return 6;
    default: return 7;
    }
}

u32 CWorldsScreen::WorldCount() const { return shell_.GetInstalledWorlds().GetCount(); }

bool CWorldsScreen::HasNextPage() const {
    // A page exactly full is the last one: the next page would be empty.
    return page >= 0 && WorldCount() > static_cast<u32>(page + 1) * rowsPerPage;
}

bool CWorldsScreen::Place(CWidget& widget, u32 element) {
    return PlaceWidget(*this, widget, kLayoutGroup, element);
}

void CWorldsScreen::PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment, u32 font) {
    ::PlaceLabel(*this, label, kLayoutGroup, element, text, alignment, font, kFrontendLabelColour);
}

void CWorldsScreen::PlaceButton(CBitmapButton& button, u32 element, u16 normal, u16 pressed) {
    PlacePictureButton(*this, button, kLayoutGroup, element, normal, pressed, true);
}

void CWorldsScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    CGameScreen* view = shell_.GetGameScreen();
    editable = view == nullptr || view->inGame == 0 ? 1 : 0;
    promptBar.Attach(game);
    BuildLayout();
    promptState = kNoPrompt;
    page = 0;
    FillRows();
    UpdatePageButtons();
    if (WorldCount() > 0 && editable == 0)
        ShowMessage("The game databases are loaded - you can't change the configuration.", CButtonBar::kOk,
                    kNotice);
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CWorldsScreen::BuildLayout() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    rowsPerPage = WorldRowsPerPage(shell_.GetLayoutMode());

    PlaceLabel(title, kTitle, "Additional worlds", CTextLabel::kAlignCentre, 2);
    PlaceLabel(description, kDescription,
               "Here you can enable, disable or physically delete the installed additional worlds.",
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1);
    PlaceLabel(nameHeader, kNameHeader, "Name", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, 1);
    PlaceLabel(enableHeader, kEnableHeader, "Enable", CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1);
    PlaceLabel(deleteHeader, kDeleteHeader, "Del", CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1);
    for (u32 r = 0; r < kMaxRows && r < rowsPerPage; ++r) {
        PlaceLabel(rowNames[r], kRowNames[r], "", CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle, 1);
        rowNames[r].textColour = kNameColour;
        PlaceButton(enableButtons[r], kEnable[r], kBoxOff, kBoxOff);
        PlaceButton(disableButtons[r], kDisable[r], kBoxOn, kBoxOn);
        PlaceButton(deleteButtons[r], kDelete[r], kDeletePicture, static_cast<u16>(kDeletePicture + 1));
    }
    PlaceButton(previousPage, kPreviousPage, kArrowLeftPicture, static_cast<u16>(kArrowLeftPicture + 1));
    PlaceButton(nextPage, kNextPage, kArrowRightPicture, static_cast<u16>(kArrowRightPicture + 1));
    // The page buttons are there only when the worlds fill more than one page.
    const bool paged = WorldCount() > rowsPerPage;
    previousPage.Show(paged ? 1 : 0);
    nextPage.Show(paged ? 1 : 0);
    PlacePictureButton(*this, backButton, kLayoutGroup, kBack, kPictureOk, static_cast<u16>(kPictureOk + 1),
                       false, static_cast<u16>(kCommandUse));
    PlaceLabel(emptyLabel, kEmptyLabel, "No additional worlds are installed.",
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 1);
    ShowEmptyState();
    flags |= kFormRedrawAll;
}

void CWorldsScreen::ShowEmptyState() {
    const u32 empty = WorldCount() == 0 ? 1 : 0;
    emptyLabel.Show(empty);
    nameHeader.Show(1 - empty);
    enableHeader.Show(1 - empty);
    deleteHeader.Show(1 - empty);
}

void CWorldsScreen::FillRows() {
    for (u32 r = 0; r < kMaxRows; ++r) {
        rowNames[r].Show(0);
        enableButtons[r].Show(0);
        disableButtons[r].Show(0);
        deleteButtons[r].Show(0);
    }
    CWorldEntryArray& worlds = shell_.GetInstalledWorlds();
    const u32 first = static_cast<u32>(page) * rowsPerPage;
    for (u32 r = 0; r < rowsPerPage && r < kMaxRows && first + r < worlds.GetCount(); ++r) {
        const CWorldEntry& entry = worlds[first + r];
        CTextLabel& name = rowNames[r];
        // The font the label will draw with: the wide layouts draw every label in the large one.
        const CBitmapFont* font = nullptr;
        if (fonts) {
            fonts->Select(name.font, name.textColour, name.backgroundColour);
            font = fonts->CurrentFont();
        }
        name.SetText(FitToWidth(font, entry.title.GetText(), name.x + name.w - name.textX).c_str());
        rowNames[r].Show(1);
        enableButtons[r].Show(entry.enabled ? 0 : 1);
        disableButtons[r].Show(entry.enabled ? 1 : 0);
        deleteButtons[r].Show(1);
        enableButtons[r].EnablePen(editable);
        disableButtons[r].EnablePen(editable);
        deleteButtons[r].EnablePen(editable);
    }
    flags |= kFormRedrawAll;
}

void CWorldsScreen::UpdatePageButtons() {
    previousPage.EnablePen(page >= 1 ? 1 : 0);
    nextPage.EnablePen(HasNextPage() ? 1 : 0);
}

void CWorldsScreen::ShowMessage(const char* text, u32 buttons, u32 state) {
    promptState = state;
    ShowMessageText(game, &promptView, text, buttons, &promptBar, this);
    OpenModal(&promptBar);
}

void CWorldsScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
}

u32 CWorldsScreen::OnKey(u32 key) {
    // Escape leaves the screen as the back button does (a shown message takes the key itself).
    if (modalChild == nullptr && key == kCommandCancel) key = kCommandUse;
    return CScreen::OnKey(key);
}

void CWorldsScreen::SetEnabled(u32 row, u8 enabled) {
    CWorldEntryArray& worlds = shell_.GetInstalledWorlds();
    const u32 index = static_cast<u32>(page) * rowsPerPage + row;
    if (index >= worlds.GetCount()) return;
    CWorldEntry entry(worlds[index]);
    entry.enabled = enabled;
    SetWorldEntry(worlds, index, entry);
    shell_.SaveWorldConfiguration();
    FillRows();
}

void CWorldsScreen::DeleteRememberedRow() {
    CWorldEntryArray& worlds = shell_.GetInstalledWorlds();
    const u32 index = static_cast<u32>(page) * rowsPerPage + deleteRow;
    if (index >= worlds.GetCount()) return;
    const CWorldEntry entry(worlds[index]);
    // The entry goes only with its file: a world whose file stayed would be found again at the next
    // start, so the list would have told the player something untrue.
    if (!shell_.DeleteWorldDatabase(WorldEntryFile(entry).c_str())) {
        ShowMessage("The world could not be deleted.", CButtonBar::kOk, kNotice);
        return;
    }
    shell_.RemoveInstalledWorldEntry(entry.shortName.GetText());
    shell_.SaveWorldConfiguration();
    BuildLayout();
    // The last world of a page went: show the page before it.
    if (page > 0 && static_cast<u32>(page) * rowsPerPage >= WorldCount()) --page;
    FillRows();
    UpdatePageButtons();
    ShowMessage("The world has been removed.", CButtonBar::kOk, kNotice);
}

u32 CWorldsScreen::OnCommand(u32 command) {
    if (promptState != kNoPrompt) {
        const u32 state = promptState;
        promptState = kNoPrompt;
        CloseModal();
        if (state == kDeletePrompt && command == CButtonBar::kYes) DeleteRememberedRow();
        Redraw();
        return kScreenStay;
    }
    int r;
    if ((r = IndexOf(kEnable, command)) >= 0 || (r = IndexOf(kDisable, command)) >= 0) {
        PlayInterfaceSound(game, 0, 10);
        if (editable) SetEnabled(static_cast<u32>(r), IndexOf(kEnable, command) >= 0 ? 1 : 0);
    } else if ((r = IndexOf(kDelete, command)) >= 0) {
        PlayInterfaceSound(game, 0, 10);
        if (editable) {
            deleteRow = static_cast<u32>(r);
            ShowMessage("Are you sure you want to delete this world?", CButtonBar::kYes | CButtonBar::kNo,
                        kDeletePrompt);
        }
    } else if (command == kPreviousPage || command == kNextPage) {
        if (command == kPreviousPage && page > 0) --page;
        if (command == kNextPage && HasNextPage()) ++page;
        FillRows();
        UpdatePageButtons();
    } else if (command == kBack) {
        PlayInterfaceSound(game, 0, 10);
        return kScreenBack;
    } else {
        return kScreenStay;
    }
    Redraw();
    return kScreenStay;
}
