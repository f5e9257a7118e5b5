#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace plat {
namespace {

class RealClock final : public Clock {
public:
    uint32_t TickCount() override {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int64_t Time() override { return static_cast<int64_t>(std::time(nullptr)); }
};

std::atomic<Clock*> g_clock{nullptr};

}  // namespace

Clock& SystemClock() {
    static RealClock clock;
    return clock;
}

Clock& CurrentClock() {
    Clock* clock = g_clock.load(std::memory_order_acquire);
    return clock ? *clock : SystemClock();
}

void SetClock(Clock* clock) { g_clock.store(clock, std::memory_order_release); }

}  // namespace plat
