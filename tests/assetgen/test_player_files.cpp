#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/config_file.h"
#include "common/file_io.h"
#include "common/scores_file.h"
#include "tools/assetgen/program_folder.h"

namespace {

namespace fs = std::filesystem;

class PlayerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("assetgen-player-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Read(const char* name) const {
        std::string error;
        const auto bytes = common::ReadFileBytes(folder_ / name, 1 << 20, &error);
        EXPECT_TRUE(bytes.has_value()) << error;
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }

    fs::path folder_;
};

TEST_F(PlayerFiles, AFreshFolderGetsTheLaunchersLayoutAndTheFirstTable) {
    std::vector<std::string> written;
    std::string error;
    ASSERT_TRUE(assetgen::WritePlayerFilesIfMissing(folder_, &written, &error)) << error;
    EXPECT_EQ(written, (std::vector<std::string>{"Config.txt", "Scores.dat"}));
    EXPECT_EQ(Read("Config.txt"), "200\r\r\n208\r\r\n203\r\r\n205\r\r\n57\r\r\n30\r\r\n32\r\r\n0\r\r\n");
    const auto scores = common::ParseScores(Read("Scores.dat"), "Scores.dat");
    EXPECT_TRUE(scores.warnings.empty());
    ASSERT_EQ(scores.entries.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        const std::string& initials = scores.entries[i].initials;
        EXPECT_TRUE(initials.size() == 3 && std::all_of(initials.begin(), initials.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) << initials;
        if (i > 0) {
            EXPECT_LT(scores.entries[i].score, scores.entries[i - 1].score);
        }
    }
}

TEST_F(PlayerFiles, RegeneratingNeverOverwritesThePlayersFiles) {
    const std::string bindings = "17\r\r\n31\r\r\n30\r\r\n32\r\r\n29\r\r\n16\r\r\n18\r\r\n1\r\r\n";
    const std::string table = "99999,YOU\r\n";
    Write("Config.txt", bindings);
    Write("Scores.dat", table);
    std::vector<std::string> written;
    std::string error;
    ASSERT_TRUE(assetgen::WritePlayerFilesIfMissing(folder_, &written, &error)) << error;
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(Read("Config.txt"), bindings);
    EXPECT_EQ(Read("Scores.dat"), table);
    // Only the missing one is laid down.
    fs::remove(folder_ / "Scores.dat");
    ASSERT_TRUE(assetgen::WritePlayerFilesIfMissing(folder_, &written, &error)) << error;
    EXPECT_EQ(written, std::vector<std::string>{"Scores.dat"});
    EXPECT_EQ(Read("Config.txt"), bindings);
}

TEST_F(PlayerFiles, GeneratedFilesLandUnderTheirNamesWithFolders) {
    std::vector<assetgen::Picture> pictures = {{"Objects/Explosion/01.bmp", common::Image(2, 2, 0xFF102030u), 0}};
    std::vector<assetgen::DataFile> files = {{"maps/Level1.map", std::vector<std::uint8_t>(400, 3)}};
    std::string error;
    ASSERT_TRUE(assetgen::WriteGeneratedFiles(folder_, pictures, files, &error)) << error;
    EXPECT_EQ(fs::file_size(folder_ / "maps/Level1.map"), 400u);
    EXPECT_TRUE(fs::exists(folder_ / "Objects/Explosion/01.bmp"));
}

}  // namespace
