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
#include "display/ViewState.h"
#include "world/GameScreen.h"

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

// ---- the sections still waiting for their owners ----

bool CSavedViewSection::Serialize(CStream& s, u32 version) {
    s.MatchByte('W');
    for (u32* word : {&facing, &x, &y, &words[0], &words[1], &words[2], &clock, &words[3]})
        s.SerializeU32(*word);
    s.SerializeStr(text);
    s.SerializeU32(words[4]);
    if (s.IsWriting() || version > 98)
        for (u32* word : {&words[5], &words[6], &words[7]}) s.SerializeU32(*word);
    s.SerializeU32(screenMode);
    s.SerializeU32(words[8]);
    s.SerializeU32(words[9]);
    s.SerializeStr(text2);
    if (!s.IsWriting()) {
        facing -= facing % 90;
        screenMode = 1;
        // The cell indexes the 35 x 35 cell window: one outside it is damage, not a place.
        if (x >= 35 || y >= 35) return false;
    }
    return !s.HasError();
}

bool CGame::SerializeGameViewSection(CStream& stream, u32 version, CSavedViewSection& view) {
    return view.Serialize(stream, version);
}

bool CGame::SerializePanelSection(CStream& stream, u32) {
    // The panel screen keeps no state of its own yet: the section is its tag alone.
    stream.MatchByte('X');
    return !stream.HasError();
}

void CGame::ResetGameViewState() { viewSection = CSavedViewSection(); }

u32 CGame::GameClockMinutes() const { return viewSection.clock; }

void CGame::MakeGameViewThumbnail(u16* pixels) {
    std::fill(pixels, pixels + savegame::kThumbnailPixels, u16(0));
    const CViewState* state = GetViewState();
    if (!state || !state->frameBuffer.pixels) return;
    const CFrameBufferDesc& frame = state->frameBuffer;
    // The 3D view's rectangle of the frame, or the whole frame when it has none, sampled down.
    i64 x0 = state->viewX, y0 = state->viewY, w = state->viewWidth, h = state->viewHeight;
    if (w <= 0 || h <= 0 || x0 + w > frame.width || y0 + h > frame.height) {
        x0 = y0 = 0;
        w = frame.width;
        h = frame.height;
    }
    if (w <= 0 || h <= 0 || frame.pitch < frame.width) return;
    for (u32 ty = 0; ty < savegame::kThumbnailHeight; ++ty)
        for (u32 tx = 0; tx < savegame::kThumbnailWidth; ++tx) {
            const i64 sx = x0 + static_cast<i64>(tx) * w / savegame::kThumbnailWidth;
            const i64 sy = y0 + static_cast<i64>(ty) * h / savegame::kThumbnailHeight;
            pixels[ty * savegame::kThumbnailWidth + tx] = frame.pixels[sy * frame.pitch + sx];
        }
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
    case savegame::kGameViewRecord:
        return SerializeGameViewSection(stream, savegame::kSaveVersion, viewSection);
    case savegame::kPanelsRecord: return SerializePanelSection(stream, savegame::kSaveVersion);
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
        CSavedViewSection scratch;
        ok = ReadBytes(bytes, [&](CStream& s) { return SerializeGameViewSection(s, version, scratch); });
        break;
    }
    case savegame::kPanelsRecord:
        ok = ReadBytes(bytes, [&](CStream& s) { return SerializePanelSection(s, version); });
        break;
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
            case savegame::kGameViewRecord: return SerializeGameViewSection(s, waitingVersion_, viewSection);
            case savegame::kPanelsRecord: return SerializePanelSection(s, waitingVersion_);
            default: return false;
            }
        });
    }
    DiscardParts();
    if (CGameScreen* view = GetGameScreen()) view->inGame = 1;
}

void CGame::PlacePlayer(u32 x, u32 y) {
    viewSection.x = x;
    viewSection.y = y;
}
