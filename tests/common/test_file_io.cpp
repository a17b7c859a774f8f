#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/file_io.h"

namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("starwake-file-io-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(FileIoTest, AnEmptyFileIsWrittenAndReadBack) {
    const fs::path path = folder_ / "empty.txt";
    { std::ofstream(path) << "something"; }
    ASSERT_TRUE(common::WriteFileAtomically(path, std::span<const std::uint8_t>{}, nullptr));
    EXPECT_EQ(fs::file_size(path), 0u);
    const auto bytes = common::ReadFileBytes(path, 100, nullptr);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->empty());
}

// Folders and pipes in place of a file are refused through the launcher (tests/launcher).
TEST_F(FileIoTest, ReadsStopAtTheirLimit) {
    const fs::path path = folder_ / "big.bin";
    { std::ofstream(path) << std::string(200000, 'x'); }
    const auto bytes = common::ReadFileBytes(path, 70000, nullptr);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 70000u);
}

}  // namespace
