// The 3-D path of the device: indexed triangles transformed, lit, clipped, culled, and filled
// with depth test, texture and blending. Only the few meshes of the game use it, so it favours
// plainness over speed.
#include <cmath>
#include <optional>

#include "common/rounding.h"
#include "platform/device.h"
#include "platform/raster.h"

namespace platform {

namespace {

using raster::ConvexPolygon;

// Clipping keeps x and y within this many half-screens of the centre, so fixed-point edges
// stay small; beyond the screen nothing is drawn anyway.
constexpr double kGuardBand = 4.0;

struct ClipVertex {
    double x = 0, y = 0, z = 0, w = 0;  // clip space
    double u = 0, v = 0;
};

// A plane of the clip volume as the signed distance a x + b y + c z + d w >= 0.
struct ClipPlane {
    double a, b, c, d;
};
constexpr ClipPlane kPlanes[] = {
    {0, 0, 1, 0},             // z >= 0
    {0, 0, -1, 1},            // z <= w
    {1, 0, 0, kGuardBand},    // x >= -g w
    {-1, 0, 0, kGuardBand},   // x <= g w
    {0, 1, 0, kGuardBand},    // y >= -g w
    {0, -1, 0, kGuardBand},   // y <= g w
};

double Distance(const ClipPlane& p, const ClipVertex& v) { return p.a * v.x + p.b * v.y + p.c * v.z + p.d * v.w; }

ClipVertex Mix(const ClipVertex& a, const ClipVertex& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

// Cuts the polygon by every plane of the clip volume; false when nothing is left.
bool ClipPolygon(ClipVertex* poly, int& count) {
    ClipVertex scratch[ConvexPolygon::kMaxVertices];
    for (const ClipPlane& plane : kPlanes) {
        bool allInside = true;
        for (int i = 0; i < count && allInside; ++i) {
            allInside = Distance(plane, poly[i]) >= 0;
        }
        if (allInside) {
            continue;  // the usual case: nothing to cut
        }
        int out = 0;
        for (int i = 0; i < count; ++i) {
            const ClipVertex& a = poly[i];
            const ClipVertex& b = poly[(i + 1) % count];
            const double da = Distance(plane, a), db = Distance(plane, b);
            if (da >= 0) {
                scratch[out++] = a;
            }
            if ((da >= 0) != (db >= 0) && out < ConvexPolygon::kMaxVertices) {
                scratch[out++] = Mix(a, b, da / (da - db));
            }
        }
        count = std::min(out, ConvexPolygon::kMaxVertices);
        std::copy(scratch, scratch + count, poly);
        if (count < 3) {
            return false;
        }
    }
    return true;
}

bool Compare(std::uint32_t func, std::uint32_t value, std::uint32_t reference) {
    switch (func) {
        case kCmpNever: return false;
        case kCmpLess: return value < reference;
        case kCmpEqual: return value == reference;
        case kCmpLessEqual: return value <= reference;
        case kCmpGreater: return value > reference;
        case kCmpNotEqual: return value != reference;
        case kCmpGreaterEqual: return value >= reference;
        default: return true;  // always, and any value that names no function
    }
}

std::uint32_t Channel8(double value) {
    return static_cast<std::uint32_t>(common::ClampRound<int>(std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 1.0) * 255.0));
}

// The colour every vertex gets: no light is ever set, so only the ambient term and the
// emissive colour remain.
std::uint32_t LitColour() {
    if (device.renderStates[kRsLighting] == 0) {
        return 0xFFFFFFFFu;
    }
    const std::uint32_t ambient = device.renderStates[kRsAmbient];
    const Material& m = device.material;
    const double ar = ((ambient >> 16) & 0xFF) / 255.0, ag = ((ambient >> 8) & 0xFF) / 255.0,
                 ab = (ambient & 0xFF) / 255.0;
    return (Channel8(m.diffuse.a) << 24) | (Channel8(ar * m.ambient.r + m.emissive.r) << 16) |
           (Channel8(ag * m.ambient.g + m.emissive.g) << 8) | Channel8(ab * m.ambient.b + m.emissive.b);
}

// Texel addressing with wrapping (the device's default for meshes): a mask for the power-of-two
// sizes the loader makes, a remainder otherwise.
struct WrappedTexture {
    const Texture& t;
    int maskX, maskY;  // width - 1 and height - 1 when powers of two, else -1

    explicit WrappedTexture(const Texture& texture)
        : t(texture),
          maskX((texture.width & (texture.width - 1)) == 0 ? texture.width - 1 : -1),
          maskY((texture.height & (texture.height - 1)) == 0 ? texture.height - 1 : -1) {}

    std::uint32_t At(std::int64_t x, std::int64_t y) const {
        const int wx = maskX >= 0 ? static_cast<int>(x & maskX) : static_cast<int>(((x % t.width) + t.width) % t.width);
        const int wy = maskY >= 0 ? static_cast<int>(y & maskY) : static_cast<int>(((y % t.height) + t.height) % t.height);
        return t.At(wx, wy);
    }

    // Samples at 16.16 texel coordinates.
    std::uint32_t Sample(std::int64_t u, std::int64_t v, bool linear) const {
        if (!linear) {
            return At(u >> raster::kFracBits, v >> raster::kFracBits);
        }
        const std::int64_t su = u - raster::kOne / 2, sv = v - raster::kOne / 2;
        const std::int64_t x0 = su >> raster::kFracBits, y0 = sv >> raster::kFracBits;
        return raster::Bilinear(At(x0, y0), At(x0 + 1, y0), At(x0, y0 + 1), At(x0 + 1, y0 + 1),
                                static_cast<std::uint32_t>(su >> 8) & 0xFF, static_cast<std::uint32_t>(sv >> 8) & 0xFF);
    }
};

// An attribute as a plane over the screen: value = dx * x + dy * y + at0.
struct Gradient {
    double dx = 0, dy = 0, at0 = 0;
    double At(double x, double y) const { return dx * x + dy * y + at0; }
};

Gradient MakeGradient(const double* sx, const double* sy, const double* value) {
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

// Attributes are kept within a billion (texels or depth steps), so a row's worth of steps
// stays far inside 64 bits.
std::int64_t ToFixed64(double value) {
    constexpr double kLimit = 1e9;
    return std::llround(std::clamp(std::isnan(value) ? 0.0 : value, -kLimit, kLimit) * raster::kOne);
}

void DrawTriangle(const ClipVertex (&corner)[3], std::uint32_t lit, const Texture* texture) {
    ClipVertex poly[ConvexPolygon::kMaxVertices] = {corner[0], corner[1], corner[2]};
    int count = 3;
    for (const ClipVertex& v : corner) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z) || !std::isfinite(v.w) ||
            !std::isfinite(v.u) || !std::isfinite(v.v)) {
            return;
        }
    }
    if (!ClipPolygon(poly, count)) {
        return;
    }
    // To the viewport: x from -1 .. 1 across, y from 1 at the top to -1, depth 0 .. 1. Pixel
    // centres are whole coordinates; the scan converter puts them at half ones, hence + 0.5.
    ConvexPolygon screen;
    screen.count = count;
    for (int i = 0; i < count; ++i) {
        if (!(poly[i].w > 0)) {
            return;
        }
        const double sx = (poly[i].x / poly[i].w + 1.0) * (kScreenWidth / 2.0);
        const double sy = (1.0 - poly[i].y / poly[i].w) * (kScreenHeight / 2.0);
        screen.x[i] = std::llround((sx + 0.5) * raster::kSubPixel);
        screen.y[i] = std::llround((sy + 0.5) * raster::kSubPixel);
    }
    // Winding as seen on the screen: positive area is clockwise.
    const std::int64_t area = raster::SignedArea2(screen);
    const std::uint32_t cull = device.renderStates[kRsCullMode];
    if (area == 0 || (cull == kCullCounterClockwise && area < 0) || (cull == kCullClockwise && area > 0)) {
        return;
    }
    raster::OrientClockwise(screen);

    // Depth and texture coordinates are planes over the screen (no projection divides them).
    double sx[3], sy[3], z[3], u[3], v[3];
    for (int i = 0; i < 3; ++i) {
        sx[i] = (corner[i].x / corner[i].w + 1.0) * (kScreenWidth / 2.0);
        sy[i] = (1.0 - corner[i].y / corner[i].w) * (kScreenHeight / 2.0);
        z[i] = corner[i].z / corner[i].w * 65535.0;
        u[i] = corner[i].u * (texture ? texture->width : 1);
        v[i] = corner[i].v * (texture ? texture->height : 1);
    }
    const Gradient gz = MakeGradient(sx, sy, z), gu = MakeGradient(sx, sy, u), gv = MakeGradient(sx, sy, v);
    const bool minifying = std::fabs(gu.dx * gv.dy - gu.dy * gv.dx) > 1.0;
    const bool linear = GetTextureStageState(0, minifying ? kTssMinFilter : kTssMagFilter) >= kFilterLinear;

    const auto& rs = device.renderStates;
    const bool depthTest = rs[kRsZEnable] != 0;
    const bool depthWrite = depthTest && rs[kRsZWriteEnable] != 0;
    const bool alphaTest = rs[kRsAlphaTestEnable] != 0;
    const bool blending = rs[kRsAlphaBlendEnable] != 0;
    std::optional<WrappedTexture> wrapped;
    if (texture != nullptr) {
        wrapped.emplace(*texture);
    }

    raster::ScanConvex(screen, 0, 0, kScreenWidth, kScreenHeight, [&](int y, int xBegin, int xEnd) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * kScreenWidth;
        std::int64_t zf = ToFixed64(gz.At(xBegin, y)), dz = ToFixed64(gz.dx);
        std::int64_t uf = ToFixed64(gu.At(xBegin, y)), du = ToFixed64(gu.dx);
        std::int64_t vf = ToFixed64(gv.At(xBegin, y)), dv = ToFixed64(gv.dx);
        for (int x = xBegin; x < xEnd; ++x, zf += dz, uf += du, vf += dv) {
            const std::size_t at = rowStart + static_cast<std::size_t>(x);
            const auto depth = static_cast<std::uint32_t>(std::clamp<std::int64_t>((zf + raster::kOne / 2) >> raster::kFracBits, 0, 65535));
            if (depthTest && !Compare(rs[kRsZFunc], depth, device.depthBuffer[at])) {
                continue;
            }
            std::uint32_t colour = lit;
            if (texture != nullptr) {
                colour = raster::Modulate(wrapped->Sample(uf, vf, linear), lit);
            }
            if (alphaTest && !Compare(rs[kRsAlphaFunc], colour >> 24, rs[kRsAlphaRef] & 0xFF)) {
                continue;
            }
            const std::uint32_t out = blending ? raster::BlendPixel(colour, raster::Expand565(device.backBuffer[at]),
                                                                    rs[kRsSrcBlend], rs[kRsDestBlend])
                                               : colour;
            device.backBuffer[at] = raster::Pack565(out);
            if (depthWrite) {
                device.depthBuffer[at] = static_cast<std::uint16_t>(depth);
            }
        }
    });
}

}  // namespace

std::int32_t DrawIndexedTriangles(std::span<const MeshVertex> vertices, std::span<const std::uint32_t> indices) {
    if (!device.created || indices.size() % 3 != 0 ||
        device.backBuffer.size() != static_cast<std::size_t>(kScreenWidth) * kScreenHeight) {
        return kErrInvalidCall;
    }
    for (const std::uint32_t index : indices) {
        if (index >= vertices.size()) {
            return kErrInvalidCall;
        }
    }
    const Matrix m = device.world * device.view * device.projection;
    const std::uint32_t lit = LitColour();
    const Texture* texture = GetTexture(device.textures[0]);
    auto transform = [&](const MeshVertex& p) {
        ClipVertex c;
        c.x = p.x * static_cast<double>(m.m[0][0]) + p.y * static_cast<double>(m.m[1][0]) + p.z * static_cast<double>(m.m[2][0]) + m.m[3][0];
        c.y = p.x * static_cast<double>(m.m[0][1]) + p.y * static_cast<double>(m.m[1][1]) + p.z * static_cast<double>(m.m[2][1]) + m.m[3][1];
        c.z = p.x * static_cast<double>(m.m[0][2]) + p.y * static_cast<double>(m.m[1][2]) + p.z * static_cast<double>(m.m[2][2]) + m.m[3][2];
        c.w = p.x * static_cast<double>(m.m[0][3]) + p.y * static_cast<double>(m.m[1][3]) + p.z * static_cast<double>(m.m[2][3]) + m.m[3][3];
        c.u = p.u;
        c.v = p.v;
        return c;
    };
    for (std::size_t i = 0; i < indices.size(); i += 3) {
        const ClipVertex corner[3] = {transform(vertices[indices[i]]), transform(vertices[indices[i + 1]]),
                                      transform(vertices[indices[i + 2]])};
        DrawTriangle(corner, lit, texture);
    }
    return kOk;
}

}  // namespace platform
