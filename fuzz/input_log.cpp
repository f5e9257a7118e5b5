// Arbitrary bytes as a recorded input log: the reader either refuses them with the line named or
// gives events that write back to lines reading to the same events; a seed comment found in them
// writes back to the same seed.
#include "app/InputLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The seed comment: found or not, read without running off the text; a found one writes back.
    u32 seed = 0;
    if (FindLoggedSeed(text, seed)) {
        u32 again = 0;
        if (!FindLoggedSeed("# seed " + std::to_string(seed) + "\n", again) || again != seed) std::abort();
    }
    std::vector<CInputLogEvent> events;
    std::string error;
    if (!ParseInputLog(text, events, error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    std::string written;
    for (const CInputLogEvent& event : events) written += FormatInputLogEvent(event) + "\n";
    std::vector<CInputLogEvent> again;
    if (!ParseInputLog(written, again, error) || again != events) std::abort();
    return 0;
}
