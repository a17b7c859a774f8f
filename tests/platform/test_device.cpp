#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "common/bmp.h"
#include "platform/device.h"
#include "platform/window.h"

namespace {

using namespace platform;

PresentParams GameParams() {
    PresentParams p;
    p.backBufferWidth = 800;
    p.backBufferHeight = 600;
    p.backBufferFormat = kFormatR5G6B5;
    p.backBufferCount = 2;
    p.swapEffect = 2;
    p.enableAutoDepthStencil = true;
    p.autoDepthStencilFormat = kFormatD16;
    return p;
}

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateMainWindow("Starwake"));
        ASSERT_EQ(CreateDevice(GameParams()), kOk);
    }
    void TearDown() override { ReleaseDevice(); }
};

TEST_F(DeviceTest, OnlyTheGamesModeIsOffered) {
    ReleaseDevice();
    PresentParams other = GameParams();
    other.backBufferWidth = 1024;
    EXPECT_EQ(CreateDevice(other), kErrNotAvailable);
    other = GameParams();
    other.backBufferFormat = 22;
    EXPECT_EQ(CreateDevice(other), kErrNotAvailable);
    ASSERT_EQ(CreateDevice(GameParams()), kOk);
}

TEST_F(DeviceTest, ScenesPairUpAndTheClearedFrameIsPresented) {
    ASSERT_EQ(Clear(kClearTarget | kClearZBuffer, 0xFF10FF20u, 1.0f, 0), kOk);
    EXPECT_EQ(EndScene(), kErrInvalidCall);
    ASSERT_EQ(BeginScene(), kOk);
    EXPECT_EQ(BeginScene(), kErrInvalidCall);
    EXPECT_EQ(Present(), kErrInvalidCall);  // presenting inside a scene
    ASSERT_EQ(EndScene(), kOk);
    ASSERT_EQ(Present(), kOk);
    EXPECT_EQ(device.lastPresented.size(), 800u * 600u);
    EXPECT_EQ(device.lastPresented[0], ToR5G6B5(0xFF10FF20u));
    EXPECT_EQ(device.lastPresented.back(), ToR5G6B5(0xFF10FF20u));
    EXPECT_EQ(device.depthBuffer[1234], 0xFFFF);
}

// What reaches the window: every 16-bit value appears somewhere in a frame, each shown as its
// widened colour at its own place (no channel swapped, no row shifted by the texture's pitch).
TEST_F(DeviceTest, TheWindowShowsEveryPixelWidenedInPlace) {
    for (std::size_t i = 0; i < device.backBuffer.size(); ++i) {
        device.backBuffer[i] = static_cast<std::uint16_t>(i * 40503u);  // odd: every value occurs
    }
    const std::vector<std::uint16_t> frame = device.backBuffer;
    ASSERT_EQ(Present(), kOk);
    const std::vector<std::uint32_t> shown = window_testing::ShownPixels().pixels;
    ASSERT_EQ(shown.size(), frame.size());
    for (std::size_t i = 0; i < frame.size(); ++i) {
        ASSERT_EQ(shown[i] | 0xFF000000u, FromR5G6B5(frame[i])) << "pixel " << i % 800 << ", " << i / 800;
    }
}

TEST_F(DeviceTest, LossResetAndDefaultsComeBack) {
    SetRenderState(kRsAmbient, 0xCFCFCF);
    SetTransform(kTransformWorld, MatrixScaling(2, 2, 2));
    device_testing::LoseDevice();
    EXPECT_EQ(TestCooperativeLevel(), kErrDeviceLost);
    EXPECT_EQ(Present(), kErrDeviceLost);
    EXPECT_EQ(Reset(GameParams()), kErrDeviceLost);
    device_testing::RestoreDevice();
    EXPECT_EQ(TestCooperativeLevel(), kErrDeviceNotReset);
    ASSERT_EQ(Reset(GameParams()), kOk);
    EXPECT_EQ(TestCooperativeLevel(), kOk);
    // A reset device knows nothing of the states set before.
    EXPECT_EQ(GetRenderState(kRsAmbient), 0u);
    EXPECT_EQ(GetTransform(kTransformWorld), Matrix::Identity());
}

TEST_F(DeviceTest, ResetRefusedWhileSurfacesAreHeld) {
    SurfaceHandle image = CreateImageSurface(800, 600, kFormatR5G6B5);
    SurfaceHandle target = GetRenderTarget();
    device_testing::LoseDevice();
    device_testing::RestoreDevice();
    EXPECT_EQ(Reset(GameParams()), kErrInvalidCall);
    image.reset();
    EXPECT_EQ(Reset(GameParams()), kErrInvalidCall);
    target.reset();
    EXPECT_EQ(Reset(GameParams()), kOk);
}

TEST_F(DeviceTest, FocusLossLosesTheDeviceUntilItComesBackUnlessAReplayIsShown) {
    const bool wasFullscreen = window.fullscreen;
    ASSERT_TRUE(window.activityHandler);
    for (const bool fullscreen : {true, false}) {
        window.fullscreen = fullscreen;
        window.activityHandler(false, false);
        EXPECT_EQ(TestCooperativeLevel(), kErrDeviceLost);
        // Focused but minimised: only full screen stays lost.
        window.activityHandler(true, true);
        EXPECT_EQ(TestCooperativeLevel(), fullscreen ? kErrDeviceLost : kErrDeviceNotReset);
        window.activityHandler(true, false);
        EXPECT_EQ(TestCooperativeLevel(), kErrDeviceNotReset);
        ASSERT_EQ(Reset(GameParams()), kOk);
    }
    window.pauseOnFocusLoss = false;
    window.activityHandler(false, false);
    EXPECT_EQ(TestCooperativeLevel(), kOk);
    window.pauseOnFocusLoss = true;
    window.activityHandler(true, false);
    window.fullscreen = wasFullscreen;
}

TEST_F(DeviceTest, SurfacesLoadBitmapsAndCopyOntoTheBackBuffer) {
    const auto path = std::filesystem::temp_directory_path() / "starwake-surface.bmp";
    common::Image picture(400, 300, 0xFFFF0000u);  // half size: scaled up
    for (int x = 0; x < 400; ++x) {
        picture.At(x, 299) = 0xFF0000FFu;
    }
    ASSERT_TRUE(common::SaveBmp24(path, picture, nullptr));
    SurfaceHandle surface = CreateImageSurface(800, 600, kFormatR5G6B5);
    ASSERT_TRUE(surface);
    ASSERT_EQ(LoadSurfaceFromFile(*surface, path), kOk);
    SurfaceHandle target = GetRenderTarget();
    ASSERT_EQ(CopyRects(*surface, *target), kOk);
    EXPECT_EQ(device.backBuffer[0], ToR5G6B5(0xFFFF0000u));
    EXPECT_EQ(device.backBuffer[599 * 800 + 5], ToR5G6B5(0xFF0000FFu));
    EXPECT_EQ(LoadSurfaceFromFile(*surface, "/nonexistent/Menu.bmp"), kErrInvalidCall);
    std::filesystem::remove(path);
}

std::array<float, 3> Transformed(const Matrix& m, float x, float y, float z) {
    std::array<float, 3> out;
    for (int c = 0; c < 3; ++c) out[c] = x * m.m[0][c] + y * m.m[1][c] + z * m.m[2][c] + m.m[3][c];
    return out;
}

TEST(Matrices, LookAtFromInFrontMirrorsXAndProductsApplyTheLeftFactorFirst) {
    // A point at (1, 2, 0.5) lands at (-1, 2, 0.5) in view space.
    const auto seen = Transformed(MatrixLookAtLH({0, 0, 1}, {0, 0, 0}, {0, 1, 0}), 1, 2, 0.5f);
    EXPECT_FLOAT_EQ(seen[0], -1);
    EXPECT_FLOAT_EQ(seen[1], 2);
    EXPECT_FLOAT_EQ(seen[2], 0.5f);
    // Scaling then translating moves the scaled point, not the translated one.
    EXPECT_FLOAT_EQ(Transformed(MatrixScaling(2, 2, 2) * MatrixTranslation(10, 0, 0), 1, 0, 0)[0], 12);
}

TEST(ColourConversion, SixteenBitRoundTripKeepsFullScale) {
    EXPECT_EQ(FromR5G6B5(ToR5G6B5(0xFFFFFFFFu)), 0xFFFFFFFFu);
    EXPECT_EQ(FromR5G6B5(ToR5G6B5(0xFF000000u)), 0xFF000000u);
    EXPECT_EQ(ToR5G6B5(0x00FF0000u), 0xF800);
    EXPECT_EQ(ToR5G6B5(0x0000FF00u), 0x07E0);
    for (std::uint32_t pixel = 0; pixel <= 0xFFFF; ++pixel) {
        ASSERT_EQ(ToR5G6B5(FromR5G6B5(static_cast<std::uint16_t>(pixel))), pixel);
    }
}

}  // namespace
