// Helpers of the graphics tests: the game's device started headless, scratch files, and the
// back buffer's pixels.
#pragma once

#include <cstdint>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

#include "common/bmp.h"
#include "common/image.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/sprites.h"
#include "platform/device.h"
#include "tests/support/golden.h"
#include "tests/support/headless.h"

namespace graphics_test {

// A scratch folder for this test process's files (tests run as parallel processes), removed
// when the process ends.
inline std::filesystem::path ScratchFolder() {
    struct Folder {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("starwake-graphics-tests-" + std::to_string(getpid()));
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    std::filesystem::create_directories(folder.path);
    return folder.path;
}

// Writes the bytes to the path, making its folder, and returns the path.
inline std::string WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

// Writes the picture as a 24-bit bitmap in the scratch folder and returns its path.
inline std::string WriteBitmap(const std::string& name, const common::Image& image) {
    std::string error;
    common::SaveBmp24(ScratchFolder() / name, image, &error);
    return (ScratchFolder() / name).string();
}

// Starts the game headless (once) and opens a frame: back buffer filled with background,
// depth cleared, the game's fixed states in force, blending and stage states as the game
// leaves them at start.
inline void BeginTestFrame(std::uint32_t background = 0xFF000000u) {
    using namespace platform;
    ASSERT_TRUE(test_support::StartHeadlessGame());
    if (device.inScene) {
        EndScene();
    }
    graphics::SetupRenderStates();
    SetRenderState(kRsAlphaBlendEnable, 0);
    SetRenderState(kRsSrcBlend, kBlendOne);
    SetRenderState(kRsDestBlend, kBlendZero);
    SetRenderState(kRsAlphaTestEnable, 0);
    SetRenderState(kRsCullMode, kCullCounterClockwise);
    Clear(kClearTarget | kClearZBuffer, background, 1.0f, 0);
    BeginScene();
}

inline std::uint32_t Pixel(int x, int y) {
    return platform::FromR5G6B5(
        platform::device.backBuffer[static_cast<std::size_t>(y) * platform::kScreenWidth + static_cast<std::size_t>(x)]);
}

// The back buffer's region as an opaque picture.
inline common::Image Region(int left, int top, int width, int height) {
    common::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.At(x, y) = Pixel(left + x, top + y);
        }
    }
    return image;
}

inline bool BackBufferIsBlank() {
    const auto& b = platform::device.backBuffer;
    return std::all_of(b.begin(), b.end(), [](std::uint16_t p) { return p == 0; });
}

}  // namespace graphics_test
