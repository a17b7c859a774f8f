#include "game/autopilot/autopilot.h"

#include <algorithm>
#include <cstdio>

#include "common/scancodes.h"
#include "game/input/dinput.h"
#include "game/shell/game_flow.h"

namespace autopilot {

AutopilotState pilot;

namespace {

// A level not cleared in this much game time is given up, and the game left.
constexpr double kLevelTimeLimit = 480;

void Set(std::array<bool, 256>& keyState, const GameView& view, input::Action action, bool down) {
    const int code = view.keyCodes[static_cast<std::size_t>(action)];
    if (code > 0 && code < static_cast<int>(keyState.size())) {
        keyState[static_cast<std::size_t>(code)] = down;
    }
}

void Press(std::array<bool, 256>& keyState, const GameView& view, const FlightKeys& k) {
    Set(keyState, view, input::Action::kUp, k.up);
    Set(keyState, view, input::Action::kDown, k.down);
    Set(keyState, view, input::Action::kTurnLeft, k.turnLeft);
    Set(keyState, view, input::Action::kTurnRight, k.turnRight);
    Set(keyState, view, input::Action::kFire, k.fire);
    Set(keyState, view, input::Action::kStrafeLeft, k.strafeLeft);
    Set(keyState, view, input::Action::kStrafeRight, k.strafeRight);
}

void Press(std::array<bool, 256>& keyState, const GameView& view, const MenuKeys& k) {
    FlightKeys flight;
    flight.up = k.up;
    flight.down = k.down;
    flight.turnLeft = k.turnLeft;
    flight.turnRight = k.turnRight;
    flight.fire = k.fire;
    Press(keyState, view, flight);
    keyState[common::kKeyReturn] = k.enter;
}

void CloseLevel(AutopilotState& m, bool cleared, std::int32_t money) {
    m.lines.push_back(LevelLine(m.figures, cleared, money));
    m.levelOpen = false;
    m.secondsFlown += m.figures.seconds;
    if (cleared) {
        ++m.levelsCleared;
        m.won = m.figures.level == shell::kLastLevel;
    }
    // One chosen level is played; the game is left when it is done.
    if (m.oneLevel) m.leaving = true;
}

// The level's figures, from its first frame of play until its world is empty or the game is
// over.
void Account(const GameView& view, AutopilotState& m, bool flying) {
    const shell::GameCounters& c = view.counters;
    const bool emptied = flying && view.world.colObjects.empty();
    if (m.levelOpen && c.level != m.figures.level) {
        CloseLevel(m, true, c.money);
    }
    if (!m.levelOpen && flying && !emptied && !view.window.gameOver && !m.leaving) {
        m.levelOpen = true;
        m.figures = LevelFigures{};
        m.figures.level = c.level;
        m.lastHealth = c.health;
        m.lastMoney = c.money;
    }
    if (!m.levelOpen) return;
    if (c.health < m.lastHealth) {
        m.figures.damage += m.lastHealth - c.health;
        if (c.health == 0) {
            ++m.figures.ships;
            ++m.shipsLost;
        }
    }
    if (c.money > m.lastMoney && flying) m.figures.earned += c.money - m.lastMoney;
    m.lastHealth = c.health;
    m.lastMoney = c.money;
    if (flying) {
        m.figures.seconds += view.frameTimer.frameScale / 60.0;
        // New shots are those not seen at the last poll.
        m.shotsNow.clear();
        for (const world::ObjectHandle& o : view.world.colObjects) {
            if (o->IsWeapon) m.shotsNow.push_back(o.get());
        }
        std::sort(m.shotsNow.begin(), m.shotsNow.end());
        for (const world::cObject* shot : m.shotsNow) {
            if (!std::binary_search(m.shotsSeen.begin(), m.shotsSeen.end(), shot)) ++m.figures.shots;
        }
        std::swap(m.shotsSeen, m.shotsNow);
    }
    // Cleared once nothing is left in the world; lost with the last ship or the time.
    if (emptied) {
        CloseLevel(m, true, c.money);
    } else if (view.window.gameOver) {
        CloseLevel(m, false, c.money);
    } else if (m.figures.seconds > kLevelTimeLimit) {
        CloseLevel(m, false, c.money);
        m.leaving = true;
    }
}

}  // namespace

void Engage(bool oneLevel) {
    pilot = AutopilotState{};
    pilot.engaged = true;
    pilot.oneLevel = oneLevel;
}

std::string LevelLine(const LevelFigures& f, bool cleared, std::int32_t money) {
    char line[200];
    std::snprintf(line, sizeof line, "level %d cleared=%d seconds=%.2f damage=%d ships=%d shots=%d money=%d earned=%d",
                  f.level, cleared ? 1 : 0, f.seconds, f.damage, f.ships, f.shots, money, f.earned);
    return line;
}

void Decide(const GameView& view, AutopilotState& m, std::array<bool, 256>& keyState) {
    if (view.screenLoop.showing != screens::Screen::kNone) {
        Account(view, m, false);
        if (view.screenLoop.showing == screens::Screen::kMainMenu && m.played && !m.gameReported) {
            m.gameReported = true;
            char line[160];
            std::snprintf(line, sizeof line, "game won=%d score=%d ships=%d levels=%d seconds=%.2f", m.won ? 1 : 0,
                          view.counters.score, m.shipsLost, m.levelsCleared, m.secondsFlown);
            m.lines.emplace_back(line);
        }
        Press(keyState, view, OnScreen(view, m.played, m.leaving, m.menu));
        return;
    }
    m.played = true;
    m.menu = MenuMemory{};
    if (view.window.quitRequested) {
        // The game asks whether to quit: only when the pilot meant to leave.
        Press(keyState, view, FlightKeys{});
        keyState[common::kKeyY] = m.leaving;
        return;
    }
    Account(view, m, true);
    if (m.leaving) {
        Press(keyState, view, FlightKeys{});
        keyState[common::kKeyEscape] = true;
        return;
    }
    Press(keyState, view, Fly(view, m.flight));
}

void OnInputPoll(std::array<bool, 256>& keyState) {
    if (!pilot.engaged) return;
    Decide(LiveView(), pilot, keyState);
    for (const std::string& line : pilot.lines) {
        std::printf("autopilot: %s\n", line.c_str());
    }
    if (!pilot.lines.empty()) std::fflush(stdout);
    pilot.lines.clear();
}

}  // namespace autopilot
