// Recording a run and showing it again exactly. A run reads the outside world through two
// seams only: the clock and the input poll (chance comes from the game's own generator, whose
// seeds come from the clock). Recording keeps, frame by frame, every clock value read and the
// key table after every poll; playback feeds them back in the same order. A frame ends where
// the game presents one.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/replay_file.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace shell {

enum class ReplayMode { kOff, kRecord, kPlay, kTimedemo };

// What the command line asked for.
struct RunOptions {
    ReplayMode mode = ReplayMode::kOff;
    std::string replayPath;          // --record, --play or --timedemo FILE
    std::string tracePath;           // --trace FILE (with --play or --timedemo)
    bool uncapped = false;           // --uncapped: no 60 Hz cap
    bool frameClock = false;         // --frame-clock: the clock moves 1/60 s per frame shown
    bool autopilot = false;          // --autopilot: the bot presses the keys
    // --windowed or --fullscreen, the last one given; neither leaves it to CORVANE_WINDOWED.
    platform::StartMode screen = platform::StartMode::kFromEnvironment;
    std::vector<std::string> words;  // everything else: the words the game itself sees
};

// The options of this run (set by the program's entry before start-up).
extern RunOptions runOptions;

// Reads the command line. False, with *error, for a switch without its file or --trace
// without a replay to trace.
bool ParseRunOptions(const std::vector<std::string>& arguments, RunOptions* options,
                     std::string* error);

struct ReplayState {
    ReplayMode mode = ReplayMode::kOff;
    std::string path;
    // Recording.
    std::unique_ptr<common::ReplayEncoder> encoder;
    std::FILE* out = nullptr;
    common::ReplayFrame pending;  // what the current frame has read so far
    // Playback.
    common::Replay recorded;
    std::size_t frame = 0;        // the frame being played
    std::size_t nextInput = 0;    // within it
    std::size_t nextClock = 0;
    // Both.
    platform::Tick lastTick = 0;  // the last clock value the game read
    // The frame clock (--frame-clock): game time that moves only when a frame is shown.
    bool frameClock = false;
    platform::Tick frameClockNow = 0;
    std::uint64_t framesShown = 0;
    std::uint64_t framesDone = 0;
    std::FILE* trace = nullptr;
    std::vector<double> frameMilliseconds;  // real time of each played frame (timedemo)
    double lastFrameEnd = 0;
    double started = 0;
};
extern ReplayState replay;

// Applies the run's pacing and window choices; then starts recording to a file from now on, or
// loads a replay and starts feeding it to the game. The header of a played replay sets the
// game's words and key bindings. False, with *error
// naming the file and what is wrong, when it cannot.
bool StartReplay(const RunOptions& options, std::string* error);

// The key table after an input poll: recorded, or replaced by the recorded one.
void AfterInputPoll(std::array<bool, 256>& keyState);

// A frame was presented: the recording writes it; playback moves to the next and ends the
// program after the last one.
void OnFrameEnd();

// Ends a recording (its trailer) and closes the trace; prints a timedemo's figures.
void FinishReplay();

// A digest of the game's state: the ship, the counters and every object in order.
std::uint64_t GameStateDigest();

// One line of a trace: frame, tick, ship position and heading, speeds, counters, objects.
std::string TraceLine(std::uint64_t frame, platform::Tick tick);

// The digest of the files that decide play: every level, objects.dat and Config.txt.
std::uint64_t DataDigest();

}  // namespace shell
