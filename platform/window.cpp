#include "platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/event_hooks.h"
#include "platform/frame_pacer.h"
#include "platform/frame_scaler.h"
#include "platform/keyboard.h"

namespace platform {

WindowState window;

namespace {

// The SDL objects behind the window; they never leave this file.
struct SdlWindow {
    bool videoStarted = false;
    SDL_Window* handle = nullptr;
    // A renderer where the graphics processor draws, or SDL's software one for a window surface
    // of a layout the scaler does not write; without one, the frame is scaled into the
    // window's own X8R8G8B8 surface.
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* frame = nullptr;  // streaming X8R8G8B8 texture the back buffer is widened into
    FrameScaler scaler;            // the frame into the window's surface (or the texture)
    bool repaintWhole = true;      // the window changed or was drawn over: bars and frame shown anew
    std::vector<SDL_Rect> presentRects;  // the parts of the surface a frame changed
    int hardwareRenderer = -1;     // probed once: 1 when OpenGL runs on a graphics processor
    std::vector<std::function<void(const SDL_Event&)>> hooks;
};
SdlWindow sdl;

constexpr int kMinimumWidth = 400;
constexpr int kMinimumHeight = 300;

bool WindowedRequested() {
    switch (window.startMode) {
        case StartMode::kWindowed: return true;
        case StartMode::kFullScreen: return false;
        case StartMode::kFromEnvironment: break;
    }
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
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_EXPOSED: sdl.repaintWhole = true; break;
        default: break;
    }
}

// A window surface the scaler writes into: X8R8G8B8 of any size.
bool TakesScaledFrame(const SDL_Surface* surface) {
    return surface != nullptr && surface->w > 0 && surface->h > 0 && surface->format->BytesPerPixel == 4 &&
           surface->format->Rmask == 0xFF0000u && surface->format->Gmask == 0xFF00u && surface->format->Bmask == 0xFFu;
}

// Whether the window system may hand OpenGL to a graphics processor at all. An X server
// without the direct-rendering extensions (Xvfb, VNC and other remote desktops, a plain frame
// buffer driver) offers only Mesa's software rasteriser, whose libraries would cost tens of
// megabytes to load for nothing. Other window systems are asked through OpenGL itself.
bool DirectRenderingOffered() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(sdl.handle, &info)) {
        return false;
    }
    if (info.subsystem != SDL_SYSWM_X11) {
        return true;
    }
    int opcode = 0, firstEvent = 0, firstError = 0;
    return XQueryExtension(info.info.x11.display, "DRI3", &opcode, &firstEvent, &firstError) ||
           XQueryExtension(info.info.x11.display, "DRI2", &opcode, &firstEvent, &firstError);
}

// Whether OpenGL here runs on a graphics processor, asked once of a hidden window's context.
// Mesa's software rasterisers draw the frame at several times the cost of our own scaler.
bool HardwareRendererAvailable() {
    if (sdl.hardwareRenderer >= 0) {
        return sdl.hardwareRenderer == 1;
    }
    sdl.hardwareRenderer = 0;
    if (!DirectRenderingOffered()) {
        return false;
    }
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe == nullptr) {
        return false;
    }
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        using GetString = const unsigned char* (*)(unsigned int);
        constexpr unsigned int kGlRenderer = 0x1F01;
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
        if (name != nullptr) {
            std::string lower(reinterpret_cast<const char*>(name));
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            const bool software = lower.find("llvmpipe") != std::string::npos ||
                                  lower.find("softpipe") != std::string::npos ||
                                  lower.find("software") != std::string::npos ||
                                  lower.find("swrast") != std::string::npos;
            sdl.hardwareRenderer = software ? 0 : 1;
        }
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return sdl.hardwareRenderer == 1;
}

void DestroyRenderer() {
    if (sdl.frame) {
        SDL_DestroyTexture(sdl.frame);
        sdl.frame = nullptr;
    }
    if (sdl.renderer) {
        SDL_DestroyRenderer(sdl.renderer);
        sdl.renderer = nullptr;
    }
}

// Chooses how frames reach the screen: the graphics processor's renderer where there is one,
// else the window's own surface, else SDL's software renderer.
bool SetUpPresentation() {
    DestroyRenderer();
    sdl.repaintWhole = true;
    window.vsync = false;
    if (HardwareRendererAvailable()) {
        sdl.renderer = SDL_CreateRenderer(sdl.handle, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    }
    if (sdl.renderer == nullptr) {
        if (TakesScaledFrame(SDL_GetWindowSurface(sdl.handle))) {
            return true;
        }
        sdl.renderer = SDL_CreateRenderer(sdl.handle, -1, SDL_RENDERER_SOFTWARE);
    }
    if (sdl.renderer == nullptr) {
        std::fprintf(stderr, "cannot create a renderer: %s\n", SDL_GetError());
        return false;
    }
    SDL_RenderSetLogicalSize(sdl.renderer, kFrameWidth, kFrameHeight);
    // The frame texture has the screen's own layout, so that the renderer's copy is a plain one
    // (it would otherwise convert every pixel through its general blitter).
    sdl.frame = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kFrameWidth,
                                  kFrameHeight);
    if (sdl.frame == nullptr || SDL_SetTextureBlendMode(sdl.frame, SDL_BLENDMODE_NONE) != 0) {
        std::fprintf(stderr, "cannot create the frame texture: %s\n", SDL_GetError());
        DestroyRenderer();
        return false;
    }
    PrepareScaler(sdl.scaler, kFrameWidth, kFrameHeight);
    SDL_RendererInfo info;
    window.vsync = SDL_GetRendererInfo(sdl.renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
                   (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    return true;
}

// The surface keeps what was scaled into it, so a frame rewrites and shows only what changed.
// A surface the scaler has not prepared is marked through its userdata: SDL may hand back a
// new surface at the old one's address after a resize or a mode switch.
bool PresentToSurface(std::span<const std::uint16_t> pixels) {
    SDL_Surface* surface = SDL_GetWindowSurface(sdl.handle);
    if (!TakesScaledFrame(surface) || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)) {
        return false;
    }
    if (surface->w != sdl.scaler.outputWidth || surface->h != sdl.scaler.outputHeight) {
        PrepareScaler(sdl.scaler, surface->w, surface->h);
        sdl.presentRects.reserve(sdl.scaler.changedRects.capacity());
        sdl.repaintWhole = true;
    }
    if (surface->userdata != &sdl.scaler) {
        surface->userdata = &sdl.scaler;
        ForgetLastFrame(sdl.scaler);
        sdl.repaintWhole = true;
    }
    const bool whole = sdl.repaintWhole;
    if (whole) {
        ClearBars(sdl.scaler, static_cast<char*>(surface->pixels), surface->pitch);
        sdl.repaintWhole = false;
    }
    ScaleChangedFrame(sdl.scaler, pixels, static_cast<char*>(surface->pixels), surface->pitch);
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    sdl.presentRects.clear();
    for (const OutputRect& rect : sdl.scaler.changedRects) {
        sdl.presentRects.push_back({rect.x, rect.y, rect.width, rect.height});
    }
    PaceFrame();
    int shown = 0;
    if (whole) {
        shown = SDL_UpdateWindowSurface(sdl.handle);
    } else if (!sdl.presentRects.empty()) {
        shown = SDL_UpdateWindowSurfaceRects(sdl.handle, sdl.presentRects.data(),
                                             static_cast<int>(sdl.presentRects.size()));
    }
    // A frame that did not reach the screen leaves it behind the surface.
    if (shown != 0) {
        sdl.repaintWhole = true;
    }
    return shown == 0;
}

bool PresentThroughRenderer(std::span<const std::uint16_t> pixels) {
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(sdl.frame, nullptr, &target, &pitch) != 0) {
        return false;
    }
    if (pitch < kFrameWidth * 4) {
        SDL_UnlockTexture(sdl.frame);
        return false;
    }
    ScaleFrame(sdl.scaler, pixels, static_cast<char*>(target), pitch);
    SDL_UnlockTexture(sdl.frame);
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.frame, nullptr, nullptr);
    PaceFrame();
    SDL_RenderPresent(sdl.renderer);
    return true;
}

// Alt+Enter, on either Enter key: the window's own, never the game's.
bool IsFullScreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && (event.key.keysym.mod & KMOD_ALT) != 0 &&
           (event.key.keysym.scancode == SDL_SCANCODE_RETURN || event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER);
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
    // The window's surface is the X server's own shared image, not a texture of a (perhaps
    // software) OpenGL; the renderer scales smoothly where it is used.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
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
    const Uint32 flags = SDL_WINDOW_RESIZABLE | (window.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // Full screen, the window is made at the desktop's size from the start: made at 800 x 600
    // and stretched afterwards, some X servers (those without a window manager above all)
    // never tell a renderer of the new size, and it draws the frame off centre.
    int width = kFrameWidth, height = kFrameHeight;
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
    SDL_SetWindowMinimumSize(sdl.handle, kMinimumWidth, kMinimumHeight);
    window.focused = true;
    window.minimised = false;
    SDL_DisplayMode mode;
    window.refreshRate = SDL_GetWindowDisplayMode(sdl.handle, &mode) == 0 ? mode.refresh_rate : 0;
    if (!SetUpPresentation()) {
        DestroyMainWindow();
        return false;
    }
    window.created = true;
    return true;
}

void DestroyMainWindow() {
    DestroyRenderer();
    if (sdl.handle) {
        SDL_DestroyWindow(sdl.handle);
        sdl.handle = nullptr;
    }
    window.created = false;
}

bool IsMinimised() { return window.minimised; }

bool SetFullScreen(bool fullscreen) {
    if (!window.created) {
        return false;
    }
    if (fullscreen == window.fullscreen) {
        return true;
    }
    SDL_Rect desktop;
    if (fullscreen && SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(sdl.handle)), &desktop) == 0) {
        // Without a window manager the full-screen request alone changes nothing: the window
        // is laid over the whole desktop by hand first.
        SDL_SetWindowPosition(sdl.handle, desktop.x, desktop.y);
        SDL_SetWindowSize(sdl.handle, desktop.w, desktop.h);
    }
    if (SDL_SetWindowFullscreen(sdl.handle, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "cannot switch to %s: %s\n", fullscreen ? "full screen" : "a window", SDL_GetError());
        return false;
    }
    window.fullscreen = fullscreen;
    if (!fullscreen) {
        // Back to the game's own window, whatever size it was made at or dragged to.
        SDL_SetWindowSize(sdl.handle, kFrameWidth, kFrameHeight);
        SDL_SetWindowPosition(sdl.handle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    sdl.repaintWhole = true;
    return true;
}

void DoEvents() {
    SDL_Event event;
    while (sdl.videoStarted && SDL_PollEvent(&event)) {
        // Alt+Enter belongs to the window on every screen: its Return never reaches the game,
        // not even while it is held after the switch.
        if (IsFullScreenToggle(event)) {
            if (event.key.repeat == 0) {
                SetFullScreen(!window.fullscreen);
            }
            HoldKeyUntilReleased(ScanCodeFromSdlKey(event.key.keysym.scancode));
            continue;
        }
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
    if (!window.created || width != kFrameWidth || height != kFrameHeight ||
        pixels.size() < static_cast<std::size_t>(width) * height) {
        return false;
    }
    return sdl.renderer == nullptr ? PresentToSurface(pixels) : PresentThroughRenderer(pixels);
}

namespace window_testing {

ShownImage ShownPixels() {
    ShownImage image;
    if (window.created && sdl.renderer == nullptr) {
        const SDL_Surface* surface = SDL_GetWindowSurface(sdl.handle);
        if (!TakesScaledFrame(surface)) {
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
    SDL_RenderSetLogicalSize(sdl.renderer, kFrameWidth, kFrameHeight);
    if (read != 0) {
        return {};
    }
    return image;
}

void PushAltEnter(bool down) { keyboard_testing::PushKeyEvent(SDL_SCANCODE_RETURN, down, down); }

void ResizeWindow(int width, int height) {
    if (window.created) {
        SDL_SetWindowSize(sdl.handle, width, height);
    }
}

}  // namespace window_testing

}  // namespace platform
