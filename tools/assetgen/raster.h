// Drawing helpers for the generated pictures: a floating-point RGBA canvas with anti-aliased
// shapes (coverage computed per pixel, never hard edges), additive glows, text placement, and
// the conversion to the game's bitmaps with their colour keys.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/image.h"

namespace assetgen {

// A colour with straight (not premultiplied) alpha, channels 0 .. 1.
struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

// From 8-bit channels.
constexpr Colour Rgb(int r, int g, int b, float a = 1.0f) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
            static_cast<float>(b) / 255.0f, a};
}
Colour Mix(Colour a, Colour b, float t);
Colour Scale(Colour c, float factor);  // colour channels only

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;  // rows top to bottom; transparent black where nothing is drawn

    Canvas(int w, int h, Colour fill = {0.0f, 0.0f, 0.0f, 0.0f});
    Colour& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Colour& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Paints colour over one pixel with the given coverage (0 .. 1), source over destination.
void BlendPixel(Canvas& canvas, int x, int y, Colour colour, float coverage);
// Adds colour times amount to a pixel's colour and makes it opaque by as much (for light).
void AddPixel(Canvas& canvas, int x, int y, Colour colour, float amount);

void FillCircle(Canvas& canvas, float cx, float cy, float radius, Colour colour);
void FillEllipse(Canvas& canvas, float cx, float cy, float rx, float ry, Colour colour);
// A line with round caps, width in pixels.
void StrokeLine(Canvas& canvas, Point from, Point to, float width, Colour colour);
// A polygon, even-odd rule, 4 x 4 samples per pixel.
void FillPolygon(Canvas& canvas, std::span<const Point> points, Colour colour);
void StrokePolygon(Canvas& canvas, std::span<const Point> points, float width, Colour colour);
void FillRect(Canvas& canvas, float left, float top, float right, float bottom, Colour colour);
// A soft additive light: strength at the centre falling off smoothly to 0 at radius.
void AddGlow(Canvas& canvas, float cx, float cy, float radius, Colour colour, float strength);

// Places a rendered text line (coverage in alpha) with its top-left at (x, y) in colour.
void DrawCoverage(Canvas& canvas, const common::Image& coverage, int x, int y, Colour colour);
// The same with each pixel's colour chosen by its row within the text (a vertical gradient).
void DrawCoverageGradient(Canvas& canvas, const common::Image& coverage, int x, int y, Colour top,
                          Colour bottom);
// Coverage grown by radius pixels (a round outline around text).
common::Image GrowCoverage(const common::Image& coverage, int radius);

// The canvas as an opaque picture over black.
common::Image ToOpaqueImage(const Canvas& canvas);
// The canvas as a colour-keyed bitmap: pixels with alpha below cutoff become the key; the
// rest are flattened over backdrop (the colour the game will draw them over, so anti-aliased
// edges blend towards it) and never equal the key.
common::Image ToKeyedImage(const Canvas& canvas, std::uint32_t key, Colour backdrop,
                           float cutoff = 0.08f);

// Averages factor x factor blocks (for pictures drawn at a larger size).
Canvas Downsample(const Canvas& canvas, int factor);

std::uint32_t PackOpaque(Colour colour);

}  // namespace assetgen

namespace assetgen {
// Paints source over the canvas with its top-left at (x, y), resized by scale (bilinear).
void DrawCanvasScaled(Canvas& canvas, const Canvas& source, float x, float y, float scale);
}  // namespace assetgen
