// The millisecond clock every timer of the game reads. It counts from program start in 64 bits,
// so no timer wraps in a long session. Tests and replays put their own source in its place.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

using Tick = std::int64_t;  // milliseconds

struct ClockState {
    std::function<Tick()> source;  // replaces the real clock when set (fake clock, replay)
    std::function<void(Tick)> observer;  // sees every value read (replay recording)
};
extern ClockState tickClock;

// Milliseconds since the program started (the game's GetTickCount).
Tick GetTickCount();

// Milliseconds from the real monotonic clock, whatever source is installed.
Tick RealTickCount();

// Sleeps the calling thread for about this many milliseconds (0 or less returns at once).
void SleepMilliseconds(double milliseconds);

// A clock for tests: time moves only when the test says so.
class FakeClock {
public:
    explicit FakeClock(Tick start = 1000);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Advance(Tick milliseconds) { now_ += milliseconds; }
    void Set(Tick now) { now_ = now; }
    Tick Now() const { return now_; }

private:
    Tick now_;
    std::function<Tick()> previous_;
};

}  // namespace platform
