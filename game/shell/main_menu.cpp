#include "game/shell/main_menu.h"

#include <algorithm>

#include "game/audio/music.h"
#include "game/audio/sound.h"
#include "game/graphics/fonts.h"
#include "game/graphics/sprites.h"
#include "game/input/dinput.h"
#include "game/screens/high_scores.h"
#include "game/screens/screen_loop.h"
#include "game/shell/frm_main.h"
#include "game/world/level_assets.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace shell {

MenuScreens menus;

namespace {

constexpr platform::Tick kWobbleStepMs = 100;

// Where each item of MenuItems.bmp lies and where the menu shows it.
struct MenuItemPicture {
    float y;
    platform::Rect source;
};
constexpr MenuItemPicture kItemPictures[] = {
    {270, {0, 0, 185, 45}},     // start a game
    {320, {0, 60, 185, 110}},   // options
    {370, {0, 175, 250, 220}},  // high scores
    {420, {0, 120, 185, 165}},  // exit
};

// The highlighted item turns 0.1, 0.2, 0.3, 0, 0.1 ... radians, 100 ms each.
void Wobble(MenuScreenState& state) {
    if (state.nextWobbleAt < platform::GetTickCount()) {
        state.wobble += 0.1f;
        state.nextWobbleAt = platform::GetTickCount() + kWobbleStepMs;
    }
    if (0.3f < state.wobble) {
        state.wobble = 0;
    }
}

// The wobble steps as the frame is drawn, as the highlighted item turns.
void DrawMenuItems() {
    Wobble(menus.mainMenu);
    graphics::BeginSprites();
    for (int item = kStartGame; item <= kExit; ++item) {
        const bool lit = item == menus.mainMenu.highlighted;
        const MenuItemPicture& picture = kItemPictures[item];
        graphics::DrawSpriteRect(world::assets.menuItemsTexture, {300, picture.y},
                                 lit ? menus.mainMenu.wobble : 0.0f, true, "FF", 0, picture.source, 0.7f,
                                 0.7f, lit ? "9FFF9F" : "");
    }
    graphics::EndSprites();
}

// Turn Left and Turn Right change the volume of the highlighted line, on the same repeat tick
// as the highlight's moves.
void ChangeVolume(MenuScreenState& state) {
    for (const int step : {-1, 1}) {
        const input::Action key = step < 0 ? input::Action::kTurnLeft : input::Action::kTurnRight;
        if (!input::ActionDown(key) || !(state.nextMoveAt < platform::GetTickCount())) {
            continue;
        }
        state.nextMoveAt = platform::GetTickCount() + screens::kMoveRepeatMs;
        if (state.highlighted == kMusicVolumeLine) {
            audio::music.musicVolume = std::clamp(audio::music.musicVolume + 5 * step, 0, 100);
        } else if (state.highlighted == kSfxVolumeLine) {
            audio::sound.sfxVolume = std::clamp(audio::sound.sfxVolume + 100 * step, -2500, 0);
        }
    }
}

void DrawOptionLines() {
    for (int line = kMusicVolumeLine; line <= kOptionsExitLine; ++line) {
        const std::uint32_t colour =
            line == menus.options.highlighted ? graphics::kOpaqueGreen : graphics::kOpaqueWhite;
        graphics::DrawText(OptionText(line), graphics::fonts.fontLarge, colour,
                           graphics::ScreenTextRect(275, 300 + 50 * line));
    }
}

// One pass of the menu: its frame, its input, and the chosen item's action. True once a game
// is to start.
bool MainMenuPass() {
    MenuScreenState& state = menus.mainMenu;
    if (!screens::ScreenPass(screens::kMenuPicture, DrawMenuItems)) {
        return false;
    }
    screens::MoveHighlight(&state.highlighted, &state.nextMoveAt, kExit);
    if (screens::FireOrReturnDown()) {
        switch (state.highlighted) {
            case kStartGame:
                // No wait for the key to be let go: firing is held back by the level banner.
                graphics::SetSpriteScale(0.75f, 0.75f);
                platform::DoEvents();
                return true;
            case kOptions:
                screens::WaitForFireAndReturnUp();
                OptionsScreen();
                platform::DoEvents();
                break;
            case kHighScores:
                screens::WaitForFireAndReturnUp();
                screens::ShowHighScores();
                platform::DoEvents();
                break;
            default:
                Shutdown(0);
        }
    }
    platform::DoEvents();
    return false;
}

}  // namespace

std::string OptionText(int line) {
    switch (line) {
        case kMusicVolumeLine: return "Music Volume :" + std::to_string(audio::music.musicVolume) + "%";
        case kSfxVolumeLine: return "SFX Volume :" + std::to_string(100 + audio::sound.sfxVolume / 25) + "%";
        default: return "Exit";
    }
}

void MainMenu() {
    const screens::ShowingScreen shown(screens::Screen::kMainMenu);
    menus.mainMenu = MenuScreenState{};
    screens::BuildBackground(screens::kMenuPicture);
    try {
        while (!MainMenuPass()) {
        }
    } catch (const std::exception& error) {
        // The menu's error trap: the player reads what went wrong and a game starts.
        platform::ShowMessageBox(ErrorText(error), "Starwake", platform::MessageButtons::kOkOnly,
                                 platform::MessageIcon::kNone);
        graphics::SetSpriteScale(0.75f, 0.75f);
    }
}

void OptionsScreen() {
    const screens::ShowingScreen shown(screens::Screen::kOptions);
    MenuScreenState& state = menus.options;
    state = MenuScreenState{};
    screens::BuildBackground(screens::kMenuPicture);
    for (;;) {
        if (!screens::ScreenPass(screens::kMenuPicture, DrawOptionLines)) {
            continue;
        }
        screens::MoveHighlight(&state.highlighted, &state.nextMoveAt, kOptionsExitLine);
        ChangeVolume(state);
        // Fire and Return leave from the Exit line only.
        if (screens::FireOrReturnDown() && state.highlighted == kOptionsExitLine) {
            screens::WaitForFireAndReturnUp();
            return;
        }
        platform::DoEvents();
    }
}

}  // namespace shell
