// The game's main window: start-up, the outer loop of menu and game, the game frame, the
// device check every screen runs, and the shutdown.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/device.h"

namespace shell {

struct MainWindow {
    bool gameRunning = false;    // the game loop repeats while set
    bool quitRequested = false;  // the quit question is showing
    bool bannerShowing = false;  // the level-start banner was drawn in the previous frame
    bool levelComplete = false;  // the level-complete screen was drawn in the previous frame
    bool gameOver = false;       // the last ship is gone
    bool surfacesLost = false;   // a device reset happened: screens rebuild their backgrounds
    bool showFps = false;        // "SHOWFPS" was on the command line
    platform::SurfaceHandle backBuffer;   // the render target, held by the menu screens
    platform::SurfaceHandle menuSurface;  // the menu screens' background picture
    std::string cMFile;          // path of the music that plays or should play
    std::int16_t shipTilt = 0;   // 0 straight, 1 banking left, 2 banking right, 3 destroyed
    double enginePhase = 0.0;    // phase of the idle bobbing, radians
    double strafeSpeed = 0.0;    // sideways speed, positive to the left
    platform::Tick lastDecayTick = 0;  // last slow decay of the ship's speed
};
extern MainWindow frmMain;

// While the window is minimised or the device is lost, a loop only pumps messages; a short
// sleep keeps it from burning a core while it waits.
inline constexpr double kIdleWaitMs = 10.0;

// The whole life of the program: start-up, then menu and game for ever. Ends only through
// Shutdown.
[[noreturn]] void FormLoad();

// Start-up steps up to the outer loop; false when the program cannot run (the reason shown).
bool StartUp();

// One turn of the outer loop: the main menu (not before the first game when "--level N" was
// given), then one game.
void OuterLoopPass();

// One game: set-up, the game loop while gameRunning, and the clean-up after it. A level that
// cannot be loaded ends the game at once, after its message.
void PlayOneGame();

// Loads the laser's sound into its slot without playing it, at the effects volume of the moment:
// every shot of the game restarts it there.
void LoadLaserSound();

// One iteration of the game loop.
void GameFrame();

// The music timer's handler (every 250 ms while enabled, from inside the message pump): keeps
// the music going while it is wanted and starts cMFile again when it has ended.
void tmrVogg_Timer();

// Device-loss recovery at the top of every screen loop.
void CheckDevice();
std::int32_t ResetDevice();

// The shutdown sequence: cursor back, input, sound, graphics, music; then the program ends.
[[noreturn]] void Shutdown(int exitStatus = 0);

// A run-time error as a message box shows it: its description, a space and its number. The
// number is a device error's result code, a system error's errno value, ENOMEM for memory
// running out, EINVAL for an invalid argument, ERANGE for a value out of range or too long,
// EDOM for a domain error, and 1 for any other error.
std::int32_t ErrorNumber(const std::exception& error);
std::string ErrorText(const std::exception& error);

// "SHOWFPS" anywhere in the command line, exact case.
bool CommandLineShowsFps(std::string_view commandLine);

// The level a new game starts on: "--level N" among the game's words, else 1.
std::int16_t StartLevelFromWords(const std::vector<std::string>& words);

// The money a new game starts with: "--money M" among the game's words (M from 0 to a million), else 0.
std::int32_t StartMoneyFromWords(const std::vector<std::string>& words);

// Hide the cursor until its display counter is below -1; show it until it is 0 or more.
void HideCursorFully();
void ShowCursorFully();

}  // namespace shell
