// Arbitrary bytes as the panel's section of a saved game: read them, write what was read and read that
// again. A short or damaged section may only set the stream's error; a written section reads back to
// the same words.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/Stream.h"
#include "screens/panels/PanelScreen.h"

namespace {

bool Same(const CPanelState& a, const CPanelState& b) {
    return a.page == b.page && a.savedPage == b.savedPage && a.characterPage == b.characterPage &&
           a.detailMode == b.detailMode && a.itemFilter == b.itemFilter && a.effectsFilter == b.effectsFilter &&
           a.questFilter == b.questFilter && a.spellPage == b.spellPage;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<u8> bytes(data, data + size);
    CStream in;
    in.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CPanelState read;
    SerializePanelState(in, read);
    if (in.GetOffset() > bytes.size()) __builtin_trap();

    CStream out;
    out.InitForWriting();
    SerializePanelState(out, read);
    std::vector<u8> written(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
    CStream again;
    again.InitForReading(written.data(), static_cast<u32>(written.size()));
    CPanelState back;
    SerializePanelState(again, back);
    if (again.HasError() || !Same(read, back)) __builtin_trap();
    return 0;
}
