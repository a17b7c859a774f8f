// The soak: the game plays the recorded flights under tests/replays over and over, in one
// process and headless, the way a player plays game after game in one sitting. Each flight's
// key presses drive a new game on the flight's level, on a clock that moves 1/60 s a frame;
// when they run out the player quits with Escape and Y (and Return, past a won game's
// initials and table). After every round (all flights once) the leak checker looks for memory
// nothing points to any more; the resident memory is printed after the first round, once every
// picture and buffer of those levels exists, and at the end.
//
//   starwake_soak MINUTES FLIGHT.rpl...
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "common/number_text.h"
#include "common/replay_file.h"
#include "common/scancodes.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/replay.h"
#include "platform/app.h"
#include "platform/clock.h"

namespace {

struct Flight {
    std::string path;
    common::Replay replay;
};

// The flight being played: which frame, and which poll within it.
struct SoakState {
    const Flight* flight = nullptr;
    std::size_t frame = 0;
    std::size_t poll = 0;
    std::size_t quitPolls = 0;  // polls since the flight's keys ran out
    std::uint64_t framesPlayed = 0;
    platform::FakeClock* clock = nullptr;
};
SoakState soak;

// A quitting player gives up if the game has not ended this long after the flight's keys ran
// out (a minute of frames): something keeps the game from ending.
constexpr std::size_t kQuitFrames = 3600;

[[noreturn]] void GiveUp() {
    std::fprintf(stderr, "soak: %s: the game did not end after the quit keys; stopped\n", soak.flight->path.c_str());
    std::exit(2);
}

// A screen that waits inside one frame for the keys to be let go (a won game's score) polls
// on past what the flight recorded for that frame: there the flight's keys are over.
constexpr std::size_t kWaitingPolls = 50;

void FeedKeys(std::array<bool, 256>& keyState) {
    const std::vector<common::ReplayFrame>& frames = soak.flight->replay.frames;
    keyState.fill(false);
    if (soak.frame < frames.size() && soak.poll > frames[soak.frame].inputs.size() + kWaitingPolls) {
        soak.frame = frames.size();
    }
    if (soak.frame < frames.size()) {
        const std::vector<common::KeySnapshot>& inputs = frames[soak.frame].inputs;
        if (!inputs.empty()) {
            const common::KeySnapshot& keys = inputs[std::min(soak.poll, inputs.size() - 1)];
            for (std::size_t code = 0; code < keyState.size(); ++code) {
                keyState[code] = keys[code];
            }
        }
    } else {
        // Escape and Y held leave a game; Return pressed and let go in turn gets through the
        // initials and the table after a won game.
        keyState[common::kKeyEscape] = true;
        keyState[common::kKeyY] = true;
        keyState[common::kKeyReturn] = (soak.quitPolls / 10) % 2 == 1;
        if (++soak.quitPolls > kQuitFrames * 10) {
            GiveUp();
        }
    }
    ++soak.poll;
}

void EndFrame() {
    ++soak.frame;
    ++soak.framesPlayed;
    soak.poll = 0;
    // Sixty frames a second: 16 or 17 milliseconds.
    soak.clock->Advance(soak.frame % 3 == 2 ? 16 : 17);
    if (soak.frame > soak.flight->replay.frames.size() + kQuitFrames) {
        GiveUp();
    }
}

// One new game driven by the flight, up to the player's quitting, as the main loop runs one.
void PlayFlight(const Flight& flight) {
    soak.flight = &flight;
    soak.frame = 0;
    soak.poll = 0;
    soak.quitPolls = 0;
    const common::ReplayHeader& header = flight.replay.header;
    for (std::size_t i = 0; i < header.keyCodes.size(); ++i) {
        input::dinput.keyCodes[i] = header.keyCodes[i];
    }
    platform::app.arguments = header.words;
    shell::flow.startLevel = shell::StartLevelFromWords(header.words);
    // What the main menu does before it starts a game.
    graphics::SetSpriteScale(0.75f, 0.75f);
    shell::PlayOneGame();
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

// True when the leak checker found memory that nothing points to (its report is on standard
// error); false too when the build has no leak checker.
bool LeaksNow() {
#if defined(__SANITIZE_ADDRESS__)
    return __lsan_do_recoverable_leak_check() != 0;
#else
    return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const auto minutes = argc >= 3 ? common::ParseNumber(argv[1]) : std::nullopt;
    if (!minutes || *minutes <= 0) {
        std::fprintf(stderr, "usage: starwake_soak MINUTES FLIGHT.rpl...\n");
        return 2;
    }
    std::vector<Flight> flights;
    for (int i = 2; i < argc; ++i) {
        std::string error;
        auto replay = common::LoadReplayFile(argv[i], &error);
        if (replay && replay->frames.empty()) {
            replay.reset();
            error = std::string(argv[i]) + ": the replay holds no frames";
        }
        if (!replay) {
            std::fprintf(stderr, "soak: %s\n", error.c_str());
            return 2;
        }
        flights.push_back({argv[i], std::move(*replay)});
    }

    static char name[] = "corvane";
    char* gameArguments[] = {name, nullptr};
    platform::SetCommandLine(1, gameArguments);
    platform::SetProgramFolder(STARWAKE_PROGRAM_DIR);
    shell::runOptions.uncapped = true;
    if (!shell::StartUp()) {
        std::fprintf(stderr, "soak: the game did not start\n");
        return 1;
    }
    platform::FakeClock clock(50000);
    soak.clock = &clock;
    input::dinput.pollObserver = FeedKeys;
    graphics::dxgfx.frameEnded = EndFrame;

#if defined(__SANITIZE_ADDRESS__)
    std::printf("soak: %zu flights for %g minutes, leak checking after every round\n", flights.size(), *minutes);
#else
    std::printf("soak: %zu flights for %g minutes; not a sanitizer build: no leak checking\n",
                flights.size(), *minutes);
#endif
    const platform::Tick started = platform::RealTickCount();
    const platform::Tick end = started + static_cast<platform::Tick>(*minutes * 60000.0);
    long residentAtStart = 0;
    int rounds = 0;
    int leakyRounds = 0;
    do {
        // The scores show that the flights are played, not only shown.
        std::string scores;
        for (const Flight& flight : flights) {
            const std::uint64_t framesBefore = soak.framesPlayed;
            PlayFlight(flight);
            // A game that never reached its first frame (its level or data did not load) would
            // make the soak a loop of start-up failures that reads as a pass.
            if (soak.framesPlayed == framesBefore) {
                std::fprintf(stderr, "soak: %s: the game played no frame of it (see the messages above); stopped\n",
                             flight.path.c_str());
                return 2;
            }
            scores += (scores.empty() ? "" : " ") + std::to_string(shell::counters.score);
        }
        ++rounds;
        const bool leaks = LeaksNow();
        leakyRounds += leaks ? 1 : 0;
        const long resident = ResidentKilobytes();
        if (rounds == 1) {
            residentAtStart = resident;
        }
        std::printf("round %d: scores %s, %llu frames in all, %.1f minutes, resident %ld kB%s\n",
                    rounds, scores.c_str(), static_cast<unsigned long long>(soak.framesPlayed),
                    static_cast<double>(platform::RealTickCount() - started) / 60000.0, resident,
                    leaks ? ", LEAKS (see the report above)" : "");
        std::fflush(stdout);
    } while (platform::RealTickCount() < end);

    const long residentAtEnd = ResidentKilobytes();
    const double growth = residentAtStart > 0
                              ? 100.0 * static_cast<double>(residentAtEnd - residentAtStart) /
                                    static_cast<double>(residentAtStart)
                              : 0.0;
    std::printf("soak: %d rounds, %llu frames; leaks found in %d rounds; resident memory %ld kB "
                "at the start (after round 1), %ld kB at the end: %+.2f %%\n",
                rounds, static_cast<unsigned long long>(soak.framesPlayed), leakyRounds,
                residentAtStart, residentAtEnd, growth);
    // The game's own shutdown; the leak checker looks once more as the process ends.
    shell::Shutdown(leakyRounds > 0 ? 1 : 0);
}
