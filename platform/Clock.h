// Time services of the platform layer. Game code asks these for the millisecond tick, for short
// blocking pauses and for the calendar time; a test installs its own clock so that nothing really
// sleeps and every tick is known.
#pragma once

#include <cstdint>
#include <vector>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32 like the handheld's tick count.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // Seconds since 1970-01-01, for seeds and database dates.
    virtual int64_t Time() = 0;
};

// A clock for tests: time moves only when the test (or a Sleep) moves it.
class ManualClock final : public Clock {
public:
    uint32_t TickCount() override { return tick_; }
    void Sleep(uint32_t ms) override {
        tick_ += ms;
        slept_ += ms;
        ++sleeps_;
        sleepLog_.push_back(ms);
    }
    int64_t Time() override { return seconds_; }

    void Advance(uint32_t ms) { tick_ += ms; }
    void SetTick(uint32_t tick) { tick_ = tick; }
    void SetTime(int64_t seconds) { seconds_ = seconds; }
    uint64_t TotalSlept() const { return slept_; }
    uint32_t SleepCount() const { return sleeps_; }
    // Every pause asked for since the last ClearSleepLog, in order.
    const std::vector<uint32_t>& SleepLog() const { return sleepLog_; }
    void ClearSleepLog() { sleepLog_.clear(); }

private:
    uint32_t tick_ = 0;
    int64_t seconds_ = 0;
    uint64_t slept_ = 0;
    uint32_t sleeps_ = 0;
    std::vector<uint32_t> sleepLog_;
};

Clock& SystemClock();
// The clock that game code uses; the system clock unless a test installed another one.
Clock& CurrentClock();
void SetClock(Clock* clock);  // null restores the system clock

inline uint32_t TickCount() { return CurrentClock().TickCount(); }
inline void Sleep(uint32_t ms) { CurrentClock().Sleep(ms); }
inline int64_t Time() { return CurrentClock().Time(); }

// Installs a clock for the lifetime of a scope (tests).
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace plat
