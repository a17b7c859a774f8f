#include "tests/support/flights.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "game/shell/frm_main.h"
#include "game/shell/game_flow.h"
#include "game/shell/replay.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "tests/support/headless.h"

namespace test_support {

std::vector<int> BusyFlightPlan(int frame) {
    struct Held {
        int key;
        unsigned phases;  // bit n: held in phase n
    };
    // Fire, thrust, left, right, strafe left, strafe right.
    constexpr Held kPlan[] = {{57, 0b01110111}, {200, 0b00010011}, {203, 0b00000110},
                              {205, 0b00100000}, {30, 0b00000100}, {32, 0b01000000}};
    const int phase = (frame / 90) % 8;  // a change every second and a half
    std::vector<int> keys;
    for (const Held& held : kPlan) {
        if ((held.phases >> phase) & 1u) {
            keys.push_back(held.key);
        }
    }
    return keys;
}

Flight RecordFlight(const std::filesystem::path& path, int level, int frames, const KeyPlan& plan) {
    Flight flight;
    if (!StartHeadlessGame()) {
        return flight;
    }
    platform::FakeClock clock(50000);
    platform::ScriptKeyboard(true);
    shell::RunOptions options;
    options.mode = shell::ReplayMode::kRecord;
    options.replayPath = path.string();
    options.uncapped = true;
    options.words = {"--level", std::to_string(level)};
    platform::app.arguments = options.words;
    shell::flow.startLevel = shell::StartLevelFromWords(options.words);
    std::string error;
    if (!shell::StartReplay(options, &error)) {
        return flight;
    }
    // What the program does between start-up and its first game frame.
    shell::NewGame();
    shell::frmMain.gameRunning = true;
    std::vector<int> held;
    for (int frame = 0; frame < frames; ++frame) {
        for (int key : held) {
            platform::ScriptKey(key, false);
        }
        held = plan(frame);
        for (int key : held) {
            platform::ScriptKey(key, true);
        }
        shell::GameFrame();
        flight.trace.push_back(shell::TraceLine(shell::replay.framesDone, shell::replay.lastTick));
        // Sixty frames a second: 16 or 17 milliseconds.
        clock.Advance(frame % 3 == 2 ? 16 : 17);
    }
    flight.digest = shell::GameStateDigest();
    shell::FinishReplay();
    platform::ScriptKeyboard(false);
    return flight;
}

ProgramRun RunCorvane(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    std::string command = "'" + ((folder.empty() ? ProgramFolder() : folder) / "corvane").string() + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    command += " 2>&1";
    ProgramRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer;
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), got);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::uint64_t PrintedDigest(const std::string& output) {
    const std::string marker = "state digest ";
    const std::size_t at = output.rfind(marker);
    if (at == std::string::npos) {
        return 0;
    }
    return std::stoull(output.substr(at + marker.size(), 16), nullptr, 16);
}

}  // namespace test_support
