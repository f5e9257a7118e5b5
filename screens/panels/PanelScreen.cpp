#include "screens/panels/PanelScreen.h"

#include "core/LayoutTable.h"
#include "core/Random.h"
#include "core/Str.h"
#include "core/Stream.h"
#include "data/ItemType.h"
#include "data/Npc.h"
#include "data/RuleContext.h"
#include "display/FontSet.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/CreationDialogs.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/frontend/TextEntryDialog.h"
#include "screens/npc/AlchemyDialog.h"
#include "screens/npc/PlayerCrafts.h"
#include "screens/npc/RepairDialog.h"
#include "screens/npc/TradeWorld.h"
#include "screens/panels/CharacterList.h"
#include "ui/Draw.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

constexpr u16 kInventoryGroup = 33;
constexpr u16 kQuestGroup = 34;
constexpr u16 kSpellGroup = 35;
// The character sub-pages' groups: main, skills, abilities, diseases, active effects.
constexpr u16 kCharacterGroups[5] = {36, 37, 41, 40, 39};
// The tab link of each sub-page.
constexpr u32 kCharacterTabElements[5] = {360, 361, 363, 364, 362};
const char* const kCharacterTabNames[5] = {"Main", "Skills", "Abilities", "Diseases", "Active effects"};

void PlaceBox(CForm& form, CPicture& box, u16 group, u32 element, bool small) {
    if (!PlaceWidget(form, box, group, element)) return;
    box.frameSet = InterfacePictureSet(form.game, small ? kPictureCompactFrameSet : kPictureLargeFrameSet, 9);
    box.transparent = 1;
    box.sides = 0x0F;
}

}  // namespace

void SerializePanelState(CStream& stream, CPanelState& state) {
    // Written always; read only when it is there.
    stream.MatchByte('X');
    for (u32* field : {&state.page, &state.savedPage, &state.characterPage, &state.detailMode, &state.itemFilter,
                       &state.effectsFilter, &state.questFilter, &state.spellPage}) {
        stream.Align(4);
        stream.SerializeU32(*field);
    }
}

const char* CarryWarning(i32 weight, i32 capacity) {
    if (weight <= capacity) return nullptr;
    if (weight > capacity * 3 / 2) return "You carry way too much - you can't move.";
    return "You carry too much - your attack capabilities are decreased.";
}

CPanelScreen::CPanelScreen(CScreenHost& host)
    : faceDialog(std::make_unique<CFaceDialog>(host)),
      nameDialog(std::make_unique<CTextEntryDialog>()),
      alchemy(std::make_unique<CAlchemyDialog>()),
      repair(std::make_unique<CRepairDialog>()),
      host_(host) {}

CPanelScreen::~CPanelScreen() = default;

void CPanelScreen::PrepareInventory(CItemBag* cellBag, u32 target) {
    prepared_ = true;
    pendingContainer_ = cellBag;
    pendingEvent_ = 0;
    pendingTarget_ = target;
}

void CPanelScreen::PrepareContainer(CItemBag* bag, u32 openingEvent, u32 target) {
    prepared_ = true;
    pendingContainer_ = bag;
    pendingEvent_ = openingEvent;
    pendingTarget_ = target;
}

void CPanelScreen::Attach(CWidgetHost* g) {
    CScreen::Attach(g);
    for (CForm* form : {static_cast<CForm*>(&inventory), static_cast<CForm*>(&sheet), static_cast<CForm*>(&skills),
                        static_cast<CForm*>(&bundle), static_cast<CForm*>(&effects), static_cast<CForm*>(&quests),
                        static_cast<CForm*>(&spells), static_cast<CForm*>(&reader),
                        static_cast<CForm*>(faceDialog.get()), static_cast<CForm*>(nameDialog.get()),
                        static_cast<CForm*>(alchemy.get()), static_cast<CForm*>(repair.get()),
                        static_cast<CForm*>(&handBar)})
        form->Attach(g);
}

CPlayer& CPanelScreen::Player() { return host_.GetPlayer(); }

const CRuleContext& CPanelScreen::Rules() const { return host_.GetRules(); }

bool CPanelScreen::InDanger() const { return host_.IsThreatNear(); }

void CPanelScreen::PlayNamedSound(const char* name) {
    if (ITradeWorld* world = host_.GetTradeWorld()) world->PlayNamedSound(name);
}

void CPanelScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    // A bag cannot travel in the entry words: the game view handed it over just before.
    container = pendingContainer_;
    containerFromEvent = prepared_ ? pendingEvent_ : c;
    containerTarget = prepared_ ? pendingTarget_ : d;
    prepared_ = false;
    pendingContainer_ = nullptr;
    pendingEvent_ = pendingTarget_ = 0;
    showContainer = a == 0 && container ? 1 : 0;
    state.page = kInventory;
    state.characterPage = 0;
    state.itemFilter = 0;
    state.effectsFilter = 0;
    state.questFilter = 0;
    points = std::make_unique<CCharacterPoints>(Player());
    inventory.lists.Begin(&Player(), container);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    RebuildPage();
    UpdateGoldAndLoad();
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CPanelScreen::Resume() {
    flags |= kFormRedrawAll;
    Draw();
    flags |= kFormRedrawAll;
    ResetInputGuard();
}

void CPanelScreen::RebuildPage() {
    if (points) points->CommitAll();
    BuildFrame();
    UpdateGoldAndLoad();
    BuildPage();
    FitButtons();
    for (u32 t = 0; t < 4; ++t) SetLatched(tabs[t], state.page == t);
    flags |= kFormRedrawAll;
}

void CPanelScreen::FitButtons() {
    FitPictureButtons(*this, group_);
    if (hosted_) FitPictureButtons(*hosted_, group_);
}

void CPanelScreen::AfterPageInput() {
    FitButtons();
    // The effects filter is the panel's word: it comes back with the page and goes into saved games.
    if (hosted_ == &effects) state.effectsFilter = effects.Filter();
}

void CPanelScreen::BuildFrame() {
    RemoveAllWidgets();
    hosted_ = nullptr;
    u16 group = kInventoryGroup;
    switch (state.page) {
    case kCharacter: group = kCharacterGroups[state.characterPage < 5 ? state.characterPage : 0]; break;
    case kQuests: group = kQuestGroup; break;
    case kSpells: group = kSpellGroup; break;
    default: break;
    }
    group_ = group;
    GetLayoutSize(game, group, width, height);
    const u32 mode = game ? game->GetLayoutMode() : 15;
    const bool small = IsSmallLayoutMode(mode);
    PlaceBox(*this, edgePicture, group, 293, small);
    PlaceBox(*this, framePicture, group, 294, small);
    if (PlaceWidget(*this, goldLine, group, 22)) {
        goldLine.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
        goldLine.font = 1;
        goldLine.textColour = 0xC8C8C8;
        goldLine.backgroundColour = 0;
        goldLine.outline = 0;
    }
    for (u32 t = 0; t < 4; ++t)
        PlacePictureButton(*this, tabs[t], group, kTabInventory + t, static_cast<u16>(kPicturePanelTabs + 2 * t),
                           static_cast<u16>(kPicturePanelTabs + 2 * t + 1), true);
    PlacePictureButton(*this, menuButton, group, kMainMenu, kPicturePanelMenuClose, kPicturePanelMenuClose + 1,
                       true);
    PlacePictureButton(*this, closeButton, group, kClose, kPicturePanelMenuClose + 2, kPicturePanelMenuClose + 3,
                       true, kCommandCancel);
    if (state.page == kCharacter) SetupCharacterFrame();
}

void CPanelScreen::SetupCharacterFrame() {
    const u16 group = kCharacterGroups[state.characterPage < 5 ? state.characterPage : 0];
    const u32 mode = game ? game->GetLayoutMode() : 15;
    const bool small = IsSmallLayoutMode(mode);
    CPlayer& player = Player();
    PlaceBox(*this, faceFrame, group, 357, small);
    if (PlaceWidget(*this, face, group, 36)) {
        face.fillColour = 0x101010;
        const char* id = player.portrait.GetText();
        if (id && *id && host_.GetPortraits().FindById(id))
            face.SetPortrait(id);
        else
            face.SetBitmap(nullptr);
    }
    if (PlaceWidget(*this, nameLabel, group, 358)) {
        nameLabel.alignment = CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle;
        nameLabel.font = 2;
        nameLabel.textColour = 0xC8C8C8;
        nameLabel.backgroundColour = 0x000000;
        nameLabel.outline = 1;
        nameLabel.SetText(player.name.GetText());
        nameLabel.Layout();
    }
    PlacePictureButton(*this, renameButton, group, kRename, kPictureRename, kPictureRename + 1, true);
    PlacePictureButton(*this, faceButton, group, kChangeFace, kPictureRename + 2, kPictureRename + 3, true);
    for (int t = 0; t < 5; ++t)
        if (PlaceWidget(*this, characterTabs[t], group, kCharacterTabElements[t]))
            characterTabs[t].Setup(kCharacterTabNames[t], kCharacterTabElements[t], 0xFFFFFF, 0x96FFFF, 0x585858);
    PlaceBox(*this, areaFrame, group, 359, small);
    if (mode != 10) PlaceBox(*this, innerFrame, group, 557, small);
    for (u32 t = 0; t < 5; ++t) SetLatched(characterTabs[t], t == state.characterPage);
}

void CPanelScreen::Host(CForm& page) {
    hosted_ = &page;
    page.drawBackground = 0;
    page.flags |= kFormRedrawAll;
}

void CPanelScreen::BuildPage() {
    CPlayer& player = Player();
    const CRuleContext& rules = Rules();
    switch (state.page) {
    case kInventory:
        inventory.Open(*this);
        Host(inventory);
        break;
    case kCharacter:
        switch (state.characterPage) {
        case 1:
            skills.Open(player, rules, *points);
            Host(skills);
            break;
        case 2:
        case 3:
            bundle.Open(player, rules, state.characterPage == 2 ? CBundlePage::kAbilities : CBundlePage::kDiseases);
            Host(bundle);
            break;
        case 4:
            effects.Open(player, rules, state.effectsFilter);
            Host(effects);
            break;
        default:
            sheet.Open(player, rules, *points);
            Host(sheet);
            break;
        }
        break;
    case kQuests:
        quests.Open(player, host_.GetQuests(), state.questFilter);
        Host(quests);
        break;
    case kSpells:
        spells.Open(player, rules, state.spellPage);
        Host(spells);
        break;
    default: break;
    }
}

void CPanelScreen::UpdateGoldAndLoad() {
    CPlayer& player = Player();
    CStr text;
    FormatGoldAndLoad(static_cast<int>(game ? game->GetLayoutMode() : 15), player.gold, player.GetCarriedWeight(),
                      static_cast<u32>(std::max(0, player.GetCarryCapacity())), text);
    // The line is laid out in rows for a tall label; a lower label takes it in fewer rows.
    const CBitmapFont* font = fonts ? fonts->Font(goldLine.font) : nullptr;
    const i32 pitch = (font && font->LineHeight() > 0 ? font->LineHeight() : 16) + 1;
    int rows = 1;
    for (const char* c = text.GetText(); *c; ++c) rows += *c == '\r' ? 1 : 0;
    if (goldLine.h < rows * pitch + 2)
        FitGoldAndLoadRows(text, (goldLine.h - 2) / pitch, IsSmallLayoutMode(game ? game->GetLayoutMode() : 15));
    ToNumberGlyphs(text);
    goldLine.SetText(text.GetText());
    goldLine.Layout();
    goldLine.state |= kWidgetRedraw;
    framePicture.state |= kWidgetRedraw;
}

void CPanelScreen::Draw() {
    if (hosted_ && (hosted_->flags & kFormRedrawAll)) flags |= kFormRedrawAll;
    const bool full = (flags & kFormRedrawAll) != 0;
    if (modalChild) {
        if (full) {
            DrawWidgets();
            if (hosted_) {
                hosted_->flags |= kFormRedrawAll;
                hosted_->DrawWidgets();
            }
            modalChild->flags |= kFormRedrawAll;
        }
        modalChild->Draw();
        return;
    }
    DrawWidgets();
    if (hosted_) {
        if (full) hosted_->flags |= kFormRedrawAll;
        hosted_->Draw();
    }
}

u32 CPanelScreen::AfterCommand(u32 command) {
    Draw();
    const u32 code = OnCommand(command);
    if (IsShownForm()) Draw();
    return code;
}

u32 CPanelScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (modalChild || !hosted_) return CScreen::OnPen(px, py, down, moving);
    const u32 tick = game ? game->GetTickCounter() : 0;
    if (tick - guardTick < 1) return 0;
    if (down != 0 && moving == 0) penDownSeen = 1;
    if (penDownSeen == 0) return 0;
    if (!hosted_->modalChild) {
        for (int i = widgets.GetCount(); i-- > 0;) {
            auto* widget = widgets.At<CWidget>(i);
            if (!widget || !(widget->capabilities & kWidgetTakesPen) || !widget->IsShown() ||
                !(widget->state & kWidgetPenEnabled))
                continue;
            if (const u32 command = widget->OnPen(px, py, down, moving)) return AfterCommand(command);
        }
    }
    const u32 code = hosted_->OnPen(px, py, down, moving);
    AfterPageInput();
    Draw();
    return code;
}

u32 CPanelScreen::OnKey(u32 key) {
    if (modalChild || !hosted_) return CScreen::OnKey(key);
    if (!hosted_->modalChild) {
        for (int i = widgets.GetCount(); i-- > 0;) {
            auto* widget = widgets.At<CWidget>(i);
            if (!widget || !(widget->capabilities & kWidgetTakesKeys) || !widget->IsShown()) continue;
            if (const u32 command = widget->OnKey(key)) return AfterCommand(command);
        }
    }
    const u32 code = hosted_->OnKey(key);
    AfterPageInput();
    Draw();
    return code;
}

u32 CPanelScreen::OnTick(u32 tick) {
    if (!modalChild && hosted_ == &inventory) inventory.ExpireMessage();
    // The pages hold no widgets that take ticks; the base draws the panel, and with it the page.
    return CScreen::OnTick(tick);
}

u32 CPanelScreen::Close() {
    if (points) points->CommitAll();
    PlayNamedSound("bsnd_bagclose");
    if (container) {
        if (auto* view = dynamic_cast<IPanelReturn*>(host_.GetGameScreen()))
            if (containerFromEvent != 0 || view->CellHoldsItems()) view->FindTargetInFront(containerTarget);
    }
    CPlayer& player = Player();
    if (const char* warning = CarryWarning(static_cast<i32>(player.GetCarriedWeight()), player.GetCarryCapacity()))
        if (CGameScreen* view = host_.GetGameScreen()) view->PostMessageEvent(warning, "");
    return kScreenBack;
}

void CPanelScreen::CloseDialog(u32 backTo) {
    state.page = backTo;
    CloseModal();
    // A brew or a repair may have changed the items.
    if (backTo == kInventory && hosted_ == &inventory) inventory.Refresh(true);
    UpdateGoldAndLoad();
    flags |= kFormRedrawAll;
}

u32 CPanelScreen::OnCommand(u32 command) {
    if (command >= kTabInventory && command <= kTabSpells) {
        PlayInterfaceSound(game, 1, 10);
        state.page = command - kTabInventory;
        if (command == kTabInventory) state.itemFilter = 0;
        RebuildPage();
        return kScreenStay;
    }
    if (command == kMainMenu) {
        if (points) points->CommitAll();
        PlayInterfaceSound(game, 1, 10);
        entryA = entryB = entryC = entryD = 0;
        keepOnStack = 1;
        return kScreenMainMenu;
    }
    if (command == kClose) return Close();
    switch (state.page) {
    case kInventory: return hosted_ ? hosted_->OnCommand(command) : 0;
    case kCharacter: return OnCharacterCommand(command);
    case kQuests:
    case kSpells: return hosted_ ? hosted_->OnCommand(command) : 0;
    case kFaceDialog:
        if (command == 25) {
            const char* chosen = faceDialog->ChosenFace();
            Player().portrait = chosen ? chosen : "";
        }
        state.page = state.savedPage;
        CloseModal();
        RebuildPage();
        return kScreenStay;
    case kNameEntry:
        if (command == 25) Player().name = nameDialog->GetText();
        state.page = state.savedPage;
        CloseModal();
        RebuildPage();
        return kScreenStay;
    case kReader:
        if (command == CBookDialog::kClose) CloseDialog(kInventory);
        return kScreenStay;
    case kAlchemy:
    case kRepair:
        if (command == 26) CloseDialog(kInventory);
        return kScreenStay;
    case kHandQuestion:
        if (command == CButtonBar::kLeft || command == CButtonBar::kRight) {
            state.page = kInventory;
            CloseModal();
            inventory.WieldInHand(command == CButtonBar::kLeft);
        } else {
            CloseDialog(kInventory);
        }
        flags |= kFormRedrawAll;
        return kScreenStay;
    default: return kScreenStay;
    }
}

u32 CPanelScreen::OnCharacterCommand(u32 command) {
    switch (command) {
    case kRename:
        PlayInterfaceSound(game, 0, 10);
        OpenNameEntry();
        return kScreenStay;
    case kChangeFace:
        PlayInterfaceSound(game, 0, 10);
        OpenFaceDialog();
        return kScreenStay;
    default: break;
    }
    for (u32 t = 0; t < 5; ++t) {
        if (command != kCharacterTabElements[t]) continue;
        PlayInterfaceSound(game, 0, 10);
        state.characterPage = t;
        RebuildPage();
        return kScreenStay;
    }
    return hosted_ ? hosted_->OnCommand(command) : kScreenStay;
}

void CPanelScreen::OpenFaceDialog() {
    state.savedPage = state.page;
    state.page = kFaceDialog;
    OpenModal(faceDialog.get());
    faceDialog->Open(Player().portrait.GetText());
    faceDialog->flags |= kFormRedrawAll;
}

void CPanelScreen::OpenNameEntry() {
    state.savedPage = state.page;
    state.page = kNameEntry;
    OpenModal(nameDialog.get());
    nameDialog->Open();
    nameDialog->SetText(Player().name.GetText());
    nameDialog->flags |= kFormRedrawAll;
}

void CPanelScreen::OpenReader(const CItemType& type, u32 kind, const char* notice) {
    state.page = kReader;
    OpenModal(&reader);
    reader.Open(kind);
    const char* heading = kind == kBookKindLetter ? "" : (type.name ? type.name : type.GetName());
    const char* body = type.texts[0] ? type.texts[0] : (type.text1 ? type.text1 : "");
    reader.pages.SetText(heading ? heading : "", body, 0, 0);
    reader.pages.currentPage = 0;
    reader.UpdatePageButtons();
    reader.flags |= kFormRedrawAll;
    reader.ResetInputGuard();
    if (notice && *notice) reader.ShowNotice(notice);
}

void CPanelScreen::AskHand() {
    state.page = kHandQuestion;
    ShowMessageText(game, &handText, "On left or right hand?", CButtonBar::kLeft | CButtonBar::kRight, &handBar,
                    this);
    OpenModal(&handBar);
    PlayInterfaceSound(game, 0, 10);
}

void CPanelScreen::OpenAlchemy(const CItemInstance* mortar) {
    crafts = std::make_unique<CPlayerCrafts>(Player(), Rules(), host_.GetRecipes());
    alchemy->SetAlchemist(crafts.get());
    state.page = kAlchemy;
    OpenModal(alchemy.get());
    alchemy->Open(mortar);
}

void CPanelScreen::OpenRepair(CItemInstance* hammer) {
    state.page = kRepair;
    OpenModal(repair.get());
    CWidgetHost* g = game;
    repair->Open(host_.GetTradeWorld(), hammer, [g](i32 n) -> u32 {
        CRandom* random = g ? g->GetRandom() : nullptr;
        return random && n > 0 ? random->Next(n) : 0;
    });
}
