// The game's one window: creation, the message pump with its window timers, and the screen the
// device presents to. Full screen on the desktop's own mode (the 800 x 600 frame is scaled to
// fill it with its aspect kept); CORVANE_WINDOWED=1 gives an 800 x 600 window instead.
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

struct WindowState {
    bool created = false;
    bool fullscreen = true;   // false with CORVANE_WINDOWED=1
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

// Processes every pending event, then fires the window timers that are due.
void DoEvents();

using TimerId = int;
TimerId CreateWindowTimer(int intervalMs, std::function<void()> handler);
void EnableWindowTimer(TimerId id, bool enabled);
bool WindowTimerEnabled(TimerId id);

// Shows one 800 x 600 R5G6B5 frame, scaled to the window with its aspect kept. False when the
// frame could not be shown.
bool PresentToWindow(std::span<const std::uint16_t> pixels, int width, int height);

namespace window_testing {
// What the window shows after the last present, read back from the renderer: A8R8G8B8 pixels
// of the whole output (800 x 600 in a window, the desktop's size full screen, bars included);
// no pixels when they cannot be read.
struct ShownImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};
ShownImage ShownPixels();
}  // namespace window_testing

}  // namespace platform
