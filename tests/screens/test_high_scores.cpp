#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "common/file_io.h"
#include "common/scancodes.h"
#include "common/scores_file.h"
#include "game/screens/high_scores.h"
#include "game/shell/game_counters.h"
#include "platform/app.h"
#include "platform/device.h"
#include "platform/message_box.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

namespace fs = std::filesystem;
using common::kKeyDown;
using common::kKeyLeft;
using common::kKeyReturn;
using common::kKeyRight;
using common::kKeyUp;
using screens::highScores;
using test_support::KeyScript;

std::string ReadText(const fs::path& path) {
    const auto bytes = common::ReadFileBytes(path, 1 << 20, nullptr);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class HighScoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        folder_ = test_support::ScratchFolder("scores");
        highScores.file = {folder_ / "Scores.dat", folder_ / "Scores.dat"};
        // 1000, 900 ... 100 for AAA, BBB ... JJJ.
        for (std::size_t i = 0; i < 10; ++i) {
            highScores.scoreTable[i] = 1000 - 100 * static_cast<int>(i);
            highScores.nameTable[i] = std::string(3, static_cast<char>('A' + i));
        }
        platform::messageBox.handler = [this](std::string_view text, std::string_view, platform::MessageButtons,
                                              platform::MessageIcon) {
            boxes_.emplace_back(text);
            return platform::MessageAnswer::kOkPressed;
        };
    }
    void TearDown() override {
        platform::messageBox.handler = nullptr;
        platform::SetProgramFolder(test_support::ProgramFolder());
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }

    // LoadScores as the start-up runs it, on a program folder of the test's own.
    void LoadFrom(const fs::path& folder) {
        const common::PlayerFile kept = platform::app.playerFiles.scores;
        platform::app.playerFiles.scores = {folder / "Scores.dat", folder / "Scores.dat"};
        screens::LoadScores();
        platform::app.playerFiles.scores = kept;
    }
    void WriteScores(const std::string& text) { std::ofstream(folder_ / "Scores.dat", std::ios::binary) << text; }

    fs::path folder_;
    std::vector<std::string> boxes_;
    platform::FakeClock clock{900000};
};

TEST_F(HighScoreTest, AScoreThatBeatsAnEntryTakesItsPlaceAndTheTableIsSavedAsTenCrLfLines) {
    struct Case {
        int score;
        int place;  // -1: no place, and no initials asked
    };
    for (const Case c : {Case{950, 1}, Case{150, 9}, Case{100, -1}}) {
        SetUp();
        shell::counters.score = c.score;
        KeyScript script(clock, 10);
        if (c.place >= 0) {
            script.Hold({}, 2).Hold({kKeyUp}, 1).Hold({}, 2).Hold({kKeyReturn}, 2).Hold({}, 3);
        }
        script.Hold({}, 2).Hold({kKeyReturn}, 2).Hold({}, 1);
        ASSERT_TRUE(script.Run(screens::RecordScore)) << c.score;

        std::vector<int> expected = {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100};
        if (c.place >= 0) {
            expected.insert(expected.begin() + c.place, c.score);
            expected.pop_back();
            EXPECT_EQ(highScores.nameTable[static_cast<std::size_t>(c.place)], "BAA");
            if (c.place < 9) {
                EXPECT_EQ(highScores.nameTable[static_cast<std::size_t>(c.place + 1)],
                          std::string(3, static_cast<char>('A' + c.place)));
            }
        }
        EXPECT_EQ(std::vector<int>(highScores.scoreTable.begin(), highScores.scoreTable.begin() + 10), expected)
            << c.score;
        const std::string saved = ReadText(highScores.file.writeTo);
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 10);
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\r'), 10);
        EXPECT_EQ(saved.substr(0, 10), "1000,AAA\r\n");
        EXPECT_TRUE(boxes_.empty());
    }
    EXPECT_EQ(screens::TableLine(0), "01 0001000 AAA");
    EXPECT_EQ(screens::TableLine(9), "10 0000100 JJJ");
}

TEST_F(HighScoreTest, InitialsStepEvery250MsStopAtZAndTheLastPlace) {
    char afterOneSecond = 0;
    KeyScript script(clock, 10);
    script.Hold({kKeyUp}, 100)
        .Hold({kKeyUp}, 800)     // on to Z, where it stays
        .Hold({}, 30)
        .Hold({kKeyRight}, 1)    // the second letter: A
        .Hold({}, 30)
        .Hold({kKeyDown}, 1)     // no wrap below A
        .Hold({}, 30)
        .Hold({kKeyRight}, 1)
        .Hold({}, 30)
        .Hold({kKeyUp}, 1)       // C for the third letter
        .Hold({kKeyUp}, 1)
        .Hold({}, 30)
        .Hold({kKeyUp}, 1)
        .Hold({}, 30)
        .Hold({kKeyRight}, 1)    // past the last letter: stays on it with its letter
        .Hold({}, 30)
        .Hold({kKeyLeft}, 1)
        .Hold({}, 30)
        .Hold({kKeyReturn}, 2)
        .Hold({}, 1)
        .Watch([&](int pump) {
            if (pump == 100) {
                afterOneSecond = highScores.entry.letters[0];
            }
        });
    std::string initials;
    ASSERT_TRUE(script.Run([&] { initials = screens::EnterInitials(); }));
    EXPECT_EQ(afterOneSecond, 'E');  // moves at 0, 260, 520 and 780 ms
    EXPECT_EQ(initials, "ZAC");
    EXPECT_EQ(highScores.entry.position, 1);
}

TEST_F(HighScoreTest, TheFileIsReadAsWellAsItCanBeAndReadingNeverWritesIt) {
    // Four lines: entries 0 .. 3 from the file, the rest as they were; the next save writes ten.
    WriteScores("5000,ZZZ\r\n4000,YYY\r\n3000,XXX\r\n2000,WWW\r\n");
    LoadFrom(folder_);
    EXPECT_EQ(highScores.scoreTable[3], 2000);
    EXPECT_EQ(highScores.nameTable[3], "WWW");
    EXPECT_EQ(highScores.scoreTable[4], 600);
    EXPECT_EQ(highScores.nameTable[9], "JJJ");
    EXPECT_EQ(highScores.file.readFrom, folder_ / "Scores.dat");
    ASSERT_TRUE(screens::SaveScores());
    EXPECT_EQ(ReadText(highScores.file.writeTo).substr(0, 10), "5000,ZZZ\r\n");
    EXPECT_EQ(common::ParseScores(ReadText(highScores.file.writeTo), "Scores.dat").entries.size(), 10u);

    // Damage: a score without a number, a quoted name, more than ten lines, a huge tail.
    std::string damaged = "lots,ABC\r\n\"700\",\"Q,R\"\r\n";
    for (int i = 0; i < 20; ++i) {
        damaged += "9,NNN\r\n";
    }
    damaged += std::string(200000, '7');
    WriteScores(damaged);
    const auto before = fs::last_write_time(highScores.file.writeTo);
    testing::internal::CaptureStderr();
    LoadFrom(folder_);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(highScores.scoreTable[0], 0);
    EXPECT_EQ(highScores.nameTable[0], "ABC");
    EXPECT_EQ(highScores.nameTable[1], "Q,R");
    EXPECT_EQ(highScores.scoreTable[9], 9);
    EXPECT_NE(said.find("entry 1"), std::string::npos) << said;
    EXPECT_TRUE(ReadText(highScores.file.writeTo) == damaged);
    EXPECT_EQ(fs::last_write_time(highScores.file.writeTo), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    // A name longer than the screen is kept whole and drawn cut at the screen's edge.
    highScores.nameTable[0] = std::string(200, 'W');
    bool reachesEdge = false;
    KeyScript script(clock, 10);
    script.Hold({}, 2).Hold({kKeyReturn}, 2).Hold({}, 1).Watch([&](int pump) {
        if (pump == 2) {
            for (int y = 240; y < 270; ++y) {
                reachesEdge |= platform::device.lastPresented[static_cast<std::size_t>(y) * 800 + 799] == 0xFFFF;
            }
        }
    });
    ASSERT_TRUE(script.Run(screens::ShowHighScores));
    EXPECT_TRUE(reachesEdge);
    EXPECT_TRUE(ReadText(highScores.file.writeTo) == damaged);
}

TEST_F(HighScoreTest, AMissingFileGivesTheShippedTableAndIsMadeAtTheFirstSave) {
    testing::internal::CaptureStderr();
    LoadFrom(folder_);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find((folder_ / "Scores.dat").string()), std::string::npos) << said;
    EXPECT_NE(said.find("table the game ships"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(folder_ / "Scores.dat"));
    // The table in memory, written out, is the shipped one.
    ASSERT_TRUE(screens::SaveScores());
    EXPECT_EQ(ReadText(folder_ / "Scores.dat"), common::FormatScores(common::FirstScoreTable()));
}

// A save that cannot be made says so, names the file and the reason, keeps the table in memory
// and leaves the old file whole.
TEST_F(HighScoreTest, AFailedSaveLeavesTheOldFileWholeAndTheGameRunning) {
    // A folder where the file should be.
    fs::create_directories(folder_ / "Scores.dat");
    EXPECT_FALSE(screens::SaveScores());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find((folder_ / "Scores.dat").string()), std::string::npos) << boxes_[0];
    EXPECT_NE(boxes_[0].find("Is a directory"), std::string::npos) << boxes_[0];
    EXPECT_TRUE(fs::is_directory(folder_ / "Scores.dat"));
    EXPECT_EQ(highScores.scoreTable[0], 1000);
    fs::remove(folder_ / "Scores.dat");

    const std::string old = "777,OLD\r\n";
    WriteScores(old);
    boxes_.clear();
    // In a child process: the save, its message on standard error, and status 0 when it failed.
    auto saveInChild = [this](void (*prepare)()) {
        prepare();
        const bool saved = screens::SaveScores();
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        std::fprintf(stderr, "\n%s\n", boxes_.empty() ? "no message" : boxes_.back().c_str());
        std::_Exit(saved ? 1 : 0);
    };
    // A full disk: the file-size limit makes the write fail part-way, as a full disk does.
    auto fullDisk = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    EXPECT_EXIT(saveInChild(fullDisk), ::testing::ExitedWithCode(0), "Scores.dat.*File too large");
    EXPECT_EQ(ReadText(highScores.file.writeTo), old);

    // A folder that may not be written to (root may write anywhere, so the save runs as nobody).
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    auto readOnlyFolder = [] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::_Exit(2);
        }
    };
    EXPECT_EXIT(saveInChild(readOnlyFolder), ::testing::ExitedWithCode(0), "Scores.dat.*Permission denied");
    EXPECT_EQ(ReadText(highScores.file.writeTo), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

}  // namespace
