#include "tools/assetgen/icons.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/app_ids.h"
#include "common/png.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sprites.h"

namespace assetgen {

namespace {

// Every size divides this side, so each icon is an exact average of whole blocks.
constexpr int kDrawSide = 768;
// Up to this size the bold drawing is used.
constexpr int kLargestSmallIcon = 32;

// How much of a pixel lies inside a rounded rectangle: its signed distance, blurred over one
// pixel.
float RoundedRectCoverage(float x, float y, float left, float top, float right, float bottom, float radius) {
    const float qx = std::max({left + radius - x, x - (right - radius), 0.0f});
    const float qy = std::max({top + radius - y, y - (bottom - radius), 0.0f});
    const float outside = std::sqrt(qx * qx + qy * qy) - radius;
    const float inside = std::min(0.0f, std::max(std::max(left - x, x - right), std::max(top - y, y - bottom)));
    const float distance = qx > 0.0f || qy > 0.0f ? outside : inside;
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

// A rounded rectangle filled with a vertical gradient from upper to lower.
void FillRoundedRect(Canvas& canvas, float left, float top, float right, float bottom, float radius,
                     Colour upper, Colour lower) {
    const int x0 = std::max(0, static_cast<int>(left) - 1), x1 = std::min(canvas.width, static_cast<int>(right) + 2);
    const int y0 = std::max(0, static_cast<int>(top) - 1), y1 = std::min(canvas.height, static_cast<int>(bottom) + 2);
    for (int y = y0; y < y1; ++y) {
        const Colour colour = Mix(upper, lower, std::clamp((y - top) / (bottom - top), 0.0f, 1.0f));
        for (int x = x0; x < x1; ++x) {
            const float coverage = RoundedRectCoverage(x + 0.5f, y + 0.5f, left, top, right, bottom, radius);
            if (coverage > 0.0f) {
                BlendPixel(canvas, x, y, colour, coverage);
            }
        }
    }
}

// The tile of deep space every icon stands on: a rim, a dark gradient, a blue light in one
// corner and, when detailed, a few stars.
void DrawTile(Canvas& canvas, bool detailed) {
    const float side = static_cast<float>(canvas.width);
    const float margin = side * (detailed ? 0.06f : 0.02f);
    const float radius = side * 0.18f;
    FillRoundedRect(canvas, margin, margin, side - margin, side - margin, radius, Rgb(120, 150, 230),
                    Rgb(70, 60, 150));
    const float rim = side * (detailed ? 0.018f : 0.04f);
    FillRoundedRect(canvas, margin + rim, margin + rim, side - margin - rim, side - margin - rim, radius - rim,
                    Rgb(14, 20, 58), Rgb(34, 16, 62));
    Canvas light(canvas.width, canvas.height);
    AddGlow(light, side * 0.78f, side * 0.22f, side * 0.55f, Rgb(60, 110, 220), 0.45f);
    if (detailed) {
        Rng rng = AssetRng("icon stars");
        for (int i = 0; i < 18; ++i) {
            const float x = static_cast<float>(rng.Range(0.14, 0.86)) * side;
            const float y = static_cast<float>(rng.Range(0.12, 0.88)) * side;
            AddGlow(light, x, y, side * static_cast<float>(rng.Range(0.006, 0.014)), Rgb(230, 236, 255), 1.0f);
        }
    }
    // The light stays inside the rim.
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const float inside = RoundedRectCoverage(x + 0.5f, y + 0.5f, margin + rim, margin + rim, side - margin - rim,
                                                     side - margin - rim, radius - rim);
            const Colour& glow = light.At(x, y);
            if (inside > 0.0f && glow.a > 0.0f) {
                AddPixel(canvas, x, y, glow, glow.a * inside);
            }
        }
    }
}

// The fighter, nose up, its width spanning share of the tile, centred on (cx, cy), with its
// engines glowing behind it.
void DrawFighter(Canvas& canvas, float share, float cx, float cy) {
    const float scale = canvas.width * share / 128.0f;
    const Canvas ship = DrawPlayerShip(0, scale);
    const float left = cx - ship.width / 2.0f, top = cy - ship.height / 2.0f;
    for (const float engine : {56.0f, 72.0f}) {
        AddGlow(canvas, left + engine * scale, top + 122 * scale, 16 * scale, Rgb(255, 150, 50), 0.8f);
    }
    DrawCanvasScaled(canvas, ship, left, top, 1.0f);
}

// A key cap seen from above and a little in front: a darker body, a lighter top with an up arrow.
void DrawKeyCap(Canvas& canvas, float left, float top, float size) {
    const float radius = size * 0.16f;
    FillRoundedRect(canvas, left, top, left + size, top + size, radius, Rgb(150, 156, 172), Rgb(88, 92, 108));
    const float inset = size * 0.1f;
    FillRoundedRect(canvas, left + inset, top + inset * 0.6f, left + size - inset, top + size - inset * 1.6f,
                    radius * 0.7f, Rgb(246, 248, 252), Rgb(206, 212, 226));
    const float cx = left + size / 2, cy = top + size * 0.44f, arm = size * 0.2f;
    const Colour ink = Rgb(40, 48, 80);
    const std::vector<Point> head = {{cx, cy - arm * 1.2f}, {cx + arm, cy}, {cx - arm, cy}};
    FillPolygon(canvas, head, ink);
    FillRect(canvas, cx - arm * 0.34f, cy - 1.0f, cx + arm * 0.34f, cy + arm * 1.1f, ink);
}

common::Image ToImageWithAlpha(const Canvas& canvas) {
    const auto byte = [](float value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
    };
    common::Image image(canvas.width, canvas.height, 0);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour& c = canvas.At(x, y);
            image.At(x, y) = c.a <= 0.0f ? 0u : common::Argb(byte(c.a), byte(c.r), byte(c.g), byte(c.b));
        }
    }
    return image;
}

}  // namespace

common::Image DrawIcon(IconKind kind, int size) {
    const bool detailed = size > kLargestSmallIcon;
    Canvas canvas(kDrawSide, kDrawSide);
    DrawTile(canvas, detailed);
    const float side = kDrawSide;
    if (kind == IconKind::kGame) {
        DrawFighter(canvas, detailed ? 0.66f : 0.86f, side * 0.5f, side * 0.5f);
    } else {
        DrawFighter(canvas, detailed ? 0.52f : 0.62f, side * 0.38f, side * 0.38f);
        const float cap = side * (detailed ? 0.4f : 0.48f);
        const float corner = side * (detailed ? 0.9f : 0.95f) - cap;
        DrawKeyCap(canvas, corner, corner, cap);
    }
    return ToImageWithAlpha(Downsample(canvas, kDrawSide / size));
}

std::vector<DataFile> MakeIcons() {
    std::vector<DataFile> files;
    for (const IconKind kind : {IconKind::kGame, IconKind::kLauncher}) {
        const std::string_view id = kind == IconKind::kGame ? common::kGameAppId : common::kLauncherAppId;
        for (const int size : common::kIconSizes) {
            const std::string side = std::to_string(size);
            files.push_back({std::string(common::kIconFolder) + "/hicolor/" + side + "x" + side + "/apps/" +
                                 std::string(id) + ".png",
                             common::EncodePng(DrawIcon(kind, size), true)});
        }
    }
    return files;
}

}  // namespace assetgen
