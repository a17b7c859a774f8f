// The pixels of the device's 3-D path. A draw of triangles reads the device's states once into
// TriangleStates, which names the row shaders its triangles use: instances of one pixel
// pipeline (depth test, texel and lighting, alpha test, blend, writes), a template over the
// decided states chosen from a table, run one pixel at a time on every processor and eight at
// a time on those with AVX2. Both give the same pixels; a test compares them.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/raster.h"
#include "platform/texture.h"

namespace platform::raster {

// A depth or alpha comparison decided once per draw. With d = value - reference, every
// function holds where d ^ flip < threshold, or fails there when inverted: the orderings
// compare d itself (less: d < 0, less or equal: d < 1, never: d < INT32_MIN), equality
// compares it unsigned (d ^ 2^31 < INT32_MIN + 1 only for d = 0).
struct CompareRule {
    std::uint32_t flip = 0;
    std::int32_t threshold = INT32_MIN;
    bool invert = true;  // always, as a function number that names none
};

constexpr CompareRule MakeCompareRule(std::uint32_t func) {
    constexpr std::uint32_t kUnsigned = 0x80000000u;
    switch (func) {
        case 1: return {0, INT32_MIN, false};                // never
        case 2: return {0, 0, false};                        // less
        case 3: return {kUnsigned, INT32_MIN + 1, false};    // equal
        case 4: return {0, 1, false};                        // less or equal
        case 5: return {0, 1, true};                         // greater
        case 6: return {kUnsigned, INT32_MIN + 1, true};     // not equal
        case 7: return {0, 0, true};                         // greater or equal
        default: return {};                                  // always
    }
}

// For values and references below 2^31.
constexpr bool Passes(const CompareRule& rule, std::uint32_t value, std::uint32_t reference) {
    return (static_cast<std::int32_t>((value - reference) ^ rule.flip) < rule.threshold) != rule.invert;
}

// std::llround (halves away from zero) for |value| < 2^52, without the library call: the
// integer part converts exactly, and so does the fraction left over.
inline std::int64_t RoundHalfAway(double value) {
    const auto whole = static_cast<std::int64_t>(value);
    const double rest = value - static_cast<double>(whole);
    return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

// Attributes are kept within a billion (texels or depth steps), so a row's worth of steps
// stays far inside 64 bits.
inline std::int64_t ToFixed64(double value) {
    constexpr double kLimit = 1e9;
    return RoundHalfAway(std::clamp(std::isnan(value) ? 0.0 : value, -kLimit, kLimit) * kOne);
}

// An attribute as a plane over the screen: value = dx * x + dy * y + at0.
struct Gradient {
    double dx = 0, dy = 0, at0 = 0;
    double At(double x, double y) const { return dx * x + dy * y + at0; }
};

// The attributes of a triangle (depth steps and texel coordinates at its corners' viewport
// positions) as planes over the screen, with their steps along a row.
struct TrianglePlanes {
    Gradient z, u, v;
    std::int64_t zStep = 0, uStep = 0, vStep = 0;  // 16.16
    bool minifying = false;  // more than one texel to a pixel: the minification filter applies
};

// The plane through the values at three points of the screen (flat when they lie on a line).
inline Gradient MakeGradient(const double (&sx)[3], const double (&sy)[3], const double (&value)[3]) {
    const double x1 = sx[1] - sx[0], y1 = sy[1] - sy[0], x2 = sx[2] - sx[0], y2 = sy[2] - sy[0];
    const double det = x1 * y2 - x2 * y1;
    Gradient g;
    if (det == 0) {
        g.at0 = value[0];
        return g;
    }
    const double a1 = value[1] - value[0], a2 = value[2] - value[0];
    g.dx = (a1 * y2 - a2 * y1) / det;
    g.dy = (a2 * x1 - a1 * x2) / det;
    g.at0 = value[0] - g.dx * sx[0] - g.dy * sy[0];
    return g;
}

// The planes through the attributes at the triangle's corners (sx, sy).
inline TrianglePlanes MakePlanes(const double (&sx)[3], const double (&sy)[3], const double (&z)[3], const double (&u)[3],
                                 const double (&v)[3]) {
    TrianglePlanes p;
    p.z = MakeGradient(sx, sy, z);
    p.u = MakeGradient(sx, sy, u);
    p.v = MakeGradient(sx, sy, v);
    p.zStep = ToFixed64(p.z.dx);
    p.uStep = ToFixed64(p.u.dx);
    p.vStep = ToFixed64(p.v.dx);
    p.minifying = std::fabs(p.u.dx * p.v.dy - p.u.dy * p.v.dx) > 1.0;
    return p;
}

struct TriangleStates;

// Shades the pixels xBegin .. xEnd - 1 of row y of a triangle.
using RowShader = void (*)(const TriangleStates& states, const TrianglePlanes& planes, int y, int xBegin, int xEnd);

// What a draw of triangles reads from the device, once.
struct TriangleStates {
    std::uint32_t cull = 0;  // the cull mode
    std::uint32_t lit = 0;   // the lit colour of every vertex, A8R8G8B8
    const Texture* texture = nullptr;
    int maskX = -1, maskY = -1;  // width - 1 and height - 1 when powers of two, else -1
    CompareRule depthRule, alphaRule;
    std::uint32_t alphaRef = 0;
    FactorRule srcRule, destRule;
    std::uint16_t* colours = nullptr;  // the back buffer and the depth buffer, 800 x 600 each
    std::uint16_t* depths = nullptr;
    std::size_t pixelCount = 0;
    RowShader magnified = nullptr;  // the rows of triangles with a texel or less to a pixel
    RowShader minified = nullptr;   // and of those with more

    RowShader ShaderFor(const TrianglePlanes& planes) const { return planes.minifying ? minified : magnified; }
};

// The device's states for a draw with that lit colour and stage 0's texture (or none); the
// row shaders are the vector ones while the vector paths run.
TriangleStates ReadTriangleStates(std::uint32_t lit, const Texture* texture);

}  // namespace platform::raster
