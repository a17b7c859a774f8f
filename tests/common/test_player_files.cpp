#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/player_files.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// A temporary tree holding an installed layout (usr/bin, usr/share/starwake with the shipped
// player files), a portable folder and a home folder.
class PlayerFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root_.empty());
        fs::create_directories(root_ / "usr/bin");
        fs::create_directories(root_ / "home");
        for (const fs::path& folder : {Installed(), Portable()}) {
            fs::create_directories(folder);
            temp_.Write(folder / "objects.dat", "kinds");
            temp_.Write(folder / "Config.txt", "shipped keys");
            temp_.Write(folder / "Scores.dat", "shipped table");
        }
    }

    fs::path Installed() const { return root_ / "usr/share/starwake"; }
    fs::path Portable() const { return root_ / "portable"; }
    fs::path Home() const { return root_ / "home"; }
    common::PlayerEnvironment HomeOnly() const { return {Home().string(), "", ""}; }

    test_support::TempFolder temp_;
    const fs::path root_ = temp_.Path();
};

TEST_F(PlayerFilesTest, DataLiesBesideTheProgramsOrInTheInstalledTree) {
    const common::DataLocation portable = common::FindDataFolder(Portable());
    EXPECT_EQ(portable.folder, Portable());
    EXPECT_FALSE(portable.installed);
    const common::DataLocation installed = common::FindDataFolder(root_ / "usr/bin");
    EXPECT_EQ(installed.folder, Installed());
    EXPECT_TRUE(installed.installed);
    // Neither: the program folder, whose loaders then name what is missing.
    EXPECT_EQ(common::FindDataFolder(Home()).folder, Home());
}

TEST_F(PlayerFilesTest, AWritablePortableFolderKeepsThePlayersFilesAndTouchesNoHome) {
    const common::PlayerFiles files = common::ChoosePlayerFiles({Portable(), false}, true, HomeOnly());
    EXPECT_EQ(files.config.readFrom, Portable() / "Config.txt");
    EXPECT_EQ(files.config.writeTo, Portable() / "Config.txt");
    EXPECT_EQ(files.scores.writeTo, Portable() / "Scores.dat");
    EXPECT_TRUE(files.notes.empty());
    EXPECT_TRUE(fs::is_empty(Home()));
}

TEST_F(PlayerFilesTest, ReadOnlyOrInstalledDataSeedsTheXdgFoldersOnceAndNeverWritesTheData) {
    // An installed tree is never written even where it could be (as root).
    for (const auto& [data, writable] : {std::pair{common::DataLocation{Portable(), false}, false},
                                         std::pair{common::DataLocation{Installed(), true}, true}}) {
        fs::remove_all(Home());
        fs::create_directories(Home());
        const common::PlayerFiles files = common::ChoosePlayerFiles(data, writable, HomeOnly());
        const fs::path config = Home() / ".config/starwake/Config.txt";
        const fs::path scores = Home() / ".local/share/starwake/Scores.dat";
        EXPECT_EQ(files.config.readFrom, config);
        EXPECT_EQ(files.config.writeTo, config);
        EXPECT_EQ(files.scores.readFrom, scores);
        EXPECT_EQ(files.scores.writeTo, scores);
        EXPECT_TRUE(files.notes.empty());
        EXPECT_EQ(temp_.Read(config), "shipped keys");
        EXPECT_EQ(temp_.Read(scores), "shipped table");

        // The player's own copies are kept from then on.
        temp_.Write(config, "bound keys");
        common::ChoosePlayerFiles(data, writable, HomeOnly());
        EXPECT_EQ(temp_.Read(config), "bound keys");
        EXPECT_EQ(temp_.Read(data.folder / "Config.txt"), "shipped keys");
    }
}

TEST_F(PlayerFilesTest, AbsoluteXdgFoldersWinAndRelativeOnesAreIgnored) {
    const common::PlayerFiles set = common::ChoosePlayerFiles(
        {Installed(), true}, false, {Home().string(), (root_ / "cfg").string(), (root_ / "data").string()});
    EXPECT_EQ(set.config.writeTo, root_ / "cfg/starwake/Config.txt");
    EXPECT_EQ(set.scores.writeTo, root_ / "data/starwake/Scores.dat");
    EXPECT_EQ(temp_.Read(root_ / "cfg/starwake/Config.txt"), "shipped keys");

    const common::PlayerFiles relative =
        common::ChoosePlayerFiles({Installed(), true}, false, {Home().string(), "cfg", "data"});
    EXPECT_EQ(relative.config.writeTo, Home() / ".config/starwake/Config.txt");
    EXPECT_EQ(relative.scores.writeTo, Home() / ".local/share/starwake/Scores.dat");
}

TEST_F(PlayerFilesTest, AHomeThatCannotBeWrittenReadsTheShippedFilesAndSaysSo) {
    // A file where the home folder should be stops even root from making folders in it.
    const fs::path notAFolder = root_ / "home-file";
    temp_.Write(notAFolder, "");
    for (const common::PlayerEnvironment& environment :
         {common::PlayerEnvironment{notAFolder.string(), "", ""}, common::PlayerEnvironment{"", "", ""}}) {
        const common::PlayerFiles files = common::ChoosePlayerFiles({Installed(), true}, false, environment);
        EXPECT_EQ(files.config.readFrom, Installed() / "Config.txt");
        EXPECT_TRUE(files.config.writeTo.empty());
        EXPECT_EQ(files.scores.readFrom, Installed() / "Scores.dat");
        EXPECT_TRUE(files.scores.writeTo.empty());
        ASSERT_EQ(files.notes.size(), 2u);
        if (!environment.home.empty()) {
            EXPECT_NE(files.notes[0].find(notAFolder.string()), std::string::npos) << files.notes[0];
        }
        EXPECT_NE(files.notes[1].find((Installed() / "Scores.dat").string()), std::string::npos) << files.notes[1];
        EXPECT_NE(common::DescribePlayerFiles(files).find("(read only)"), std::string::npos);
    }
    EXPECT_EQ(temp_.Read(notAFolder), "");
}

TEST_F(PlayerFilesTest, NothingShippedToCopyLeavesThePlayersPathForTheFirstSave) {
    fs::remove(Installed() / "Scores.dat");
    const common::PlayerFiles files = common::ChoosePlayerFiles({Installed(), true}, false, HomeOnly());
    const fs::path scores = Home() / ".local/share/starwake/Scores.dat";
    EXPECT_EQ(files.scores.readFrom, scores);
    EXPECT_EQ(files.scores.writeTo, scores);
    EXPECT_FALSE(fs::exists(scores));
    EXPECT_TRUE(files.notes.empty());
}

}  // namespace
