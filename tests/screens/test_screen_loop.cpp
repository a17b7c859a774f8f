// What every menu screen shares, tried on each of them: the background picture survives a
// hundred device resets in a row (the game's own frame too), a missing picture leaves a
// black background, Alt+Enter switches the window without its Return choosing anything, and
// the golden frames.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/scancodes.h"
#include "common/scores_file.h"
#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/fonts.h"
#include "game/graphics/meshes.h"
#include "game/graphics/sprites.h"
#include "game/input/dinput.h"
#include "game/screens/high_scores.h"
#include "game/screens/screen_loop.h"
#include "game/screens/shop.h"
#include "game/shell/frm_main.h"
#include "game/shell/game_counters.h"
#include "game/shell/main_menu.h"
#include "game/world/level_assets.h"
#include "platform/app.h"
#include "platform/device.h"
#include "platform/keyboard.h"
#include "platform/texture.h"
#include "platform/window.h"
#include "tests/support/golden.h"
#include "tests/support/headless.h"
#include "tests/support/key_script.h"

namespace {

namespace fs = std::filesystem;
using common::kKeyDown;
using common::kKeyReturn;
using common::kKeyUp;
using test_support::KeyScript;
using test_support::kRepeatPumps;

struct Screen {
    const char* name;
    void (*run)();
    int downsToLeave;  // Down presses from the first line to the one that leaves
};

void RunInitials() { screens::EnterInitials(); }
void RunGame() { shell::PlayOneGame(); }

const Screen kScreens[] = {
    {"main menu", shell::MainMenu, 0},       {"options", shell::OptionsScreen, 2},
    {"shop", screens::ShowShop, 8},          {"high-score table", screens::ShowHighScores, 0},
    {"initials entry", RunInitials, 0},
};
// The game itself, left by Escape and Y once its level banner is gone.
const Screen kGame = {"game", RunGame, -1};

// Down presses one repeat tick apart, then Return, then a pass to let go; the game's way out
// for the game.
void Leave(KeyScript& script, int downs) {
    if (downs < 0) {
        script.Hold({}, 250).Hold({common::kKeyEscape}, 2).Hold({common::kKeyY}, 2).Hold({}, 2);
        return;
    }
    script.Tap({kKeyDown}, kRepeatPumps, downs).Hold({kKeyReturn}, 1).Hold({}, 2);
}

// Everything a device reset drops and the game must bring back, as the next frame sees it.
struct DeviceSnapshot {
    std::vector<std::uint32_t> renderStates;  // the fixed ones the set-up makes
    std::vector<std::uint32_t> stageStates;
    platform::Matrix view, projection;  // the world matrix belongs to the last mesh drawn
    std::vector<bool> fontsInUse;
    std::vector<std::int32_t> meshSubsets;
    std::vector<std::uint16_t> probe;  // a frame drawn with a texture, the three fonts and the five meshes
};

// What differs between two snapshots, by name; empty when nothing does.
std::string Differences(const DeviceSnapshot& a, const DeviceSnapshot& b) {
    std::string differs;
    auto check = [&](bool same, const char* what) {
        if (!same) {
            differs += std::string(differs.empty() ? "" : ", ") + what;
        }
    };
    check(a.renderStates == b.renderStates, "render states");
    check(a.stageStates == b.stageStates, "texture stage states");
    check(a.view == b.view && a.projection == b.projection, "matrices");
    check(a.fontsInUse == b.fontsInUse, "fonts");
    check(a.meshSubsets == b.meshSubsets, "meshes");
    check(a.probe == b.probe, "the probe frame");
    return differs;
}

std::size_t LiveTextures() {
    const auto& textures = platform::texturePool.textures;
    return static_cast<std::size_t>(std::count_if(textures.begin(), textures.end(), [](const auto& t) { return t != nullptr; }));
}

DeviceSnapshot Snapshot() {
    using namespace platform;
    DeviceSnapshot snapshot;
    for (const std::uint32_t state : {kRsLighting, kRsZEnable, kRsAmbient}) {
        snapshot.renderStates.push_back(GetRenderState(state));
    }
    snapshot.stageStates = {GetTextureStageState(0, kTssMagFilter), GetTextureStageState(0, kTssMinFilter)};
    snapshot.view = GetTransform(kTransformView);
    snapshot.projection = GetTransform(kTransformProjection);
    for (const graphics::FontSlot& slot : graphics::fonts.fontPool) {
        snapshot.fontsInUse.push_back(slot.InUse);
    }
    for (const graphics::MeshSlot& slot : graphics::meshState.meshes) {
        snapshot.meshSubsets.push_back(slot.materialCount);
    }
    graphics::BeginFrame();
    graphics::BeginSprites();
    graphics::DrawSprite(world::assets.shipTexture, {300, 300}, 0.3f, false, "FF", 0, "");
    graphics::EndSprites();
    const std::int32_t fontIndices[] = {graphics::fonts.fontSmall, graphics::fonts.fontLarge, graphics::fonts.fontMedium};
    for (int i = 0; i < 3; ++i) {
        graphics::DrawText("Probe 123", fontIndices[i], graphics::kOpaqueWhite, graphics::ScreenTextRect(20, 20 + 40 * i));
    }
    for (std::int16_t mesh = 1; mesh <= 5; ++mesh) {
        graphics::SetMeshTransform(100.0f + 130.0f * static_cast<float>(mesh - 1), 450, 0.4f, 0.12f, 0.6f, 0.3f, 0.5f);
        graphics::DrawMesh(mesh, 0);
    }
    graphics::EndFrame();
    snapshot.probe = device.lastPresented;
    return snapshot;
}

// The top 160 rows of the last frame: background only on every screen.
std::vector<std::uint16_t> TopOfFrame() {
    const auto& frame = platform::device.lastPresented;
    return {frame.begin(), frame.begin() + 160 * platform::kScreenWidth};
}

bool AllBlack(const std::vector<std::uint16_t>& pixels) {
    return std::all_of(pixels.begin(), pixels.end(), [](std::uint16_t pixel) { return pixel == 0; });
}

class ScreenLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        shell::counters = shell::GameCounters{};
        screens::SetTable(common::FirstScoreTable());
    }
    void TearDown() override { platform::SetProgramFolder(test_support::ProgramFolder()); }
    platform::FakeClock clock{300000};
};

// A hundred resets in a row on each screen and in the game bring back every device state,
// font, mesh and texture, and each screen's background as it was; the background surface stays
// held while the device is lost, until the reset drops it.
TEST_F(ScreenLoopTest, AHundredDeviceResetsOnEachScreenAndInTheGameRestoreEverything) {
    const DeviceSnapshot reference = Snapshot();
    ASSERT_EQ(reference.meshSubsets.size(), 7u);
    ASSERT_GT(reference.meshSubsets[5], 0) << "the meshes are loaded";
    std::vector<Screen> screens(std::begin(kScreens), std::end(kScreens));
    screens.push_back(kGame);
    for (const Screen& screen : screens) {
        const bool hasBackground = screen.run != RunGame;
        std::vector<std::uint16_t> before, after;
        std::size_t texturesBefore = 0, texturesAfter = 0;
        int resets = 0;
        bool droppedWhileLost = false, rebuilt = false;
        int phase = 0;  // 0 lose the device, 1 give it back, 2 wait for the screen to reset it
        KeyScript script(clock, 10);
        script.Hold({}, 3)
            .HoldUntil({}, [&] { return resets == 100; }, 1000)
            .Hold({}, 3)
            .Watch([&](int pump) {
                if (pump == 3) {
                    before = TopOfFrame();
                    texturesBefore = LiveTextures();
                } else if (pump > 3 && resets < 100) {
                    if (phase == 0) {
                        platform::device_testing::LoseDevice();
                    } else if (phase == 1) {
                        droppedWhileLost |= !shell::frmMain.menuSurface;
                        platform::device_testing::RestoreDevice();
                    } else if (platform::TestCooperativeLevel() == platform::kOk) {
                        ++resets;
                    }
                    phase = phase == 2 && platform::TestCooperativeLevel() != platform::kOk ? 2 : (phase + 1) % 3;
                } else if (resets == 100) {
                    after = TopOfFrame();
                    texturesAfter = LiveTextures();
                    rebuilt = shell::frmMain.menuSurface && !shell::frmMain.surfacesLost;
                }
            });
        Leave(script, screen.downsToLeave);
        ASSERT_TRUE(script.Run(screen.run)) << screen.name;
        EXPECT_EQ(resets, 100) << screen.name;
        EXPECT_TRUE(before == after) << screen.name << ": the frame's top differs after the resets";
        EXPECT_EQ(texturesAfter, texturesBefore) << screen.name << ": textures made again at each reset and kept";
        EXPECT_EQ(Differences(Snapshot(), reference), "") << screen.name;
        if (hasBackground) {
            EXPECT_FALSE(droppedWhileLost) << screen.name << ": the background dropped before the reset";
            EXPECT_TRUE(rebuilt) << screen.name;
            EXPECT_FALSE(AllBlack(before)) << screen.name << ": a black background";
        }
    }
}

TEST_F(ScreenLoopTest, AltEnterSwitchesTheWindowOnEachScreenAndItsReturnChoosesNothing) {
    std::vector<Screen> screens(std::begin(kScreens), std::end(kScreens));
    screens.push_back(kGame);
    const bool fullscreenBefore = platform::window.fullscreen;
    for (const Screen& screen : screens) {
        bool returnSeen = false;
        std::vector<bool> switched;
        KeyScript script(clock, 10);
        // Twice: Alt down with the Return's press, the Return held after Alt is let go, then its
        // release; the window switches at the press.
        script.Hold({}, 14).Watch([&](int pump) {
            // The way out presses a Return of its own after pass 14.
            returnSeen = returnSeen || (pump <= 14 && input::dinput.keyState[kKeyReturn]);
            switch (pump > 12 ? 0 : pump % 6) {
                case 1:
                    platform::ScriptKey(common::kKeyLeftAlt, true);
                    platform::window_testing::PushAltEnter(true);
                    break;
                case 2:
                    platform::ScriptKey(kKeyReturn, true);
                    switched.push_back(platform::window.fullscreen != fullscreenBefore);
                    break;
                case 3: platform::ScriptKey(common::kKeyLeftAlt, false); break;
                case 4:
                    platform::window_testing::PushAltEnter(false);
                    platform::ScriptKey(kKeyReturn, false);
                    break;
                default: break;
            }
        });
        Leave(script, screen.downsToLeave);
        ASSERT_TRUE(script.Run(screen.run)) << screen.name;
        EXPECT_FALSE(returnSeen) << screen.name << ": the Return of Alt+Enter reached keyState";
        EXPECT_EQ(switched, (std::vector<bool>{true, false})) << screen.name;
        EXPECT_EQ(platform::window.fullscreen, fullscreenBefore) << screen.name;
    }
}

TEST_F(ScreenLoopTest, AMissingPictureLeavesTheBackgroundBlackAndIsNamedOnce) {
    const fs::path empty = test_support::ScratchFolder("no-pictures");
    platform::SetProgramFolder(empty);
    std::vector<std::uint16_t> top;
    testing::internal::CaptureStderr();
    for (int visit = 0; visit < 2; ++visit) {
        for (const Screen& screen : {kScreens[1], kScreens[2]}) {
            KeyScript script(clock, 10);
            script.Hold({}, 2).Watch([&](int pump) {
                if (pump == 2) {
                    top = TopOfFrame();
                }
            });
            Leave(script, screen.downsToLeave);
            ASSERT_TRUE(script.Run(screen.run)) << screen.name;
            EXPECT_TRUE(AllBlack(top)) << screen.name;
        }
    }
    const std::string said = testing::internal::GetCapturedStderr();
    platform::SetProgramFolder(test_support::ProgramFolder());
    fs::remove_all(empty);
    for (const fs::path& picture : {empty / "Menu.bmp", empty / "Shop.bmp"}) {
        const auto first = said.find(picture.string());
        EXPECT_NE(first, std::string::npos) << said;
        EXPECT_EQ(said.find(picture.string(), first + 1), std::string::npos) << said;
    }
}

// The five screens as a player first sees them, each with its highlight somewhere inside.
TEST_F(ScreenLoopTest, GoldenFrames) {
    audio::music.musicVolume = 85;
    audio::sound.sfxVolume = -400;
    shell::counters.money = 1234;
    struct Shot {
        const char* golden;
        const Screen& screen;
        int downs;      // Down presses before the picture
        int leaveDowns; // and after it, to the line that leaves
        bool up;        // Up back to the first line before leaving
        int wait;       // passes from the last Down to the picture
    };
    // The main menu's highlighted item is caught turned by 0.2 radians: its steps come at
    // passes 1, 12, 23 ... (110 ms apart), 0.1, 0.2, 0.3, 0 and round again.
    const Shot shots[] = {
        {"screen_main_menu", kScreens[0], 1, 0, true, 33},  {"screen_options", kScreens[1], 1, 1, false, 10},
        {"screen_shop", kScreens[2], 3, 5, false, 10},      {"screen_high_scores", kScreens[3], 0, 0, false, 10},
        {"screen_initials", kScreens[4], 0, 0, false, 10},
    };
    for (const Shot& shot : shots) {
        common::Image picture;
        KeyScript script(clock, 10);
        script.Tap({kKeyDown}, kRepeatPumps, shot.downs);
        script.Hold({}, shot.wait + 2).Watch([&, at = shot.downs * (1 + kRepeatPumps) + shot.wait](int pump) {
            if (shot.screen.run == RunInitials && pump == 1) {
                screens::highScores.entry.letters = {'B', 'K', 'A'};
                screens::highScores.entry.position = 1;
                screens::highScores.entry.letterIndex = 10;
            }
            if (pump == at) {
                picture = test_support::FrameToImage(platform::device.lastPresented, platform::kScreenWidth,
                                                     platform::kScreenHeight);
            }
        });
        if (shot.up) {
            script.Tap({kKeyUp}, kRepeatPumps);
        }
        Leave(script, shot.leaveDowns);
        ASSERT_TRUE(script.Run(shot.screen.run)) << shot.golden;
        EXPECT_TRUE(test_support::MatchesGolden(picture, shot.golden));
    }
}

}  // namespace
