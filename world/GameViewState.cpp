#include "world/GameViewState.h"

#include "core/Stream.h"

void CGameViewState::Reset() { *this = CGameViewState{}; }

bool CGameViewState::Serialize(CStream& stream, u8 version) {
    const bool reading = !stream.IsWriting();
    if (reading) Reset();
    stream.MatchByte(kTag);
    stream.SerializeU32(facing);
    stream.SerializeU32(cellX);
    stream.SerializeU32(cellY);
    for (u32& w : viewWords) stream.SerializeU32(w);
    stream.SerializeU32(clock);
    stream.SerializeU32(viewWord);
    stream.SerializeStr(viewText);
    stream.SerializeU32(viewWord2);
    if (!reading || version >= kFurtherWordsVersion)
        for (u32& w : furtherWords) stream.SerializeU32(w);
    stream.SerializeU32(screenMode);
    for (u32& w : modeWords) stream.SerializeU32(w);
    stream.SerializeStr(viewText2);
    if (!reading) return !stream.HasError();
    // The cell indexes the window's cells: a damaged one must not be used.
    if (stream.HasError() || cellX >= kWindowSize || cellY >= kWindowSize) {
        Reset();
        return false;
    }
    facing = facing % 360 / 90 * 90;
    screenMode = 1;
    return true;
}
