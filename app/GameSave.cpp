// The game's own parts of a saved game: the script globals (record 3002), the player (3003), the game
// view (3004) and the panels (3005), the thumbnail and the clock text of the header, and the teardown
// between the checks of a load and its taking effect. A load reads each part twice: once into scratch
// objects while the running game is still whole (only the checks count), and once more into the live
// objects after the worlds have been opened again, so that every reference resolves in the new tables.
#include <algorithm>
#include <cstdio>

#include "app/Game.h"
#include "core/Stream.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "screens/panels/PanelScreen.h"
#include "world/GameScreen.h"
#include "world/GameViewState.h"

namespace {

// Sections 3002..3005 in either direction into the given objects.
template <class Fn>
bool ReadBytes(const std::vector<u8>& bytes, Fn&& read) {
    std::vector<u8> copy = bytes;
    CStream stream;
    stream.InitForReading(copy.data(), static_cast<u32>(copy.size()));
    return read(stream) && !stream.HasError();
}

}  // namespace

std::string FormatDayAndTime(u32 minutes) {
    const u32 day = minutes / 1440 + 1;
    const u32 hour = minutes / 60 % 24;
    const u32 hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[48];
    std::snprintf(text, sizeof text, "Day %u, %u:%02u %s", day, hour12, minutes % 60,
                  hour < 12 ? "am" : "pm");
    return text;
}

// ---- the game view's and the panels' sections ----

namespace {

// The save version as the view's reader takes it: one byte in the header, so nothing above 255 arrives.
u8 ViewVersion(u32 version) { return static_cast<u8>(std::min<u32>(version, 255)); }

// What the view's saved words hold beyond the place, the facing and the clock: the weather in the
// first three words and the two single ones, the prison in the first text and two further words, the
// fractions of the player's cell in the two mode words.
enum : size_t { kIntensity = 0, kTarget = 1, kTimer = 2 };
enum : size_t { kInPrison = 0, kPrisonArrival = 1 };
enum : size_t { kFractionX = 0, kFractionY = 1 };
constexpr u32 kMaxFraction = 0x10000;

}  // namespace

bool CGame::SerializeGameViewSection(CStream& stream, u32 version, CGameViewState& view) {
    return view.Serialize(stream, ViewVersion(version));
}

bool CGame::SerializePanelSection(CStream& stream, u32, CPanelState& state) {
    // Older saved games hold the tag alone (no room for a word): the panels start afresh then. A
    // record that short without its tag is damaged.
    if (!stream.IsWriting() && stream.GetCapacity() - stream.GetOffset() < 4) {
        state = CPanelState{};
        return stream.MatchByte('X') == 1 && !stream.HasError();
    }
    SerializePanelState(stream, state);
    return !stream.HasError();
}

CPanelScreen* CGame::GetPanelScreen() const { return dynamic_cast<CPanelScreen*>(GetScreen(kScreenPanels)); }

IPanelEntry* CGame::GetPanelEntry() { return GetPanelScreen(); }

void CGame::StoreGameViewState(CGameViewState& state) const {
    state.Reset();
    const CGameScreen* view = GetGameScreen();
    if (!view) return;
    view->StoreState(state);
    const CWeather& weather = view->weather;
    state.viewWords[kIntensity] = static_cast<u32>(weather.intensity);
    state.viewWords[kTarget] = static_cast<u32>(weather.target);
    state.viewWords[kTimer] = static_cast<u32>(weather.timer);
    state.viewWord = static_cast<u32>(weather.direction);
    state.viewWord2 = static_cast<u32>(weather.value);
    state.viewText.Assign(view->jailTarget.GetText());
    state.furtherWords[kInPrison] = view->gameClock.inPrison ? 1 : 0;
    state.furtherWords[kPrisonArrival] = view->gameClock.prisonArrival;
    state.modeWords[kFractionX] = view->fractionX;
    state.modeWords[kFractionY] = view->fractionY;
}

void CGame::RestoreGameViewState(const CGameViewState& state) {
    CGameScreen* view = GetGameScreen();
    if (!view) return;
    view->RestoreState(state);
    // Weather words from another build or a damaged file are brought into the weather's own ranges.
    CWeather& weather = view->weather;
    weather.Clear();
    weather.intensity = std::clamp(static_cast<i32>(state.viewWords[kIntensity]), 0, 999);
    weather.target = std::clamp(static_cast<i32>(state.viewWords[kTarget]), 0, 999);
    weather.timer = std::clamp(static_cast<i32>(state.viewWords[kTimer]), 0, CWeather::kClearTimer);
    weather.direction = std::clamp(static_cast<i32>(state.viewWord), -1, 1);
    weather.value = std::clamp(static_cast<i32>(state.viewWord2), 0, 99);
    view->jailTarget.Assign(state.viewText.GetText());
    view->gameClock.inPrison = state.furtherWords[kInPrison] != 0;
    view->gameClock.prisonArrival = state.furtherWords[kPrisonArrival];
    if (state.modeWords[kFractionX] <= kMaxFraction && state.modeWords[kFractionY] <= kMaxFraction) {
        view->fractionX = state.modeWords[kFractionX];
        view->fractionY = state.modeWords[kFractionY];
    }
}

void CGame::EnterSavedPlace(CWorld& world, CMapSection& section) {
    SetCurrentWorld(&world);
    CGameScreen* view = GetGameScreen();
    if (!view) return;
    view->world = &world;
    view->section = &section;
    // The view is entered as a running game's is (its first entry word 0): the window is filled around
    // the saved cell then, not at the start place of a new game.
    view->inGame = 1;
}

void CGame::ResetGameViewState() {
    if (CGameScreen* view = GetGameScreen()) view->ResetState();
}

u32 CGame::GameClockMinutes() const {
    const CGameScreen* view = GetGameScreen();
    return view ? view->gameClock.minutes : 0;
}

// The view keeps the picture; the screen over the view (the menu, the load and save screen) redraws
// itself after the save, over the view drawn for the picture.
void CGame::MakeGameViewThumbnail(u16* pixels) {
    static_assert(kThumbnailWidth * kThumbnailHeight == savegame::kThumbnailPixels);
    std::fill(pixels, pixels + savegame::kThumbnailPixels, u16(0));
    CGameScreen* view = GetGameScreen();
    if (!view || !view->MakeViewThumbnail()) return;
    std::copy(view->viewThumbnail.begin(), view->viewThumbnail.end(), pixels);
}

// ---- ISavedGameParts ----

void CGame::MakeThumbnail(u16* pixels) { MakeGameViewThumbnail(pixels); }

std::string CGame::DayAndTimeText() { return FormatDayAndTime(GameClockMinutes()); }

bool CGame::WritePart(u16 recordId, CStream& stream, CSaveStringTable& strings) {
    switch (recordId) {
    case savegame::kGlobalsRecord:
        if (worldLists) return worldLists->globals.Save(stream);
        stream.MatchByte(0x10);
        {
            u16 none = 0;
            stream.SerializeU16(none);
        }
        return !stream.HasError();
    case savegame::kPlayerRecord: return player.SerializeSaved(stream, strings, savegame::kSaveVersion);
    case savegame::kGameViewRecord: {
        CGameViewState view;
        StoreGameViewState(view);
        return SerializeGameViewSection(stream, savegame::kSaveVersion, view);
    }
    case savegame::kPanelsRecord: {
        CPanelState panels;
        if (const CPanelScreen* screen = GetPanelScreen()) panels = screen->state;
        return SerializePanelSection(stream, savegame::kSaveVersion, panels);
    }
    default: return false;
    }
}

bool CGame::ReadPart(u16 recordId, CStream& stream, const CSaveStringTable& strings, u32 version) {
    std::vector<u8> bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetCapacity());
    CSaveStringTable names = strings;
    bool ok = false;
    switch (recordId) {
    case savegame::kGlobalsRecord: {
        CGlobalVarList scratch;  // holds no variables: every value is read and dropped
        ok = ReadBytes(bytes, [&](CStream& s) { return scratch.Restore(s); });
        break;
    }
    case savegame::kPlayerRecord: {
        CPlayer scratch;
        scratch.SetWorld(player.GetWorld());
        ok = ReadBytes(bytes, [&](CStream& s) { return scratch.SerializeSaved(s, names, version); });
        scratch.ForgetWorld();
        break;
    }
    case savegame::kGameViewRecord: {
        CGameViewState scratch;
        ok = ReadBytes(bytes, [&](CStream& s) { return SerializeGameViewSection(s, version, scratch); });
        break;
    }
    case savegame::kPanelsRecord: {
        CPanelState scratch;
        ok = ReadBytes(bytes, [&](CStream& s) { return SerializePanelSection(s, version, scratch); });
        break;
    }
    default: break;
    }
    if (!ok) return false;
    waitingParts_[recordId] = std::move(bytes);
    waitingStrings_ = std::move(names);
    waitingVersion_ = version;
    return true;
}

void CGame::DiscardParts() {
    waitingParts_.clear();
    waitingStrings_.Reset();
}

bool CGame::ResetForLoad() {
    ResetWorld();
    ResetGameViewState();
    if (!OpenGameDatabases(nullptr)) return false;
    player.ResetToDefaults();
    return true;
}

void CGame::CommitParts() {
    // The same bytes that passed the checks: the readers cannot fail on them now, and what they drop
    // (names the new tables lack) is dropped the same way.
    for (auto& part : waitingParts_) {
        const u16 id = part.first;
        ReadBytes(part.second, [&](CStream& s) {
            switch (id) {
            case savegame::kGlobalsRecord: return worldLists && worldLists->globals.Restore(s);
            case savegame::kPlayerRecord: return player.SerializeSaved(s, waitingStrings_, waitingVersion_);
            case savegame::kGameViewRecord: {
                CGameViewState view;
                if (!SerializeGameViewSection(s, waitingVersion_, view)) return false;
                RestoreGameViewState(view);
                return true;
            }
            case savegame::kPanelsRecord: {
                CPanelState panels;
                if (!SerializePanelSection(s, waitingVersion_, panels)) return false;
                if (CPanelScreen* screen = GetPanelScreen()) screen->state = panels;
                return true;
            }
            default: return false;
            }
        });
    }
    DiscardParts();
    if (CGameScreen* view = GetGameScreen()) view->inGame = 1;
}

void CGame::PlacePlayer(u32 x, u32 y) {
    CGameScreen* view = GetGameScreen();
    if (!view || x >= CGameViewState::kWindowSize || y >= CGameViewState::kWindowSize) return;
    view->playerX = static_cast<i32>(x);
    view->playerY = static_cast<i32>(y);
}
