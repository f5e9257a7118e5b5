#include "screens/panels/SpellBookDialog.h"

#include "core/Str.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "display/FontSet.h"
#include "screens/npc/CraftWidgets.h"
#include "screens/npc/ListPaging.h"
#include "screens/panels/GameViewDialogHost.h"
#include "screens/panels/SpellBookRules.h"
#include "screens/panels/ViewDialogPlacing.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/Player.h"

namespace {

constexpr u32 kFrameElement = 207, kMessageElement = 220;
constexpr u32 kInk = 0x00141E;
constexpr u32 kLeather = 0x6496C8;
constexpr u32 kParchment = 0x94D6E7;
constexpr int kUndeadRace = 1;
constexpr u32 kTurnLeft = 1004, kTurnRight = 1006, kAttack = 3000, kSpellBookKey = 3001;
constexpr const char* kPageSound = "bsnd_bookpage";
constexpr const char* kCloseSound = "bsnd_bookclose";

}  // namespace

void CSpellBookDialog::Attach(CWidgetHost* widgetHost) {
    CForm::Attach(widgetHost);
    mode = 1;
}

void CSpellBookDialog::ShowPage() {
    RemoveAllWidgets();
    PlaceInGameViewCorner(*this, kLayoutGroup, 2);
    // Only the widgets are drawn over the view.
    drawBackground = 0;
    craft::PlaceWidget(*this, frame, kLayoutGroup, kFrameElement);
    frame.frameSet = InterfacePictureSet(game, kMessageFrameFirstPicture, 9);
    frame.fill = 1;
    frame.colour = kParchment;
    frame.sides = 0x0F;
    craft::PlaceWidget(*this, message, kLayoutGroup, kMessageElement);
    message.font = 1;
    message.textColour = kInk;
    message.backgroundColour = kLeather;
    message.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
    message.SetText("");
    for (int page = 0; page < kPageCount; ++page)
        craft::PlaceButton(*this, tabs[page], tabPictures[page], kLayoutGroup, kFirstTab + static_cast<u32>(page),
                           static_cast<u16>(kPictureSpellSchoolTabs + 2 * page), 0);
    UpdateTabs();
    craft::PlaceWidget(*this, entries, kLayoutGroup, kEntries);
    entries.font = 1;
    entries.textColour = kInk;
    entries.backgroundColour = kLeather;
    if (fonts) {
        fonts->Select(1, 0, 0);
        entries.rowHeight = CurrentLineHeight(fonts);
    }
    craft::PlaceButton(*this, pageUp, upPictures, kLayoutGroup, kPageUp, kPictureListPageUp, 0);
    craft::PlaceButton(*this, pageDown, downPictures, kLayoutGroup, kPageDown, kPictureListPageDown, 0);
    craft::PlaceButton(*this, castButton, castPictures, kLayoutGroup, kCast, kPictureTextButton, 0);
    castButton.SetPicturesAndText(castPictures, "Cast", kCast, 0);
    craft::PlaceButton(*this, closeButton, closePictures, kLayoutGroup, kClose, kPictureTextButton, 0);
    closeButton.SetPicturesAndText(closePictures, "Close", kClose, 0);

    const i32 kept = entries.selection;
    entries.ResetItems();
    FillEntries();
    entries.visibleRows = RowsPerPage(entries.h, entries.rowHeight);
    const i32 count = entries.GetCount();
    entries.selection = count == 0 ? -1 : kept < 0 || kept >= count ? 0 : kept;
    entries.topRow = PageStartOf(entries.selection, entries.visibleRows);
    entries.state |= kWidgetRedraw;

    const CPlayer* player = host ? host->GetPlayer() : nullptr;
    const CRuleContext* rules = host ? host->GetRules() : nullptr;
    const CSpellSchool* school = rules && rules->spells ? rules->spells->GetSchool(mode) : nullptr;
    CStr text;
    FormatSpellPageMessage(mode, player ? static_cast<int>(player->race) : 0, count == 0,
                           school ? school->name : nullptr, text);
    // A page with entries is headed by its school's name, so the tabs' pictures need no guessing.
    if (text.IsEmpty() && school && school->name) text = school->name;
    message.SetText(text.GetText());
    UpdateScrollButtons();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CSpellBookDialog::FillEntries() {
    const CPlayer* player = host ? host->GetPlayer() : nullptr;
    if (!player) return;
    if (mode == kMagicItemsPage) {
        for (const CMagicItemLine& line : BuildMagicItemLines(*player, host->GetRules())) {
            CStr key;
            key.Format("%u", static_cast<unsigned>(line.index));
            entries.AddItem(line.text.GetText(), key.GetText(), 0);
        }
        return;
    }
    const bool undead = player->race == kUndeadRace;
    if ((undead && mode == 1) || (!undead && mode == 5)) return;
    for (const CSpell* spell : player->spellsBySchool[mode])
        if (spell) entries.AddItem(spell->GetDisplayName(), spell->GetName(), 0);
}

const CSpell* CSpellBookDialog::GetSelectedSpell() const {
    if (mode == kMagicItemsPage || entries.ValidSelection() < 0) return nullptr;
    const CRuleContext* rules = host ? host->GetRules() : nullptr;
    return rules && rules->spells ? rules->spells->FindById(entries.GetSelectedText()) : nullptr;
}

CItemInstance* CSpellBookDialog::GetSelectedItem() const {
    if (mode != kMagicItemsPage || entries.ValidSelection() < 0) return nullptr;
    const CPlayer* player = host ? host->GetPlayer() : nullptr;
    return player ? ItemForEntryKey(*player, entries.GetSelectedText()) : nullptr;
}

void CSpellBookDialog::UpdateTabs() {
    for (int page = 0; page < kPageCount; ++page) {
        if (page + 1 == mode)
            tabs[page].state |= kWidgetLatched;
        else
            tabs[page].state &= static_cast<u16>(~kWidgetLatched);
    }
    for (int i = 0; i < widgets.GetCount(); ++i)
        if (CWidget* widget = widgets.At<CWidget>(i)) widget->state |= kWidgetRedraw;
}

void CSpellBookDialog::UpdateScrollButtons() { UpdatePageButtons(entries, pageUp, pageDown); }

void CSpellBookDialog::SelectPage(u32 command) {
    mode = static_cast<int>(command - kFirstTab) + 1;
    entries.selection = -1;
    entries.topRow = 0;
    UpdateTabs();
    ShowPage();
}

void CSpellBookDialog::TurnPage(int step) {
    if (host) host->PlayNamedSound(kPageSound, false);
    mode = (mode - 1 + step + kPageCount) % kPageCount + 1;
    entries.selection = -1;
    entries.topRow = 0;
    UpdateTabs();
    ShowPage();
}

u32 CSpellBookDialog::OnCommand(u32 command) {
    if (command >= kFirstTab && command < kFirstTab + kPageCount) {
        if (host) host->PlayNamedSound(kPageSound, false);
        SelectPage(command);
        return 0;
    }
    switch (command) {
    case kEntries: PlayInterfaceSound(game, 0, 10); return 0;
    case kPageUp:
    case kPageDown:
        PlayInterfaceSound(game, 0, 10);
        TurnListPage(entries, pageUp, pageDown, command == kPageUp ? -1 : 1);
        return 0;
    case kCast:
    case kClose:
        if (host) host->PlayNamedSound(kCloseSound, false);
        return parent ? parent->OnCommand(command) : 0;
    default: return 0;
    }
}

u32 CSpellBookDialog::OnKey(u32 key) {
    switch (key) {
    case kTurnLeft: TurnPage(-1); return 0;
    case kTurnRight: TurnPage(1); return 0;
    case kAttack: return OnCommand(kClose);
    case kSpellBookKey: return OnCommand(kCast);
    default: return CForm::OnKey(key);
    }
}

u32 CSpellBookDialog::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    const bool outside = px < static_cast<i32>(x) || px >= static_cast<i32>(x + width) ||
                         py < static_cast<i32>(y) || py >= static_cast<i32>(y + height);
    // The tap that opened the book must not close it: the form's guard holds until the next tick.
    const bool guarded = game != nullptr && game->GetTickCounter() - guardTick < 1;
    if (down && !moving && outside && !guarded) return OnCommand(kClose);
    return CForm::OnPen(px, py, down, moving);
}
