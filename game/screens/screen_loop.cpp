#include "game/screens/screen_loop.h"

#include <algorithm>
#include <cstdio>

#include "common/scancodes.h"
#include "game/graphics/dxgfx.h"
#include "game/input/dinput.h"
#include "game/shell/frm_main.h"
#include "platform/app.h"
#include "platform/device.h"
#include "platform/window.h"

namespace screens {

ScreenLoopState screenLoop;

void BuildBackground(std::string_view fileName) {
    using namespace platform;
    shell::frmMain.menuSurface = CreateImageSurface(kScreenWidth, kScreenHeight, kFormatR5G6B5);
    shell::frmMain.backBuffer = GetRenderTarget();
    if (!shell::frmMain.menuSurface) {
        return;
    }
    const std::filesystem::path path = DataFolder() / fileName;
    std::string error;
    if (LoadSurfaceFromFile(*shell::frmMain.menuSurface, path, &error) != kOk) {
        // A new surface is black: the screen goes on without its picture.
        std::vector<std::string>& reported = screenLoop.reportedMissing;
        if (std::find(reported.begin(), reported.end(), path.string()) == reported.end()) {
            reported.push_back(path.string());
            std::fprintf(stderr, "Starwake: %s; the screen's background stays black\n", error.c_str());
        }
    }
}

void RebuildBackgroundIfLost(std::string_view fileName) {
    if (shell::frmMain.surfacesLost) {
        BuildBackground(fileName);
        shell::frmMain.surfacesLost = false;
    }
}

void CopyBackground() {
    if (shell::frmMain.menuSurface && shell::frmMain.backBuffer) {
        platform::CopyRects(*shell::frmMain.menuSurface, *shell::frmMain.backBuffer);
    }
}

bool ScreenPass(std::string_view picture, void (*draw)()) {
    shell::CheckDevice();
    if (platform::IsMinimised()) {
        platform::SleepMilliseconds(shell::kIdleWaitMs);
        platform::DoEvents();
        return false;
    }
    RebuildBackgroundIfLost(picture);
    graphics::BeginFrame();
    CopyBackground();
    draw();
    graphics::EndFrame();
    input::UpdateInput();
    return true;
}

void MoveHighlight(int* highlighted, platform::Tick* nextMoveAt, int last) {
    if (input::ActionDown(input::Action::kUp) && *nextMoveAt < platform::GetTickCount()) {
        *highlighted = std::max(*highlighted - 1, 0);
        *nextMoveAt = platform::GetTickCount() + kMoveRepeatMs;
    }
    if (input::ActionDown(input::Action::kDown) && *nextMoveAt < platform::GetTickCount()) {
        *highlighted = std::min(*highlighted + 1, last);
        *nextMoveAt = platform::GetTickCount() + kMoveRepeatMs;
    }
}

bool FireOrReturnDown() {
    return input::ActionDown(input::Action::kFire) || input::KeyDown(common::kKeyReturn);
}

void WaitForFireAndReturnUp() {
    for (;;) {
        platform::DoEvents();
        input::UpdateInput();
        if (!FireOrReturnDown()) {
            return;
        }
        // A short rest between polls: the key is held by a hand, and a recording keeps every poll.
        platform::SleepMilliseconds(shell::kIdleWaitMs);
    }
}

}  // namespace screens
