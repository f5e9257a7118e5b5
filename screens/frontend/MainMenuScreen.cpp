#include "screens/frontend/MainMenuScreen.h"

#include "data/RecordHolder.h"
#include "data/SaveGameManager.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"
#include "ui/Layout.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"
#include "screens/ScreenHost.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

// The menu's pictures in the order of the game's loading-picture slots, and the layout element that
// shows each.
constexpr u16 kFirstPictures[3] = {3081, 3080, 3082};
constexpr u32 kPictureElements[4] = {10, 13, 14, 11};
constexpr u32 kListElement = 12;
constexpr u32 kVersionElement = 15;

struct MenuEntry {
    const char* text;
    u32 value;
    bool onlyInGame;
};
constexpr MenuEntry kEntries[] = {
    {"Continue game", kMenuContinue, true}, {"Start new game", kMenuNewGame, false},
    {"Load Game", kMenuLoadGame, false},    {"Save Game", kMenuSaveGame, true},
    {"Settings", kMenuSettings, false},     {"Additional worlds", kMenuWorlds, false},
    {"Credits", kMenuCredits, false},       {"Exit", kMenuExit, false},
};

// The list's colours (0x00BBGGRR): the frame's dark inside behind the rows, and a gilt bar under the
// chosen one.
constexpr u32 kListBackground = 0x060C14;
constexpr u32 kListHighlightBar = 0x2A6A9A;
constexpr u32 kListHighlightText = 0xE8F8FF;

}  // namespace

u16 MainMenuFourthPicture(u32 layoutMode) {
    if (IsSmallLayoutMode(layoutMode)) return 4036;
    if (IsLargeLayoutMode(layoutMode)) return 4081;
    return 3083;
}

bool CMainMenuScreen::GameInProgress() const {
    CGameScreen* view = shell_.GetGameScreen();
    return view != nullptr && view->inGame != 0 && shell_.GetPlayer().hp > 0;
}

void CMainMenuScreen::LoadPictures() {
    // Loaded on the first entry and kept by the game; the game view frees them when a game starts.
    for (int i = 0; i < 4; ++i)
        shell_.LoadLoadingPicture(i,
                                  i < 3 ? kFirstPictures[i] : MainMenuFourthPicture(shell_.GetLayoutMode()));
}

void CMainMenuScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    LoadPictures();
    pendingPrompt = kPromptNone;
    promptBar.Attach(game);
    progress.Attach(game);
    BuildLayout();
    CGameScreen* view = shell_.GetGameScreen();
    if (view) view->UpdateMusic();
    if (view == nullptr || view->inGame == 0) {
        // A slot that cannot be listed simply brings no offer.
        if (std::unique_ptr<CSavedGameInfo> info = shell_.GetSaveGames().List(0)) {
            info->Release();
            list.Show(0);
            if (info->damaged) {
                // Passed over in silence, the game the player left would seem to have vanished.
                pendingPrompt = kPromptNotice;
                ShowMessage("The auto-saved game is damaged\rand cannot be loaded.", CButtonBar::kOk);
            } else {
                pendingPrompt = kPromptLoadAutoSave;
                ShowPrompt("Do you want to load\rthe auto-saved game?");
            }
        }
    }
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CMainMenuScreen::Resume() {
    list.selection = -1;
    BuildLayout();
    if (CGameScreen* view = shell_.GetGameScreen()) view->UpdateMusic();
    CScreen::Resume();
}

void CMainMenuScreen::BuildLayout() {
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);

    for (int i = 0; i < 4; ++i) {
        CPictureView& view = pictures[i];
        view.Attach(this);
        view.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, kPictureElements[i]));
        if (view.state & kWidgetEnabled) AddWidget(&view);
        view.SetPicture(shell_.GetLoadingPicture(i), i == 3 ? 1 : 0, 0, 0);
        // The artwork answers no taps: only the list chooses.
        view.EnablePen(0);
    }

    list.Attach(this);
    list.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, kListElement));
    if (list.state & kWidgetEnabled) AddWidget(&list);
    list.font = 2;
    const CBitmapFont* font = fonts ? fonts->Font(2) : nullptr;
    i32 lineHeight = font ? font->LineHeight() : 0;
    list.rowHeight = lineHeight + (IsSmallLayoutMode(shell_.GetLayoutMode()) ? 1 : 2);
    list.selection = -1;
    list.centred = 1;
    list.background = 1;
    list.backgroundColour = kListBackground;
    list.textColour = shell_.GetTextColor();
    list.highlight = 1;
    list.highlightBarColour = kListHighlightBar;
    list.highlightTextColour = kListHighlightText;
    // A tap selects on the way down and chooses on the way up, so one click starts an entry.
    list.chooseOnRelease = 1;
    FillList();
    list.visibleRows = list.h / AtLeastOne(list.rowHeight);
    list.topRow = 0;

    version.Attach(this);
    version.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, kVersionElement));
    if (version.state & kWidgetEnabled) AddWidget(&version);
    CStr text;
    text.Format("v%s", kVersion);
    version.SetText(text.GetText());
    version.font = 1;
    version.alignment = CTextLabel::kAlignMiddle;  // right-aligned
    version.textColour = shell_.GetTextColor();
    version.outline = 1;
    version.Layout();
}

void CMainMenuScreen::FillList() {
    list.ResetItems();
    bool inGame = GameInProgress();
    for (const MenuEntry& e : kEntries)
        if (!e.onlyInGame || inGame) list.AddItemWithValue(e.text, e.value);
}

void CMainMenuScreen::ShowMessage(const char* text, u32 buttons) {
    ShowMessageText(game, &promptView, text, buttons, &promptBar, this);
    OpenModal(&promptBar);
}

void CMainMenuScreen::ShowPrompt(const char* text) { ShowMessage(text, CButtonBar::kYes | CButtonBar::kNo); }

void CMainMenuScreen::ClosePrompt() {
    CloseModal();
    list.Show(1);
}

void CMainMenuScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
    if (video) video->Present();
}

void CMainMenuScreen::OpenProgress() {
    progress.Open();
    OpenModal(&progress);
    progress.textLine.SetText("Loading...");
    progress.textLine.state |= kWidgetRedraw;
    progress.textLine.Layout();
    progress.Draw();
}

u32 CMainMenuScreen::OnKey(u32 key) {
    // On the desktop keyboard Enter is configured to attack; in the menu it confirms, like the use key.
    return CScreen::OnKey(key == kCommandAttack ? kCommandUse : key);
}

u32 CMainMenuScreen::OnCommand(u32 command) {
    if (pendingPrompt != kPromptNone) {
        u32 prompt = pendingPrompt;
        pendingPrompt = kPromptNone;
        ClosePrompt();
        Redraw();
        return AnswerPrompt(prompt, command == CButtonBar::kYes);
    }
    if (command != kListId) return kScreenStay;
    Redraw();
    if (list.ValidSelection() < 0) return kScreenStay;
    if (list.lastAction != kListItemChosen) {
        PlayInterfaceSound(game, 0, 10);
        return kScreenStay;
    }
    return ActOn(list.GetSelectedValue());
}

u32 CMainMenuScreen::AnswerPrompt(u32 prompt, bool yes) {
    if (!yes) return kScreenStay;
    switch (prompt) {
    case kPromptLoadAutoSave: return LoadAutoSave();
    case kPromptNewGame: return StartNewGame();
    case kPromptExit: Exit(); return kScreenStay;
    default: return kScreenStay;
    }
}

u32 CMainMenuScreen::Push(u32 screen, u32 a) {
    entryA = a;
    entryB = entryC = entryD = 0;
    keepOnStack = 1;
    return screen;
}

u32 CMainMenuScreen::ActOn(u32 value) {
    switch (value) {
    case kMenuNewGame:
        if (!GameInProgress()) return StartNewGame();
        pendingPrompt = kPromptNewGame;
        ShowPrompt("Are you sure you want to start a new game?");
        return kScreenStay;
    case kMenuLoadGame: return Push(kScreenLoadSave, 1);
    case kMenuSaveGame: return Push(kScreenLoadSave, 0);
    case kMenuExit: {
        CStr text;
        if (GameInProgress())
            text.Format("%s%s", "Are you sure you want to exit?", "\nThe active game will be saved.");
        else
            text.Assign("Are you sure you want to exit?");
        pendingPrompt = kPromptExit;
        ShowPrompt(text.GetText());
        return kScreenStay;
    }
    case kMenuContinue:
        shell_.PopScreensToOne();
        keepOnStack = 0;
        return kScreenBack;
    case kMenuSettings: return Push(kScreenSettings, 0);
    case kMenuWorlds: return Push(kScreenWorlds, 0);
    case kMenuCredits: {
        // The credits come with the world's databases, which a menu without a game has not opened yet.
        u32 sequence = shell_.FindPageSequence(kCreditsSequence);
        if (sequence == 0 && !GameInProgress()) {
            shell_.ResetWorld();
            shell_.OpenGameDatabases(nullptr);
            sequence = shell_.FindPageSequence(kCreditsSequence);
        }
        // A world without credits gets a pages screen that ends at once.
        const u32 code = Push(kScreenPages, 2);
        entryB = sequence;
        return code;
    }
    default: return kScreenStay;
    }
}

u32 CMainMenuScreen::StartNewGame() {
    // The preparation is skipped only when the music database is the current map (a state the game
    // cannot reach yet), so it always runs here.
    if (CGameScreen* view = shell_.GetGameScreen()) view->StopMusic();
    OpenProgress();
    progress.Begin(4);
    shell_.ResetWorld();
    if (!shell_.OpenGameDatabases(&progress)) {
        // Without the base world there is no game to start: say which file (and record) failed, and
        // stay in the menu with the music that did open.
        CloseModal();
        pendingPrompt = kPromptNotice;
        ShowMessage(shell_.WorldOpenError().c_str(), CButtonBar::kOk);
        if (CGameScreen* view = shell_.GetGameScreen()) view->UpdateMusic();
        Redraw();
        return kScreenStay;
    }
    // The pages screen goes straight on to character creation when the world has no intro.
    entryA = 0;
    entryB = shell_.FindPageSequence(kIntroSequence);
    entryC = entryD = 0;
    keepOnStack = 0;
    return kScreenPages;
}

u32 CMainMenuScreen::LoadAutoSave() {
    if (CGameScreen* view = shell_.GetGameScreen()) view->StopMusic();
    OpenProgress();
    shell_.PopAllScreens();
    if (shell_.GetSaveGames().Load(0, &progress)) {
        // The game view goes on at the saved place (first entry word 0), not at a new game's start.
        entryA = entryB = entryC = entryD = 0;
        keepOnStack = 0;
        return kScreenGame;
    }
    // A failed load leaves the player in the menu with word of it, not in a half-loaded world.
    CloseModal();
    pendingPrompt = kPromptNotice;
    const std::string why = shell_.GetSaveGames().LastError();
    ShowMessage(("The auto-saved game could not be loaded" + (why.empty() ? std::string() : ": " + why) + ".").c_str(),
                CButtonBar::kOk);
    Redraw();
    return kScreenStay;
}

void CMainMenuScreen::Exit() {
    // The process ends through the frame's orderly path, so that the game's release runs and writes
    // the automatic save that the prompt promises.
    if (CSoundManager* sound = shell_.GetSound()) {
        if (Mixer* mixer = sound->GetMixer(); mixer && mixer->IsOpen()) {
            mixer->StopAllSamples();
            mixer->StopAllMusic();
        }
    }
    shell_.QuitGame();
}
