#include "tests/support/key_script.h"

#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/window.h"

namespace test_support {

namespace {

// Thrown through the screen loops when a script is used up; no game code catches it.
struct ScriptRanOut {};

// One window timer for the whole test program, pointed at the running script.
std::function<void()> pumpHandler;

void UsePumpHandler(std::function<void()> handler) {
    static const platform::TimerId timer = platform::CreateWindowTimer(0, [] {
        if (pumpHandler) {
            pumpHandler();
        }
    });
    pumpHandler = std::move(handler);
    platform::EnableWindowTimer(timer, static_cast<bool>(pumpHandler));
}

}  // namespace

KeyScript::KeyScript(platform::FakeClock& clock, platform::Tick msPerPump) : clock_(clock), msPerPump_(msPerPump) {}

KeyScript& KeyScript::Hold(std::vector<int> keys, int pumps) {
    steps_.push_back({std::move(keys), pumps, nullptr});
    return *this;
}

KeyScript& KeyScript::Tap(const std::vector<int>& keys, int idlePumps, int times) {
    for (int i = 0; i < times; ++i) {
        Hold(keys, 1).Hold({}, idlePumps);
    }
    return *this;
}

KeyScript& KeyScript::HoldUntil(std::vector<int> keys, std::function<bool()> done, int maxPumps) {
    steps_.push_back({std::move(keys), maxPumps, std::move(done)});
    return *this;
}

KeyScript& KeyScript::Watch(std::function<void(int pump)> watcher) {
    watchers_.push_back(std::move(watcher));
    return *this;
}

void KeyScript::Press(const std::vector<int>& keys) {
    for (int key : held_) {
        platform::ScriptKey(key, false);
    }
    held_ = keys;
    for (int key : held_) {
        platform::ScriptKey(key, true);
    }
}

void KeyScript::OnPump() {
    if (step_ >= steps_.size()) {
        throw ScriptRanOut{};
    }
    ++pumps_;
    clock_.Advance(msPerPump_);
    for (const auto& watcher : watchers_) {
        watcher(pumps_);
    }
    ++stepPumps_;
    const Step& step = steps_[step_];
    const bool done = step.done ? step.done() : false;
    if (step.done && !done && stepPumps_ >= step.pumps) {
        throw ScriptRanOut{};
    }
    if (done || stepPumps_ >= step.pumps) {
        ++step_;
        stepPumps_ = 0;
        // Used up: the code may still return in this pass; at the next pump it has run out.
        Press(step_ < steps_.size() ? steps_[step_].keys : std::vector<int>{});
    }
}

bool KeyScript::Run(const std::function<void()>& code) {
    if (steps_.empty()) {
        ADD_FAILURE() << "a key script without steps";
        return false;
    }
    platform::ScriptKeyboard(true);
    step_ = 0;
    stepPumps_ = 0;
    Press(steps_[0].keys);
    UsePumpHandler([this] { OnPump(); });
    bool finished = true;
    try {
        code();
    } catch (const ScriptRanOut&) {
        finished = false;
        ADD_FAILURE() << "the key script ran out after " << pumps_ << " passes (at step " << step_ + 1 << " of "
                      << steps_.size() << ") before the screen returned";
    }
    UsePumpHandler(nullptr);
    Press({});
    return finished;
}

}  // namespace test_support
