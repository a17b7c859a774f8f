#include "game/shell/frm_main.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "common/number_text.h"
#include "common/player_files.h"
#include "common/scancodes.h"
#include "game/audio/music.h"
#include "game/autopilot/autopilot.h"
#include "game/audio/sound.h"
#include "game/effects/particles.h"
#include "game/graphics/dxgfx.h"
#include "game/graphics/fonts.h"
#include "game/graphics/sprites.h"
#include "game/input/controls.h"
#include "game/input/dinput.h"
#include "game/screens/high_scores.h"
#include "game/shell/game_counters.h"
#include "game/shell/game_flow.h"
#include "game/shell/hud.h"
#include "game/shell/main_menu.h"
#include "game/shell/mod_timer.h"
#include "game/shell/replay.h"
#include "game/simulation/ship_control.h"
#include "game/simulation/world_pass.h"
#include "game/world/background.h"
#include "game/world/level_assets.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace shell {

MainWindow frmMain;

namespace {

// The frame-rate text and the quit question.
void DrawShellTexts() {
    if (frmMain.showFps) {
        graphics::DrawText("FPS: " + std::to_string(frameTimer.fps), graphics::fonts.fontSmall,
                           graphics::kOpaqueWhite, graphics::TextRect(0, 70));
    }
    if (frmMain.quitRequested) {
        graphics::DrawText("Are you sure you wish to quit (Y/N)?", graphics::fonts.fontLarge,
                           graphics::kOpaqueWhite, graphics::TextRect(100, 200));
    }
}

// Where Config.txt and Scores.dat are, chosen once and said once on standard error.
void ChoosePlayerFiles() {
    platform::ChoosePlayerFiles();
    for (const std::string& note : platform::app.playerFiles.notes) {
        std::fprintf(stderr, "Starwake: %s\n", note.c_str());
    }
    std::fprintf(stderr, "Starwake: player files: %s\n",
                 common::DescribePlayerFiles(platform::app.playerFiles).c_str());
}

}  // namespace

bool CommandLineShowsFps(std::string_view commandLine) {
    return commandLine.find("SHOWFPS") != std::string_view::npos;
}

std::int32_t ErrorNumber(const std::exception& error) {
    if (const auto* device = dynamic_cast<const graphics::DeviceError*>(&error)) {
        return device->code;
    }
    if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
        return system->code().value();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error)) {
        return ENOMEM;
    }
    if (dynamic_cast<const std::invalid_argument*>(&error)) {
        return EINVAL;
    }
    if (dynamic_cast<const std::out_of_range*>(&error) || dynamic_cast<const std::length_error*>(&error)) {
        return ERANGE;
    }
    if (dynamic_cast<const std::domain_error*>(&error)) {
        return EDOM;
    }
    return 1;
}

std::string ErrorText(const std::exception& error) {
    return std::string(error.what()) + " " + std::to_string(ErrorNumber(error));
}

namespace {

// The whole number after `word` on the command line, when it lies in [least, most]; otherwise
// the fallback, said on standard error (what the word takes, what happens instead) when the word
// came with something else.
int WholeNumberAfterWord(const std::vector<std::string>& words, const char* word, int least, int most,
                         int fallback, const char* what, const char* otherwise) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == word) {
            const auto number = common::ParseNumber(words[i + 1]);
            if (number && *number >= least && *number <= most && *number == static_cast<int>(*number)) {
                return static_cast<int>(*number);
            }
            std::fprintf(stderr, "Starwake: %s takes %s from %d to %d; %s\n", word, what, least, most, otherwise);
        }
    }
    return fallback;
}

}  // namespace

std::int16_t StartLevelFromWords(const std::vector<std::string>& words) {
    return static_cast<std::int16_t>(WholeNumberAfterWord(words, "--level", 1, kLastLevel, 1, "a level", "starting at 1"));
}

std::int32_t StartMoneyFromWords(const std::vector<std::string>& words) {
    return WholeNumberAfterWord(words, "--money", 0, 1000000, 0, "a sum", "starting with none");
}

void HideCursorFully() {
    while (platform::ShowCursor(false) >= -1) {
    }
}

void ShowCursorFully() {
    while (platform::ShowCursor(true) < 0) {
    }
}

bool StartUp() {
    platform::EnterDataFolder();
    ChoosePlayerFiles();
    audio::InitOgg();
    if (audio::music.tmrVOGG < 0) {
        audio::music.tmrVOGG = platform::CreateWindowTimer(250, tmrVogg_Timer);
    }
    audio::music.musicVolume = 100;
    frmMain.showFps = CommandLineShowsFps(platform::CommandLine());
    frmMain.gameRunning = true;
    input::LoadControls();
    screens::LoadScores();

    // A replay being played brings the words and key bindings of the run it recorded.
    std::string replayError;
    if (!StartReplay(runOptions, &replayError)) {
        platform::ShowMessageBox(replayError, "Starwake", platform::MessageButtons::kOkOnly,
                                 platform::MessageIcon::kCritical);
        return false;
    }
    frmMain.showFps = CommandLineShowsFps(platform::CommandLine());
    // A run shown again is not the player's own: its scores never reach the player's table.
    if (runOptions.mode == ReplayMode::kPlay || runOptions.mode == ReplayMode::kTimedemo) {
        screens::highScores.file.writeTo.clear();
    }
    flow.startLevel = StartLevelFromWords(platform::app.arguments);
    flow.startMoney = StartMoneyFromWords(platform::app.arguments);
    flow.skipMenu = std::find(platform::app.arguments.begin(), platform::app.arguments.end(), "--level") !=
                    platform::app.arguments.end();
    // The autopilot presses its keys before the recording sees them; a shown replay has its own.
    if (runOptions.autopilot && runOptions.mode != ReplayMode::kPlay && runOptions.mode != ReplayMode::kTimedemo) {
        autopilot::Engage(flow.skipMenu);
        input::dinput.pollObserver = [](std::array<bool, 256>& keyState) {
            autopilot::OnInputPoll(keyState);
            AfterInputPoll(keyState);
        };
    } else {
        input::dinput.pollObserver = AfterInputPoll;
    }
    graphics::dxgfx.frameEnded = OnFrameEnd;

    graphics::dxgfx.dx = platform::InitVideo();
    if (graphics::dxgfx.dx) {
        platform::window.quitHandler = [] { Shutdown(0); };
        platform::CreateMainWindow("Starwake");
    }
    graphics::InitD3D();
    if (!graphics::dxgfx.hasDevice) {
        // The game never runs on without a device.
        if (graphics::dxgfx.dx) {
            platform::ShowMessageBox("Cannot create the display device.", "Starwake",
                                     platform::MessageButtons::kOkOnly, platform::MessageIcon::kCritical);
        }
        return false;
    }
    std::string inputError;
    if (!input::InitDirectInput(&inputError)) {
        // Without the keyboard the game could not even be left: say why and stop.
        const std::string message = "Cannot read the keyboard: " + inputError + ".";
        std::fprintf(stderr, "Starwake: %s\n", message.c_str());
        platform::ShowMessageBox(message, "Starwake", platform::MessageButtons::kOkOnly,
                                 platform::MessageIcon::kCritical);
        return false;
    }
    // Without a sound device the game plays silent (InitSound has said so).
    audio::InitSound();
    graphics::CreateGameFonts();
    world::LoadTextures();
    world::InitStars();
    world::LoadExplosionFrames();
    world::records.cars[0] = std::make_shared<world::cCar>();
    world::records.cars[0]->Angle = 0;
    world::records.cars[0]->CarAngle = 0;
    HideCursorFully();
    return true;
}

void FormLoad() {
    if (!StartUp()) {
        platform::ShutdownVideo();
        std::exit(1);
    }
    for (;;) {
        OuterLoopPass();
    }
}

void OuterLoopPass() {
    if (flow.skipMenu) {
        flow.skipMenu = false;
        graphics::SetSpriteScale(0.75f, 0.75f);
    } else {
        MainMenu();
    }
    PlayOneGame();
    // "--level N" picks the level of the first game only; the menu's games start at level 1.
    flow.startLevel = 1;
    flow.startMoney = 0;
}

void PlayOneGame() {
    if (NewGame()) {
        LoadLaserSound();
        while (frmMain.gameRunning) {
            GameFrame();
        }
    }
    frmMain.gameRunning = true;
    world::ClearWorld();
    flow.bannerEndAt = 0;
    audio::music.musicOn = false;
    audio::StopOgg();
}

void LoadLaserSound() {
    audio::LoadSound((platform::DataFolder() / "sounds" / "Laser.wav").string(), audio::sound.sfxVolume, false,
                     audio::kLaserSlot, true);
}

void GameFrame() {
    CheckDevice();
    if (!platform::IsMinimised()) {
        UpdateFrameTimer();
        frameTimer.frameScale = 60.0f / static_cast<float>(frameTimer.fps);

        if (!frmMain.bannerShowing && counters.health > 0 && !frmMain.quitRequested) {
            simulation::HandleKeys();
        }
        if (frmMain.quitRequested) {
            input::UpdateInput();
            if (input::dinput.keyState[common::kKeyY]) {
                frmMain.gameRunning = false;
                frmMain.quitRequested = false;
            } else if (input::dinput.keyState[common::kKeyN]) {
                frmMain.quitRequested = false;
            }
        }

        graphics::BeginFrame();
        graphics::BeginSprites();
        world::DrawStars(world::records.shipX, world::records.shipY);
        world::DrawTiles(world::records.shipX, world::records.shipY);
        graphics::EndSprites();

        if (!frmMain.bannerShowing && !frmMain.levelComplete && !frmMain.quitRequested) {
            simulation::UpdateWorldObjects(world::records.shipX, world::records.shipY);
        }
        if (effects::particles.Active) {
            graphics::BeginSprites();
            effects::RenderParticles(world::records.shipX, world::records.shipY);
            graphics::EndSprites();
        }

        DrawShellTexts();
        DrawScoreAndMoney();
        DrawHud();

        frmMain.bannerShowing = false;
        frmMain.levelComplete = false;
        EndOfFrameFlow();
        LevelBanner();
        graphics::EndFrame();
    } else {
        platform::SleepMilliseconds(kIdleWaitMs);
    }
    platform::DoEvents();
}

void tmrVogg_Timer() {
    platform::EnableWindowTimer(audio::music.tmrVOGG, false);
    if (audio::OggIsPlaying() & 1) {
        if (audio::music.musicOn) {
            audio::UpdateOgg();
            platform::EnableWindowTimer(audio::music.tmrVOGG, true);
        }
    } else if (audio::music.musicOn) {
        // The file has ended: start it again, which is how the music loops.
        audio::PlayOggFile(frmMain.cMFile);
        platform::EnableWindowTimer(audio::music.tmrVOGG, true);
    }
}

void CheckDevice() {
    std::int32_t r = platform::TestCooperativeLevel();
    for (;;) {
        if (r == platform::kErrDeviceLost) {
            platform::DoEvents();
            platform::DoEvents();
            platform::SleepMilliseconds(kIdleWaitMs);
            r = platform::TestCooperativeLevel();
        } else if (r == platform::kErrDeviceNotReset) {
            graphics::ReleaseFonts();
            const std::int32_t e = ResetDevice();
            if (e == 0) {
                graphics::RecreateFonts();
                frmMain.surfacesLost = true;
            } else {
                platform::SleepMilliseconds(kIdleWaitMs);
            }
            platform::DoEvents();
            r = platform::TestCooperativeLevel();
        } else {
            break;
        }
    }
}

std::int32_t ResetDevice() {
    frmMain.backBuffer.reset();
    frmMain.menuSurface.reset();
    const std::int32_t result = platform::Reset(graphics::dxgfx.presentParams);
    if (result != platform::kOk) {
        return result;
    }
    graphics::SetupRenderStates();
    return 0;
}

void Shutdown(int exitStatus) {
    FinishReplay();
    ShowCursorFully();
    input::ShutdownInput();
    audio::ReleaseSound();
    graphics::ShutdownGraphics();
    audio::music.musicOn = false;
    platform::EnableWindowTimer(audio::music.tmrVOGG, false);
    audio::CloseOgg();
    platform::ShutdownVideo();
    std::fflush(stdout);
    std::exit(exitStatus);
}

}  // namespace shell
