// Scripted flights: the game played headless with keys pressed by a plan and a clock that
// moves 1/60 s a frame, recorded as a replay. The whole-game tests compare such a recording
// with its playback by the real program; the regression flights under tests/replays are made
// with them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace test_support {

// Which keys are down in a frame, by scan code.
using KeyPlan = std::function<std::vector<int>(int frame)>;

// A flight that thrusts, turns, strafes and fires in turns, for the whole game.
std::vector<int> BusyFlightPlan(int frame);

struct Flight {
    std::vector<std::string> trace;  // one line per frame, as --trace writes them
    std::uint64_t digest = 0;        // the game's state after the last frame
};

// Records `frames` frames of a new game on `level` into path.
Flight RecordFlight(const std::filesystem::path& path, int level, int frames, const KeyPlan& plan);

// Runs the real program (from the build's program folder unless another is named) on a replay;
// its standard output and exit status.
struct ProgramRun {
    int status = -1;
    std::string output;
};
ProgramRun RunCorvane(const std::vector<std::string>& arguments, const std::filesystem::path& folder = {});

// The digest a timedemo printed, or 0 when it printed none.
std::uint64_t PrintedDigest(const std::string& output);

}  // namespace test_support
