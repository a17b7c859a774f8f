#include "platform/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/event_hooks.h"
#include "platform/frame_pacer.h"
#include "platform/pixel_format.h"

namespace platform {

WindowState window;

namespace {

// The SDL objects behind the window; they never leave this file.
struct SdlWindow {
    bool videoStarted = false;
    SDL_Window* handle = nullptr;
    // Without a renderer, the window's own X8R8G8B8 surface takes the frame.
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* frame = nullptr;  // streaming X8R8G8B8 texture the back buffer is widened into
    std::vector<std::function<void(const SDL_Event&)>> hooks;
};
SdlWindow sdl;

bool WindowedRequested() {
    const char* value = std::getenv("CORVANE_WINDOWED");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void SetActivity(bool focused, bool minimised) {
    if (focused == window.focused && minimised == window.minimised) {
        return;
    }
    window.focused = focused;
    window.minimised = minimised;
    if (window.activityHandler) {
        window.activityHandler(focused, minimised);
    }
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST: SetActivity(false, window.minimised); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: SetActivity(true, window.minimised); break;
        case SDL_WINDOWEVENT_MINIMIZED: SetActivity(window.focused, true); break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SHOWN: SetActivity(window.focused, false); break;
        default: break;
    }
}

// The frame widened to the texture's X8R8G8B8 rows in plain code the compiler vectorises (with
// AVX2 where the processor has it): the renderer's own conversion from a 16-bit texture costs
// several times as much.
__attribute__((target_clones("avx2", "default"))) void WidenFrame(const std::uint16_t* pixels, int width,
                                                                   int height, char* target, int pitch) {
    for (int y = 0; y < height; ++y) {
        const std::uint16_t* from = pixels + static_cast<std::ptrdiff_t>(y) * width;
        auto* to = reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * pitch);
        for (int x = 0; x < width; ++x) {
            to[x] = FromR5G6B5(from[x]);
        }
    }
}

// A window surface the frame can be widened into as it stands: 800 x 600 X8R8G8B8.
bool TakesFrameDirectly(const SDL_Surface* surface) {
    return surface != nullptr && surface->w == 800 && surface->h == 600 && surface->format->BytesPerPixel == 4 &&
           surface->format->Rmask == 0xFF0000u && surface->format->Gmask == 0xFF00u && surface->format->Bmask == 0xFFu;
}

void RequestQuit() {
    if (window.quitHandler) {
        window.quitHandler();
    } else {
        std::exit(0);
    }
}

}  // namespace

void AddEventHook(std::function<void(const SDL_Event&)> hook) { sdl.hooks.push_back(std::move(hook)); }

bool InitVideo() {
    if (sdl.videoStarted) {
        return true;
    }
    // The game keeps its own cursor counter; a screensaver must not cut into play.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "cannot start video: %s\n", SDL_GetError());
        return false;
    }
    sdl.videoStarted = true;
    return true;
}

void ShutdownVideo() {
    DestroyMainWindow();
    if (sdl.videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        sdl.videoStarted = false;
    }
}

bool CreateMainWindow(const std::string& caption) {
    if (window.created) {
        return true;
    }
    if (!InitVideo()) {
        return false;
    }
    window.fullscreen = !WindowedRequested();
    const Uint32 flags = window.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    // Full screen, the window is made at the desktop's size from the start: made at 800 x 600
    // and stretched afterwards, some X servers (those without a window manager above all)
    // never tell the renderer of the new size, and it draws the frame off centre.
    int width = 800, height = 600;
    SDL_DisplayMode desktop;
    if (window.fullscreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
        width = desktop.w;
        height = desktop.h;
    }
    sdl.handle = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (sdl.handle == nullptr) {
        std::fprintf(stderr, "cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    window.focused = true;
    window.minimised = false;
    window.vsync = false;
    SDL_DisplayMode mode;
    window.refreshRate = SDL_GetWindowDisplayMode(sdl.handle, &mode) == 0 ? mode.refresh_rate : 0;
    if (!window.fullscreen) {
        // A window shows the frame at its own size: widening it straight into the window's
        // surface costs least, and on machines whose only GL is a software one it saves most
        // of the work of presenting. A surface of another layout goes through a renderer.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (TakesFrameDirectly(SDL_GetWindowSurface(sdl.handle))) {
            window.created = true;
            return true;
        }
        sdl.renderer = SDL_CreateRenderer(sdl.handle, -1, SDL_RENDERER_SOFTWARE);
    }
    // Smooth scaling when the 800 x 600 frame fills a larger desktop.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (sdl.renderer == nullptr) {
        sdl.renderer = SDL_CreateRenderer(sdl.handle, -1, SDL_RENDERER_PRESENTVSYNC);
    }
    if (sdl.renderer == nullptr) {
        sdl.renderer = SDL_CreateRenderer(sdl.handle, -1, SDL_RENDERER_SOFTWARE);
    }
    if (sdl.renderer == nullptr) {
        std::fprintf(stderr, "cannot create a renderer: %s\n", SDL_GetError());
        DestroyMainWindow();
        return false;
    }
    SDL_RenderSetLogicalSize(sdl.renderer, 800, 600);
    // The frame texture has the screen's own layout, so that the renderer's copy is a plain one
    // (it would otherwise convert every pixel through its general blitter).
    sdl.frame = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 800, 600);
    if (sdl.frame == nullptr || SDL_SetTextureBlendMode(sdl.frame, SDL_BLENDMODE_NONE) != 0) {
        std::fprintf(stderr, "cannot create the frame texture: %s\n", SDL_GetError());
        DestroyMainWindow();
        return false;
    }
    SDL_RendererInfo info;
    window.vsync = SDL_GetRendererInfo(sdl.renderer, &info) == 0 &&
                   (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
                   (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    window.created = true;
    return true;
}

void DestroyMainWindow() {
    if (sdl.frame) {
        SDL_DestroyTexture(sdl.frame);
        sdl.frame = nullptr;
    }
    if (sdl.renderer) {
        SDL_DestroyRenderer(sdl.renderer);
        sdl.renderer = nullptr;
    }
    if (sdl.handle) {
        SDL_DestroyWindow(sdl.handle);
        sdl.handle = nullptr;
    }
    window.created = false;
}

bool IsMinimised() { return window.minimised; }

void DoEvents() {
    SDL_Event event;
    while (sdl.videoStarted && SDL_PollEvent(&event)) {
        for (const auto& hook : sdl.hooks) {
            hook(event);
        }
        switch (event.type) {
            case SDL_QUIT: RequestQuit(); break;
            case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
            default: break;
        }
    }
    // Window timers run on real time: they drive the music, never the play.
    const Tick now = RealTickCount();
    for (std::size_t i = 0; i < window.timers.size(); ++i) {
        WindowTimer& timer = window.timers[i];
        if (timer.enabled && now >= timer.nextDue) {
            timer.nextDue = now + timer.intervalMs;
            if (timer.handler) {
                // The handler may switch timers on and off, even this one.
                auto handler = timer.handler;
                handler();
            }
        }
    }
}

TimerId CreateWindowTimer(int intervalMs, std::function<void()> handler) {
    WindowTimer timer;
    timer.intervalMs = intervalMs;
    timer.handler = std::move(handler);
    window.timers.push_back(std::move(timer));
    return static_cast<TimerId>(window.timers.size() - 1);
}

void EnableWindowTimer(TimerId id, bool enabled) {
    if (id < 0 || static_cast<std::size_t>(id) >= window.timers.size()) {
        return;
    }
    WindowTimer& timer = window.timers[static_cast<std::size_t>(id)];
    if (enabled && !timer.enabled) {
        timer.nextDue = RealTickCount() + timer.intervalMs;
    }
    timer.enabled = enabled;
}

bool WindowTimerEnabled(TimerId id) {
    return id >= 0 && static_cast<std::size_t>(id) < window.timers.size() &&
           window.timers[static_cast<std::size_t>(id)].enabled;
}

bool PresentToWindow(std::span<const std::uint16_t> pixels, int width, int height) {
    if (!window.created || width <= 0 || height <= 0 || width > 800 || height > 600 ||
        pixels.size() < static_cast<std::size_t>(width) * height) {
        return false;
    }
    if (sdl.renderer == nullptr) {
        SDL_Surface* surface = SDL_GetWindowSurface(sdl.handle);
        if (!TakesFrameDirectly(surface) || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)) {
            return false;
        }
        WidenFrame(pixels.data(), width, height, static_cast<char*>(surface->pixels), surface->pitch);
        if (SDL_MUSTLOCK(surface)) {
            SDL_UnlockSurface(surface);
        }
        PaceFrame();
        return SDL_UpdateWindowSurface(sdl.handle) == 0;
    }
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(sdl.frame, nullptr, &target, &pitch) != 0) {
        return false;
    }
    if (pitch < width * 4) {
        SDL_UnlockTexture(sdl.frame);
        return false;
    }
    WidenFrame(pixels.data(), width, height, static_cast<char*>(target), pitch);
    SDL_UnlockTexture(sdl.frame);
    // A window shows the frame at its own size; full screen leaves bars to clear.
    if (window.fullscreen) {
        SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(sdl.renderer);
    }
    SDL_RenderCopy(sdl.renderer, sdl.frame, nullptr, nullptr);
    PaceFrame();
    SDL_RenderPresent(sdl.renderer);
    return true;
}

namespace window_testing {

ShownImage ShownPixels() {
    ShownImage image;
    if (window.created && sdl.renderer == nullptr) {
        const SDL_Surface* surface = SDL_GetWindowSurface(sdl.handle);
        if (!TakesFrameDirectly(surface)) {
            return {};
        }
        image.width = surface->w;
        image.height = surface->h;
        for (int y = 0; y < surface->h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(surface->pixels) +
                                                                     static_cast<std::ptrdiff_t>(y) * surface->pitch);
            for (int x = 0; x < surface->w; ++x) {
                image.pixels.push_back(row[x] | 0xFF000000u);
            }
        }
        return image;
    }
    if (!window.created || SDL_GetRendererOutputSize(sdl.renderer, &image.width, &image.height) != 0) {
        return {};
    }
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    // With the logical size set, a read would cover the frame's area alone.
    SDL_RenderSetLogicalSize(sdl.renderer, 0, 0);
    SDL_RenderSetViewport(sdl.renderer, nullptr);
    const int read = SDL_RenderReadPixels(sdl.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, image.pixels.data(), image.width * 4);
    SDL_RenderSetLogicalSize(sdl.renderer, 800, 600);
    if (read != 0) {
        return {};
    }
    return image;
}

}  // namespace window_testing

}  // namespace platform
