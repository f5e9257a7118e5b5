// Arbitrary bytes as a recorded input log: the reader either refuses them with the line named or
// gives events that write back to lines reading to the same events.
#include "app/InputLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
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
