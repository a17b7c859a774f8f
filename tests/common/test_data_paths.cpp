#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/data_paths.h"

namespace {

namespace fs = std::filesystem;

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("starwake-data-paths-" + std::to_string(::getpid()));
        folder_ = base_ / "Starwake";
        fs::create_directories(folder_ / "maps");
        std::ofstream(base_ / "outside.bmp") << "x";
        std::ofstream(folder_ / "maps" / "skin.bmp") << "x";
    }
    void TearDown() override { fs::remove_all(base_); }
    fs::path base_;
    fs::path folder_;
};

TEST_F(DataPathsTest, NamesInsideTheFolderResolveWithEitherSeparator) {
    std::string problem;
    const auto file = common::DataFilePath(folder_, "maps\\skin.bmp", &problem);
    ASSERT_TRUE(file) << problem;
    EXPECT_EQ(*file, fs::canonical(folder_ / "maps" / "skin.bmp"));
    // A file that is not there still has its place: the load then says it is missing.
    EXPECT_TRUE(common::DataFilePath(folder_, "maps/none.bmp", &problem));
}

TEST_F(DataPathsTest, AbsoluteNamesStepsOutAndControlCharactersAreRefusedByName) {
    for (const char* name : {"../../../../etc/shadow", "..\\outside.bmp", "maps/../../outside.bmp", "/etc/shadow",
                             "\\etc\\shadow", "C:\\Windows\\win.ini", "maps/skin.bmp\nx", ""}) {
        std::string problem;
        EXPECT_FALSE(common::DataFilePath(folder_, name, &problem)) << name;
        EXPECT_EQ(problem.rfind('"' + std::string(name).substr(0, std::string(name).find('\n')), 0), 0u) << problem;
    }
}

TEST_F(DataPathsTest, LinksMayNotLeadOutOfTheFolder) {
    fs::create_symlink(base_ / "outside.bmp", folder_ / "maps" / "out.bmp");
    fs::create_directory_symlink(base_, folder_ / "up");
    fs::create_symlink(folder_ / "maps" / "skin.bmp", folder_ / "in.bmp");
    std::string problem;
    EXPECT_FALSE(common::DataFilePath(folder_, "maps/out.bmp", &problem));
    EXPECT_NE(problem.find("outside.bmp"), std::string::npos) << problem;
    EXPECT_FALSE(common::DataFilePath(folder_, "up/outside.bmp", &problem));
    EXPECT_FALSE(common::DataFilePath(folder_, "up", &problem));
    const auto inside = common::DataFilePath(folder_, "in.bmp", &problem);
    ASSERT_TRUE(inside) << problem;
    EXPECT_EQ(*inside, fs::canonical(folder_ / "maps" / "skin.bmp"));
}

}  // namespace
