#include "game/shell/replay.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <filesystem>

#include "common/file_io.h"
#include "common/level_files.h"
#include "common/player_files.h"
#include "common/scancodes.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/frame_pacer.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"

#ifndef STARWAKE_VERSION
#define STARWAKE_VERSION "unknown"
#endif

namespace shell {

ReplayState replay;
RunOptions runOptions;

namespace {

// Where the frame clock starts: past any time start-up takes, so the clock never goes back, and
// the same in every run, so that runs with the same keys play the same.
constexpr platform::Tick kFrameClockStart = 60000;

double RealMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Playback ran out of step with the recording: the data or the program differ too much.
[[noreturn]] void OutOfStep(const std::string& what) {
    std::fprintf(stderr, "%s: the replay is out of step at frame %zu (%s); stopped\n",
                 replay.path.c_str(), replay.frame, what.c_str());
    FinishReplay();
    Shutdown(3);
}

void WritePending() {
    if (replay.out == nullptr) {
        return;
    }
    const std::vector<std::uint8_t> bytes = replay.encoder->TakeBytes();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), replay.out) != bytes.size()) {
        std::fprintf(stderr, "%s: cannot write the replay; recording stopped\n", replay.path.c_str());
        std::fclose(replay.out);
        replay.out = nullptr;
    }
}

platform::Tick NextRecordedTick() {
    const common::ReplayFrame& f = replay.recorded.frames[replay.frame];
    if (replay.nextClock >= f.clockReads.size()) {
        OutOfStep("the game read the clock more often than recorded");
    }
    replay.lastTick = f.clockReads[replay.nextClock++];
    return replay.lastTick;
}

void WriteTraceLine() {
    if (replay.trace != nullptr) {
        const std::string line = TraceLine(replay.framesDone, replay.lastTick);
        std::fprintf(replay.trace, "%s\n", line.c_str());
    }
}

}  // namespace

bool ParseRunOptions(const std::vector<std::string>& arguments, RunOptions* options,
                     std::string* error) {
    *options = RunOptions{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        auto file = [&](std::string* target) {
            if (i + 1 >= arguments.size()) {
                *error = word + " needs a file name";
                return false;
            }
            *target = arguments[++i];
            return true;
        };
        if (word == "--record" || word == "--play" || word == "--timedemo") {
            if (options->mode != ReplayMode::kOff) {
                *error = "only one of --record, --play and --timedemo at a time";
                return false;
            }
            options->mode = word == "--record" ? ReplayMode::kRecord
                            : word == "--play" ? ReplayMode::kPlay
                                               : ReplayMode::kTimedemo;
            if (!file(&options->replayPath)) {
                return false;
            }
        } else if (word == "--trace") {
            if (!file(&options->tracePath)) {
                return false;
            }
        } else if (word == "--uncapped") {
            options->uncapped = true;
        } else if (word == "--frame-clock") {
            options->frameClock = true;
        } else if (word == "--autopilot") {
            options->autopilot = true;
        } else if (word == "--windowed") {
            options->screen = platform::StartMode::kWindowed;
        } else if (word == "--fullscreen") {
            options->screen = platform::StartMode::kFullScreen;
        } else {
            options->words.push_back(word);
        }
    }
    // The game moves into its own folder at start-up: files named on the command line are
    // taken from where the player started it.
    std::error_code ignored;
    for (std::string* path : {&options->replayPath, &options->tracePath}) {
        if (!path->empty()) {
            *path = std::filesystem::absolute(*path, ignored).string();
        }
    }
    if (!options->tracePath.empty() && options->mode != ReplayMode::kPlay &&
        options->mode != ReplayMode::kTimedemo) {
        *error = "--trace goes with --play or --timedemo";
        return false;
    }
    return true;
}

std::uint64_t DataDigest() {
    std::vector<std::string> files;
    for (int level = 1; level <= common::kLevelCount; ++level) {
        files.push_back(common::LevelMapFileName(level));
        files.push_back(common::LevelObjectsFileName(level));
    }
    files.emplace_back(common::kObjectKindsFileName);
    files.emplace_back(common::kConfigFileName);
    std::uint64_t digest = common::Fnv1a(std::string_view("starwake data"));
    for (const std::string& name : files) {
        digest = common::Fnv1a(name, digest);
        // The key bindings are the player's file, wherever it lives.
        const std::filesystem::path path = name == common::kConfigFileName
                                               ? platform::app.playerFiles.config.readFrom
                                               : platform::DataFolder() / name;
        if (auto bytes = common::ReadFileBytes(path, 64u << 20, nullptr)) {
            digest = common::Fnv1a(*bytes, digest);
        }
    }
    return digest;
}

bool StartReplay(const RunOptions& options, std::string* error) {
    replay = ReplayState{};
    replay.mode = options.mode;
    replay.path = options.replayPath;
    platform::framePacer.capped = !options.uncapped && options.mode != ReplayMode::kTimedemo;
    // The window is not part of a run: a replay plays the same in either, and a shown one goes
    // on while the watcher looks elsewhere.
    platform::window.startMode = options.screen;
    platform::window.pauseOnFocusLoss = options.mode != ReplayMode::kPlay && options.mode != ReplayMode::kTimedemo;
    // A shown replay brings its own clock; a live run may count game time by frames, so that
    // a run flat out is a faster copy of one at 60 frames a second.
    if (options.frameClock && (options.mode == ReplayMode::kOff || options.mode == ReplayMode::kRecord)) {
        replay.frameClock = true;
        replay.frameClockNow = kFrameClockStart;
        platform::tickClock.source = [] { return replay.frameClockNow; };
    }
    if (options.mode == ReplayMode::kOff) {
        return true;
    }
    if (!options.tracePath.empty()) {
        replay.trace = std::fopen(options.tracePath.c_str(), "w");
        if (replay.trace == nullptr) {
            *error = options.tracePath + ": cannot write the trace";
            return false;
        }
    }
    if (options.mode == ReplayMode::kRecord) {
        common::ReplayHeader header;
        header.programVersion = STARWAKE_VERSION;
        header.words = options.words;
        header.dataDigest = DataDigest();
        std::copy_n(input::dinput.keyCodes.begin(), 7, header.keyCodes.begin());
        header.joystickEnabled = input::dinput.joystickEnabled;
        replay.out = std::fopen(options.replayPath.c_str(), "wb");
        if (replay.out == nullptr) {
            *error = options.replayPath + ": cannot write the replay";
            return false;
        }
        replay.encoder = std::make_unique<common::ReplayEncoder>(header);
        WritePending();
        platform::tickClock.observer = [](platform::Tick t) {
            replay.pending.clockReads.push_back(t);
            replay.lastTick = t;
        };
        return true;
    }
    auto loaded = common::LoadReplayFile(options.replayPath, error);
    if (!loaded) {
        return false;
    }
    replay.recorded = std::move(*loaded);
    if (replay.recorded.frames.empty()) {
        *error = options.replayPath + ": the replay holds no frames";
        return false;
    }
    if (replay.recorded.header.dataDigest != DataDigest()) {
        std::fprintf(stderr,
                     "%s: recorded with other data files (levels, objects.dat or Config.txt); "
                     "playing it anyway\n",
                     options.replayPath.c_str());
    }
    if (replay.recorded.header.programVersion != STARWAKE_VERSION) {
        std::fprintf(stderr, "%s: recorded by version %s of the game, this is %s\n",
                     options.replayPath.c_str(), replay.recorded.header.programVersion.c_str(),
                     STARWAKE_VERSION);
    }
    // The run sees what the recorded one saw: its words and its key bindings.
    platform::app.arguments = replay.recorded.header.words;
    for (std::size_t i = 0; i < 7; ++i) {
        input::dinput.keyCodes[i] = replay.recorded.header.keyCodes[i];
    }
    input::dinput.joystickEnabled = replay.recorded.header.joystickEnabled;
    platform::tickClock.source = [] { return NextRecordedTick(); };
    replay.started = replay.lastFrameEnd = RealMilliseconds();
    return true;
}

void AfterInputPoll(std::array<bool, 256>& keyState) {
    switch (replay.mode) {
        case ReplayMode::kRecord: {
            common::KeySnapshot snapshot;
            for (std::size_t code = 0; code < keyState.size(); ++code) {
                snapshot[code] = keyState[code];
            }
            replay.pending.inputs.push_back(snapshot);
            break;
        }
        case ReplayMode::kPlay:
        case ReplayMode::kTimedemo: {
            if (replay.mode == ReplayMode::kPlay) {
                // The watcher's own Escape ends the show.
                std::array<std::uint8_t, 256> real{};
                if (platform::ReadKeyboard(real) && real[common::kKeyEscape] != 0) {
                    FinishReplay();
                    Shutdown(0);
                }
            }
            const common::ReplayFrame& f = replay.recorded.frames[replay.frame];
            if (replay.nextInput >= f.inputs.size()) {
                OutOfStep("the game polled the input more often than recorded");
            }
            const common::KeySnapshot& keys = f.inputs[replay.nextInput++];
            for (std::size_t code = 0; code < keyState.size(); ++code) {
                keyState[code] = keys[code];
            }
            break;
        }
        case ReplayMode::kOff:
            break;
    }
}

void OnFrameEnd() {
    if (replay.frameClock) {
        // 17, 17, 16 milliseconds: sixty frames a second.
        replay.frameClockNow += replay.framesShown % 3 == 2 ? 16 : 17;
        ++replay.framesShown;
    }
    switch (replay.mode) {
        case ReplayMode::kRecord:
            replay.encoder->AddFrame(replay.pending);
            replay.pending = common::ReplayFrame{};
            ++replay.framesDone;
            // Written out every second or so: a crash loses little.
            if (replay.framesDone % 64 == 0) {
                WritePending();
            }
            break;
        case ReplayMode::kPlay:
        case ReplayMode::kTimedemo: {
            const common::ReplayFrame& f = replay.recorded.frames[replay.frame];
            if (replay.nextClock != f.clockReads.size() || replay.nextInput != f.inputs.size()) {
                OutOfStep("the frame ended before it used everything recorded for it");
            }
            ++replay.framesDone;
            WriteTraceLine();
            const double now = RealMilliseconds();
            replay.frameMilliseconds.push_back(now - replay.lastFrameEnd);
            replay.lastFrameEnd = now;
            ++replay.frame;
            replay.nextClock = 0;
            replay.nextInput = 0;
            if (replay.frame >= replay.recorded.frames.size()) {
                FinishReplay();
                Shutdown(0);
            }
            break;
        }
        case ReplayMode::kOff:
            break;
    }
}

void FinishReplay() {
    if (replay.mode == ReplayMode::kRecord && replay.encoder) {
        // The state the recording ends in: its playback ends in the same.
        std::printf("recorded %s: %" PRIu64 " frames, state digest %016" PRIx64 "\n", replay.path.c_str(),
                    replay.framesDone, GameStateDigest());
        std::fflush(stdout);
        replay.encoder->Finish();
        WritePending();
        if (replay.out != nullptr) {
            std::fclose(replay.out);
            replay.out = nullptr;
        }
        platform::tickClock.observer = nullptr;
    }
    if (replay.trace != nullptr) {
        std::fclose(replay.trace);
        replay.trace = nullptr;
    }
    if (replay.mode == ReplayMode::kTimedemo && !replay.frameMilliseconds.empty()) {
        std::vector<double> times = replay.frameMilliseconds;
        const double seconds = (replay.lastFrameEnd - replay.started) / 1000.0;
        std::sort(times.begin(), times.end());
        const double slowest = times[std::min(times.size() - 1, times.size() * 99 / 100)];
        std::printf("timedemo %s: %zu frames, %.3f seconds, %.1f fps average, %.3f ms slowest 1%%, "
                    "state digest %016" PRIx64 "\n",
                    replay.path.c_str(), times.size(), seconds,
                    seconds > 0 ? static_cast<double>(times.size()) / seconds : 0.0, slowest,
                    GameStateDigest());
        std::fflush(stdout);
    }
    if (replay.mode == ReplayMode::kPlay || replay.mode == ReplayMode::kTimedemo) {
        platform::tickClock.source = nullptr;
    }
    replay.mode = ReplayMode::kOff;
}

std::string TraceLine(std::uint64_t frame, platform::Tick tick) {
    const world::cCar& ship = world::Ship();
    char line[256];
    std::snprintf(line, sizeof line, "%" PRIu64 " %" PRId64 " %d %d %.6f %.6f %.6f %d %d %d %d %d %zu",
                  frame, static_cast<std::int64_t>(tick), world::records.shipX, world::records.shipY,
                  ship.CarAngle, static_cast<double>(ship.xAccel), frmMain.strafeSpeed, counters.health,
                  counters.score, counters.money, counters.level, counters.lives,
                  world::records.colObjects.size());
    return line;
}

std::uint64_t GameStateDigest() {
    const world::cCar& ship = world::Ship();
    std::string state = TraceLine(0, 0);
    char extra[128];
    std::snprintf(extra, sizeof extra, " %.9f %.9f %.6f", ship.Angle, ship.CarAngle,
                  static_cast<double>(ship.yAccel));
    state += extra;
    for (const world::ObjectHandle& o : world::records.colObjects) {
        char object[160];
        std::snprintf(object, sizeof object, "|%d %d %d %d", o->oType, o->X, o->Y, o->Health);
        state += object;
        state += o->name;
    }
    return common::Fnv1a(state);
}

}  // namespace shell
