// Scripted passes of the screen loops. Every pass of every screen loop, the game frame and
// every wait for keys to be let go end with the message pump; a window timer due at every
// pump runs the script there. Each step of a script holds some keys for a number of pumps
// (or until a condition holds), the fake clock moves on at every pump, and watchers see the
// state after each pass. A screen still running one pass after the script is used up is
// stopped, so a test fails rather than hangs.
#pragma once

#include <functional>
#include <vector>

#include "platform/clock.h"

namespace test_support {

// Idle passes at 10 ms a pass after which the screens' 250 ms key repeat has run out.
inline constexpr int kRepeatPumps = 26;

class KeyScript {
public:
    KeyScript(platform::FakeClock& clock, platform::Tick msPerPump);

    // Holds these keys (scan codes) for this many passes.
    KeyScript& Hold(std::vector<int> keys, int pumps);
    // Presses these keys for one pass, then nothing for idlePumps passes; `times` over.
    KeyScript& Tap(const std::vector<int>& keys, int idlePumps, int times = 1);
    // Holds these keys until done() is true after a pass; at most maxPumps passes, which
    // counts as running out.
    KeyScript& HoldUntil(std::vector<int> keys, std::function<bool()> done, int maxPumps = 20000);
    // Runs after every pass with the pass's number (1, 2, ...).
    KeyScript& Watch(std::function<void(int pump)> watcher);

    // Runs code (a screen, one game, the outer loop) under the script. False, with a test
    // failure, when the script ran out before the code returned.
    bool Run(const std::function<void()>& code);

    int pumps() const { return pumps_; }
    // The step being played (0 for the first), for watchers that act in some steps only.
    std::size_t step() const { return step_; }

private:
    struct Step {
        std::vector<int> keys;
        int pumps = 0;
        std::function<bool()> done;  // ends the step early; reaching the pump limit first is running out
    };
    void OnPump();
    void Press(const std::vector<int>& keys);

    platform::FakeClock& clock_;
    platform::Tick msPerPump_;
    std::vector<Step> steps_;
    std::vector<std::function<void(int)>> watchers_;
    std::size_t step_ = 0;
    int stepPumps_ = 0;
    int pumps_ = 0;
    std::vector<int> held_;
};

// For watchers: a value at every change and the tick it changed at.
template <typename Value>
struct Changes {
    std::vector<Value> values;
    std::vector<platform::Tick> ticks;
    void See(Value value, platform::Tick now) {
        if (values.empty() || values.back() != value) {
            values.push_back(value);
            ticks.push_back(now);
        }
    }
};

}  // namespace test_support
