// Reads arbitrary bytes as the game view's saved section at the two save versions: the read either
// fails or gives a state with the player's cell inside the window, a facing on a quarter and mode 1,
// which writes and reads back the same.
#include "core/Stream.h"
#include "world/GameViewState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > CStream::kMaxRecordSize) return 0;
    std::vector<u8> bytes(data, data + size);
    for (u8 version : {u8{98}, u8{122}}) {
        CStream in;
        in.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        CGameViewState state;
        if (!state.Serialize(in, version)) continue;
        if (state.cellX >= 35 || state.cellY >= 35 || state.facing % 90 != 0 || state.facing >= 360 ||
            state.screenMode != 1)
            __builtin_trap();
        CStream out;
        out.InitForWriting();
        if (!state.Serialize(out, 122)) __builtin_trap();
        std::vector<u8> written(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
        CStream again;
        again.InitForReading(written.data(), static_cast<u32>(written.size()));
        CGameViewState back;
        if (!back.Serialize(again, 122) || back.clock != state.clock || back.cellX != state.cellX) __builtin_trap();
    }
    return 0;
}
