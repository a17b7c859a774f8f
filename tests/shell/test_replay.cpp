#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/file_io.h"
#include "common/replay_file.h"
#include "common/scancodes.h"
#include "game/audio/sound.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "game/shell/game_counters.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_flow.h"
#include "game/shell/mod_timer.h"
#include "game/shell/replay.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/clock.h"
#include "platform/frame_pacer.h"
#include "platform/window.h"
#include "tests/support/flights.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

namespace fs = std::filesystem;
using test_support::RunCorvane;

// Runs the program, which must succeed, and returns the digest it printed.
std::uint64_t DigestOf(const std::vector<std::string>& arguments) {
    const auto run = RunCorvane(arguments);
    EXPECT_EQ(run.status, 0) << run.output;
    return test_support::PrintedDigest(run.output);
}

TEST(RunOptions, SwitchesTakeTheirFilesAndTheRestAreTheGamesWords) {
    shell::RunOptions options;
    std::string error;
    ASSERT_TRUE(shell::ParseRunOptions({"SHOWFPS", "--timedemo", "a.rpl", "--trace", "t.txt", "--level", "8"},
                                       &options, &error));
    EXPECT_EQ(options.mode, shell::ReplayMode::kTimedemo);
    // Named from where the program was started, whatever folder it moves to.
    EXPECT_EQ(options.replayPath, (fs::current_path() / "a.rpl").string());
    EXPECT_EQ(options.tracePath, (fs::current_path() / "t.txt").string());
    EXPECT_EQ(options.words, (std::vector<std::string>{"SHOWFPS", "--level", "8"}));
    EXPECT_EQ(options.screen, platform::StartMode::kFromEnvironment);
    // The window switches are the run's, not the game's: the last one given wins.
    ASSERT_TRUE(shell::ParseRunOptions({"--fullscreen", "SHOWFPS", "--windowed"}, &options, &error));
    EXPECT_EQ(options.screen, platform::StartMode::kWindowed);
    EXPECT_EQ(options.words, (std::vector<std::string>{"SHOWFPS"}));
    ASSERT_TRUE(shell::ParseRunOptions({"--windowed", "--fullscreen"}, &options, &error));
    EXPECT_EQ(options.screen, platform::StartMode::kFullScreen);
    EXPECT_FALSE(shell::ParseRunOptions({"--record"}, &options, &error));
    EXPECT_NE(error.find("--record"), std::string::npos);
    EXPECT_FALSE(shell::ParseRunOptions({"--play", "a", "--record", "b"}, &options, &error));
    EXPECT_FALSE(shell::ParseRunOptions({"--trace", "t.txt"}, &options, &error));
    EXPECT_FALSE(shell::ParseRunOptions({"--record", "a", "--trace", "t.txt"}, &options, &error));
}

TEST(RunOptions, StartLevelComesFromTheWords) {
    EXPECT_EQ(shell::StartLevelFromWords({}), 1);
    EXPECT_EQ(shell::StartLevelFromWords({"SHOWFPS", "--level", "13"}), 13);
    EXPECT_EQ(shell::StartLevelFromWords({"--level", "25"}), 1);
    EXPECT_EQ(shell::StartLevelFromWords({"--level", "2.5"}), 1);
    EXPECT_EQ(shell::StartLevelFromWords({"--level"}), 1);
}

// Two minutes of busy play recorded headless, then shown again by the program itself.
TEST(Replays, ARecordedSessionPlaysBackIdentically) {
    const fs::path scratch = test_support::ScratchFolder("replay");
    const fs::path file = scratch / "session.rpl";
    const fs::path trace = scratch / "session.trace";
    const test_support::Flight flight =
        test_support::RecordFlight(file, 1, 2 * 60 * 60, test_support::BusyFlightPlan);
    ASSERT_EQ(flight.trace.size(), 7200u);
    ASSERT_NE(flight.digest, 0u);
    // The flight did something: the ship moved and scored.
    EXPECT_NE(flight.trace.back(), flight.trace.front());

    EXPECT_EQ(DigestOf({"--timedemo", file.string(), "--trace", trace.string()}), flight.digest);
    std::ifstream in(trace);
    std::vector<std::string> played;
    for (std::string line; std::getline(in, line);) {
        played.push_back(line);
    }
    ASSERT_EQ(played.size(), flight.trace.size());
    for (std::size_t i = 0; i < played.size(); ++i) {
        ASSERT_EQ(played[i], flight.trace[i]) << "first difference at frame " << i + 1;
    }
    fs::remove_all(scratch);
}

TEST(Replays, OneFlippedKeyGivesAnotherGame) {
    const fs::path scratch = test_support::ScratchFolder("replay");
    const fs::path file = scratch / "flip.rpl";
    const test_support::Flight flight = test_support::RecordFlight(file, 1, 600, test_support::BusyFlightPlan);
    auto replay = common::LoadReplayFile(file, nullptr);
    ASSERT_TRUE(replay);
    // Hold the turn-right key for one poll after the banner.
    replay->frames[200].inputs.at(0).flip(205);
    common::ReplayEncoder encoder(replay->header);
    for (const auto& frame : replay->frames) {
        encoder.AddFrame(frame);
    }
    encoder.Finish();
    const fs::path flipped = scratch / "flipped.rpl";
    ASSERT_TRUE(common::WriteFileAtomically(flipped, encoder.TakeBytes(), nullptr));

    EXPECT_EQ(DigestOf({"--timedemo", file.string()}), flight.digest);
    EXPECT_NE(DigestOf({"--timedemo", flipped.string()}), flight.digest);
    fs::remove_all(scratch);
}

// A run that starts at the menu, visits the options and the table, plays three levels (left
// empty in a program folder of its own, so each completes by itself) and the shop, and quits:
// recorded headless, then shown by the program from that folder.
TEST(Replays, ARunThroughTheMenusAndTheShopPlaysBackIdentically) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    const fs::path folder = fs::path(STARWAKE_BINARY_DIR) / ("replay-folder-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::copy(test_support::ProgramFolder(), folder, fs::copy_options::recursive | fs::copy_options::create_hard_links);
    for (int level = 1; level <= 3; ++level) {
        const fs::path objects = folder / "maps" / ("Level" + std::to_string(level) + ".dat");
        fs::remove(objects);
        std::ofstream{objects};
    }
    platform::SetProgramFolder(folder);

    const fs::path scratch = test_support::ScratchFolder("replay");
    const fs::path file = scratch / "menus.rpl";
    platform::FakeClock clock(60000);
    shell::RunOptions options;
    options.mode = shell::ReplayMode::kRecord;
    options.replayPath = file.string();
    options.uncapped = true;
    platform::app.arguments = options.words;
    std::string error;
    ASSERT_TRUE(shell::StartReplay(options, &error)) << error;
    std::uint64_t digest = 0;
    graphics::dxgfx.frameEnded = [&] {
        shell::OnFrameEnd();
        digest = shell::GameStateDigest();
    };

    using namespace common;
    constexpr int kTick = 14;
    test_support::KeyScript script(clock, 20);
    // The options (music down a step, effects down a step, Exit), the table and back, a game.
    for (int key : {kKeyDown, kKeyReturn, kKeyLeft, kKeyDown, kKeyLeft, kKeyDown, kKeyReturn, kKeyDown, kKeyReturn,
                    kKeyReturn, kKeyUp, kKeyUp}) {
        script.Tap({key}, kTick);
    }
    script.Hold({kKeyReturn}, 1).HoldUntil({}, [] { return graphics::sprites.spriteScaleY == 0.6f; });
    script.Tap({kKeySpace}, kTick);  // Health Restore at full health: refused
    script.Tap({kKeyDown}, kTick, 8).Hold({kKeyReturn}, 1).Hold({}, 150);
    script.Hold({kKeyEscape}, 1).Hold({kKeyY}, 1).Hold({}, 1);
    const bool ran = script.Run(shell::OuterLoopPass);
    shell::FinishReplay();
    graphics::dxgfx.frameEnded = shell::OnFrameEnd;
    platform::SetProgramFolder(test_support::ProgramFolder());
    ASSERT_TRUE(ran);
    EXPECT_EQ(shell::counters.level, 4);
    EXPECT_EQ(audio::sound.sfxVolume, -100);

    const auto run = RunCorvane({"--timedemo", file.string()}, folder);
    fs::remove_all(folder);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("out of step"), std::string::npos) << run.output;
    EXPECT_NE(digest, 0u);
    EXPECT_EQ(test_support::PrintedDigest(run.output), digest) << run.output;
    fs::remove_all(scratch);
}

TEST(Replays, BadReplayFilesAreRefusedWithTheirNameAndAFailureStatus) {
    const fs::path scratch = test_support::ScratchFolder("replay");
    const fs::path file = scratch / "good.rpl";
    test_support::RecordFlight(file, 1, 120, test_support::BusyFlightPlan);
    const auto bytes = *common::ReadFileBytes(file, 1 << 20, nullptr);
    struct Case {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"empty.rpl", {}},
        {"header.rpl", {bytes.begin(), bytes.begin() + 12}},
        {"last.rpl", {bytes.begin(), bytes.end() - 1}},
        {"junk.rpl", std::vector<std::uint8_t>(3000, 0x5A)},
    };
    auto otherVersion = bytes;
    otherVersion[8] = 7;
    cases.push_back({"version.rpl", otherVersion});
    for (const Case& c : cases) {
        const fs::path bad = scratch / c.name;
        ASSERT_TRUE(common::WriteFileAtomically(bad, c.bytes, nullptr));
        const auto run = RunCorvane({"--play", bad.string()});
        EXPECT_NE(run.status, 0) << c.name;
        EXPECT_NE(run.output.find(c.name), std::string::npos) << run.output;
    }
    const auto missing = RunCorvane({"--timedemo", (scratch / "missing.rpl").string()});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("missing.rpl"), std::string::npos) << missing.output;
    fs::remove_all(scratch);
}

// On a 144 Hz display the game still plays at 60 frames a second, and a rock drifting at one
// pixel a frame moves; flat out, the same rock would stand still.
TEST(Pacing, A144HertzDisplayPlaysAtSixtyFramesASecond) {
    ASSERT_TRUE(test_support::StartHeadlessGame());
    platform::FakeClock clock(100000);
    double realMs = 100000;
    const double vblank = 1000.0 / 144.0;
    platform::framePacer = platform::FramePacerState{};
    platform::framePacer.now = [&] { return realMs; };
    platform::framePacer.sleep = [&](double ms) { realMs += ms; };
    platform::window.vsync = true;
    platform::window.refreshRate = 144;

    auto play = [&](bool capped, double seconds) {
        platform::framePacer.capped = capped;
        platform::framePacer.nextFrameAt = 0;
        shell::flow = shell::GameFlow{};
        world::ClearWorld();
        EXPECT_TRUE(shell::NewGame());
        world::records.colObjects.clear();
        auto rock = std::make_shared<world::cObject>();
        rock->name = "1";
        rock->oType = 1;
        rock->xSpeed = 1;
        rock->X = 100;
        rock->Y = 100;
        world::AddObject(rock);
        shell::frmMain.gameRunning = true;
        const double end = realMs + seconds * 1000;
        int frames = 0;
        std::int32_t startX = 0;
        while (realMs < end) {
            clock.Set(static_cast<platform::Tick>(realMs));
            if (frames == 0 || (!shell::frmMain.bannerShowing && startX == 0)) {
                startX = rock->X;
            }
            shell::GameFrame();
            realMs += 2.0;                                   // the frame's own work
            realMs = std::ceil(realMs / vblank) * vblank;    // presentation waits for the display
            ++frames;
        }
        return std::tuple{frames, rock->X - startX};
    };

    const auto [cappedFrames, cappedMoved] = play(true, 5.0);
    EXPECT_NEAR(cappedFrames, 300, 6);
    EXPECT_NEAR(shell::frameTimer.fps, 61, 4);
    EXPECT_GT(cappedMoved, 150);  // about one pixel a frame once the banner is gone

    const auto [freeFrames, freeMoved] = play(false, 5.0);
    EXPECT_GT(freeFrames, 650);   // every vblank of a 144 Hz display
    EXPECT_EQ(freeMoved, 0);      // 60 / 144 of a pixel rounds away every frame
    platform::framePacer = platform::FramePacerState{};
}

}  // namespace
