#include "tools/assetgen/hud_pictures.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sprites.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
// The menu background behind the items: word edges blend towards it.
constexpr Colour kMenuBackdrop = Rgb(14, 16, 34);

// Draws the words of a sheet, each centred in its rectangle with a dark outline, on the white
// key colour.
Picture WordSheet(Lettering& lettering, const char* fileName, std::span<const WordSlot> slots,
                  int maxWidth, Colour top, Colour bottom) {
    Canvas canvas(256, 256);
    const int outline = 2;
    // One size for every word of a sheet, the largest at which each fits its rectangle.
    int size = 40;
    for (const WordSlot& slot : slots) {
        const int boxWidth = std::min(slot.right - slot.left, maxWidth) - 2 * outline - 8;
        const int boxHeight = slot.bottom - slot.top - 2 * outline - 6;
        size = std::min(size, lettering.FitSize(FontStyle::kBoldItalic, slot.word, boxWidth, boxHeight, 40));
    }
    for (const WordSlot& slot : slots) {
        const common::Image ink = lettering.Render(FontStyle::kBoldItalic, size, slot.word);
        const int x = slot.left + (slot.right - slot.left - ink.width) / 2;
        const int y = slot.top + (slot.bottom - slot.top - ink.height) / 2;
        DrawCoverage(canvas, GrowCoverage(ink, outline), x - outline, y - outline, Rgb(20, 22, 44));
        DrawCoverageGradient(canvas, ink, x, y, top, bottom);
    }
    return {fileName, ToKeyedImage(canvas, kKeyWhite, kMenuBackdrop, 0.03f), kKeyWhite};
}

Picture MakeLogo(Lettering& lettering) {
    // Drawn adding light at the top left of the play screen: an emblem with the name under it.
    Canvas canvas(128, 128);
    for (int i = 0; i < 96; ++i) {
        const float a = i * (2 * kPi / 96);
        AddGlow(canvas, 64 + 40 * std::cos(a), 52 + 40 * std::sin(a), 3.5f, Rgb(110, 190, 255), 1.0f);
    }
    // A four-pointed star with a wake behind it.
    const std::vector<Point> star = {{64, 14}, {71, 45}, {102, 52}, {71, 59}, {64, 90}, {57, 59}, {26, 52}, {57, 45}};
    FillPolygon(canvas, star, Rgb(170, 220, 255));
    AddGlow(canvas, 64, 52, 22, Rgb(200, 240, 255), 0.8f);
    for (int i = 0; i < 5; ++i) {
        StrokeLine(canvas, {40.0f - i * 3, 78.0f + i * 3}, {14.0f - i * 2, 92.0f + i * 2}, 2.0f - i * 0.3f,
                   Rgb(120, 200, 255, 0.8f - i * 0.14f));
    }
    const int size = lettering.FitSize(FontStyle::kBoldItalic, "STARWAKE", 120, 24, 22);
    const common::Image ink = lettering.Render(FontStyle::kBoldItalic, size, "STARWAKE");
    DrawCoverageGradient(canvas, ink, (128 - ink.width) / 2, 124 - ink.height, Rgb(250, 250, 200),
                         Rgb(255, 160, 60));
    return {"Logo.bmp", ToKeyedImage(canvas, kKeyYellow, Rgb(0, 0, 0), 0.03f), kKeyYellow};
}

Picture MakeHealthBar() {
    // Drawn squeezed to a thin bar whose width follows the ship's health: a glossy green strip
    // with segment marks.
    Canvas canvas(256, 64);
    for (int y = 0; y < 64; ++y) {
        const float t = y / 63.0f;
        const float gloss = std::exp(-(t - 0.25f) * (t - 0.25f) / 0.02f);
        Colour c = Mix(Rgb(40, 220, 110), Rgb(10, 90, 50), t);
        c = Mix(c, Rgb(210, 255, 220), 0.6f * gloss);
        for (int x = 0; x < 256; ++x) {
            canvas.At(x, y) = (x % 32 < 2) ? Scale(c, 0.55f) : c;
        }
    }
    return {"Health.bmp", ToOpaqueImage(canvas), 0};
}

Picture MakeRadar() {
    Canvas canvas(128, 128, Rgb(6, 14, 22));
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float dx = x + 0.5f - 64, dy = y + 0.5f - 64;
            const float r = std::sqrt(dx * dx + dy * dy);
            canvas.At(x, y) = Mix(Rgb(10, 28, 40), Rgb(4, 10, 16), std::min(1.0f, r / 90.0f));
        }
    }
    for (int i = 1; i < 4; ++i) {
        const float line = i * 32.0f;
        StrokeLine(canvas, {line, 2}, {line, 126}, 1.0f, Rgb(24, 60, 70));
        StrokeLine(canvas, {2, line}, {126, line}, 1.0f, Rgb(24, 60, 70));
    }
    StrokePolygon(canvas, std::vector<Point>{{1.5f, 1.5f}, {126.5f, 1.5f}, {126.5f, 126.5f}, {1.5f, 126.5f}},
                  2.0f, Rgb(60, 170, 160));
    return {"radar.bmp", ToOpaqueImage(canvas), 0};
}

Picture MakeFog() {
    // Grey clouds, tinted red or green by the game and laid over the world in 1024-pixel
    // cells: the picture tiles without seams and has clear gaps to see through.
    Canvas canvas(512, 512);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const double u = (x + 0.5) / 512.0, v = (y + 0.5) / 512.0;
            const float n = static_cast<float>(TileableFractalNoise(u, v, 3, 6, 0.55, 0xF06));
            const float wisps = static_cast<float>(TileableFractalNoise(u, v, 8, 3, 0.5, 0xF07));
            const float density = std::clamp((n - 0.35f) * 2.2f, 0.0f, 1.0f) * (0.75f + 0.25f * wisps);
            const float level = 0.04f + 0.62f * density;
            canvas.At(x, y) = {level, level, level, 1.0f};
        }
    }
    return {"Fog01.bmp", ToOpaqueImage(canvas), 0};
}

// Space with stars and a nebula glow, shared by the backgrounds.
void PaintSpace(Canvas& canvas, Rng rng, Colour glowA, Colour glowB) {
    const std::uint64_t noiseSeed = rng.Next();
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const double u = x / 800.0, v = y / 800.0;
            const float n = static_cast<float>(TileableFractalNoise(u, v, 3, 6, 0.55, noiseSeed));
            const float m = static_cast<float>(TileableFractalNoise(u, v, 2, 5, 0.6, 0x52));
            const float cloud = std::clamp((n - 0.42f) * 2.4f, 0.0f, 1.0f);
            Colour c = Mix(Rgb(6, 6, 16), Mix(glowA, glowB, m), cloud * 0.55f);
            canvas.At(x, y) = c;
        }
    }
    for (int i = 0; i < 420; ++i) {
        const float x = static_cast<float>(rng.Range(0, canvas.width));
        const float y = static_cast<float>(rng.Range(0, canvas.height));
        const float bright = static_cast<float>(rng.Range(0.2, 1.0));
        const Colour tint = Mix(Rgb(170, 190, 255), Rgb(255, 230, 200), static_cast<float>(rng.Uniform()));
        AddGlow(canvas, x, y, bright > 0.9f ? 4.0f : 1.8f, tint, bright);
    }
}

void DrawTitle(Canvas& canvas, Lettering& lettering, const char* text, int centreX, int top, int maxWidth,
               int maxHeight, Colour upper, Colour lower) {
    const int size = lettering.FitSize(FontStyle::kBoldItalic, text, maxWidth, maxHeight, 120);
    const common::Image ink = lettering.Render(FontStyle::kBoldItalic, size, text);
    const int x = centreX - ink.width / 2;
    const common::Image halo = GrowCoverage(ink, 6);
    for (int y = 0; y < halo.height; y += 1) {
        for (int hx = 0; hx < halo.width; ++hx) {
            AddPixel(canvas, x - 6 + hx, top - 6 + y, Rgb(60, 120, 255), 0.35f * ((halo.At(hx, y) >> 24) / 255.0f));
        }
    }
    DrawCoverage(canvas, GrowCoverage(ink, 2), x - 2, top - 2, Rgb(10, 14, 40));
    DrawCoverageGradient(canvas, ink, x, top, upper, lower);
}

Picture MakeMenuBackground(Lettering& lettering) {
    Canvas canvas(800, 600);
    PaintSpace(canvas, AssetRng("menu space"), Rgb(90, 40, 140), Rgb(30, 90, 150));
    // A planet's rim low on the left, lit from the upper right.
    for (int y = 380; y < 600; ++y) {
        for (int x = 0; x < 300; ++x) {
            const float dx = x + 0.5f + 160, dy = y + 0.5f - 820;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r < 460) {
                const float light = std::clamp((dx * 0.6f - dy * 0.8f) / 460.0f, 0.0f, 1.0f);
                const float n = static_cast<float>(TileableFractalNoise(x / 300.0, y / 300.0, 4, 4, 0.5, 0x9A));
                Colour c = Mix(Rgb(20, 30, 60), Rgb(80, 130, 190), light * (0.7f + 0.3f * n));
                BlendPixel(canvas, x, y, c, std::clamp(460 - r, 0.0f, 1.0f));
            } else if (r < 476) {
                AddPixel(canvas, x, y, Rgb(80, 150, 255), 0.4f * (1.0f - (r - 460) / 16.0f));
            }
        }
    }
    DrawTitle(canvas, lettering, "Starwake", 400, 48, 520, 110, Rgb(250, 250, 255), Rgb(110, 170, 255));
    // A faint panel behind the menu items and the tables drawn over this picture.
    for (int y = 180; y < 590; ++y) {
        for (int x = 255; x < 640; ++x) {
            canvas.At(x, y) = Mix(canvas.At(x, y), kMenuBackdrop, 0.6f);
        }
    }
    StrokePolygon(canvas, std::vector<Point>{{255, 180}, {640, 180}, {640, 590}, {255, 590}}, 1.5f, Rgb(60, 90, 150));
    return {"Menu.bmp", ToOpaqueImage(canvas), 0};
}

Picture MakeShopBackground(Lettering& lettering) {
    Canvas canvas(800, 600);
    // A hangar: ribbed metal walls, a lit pad with the ship on it on the left.
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const float n = static_cast<float>(TileableFractalNoise(x / 800.0, y / 600.0, 6, 4, 0.5, 0x5A));
            Colour c = Mix(Rgb(28, 32, 42), Rgb(46, 52, 66), n);
            if (x % 100 < 4) c = Scale(c, 0.6f);
            if (y % 150 < 3) c = Scale(c, 0.7f);
            canvas.At(x, y) = c;
        }
    }
    FillEllipse(canvas, 130, 430, 110, 34, Rgb(60, 70, 90));
    FillEllipse(canvas, 130, 426, 96, 26, Rgb(90, 104, 130));
    AddGlow(canvas, 130, 426, 120, Rgb(255, 200, 120), 0.25f);
    DrawCanvasScaled(canvas, DrawPlayerShip(0), 58, 300, 1.1f);
    DrawTitle(canvas, lettering, "Shipyard", 400, 40, 420, 90, Rgb(255, 240, 200), Rgb(255, 170, 60));
    // The dark panel the prices and the money are written on.
    for (int y = 160; y < 500; ++y) {
        for (int x = 255; x < 720; ++x) {
            canvas.At(x, y) = Mix(canvas.At(x, y), Rgb(10, 12, 20), 0.8f);
        }
    }
    StrokePolygon(canvas, std::vector<Point>{{255, 160}, {720, 160}, {720, 500}, {255, 500}}, 2.0f, Rgb(200, 150, 60));
    return {"Shop.bmp", ToOpaqueImage(canvas), 0};
}

Picture MakeLauncherBanner(Lettering& lettering) {
    Canvas canvas(385, 133);
    PaintSpace(canvas, AssetRng("launcher space"), Rgb(90, 40, 140), Rgb(30, 90, 150));
    DrawTitle(canvas, lettering, "Starwake", 192, 30, 330, 70, Rgb(250, 250, 255), Rgb(110, 170, 255));
    return {"LauncherBanner.bmp", ToOpaqueImage(canvas), 0};
}

Picture MakeLauncherSide() {
    // Beside the launcher's start text: a planet in a star field with the fighter leaving it.
    Canvas canvas(128, 256);
    PaintSpace(canvas, AssetRng("launcher side"), Rgb(40, 90, 150), Rgb(90, 40, 140));
    for (int y = 150; y < 256; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float dx = x + 0.5f - 40, dy = y + 0.5f - 330;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r < 150) {
                const float light = std::clamp((dx * 0.5f - dy * 0.85f) / 150.0f, 0.0f, 1.0f);
                BlendPixel(canvas, x, y, Mix(Rgb(30, 20, 50), Rgb(200, 120, 90), light), std::clamp(150 - r, 0.0f, 1.0f));
            }
        }
    }
    DrawCanvasScaled(canvas, DrawPlayerShip(0), 34, 40, 0.5f);
    return {"LauncherSide.bmp", ToOpaqueImage(canvas), 0};
}

}  // namespace

std::vector<Picture> MakeHudPictures(Lettering& lettering) {
    std::vector<Picture> out;
    out.push_back(MakeLogo(lettering));
    out.push_back(MakeHealthBar());
    out.push_back(MakeRadar());
    out.push_back(MakeFog());
    out.push_back(WordSheet(lettering, "MenuItems.bmp", kMenuWords, 250, Rgb(244, 246, 255), Rgb(150, 176, 230)));
    out.push_back(WordSheet(lettering, "GameItems.bmp", kHudWords, kHudWordMaxWidth, Rgb(250, 250, 250),
                            Rgb(190, 190, 190)));
    return out;
}

std::vector<Picture> MakeScreenPictures(Lettering& lettering) {
    return {MakeMenuBackground(lettering), MakeShopBackground(lettering), MakeLauncherBanner(lettering), MakeLauncherSide()};
}

}  // namespace assetgen
