// The game's one window: creation, the message pump with its window timers, and the screen the
// device presents to. Full screen on the desktop's own mode or an 800 x 600 window the player
// may resize; either way the 800 x 600 frame is scaled to fill it with its shape kept. Alt+Enter
// switches between the two from inside the message pump, on every screen.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace platform {

// A window timer: fires from inside DoEvents once its interval has passed.
struct WindowTimer {
    int intervalMs = 0;
    bool enabled = false;
    Tick nextDue = 0;
    std::function<void()> handler;
};

// How the window starts: the command line's --windowed or --fullscreen, else the environment
// (CORVANE_WINDOWED=1 for a window), else full screen.
enum class StartMode { kFromEnvironment, kWindowed, kFullScreen };

struct WindowState {
    bool created = false;
    StartMode startMode = StartMode::kFromEnvironment;
    bool fullscreen = true;   // full screen now; Alt+Enter switches it
    bool pauseOnFocusLoss = true;  // a window without the focus pauses the game (not for replays)
    bool minimised = false;   // the window is iconified
    bool focused = true;      // the window has the keyboard focus
    bool vsync = false;       // presentation waits for the display's refresh
    int refreshRate = 0;      // of the display, in Hz; 0 when unknown
    std::function<void()> quitHandler;  // runs on window close, SIGINT or SIGTERM
    std::function<void(bool focused, bool minimised)> activityHandler;  // focus/minimise changes
    std::vector<WindowTimer> timers;
};
extern WindowState window;

// Starts the video and event services (the DirectX root object of the game); false with a
// message on standard error when no video driver works.
bool InitVideo();
void ShutdownVideo();

// Creates and shows the window with its caption; false when it cannot be created.
bool CreateMainWindow(const std::string& caption);
void DestroyMainWindow();

bool IsMinimised();

// Switches between full screen and the 800 x 600 window; false, with a message on standard
// error, when the window system refuses.
bool SetFullScreen(bool fullscreen);

// Processes every pending event, then fires the window timers that are due.
void DoEvents();

using TimerId = int;
TimerId CreateWindowTimer(int intervalMs, std::function<void()> handler);
void EnableWindowTimer(TimerId id, bool enabled);
bool WindowTimerEnabled(TimerId id);

// Shows one 800 x 600 R5G6B5 frame, scaled to the window with its shape kept: through SDL's
// renderer where it runs on a graphics processor, else scaled by our own code straight into the
// window's surface. False when the frame could not be shown.
bool PresentToWindow(std::span<const std::uint16_t> pixels, int width, int height);

namespace window_testing {
// What the window shows after the last present, read back: A8R8G8B8 pixels of the whole output
// (the window's size, the desktop's full screen, bars included); no pixels when they cannot be
// read.
struct ShownImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};
ShownImage ShownPixels();

// Queues the key event of Alt+Enter's Return going down (with Alt held) or up.
void PushAltEnter(bool down);

// Resizes the window as the player's dragging of its edge does.
void ResizeWindow(int width, int height);
}  // namespace window_testing

}  // namespace platform
