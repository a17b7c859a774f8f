// What every menu screen (main menu, options, shop, high-score table, initials entry) shares:
// the full-screen background picture held on an image surface, the start of each pass (the
// device check and the minimised window), the keys that choose, and the wait for them to be
// let go.
#pragma once

#include <string>

#include "platform/clock.h"
#include <string_view>
#include <vector>

namespace screens {

inline constexpr std::string_view kMenuPicture = "Menu.bmp";
inline constexpr std::string_view kShopPicture = "Shop.bmp";

// A held key repeats its move every 250 ms.
inline constexpr platform::Tick kMoveRepeatMs = 250;

// The screen whose loop is running; kNone while the game frame runs.
enum class Screen { kNone, kMainMenu, kOptions, kShop, kHighScores, kInitials };

struct ScreenLoopState {
    std::vector<std::string> reportedMissing;  // background pictures already said to be unreadable
    Screen showing = Screen::kNone;            // the screen being shown, for whoever watches
};
extern ScreenLoopState screenLoop;

// Marks a screen as shown for as long as it lives; the screen it was called from shows again
// after it.
class ShowingScreen {
public:
    explicit ShowingScreen(Screen screen) : previous_(screenLoop.showing) { screenLoop.showing = screen; }
    ~ShowingScreen() { screenLoop.showing = previous_; }
    ShowingScreen(const ShowingScreen&) = delete;
    ShowingScreen& operator=(const ShowingScreen&) = delete;

private:
    Screen previous_;
};

// Makes the main window's 800 x 600 R5G6B5 background surface, loads a picture below the
// program folder into it and fetches the render target. A picture that cannot be read leaves
// the background black; the first time for each file says so on standard error.
void BuildBackground(std::string_view fileName);

// After a device reset dropped the surfaces: builds the background again and clears the flag.
void RebuildBackgroundIfLost(std::string_view fileName);

// Copies the whole background onto the back buffer.
void CopyBackground();

// The first part of every pass: the device check; the background rebuilt after a reset; a
// frame of the background with the screen's own drawing on it; the input poll. False, after
// letting the window process its events, while the window is minimised: the pass then draws
// and reads nothing.
bool ScreenPass(std::string_view picture, void (*draw)());

// Up and Down move a highlight between 0 and last, without wrapping round; one repeat tick
// serves both keys.
void MoveHighlight(int* highlighted, platform::Tick* nextMoveAt, int last);

// Fire or Return is down.
bool FireOrReturnDown();

// Polls the input and lets the window process its events until Fire and Return are both up.
void WaitForFireAndReturnUp();

}  // namespace screens
