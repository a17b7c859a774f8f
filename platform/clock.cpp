#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

ClockState tickClock;

namespace {

const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

}  // namespace

Tick RealTickCount() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 kProgramStart)
        .count();
}

Tick GetTickCount() {
    const Tick now = tickClock.source ? tickClock.source() : RealTickCount();
    if (tickClock.observer) {
        tickClock.observer(now);
    }
    return now;
}

void SleepMilliseconds(double milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(milliseconds));
    }
}

FakeClock::FakeClock(Tick start) : now_(start), previous_(tickClock.source) {
    tickClock.source = [this] { return now_; };
}

FakeClock::~FakeClock() { tickClock.source = previous_; }

}  // namespace platform
