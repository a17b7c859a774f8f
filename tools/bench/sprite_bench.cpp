// The sprite path on the game's busiest frame, against SDL2's own software renderer drawing
// the same quads onto an 800 x 600 ARGB8888 surface, once through SDL_RenderCopyExF and once
// through SDL_RenderGeometry. The frame: a screen of rotated 256 x 256 tiles, 200 small stars,
// 60 object sprites (opaque, blended, additive), 100 additive particles, four 1024 x 1024 fog
// quads (512 x 512 drawn at twice the size, alpha AF, additive) and 12 HUD sprites. Every layer
// turns a few degrees each frame: at exactly 0 degrees both SDL paths fall back to plain blits.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "bench_summary.h"
#include "common/image.h"
#include "platform/device.h"
#include "platform/raster.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"
#include "platform/window.h"
#include "tests/support/allocation_counter.h"  // shows that our frame allocates nothing

namespace {

enum class Kind { kOpaque, kKeyed, kBlended, kAdditive };

struct Picture {
    common::Image image;
    platform::TextureId ours = 0;
    SDL_Texture* sdl = nullptr;
};

struct Quad {
    int picture = 0;
    Kind kind = Kind::kOpaque;
    float x = 0, y = 0, scale = 1, rotation = 0;
    std::uint32_t colour = 0xFFFFFFFFu;
};

enum Pictures { kTile, kStar, kObject, kParticle, kFog, kHud, kPictureCount };

std::vector<Picture> pictures(kPictureCount);
std::vector<Quad> frame;  // rebuilt for each angle, sized once

common::Image MakePicture(int width, int height, unsigned seed, bool keyed, bool soft) {
    common::Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned v = (static_cast<unsigned>(x * 7 + y * 13) ^ seed) & 0xFF;
            std::uint32_t argb = 0xFF000000u | (v << 16) | (((v * 3) & 0xFF) << 8) | ((255 - v) & 0xFF);
            const int dx = x - width / 2, dy = y - height / 2;
            const bool outside = dx * dx + dy * dy > (width / 2) * (height / 2);
            if (keyed && outside) {
                argb = 0;  // what a colour key leaves
            }
            if (soft) {
                const int d = std::min(255, static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) * 512 / width));
                argb = (argb & 0x00FFFFFFu) | (static_cast<std::uint32_t>(255 - d) << 24);
            }
            image.At(x, y) = argb;
        }
    }
    return image;
}

// The frame's quads for heading a, laid out as the background layers and the object pass do.
void BuildFrame(double a) {
    frame.clear();
    const double c = std::cos(a), s = std::sin(a);
    const auto rotation = static_cast<float>(6.28 - a);
    auto place = [&](double dx, double dy, double half, double pivotX, double pivotY) {
        return std::pair<float, float>(static_cast<float>(dx * c - dy * s + pivotX - half),
                                       static_cast<float>(dx * s + dy * c + pivotY - half));
    };
    // Tiles: every cell within reach of the screen, turned about the ship's point.
    for (int row = -4; row <= 4; ++row) {
        for (int col = -4; col <= 4; ++col) {
            const auto [x, y] = place(col * 256.0, row * 256.0 - 100, 128, 400, 500);
            frame.push_back({kTile, Kind::kOpaque, x, y, 1.0f, rotation, 0xFFFFFFFFu});
        }
    }
    for (int i = 0; i < 200; ++i) {
        const auto [x, y] = place((i * 97) % 900 - 450.0, (i * 61) % 700 - 550.0, 4, 400, 500);
        frame.push_back({kStar, Kind::kKeyed, x, y, 1.0f, rotation, 0xFFAAAAFFu});
    }
    for (int i = 0; i < 60; ++i) {
        const auto [x, y] = place((i * 131) % 760 - 380.0, (i * 53) % 540 - 470.0, 24, 400, 500);
        const Kind kind = i % 3 == 0 ? Kind::kKeyed : i % 3 == 1 ? Kind::kBlended : Kind::kAdditive;
        frame.push_back({kObject, kind, x, y, 0.75f, static_cast<float>(rotation + i * 0.1), 0xFFFFFFFFu});
    }
    for (int i = 0; i < 100; ++i) {
        const auto [x, y] = place((i * 37) % 300 - 150.0, (i * 71) % 200 - 200.0, 6, 400, 500);
        frame.push_back({kParticle, Kind::kAdditive, x, y, 0.75f, 0.0f, 0xFFFFFFFFu});
    }
    for (int i = 0; i < 4; ++i) {
        const auto [x, y] = place((i % 2) * 1024.0 - 512.0, (i / 2) * 1024.0 - 812.0, 512, 400, 500);
        frame.push_back({kFog, Kind::kAdditive, x, y, 2.0f, rotation, 0xAFAF0000u});
    }
    for (int i = 0; i < 12; ++i) {
        frame.push_back({kHud, i % 2 ? Kind::kAdditive : Kind::kKeyed, 20.0f + 60.0f * i, 530.0f, 0.75f, 0.0f, 0xFFFFFFFFu});
    }
}

bool StartOurs() {
    static const bool started = [] {
        if (!platform::CreateMainWindow("Starwake sprite bench")) {
            return false;
        }
        platform::PresentParams p;
        p.backBufferWidth = 800;
        p.backBufferHeight = 600;
        p.backBufferFormat = platform::kFormatR5G6B5;
        p.backBufferCount = 2;
        p.swapEffect = 2;
        p.enableAutoDepthStencil = true;
        p.autoDepthStencilFormat = platform::kFormatD16;
        if (platform::CreateDevice(p) != platform::kOk) {
            return false;
        }
        pictures[kTile].image = MakePicture(256, 256, 0x35, false, false);
        pictures[kStar].image = MakePicture(8, 8, 0x11, true, false);
        pictures[kObject].image = MakePicture(64, 64, 0x5A, true, false);
        pictures[kParticle].image = MakePicture(16, 16, 0x77, false, true);
        pictures[kFog].image = MakePicture(512, 512, 0x21, false, false);
        pictures[kHud].image = MakePicture(64, 64, 0x42, true, false);
        for (Picture& picture : pictures) {
            picture.ours = platform::CreateTextureFromImage(picture.image, {}, nullptr);
        }
        frame.reserve(512);
        return true;
    }();
    return started;
}

void DrawOurs(double angle) {
    using namespace platform;
    Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    BeginScene();
    SpriteBegin();
    BuildFrame(angle);
    for (const Quad& q : frame) {
        const Picture& picture = pictures[static_cast<std::size_t>(q.picture)];
        switch (q.kind) {
            case Kind::kOpaque:
            case Kind::kKeyed: SetRenderState(kRsAlphaBlendEnable, 0); break;
            case Kind::kBlended:
                SetRenderState(kRsAlphaBlendEnable, 1);
                SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
                break;
            case Kind::kAdditive:
                SetRenderState(kRsAlphaBlendEnable, 1);
                SetRenderState(kRsDestBlend, kBlendOne);
                break;
        }
        SpriteDraw draw;
        draw.texture = picture.ours;
        draw.scaleX = draw.scaleY = q.scale;
        draw.centreX = q.scale * static_cast<float>(picture.image.width) / 2;
        draw.centreY = q.scale * static_cast<float>(picture.image.height) / 2;
        draw.rotation = q.rotation;
        draw.x = q.x;
        draw.y = q.y;
        draw.colour = q.colour;
        SpriteDrawQuad(draw);
    }
    SpriteEnd();
    EndScene();
}

void OurFrame(benchmark::State& state, bool linear, bool vector) {
    if (!StartOurs()) {
        state.SkipWithError("no device");
        return;
    }
    const std::uint32_t filter = linear ? platform::kFilterLinear : platform::kFilterPoint;
    platform::SetTextureStageState(0, platform::kTssMagFilter, filter);
    platform::SetTextureStageState(0, platform::kTssMinFilter, filter);
    platform::raster::EnableVectorSpans(vector);
    double angle = 0.1;
    DrawOurs(angle);  // warms every lazily built table
    const std::uint64_t before = test_support::AllocationCount();
    for (auto _ : state) {
        angle += 0.05;
        DrawOurs(angle);
        benchmark::DoNotOptimize(platform::device.backBuffer.data());
    }
    state.counters["allocs/frame"] =
        static_cast<double>(test_support::AllocationCount() - before) / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    platform::raster::EnableVectorSpans(true);
}

void Ours(benchmark::State& state) { OurFrame(state, true, true); }
BENCHMARK(Ours)->Unit(benchmark::kMillisecond);
void OursPlainSpans(benchmark::State& state) { OurFrame(state, true, false); }
BENCHMARK(OursPlainSpans)->Unit(benchmark::kMillisecond);
void OursPointFilter(benchmark::State& state) { OurFrame(state, false, true); }
BENCHMARK(OursPointFilter)->Unit(benchmark::kMillisecond);

struct SdlTarget {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
};

SdlTarget& StartSdl() {
    static SdlTarget target = [] {
        SdlTarget t;
        StartOurs();
        t.surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        t.renderer = t.surface ? SDL_CreateSoftwareRenderer(t.surface) : nullptr;
        if (t.renderer == nullptr) {
            return t;
        }
        for (Picture& picture : pictures) {
            SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(picture.image.pixels.data(), picture.image.width,
                                                                picture.image.height, 32, picture.image.width * 4,
                                                                SDL_PIXELFORMAT_ARGB8888);
            picture.sdl = SDL_CreateTextureFromSurface(t.renderer, s);
            SDL_FreeSurface(s);
            SDL_SetTextureScaleMode(picture.sdl, SDL_ScaleModeLinear);
        }
        return t;
    }();
    return target;
}

SDL_BlendMode SdlBlend(Kind kind) {
    switch (kind) {
        case Kind::kOpaque: return SDL_BLENDMODE_NONE;
        case Kind::kKeyed:
        case Kind::kBlended: return SDL_BLENDMODE_BLEND;
        case Kind::kAdditive: return SDL_BLENDMODE_ADD;
    }
    return SDL_BLENDMODE_NONE;
}

void Tint(SDL_Texture* texture, std::uint32_t colour, Kind kind) {
    SDL_SetTextureBlendMode(texture, SdlBlend(kind));
    SDL_SetTextureColorMod(texture, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
    SDL_SetTextureAlphaMod(texture, colour >> 24);
}

void SdlFrame(benchmark::State& state, bool geometry) {
    SdlTarget& t = StartSdl();
    if (t.renderer == nullptr) {
        state.SkipWithError("no SDL software renderer");
        return;
    }
    double angle = 0.1;
    std::vector<SDL_Vertex> vertices(4);
    const int indices[6] = {0, 1, 2, 0, 2, 3};
    for (auto _ : state) {
        angle += 0.05;
        SDL_SetRenderDrawColor(t.renderer, 0, 0, 0, 255);
        SDL_RenderClear(t.renderer);
        BuildFrame(angle);
        for (const Quad& q : frame) {
            const Picture& picture = pictures[static_cast<std::size_t>(q.picture)];
            const float w = static_cast<float>(picture.image.width) * q.scale;
            const float h = static_cast<float>(picture.image.height) * q.scale;
            if (!geometry) {
                Tint(picture.sdl, q.colour, q.kind);
                const SDL_FRect dst = {q.x, q.y, w, h};
                // SDL turns clockwise on the screen for a positive angle, in degrees.
                SDL_RenderCopyExF(t.renderer, picture.sdl, nullptr, &dst, -q.rotation * 180.0 / M_PI, nullptr,
                                  SDL_FLIP_NONE);
                continue;
            }
            SDL_SetTextureBlendMode(picture.sdl, SdlBlend(q.kind));
            const double c = std::cos(q.rotation), s = std::sin(q.rotation);
            const float corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            const SDL_Color colour = {static_cast<Uint8>(q.colour >> 16), static_cast<Uint8>(q.colour >> 8),
                                      static_cast<Uint8>(q.colour), static_cast<Uint8>(q.colour >> 24)};
            for (int i = 0; i < 4; ++i) {
                const double ex = corner[i][0] * w - w / 2, ey = corner[i][1] * h - h / 2;
                vertices[static_cast<std::size_t>(i)].position = {static_cast<float>(ex * c + ey * s + w / 2 + q.x),
                                                                  static_cast<float>(-ex * s + ey * c + h / 2 + q.y)};
                vertices[static_cast<std::size_t>(i)].color = colour;
                vertices[static_cast<std::size_t>(i)].tex_coord = {corner[i][0], corner[i][1]};
            }
            SDL_RenderGeometry(t.renderer, picture.sdl, vertices.data(), 4, indices, 6);
        }
        SDL_RenderFlush(t.renderer);
        benchmark::DoNotOptimize(t.surface->pixels);
    }
}

void SdlRenderGeometry(benchmark::State& state) { SdlFrame(state, true); }
BENCHMARK(SdlRenderGeometry)->Unit(benchmark::kMillisecond);
void SdlRenderCopyEx(benchmark::State& state) { SdlFrame(state, false); }
BENCHMARK(SdlRenderCopyEx)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunAndSummarise(argc, argv,
                                  {{"Ours", "SdlRenderGeometry"},
                                   {"Ours", "SdlRenderCopyEx"},
                                   {"Ours", "OursPlainSpans"},
                                   {"OursPointFilter", "Ours"}});
}
