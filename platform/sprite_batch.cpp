#include "platform/sprite_batch.h"

#include <cmath>

#include "platform/device.h"
#include "platform/raster.h"

namespace platform {

SpriteBatchState spriteBatch;

namespace {

using raster::Blend;
using raster::Filter;

// Sprites whose corners land this far off the screen are not drawn (their fixed-point edges
// would overflow); a quarter of a million pixels is far beyond any sprite the game draws.
constexpr double kMaxCoordinate = 262144.0;
// Source rectangles are limited so texel coordinates keep clear of 32-bit overflow.
constexpr int kMaxSourceCoordinate = 8192;
constexpr double kMaxStep = static_cast<double>(1 << 29);

bool Finite(const SpriteDraw& d) {
    return std::isfinite(d.scaleX) && std::isfinite(d.scaleY) && std::isfinite(d.centreX) &&
           std::isfinite(d.centreY) && std::isfinite(d.rotation) && std::isfinite(d.x) && std::isfinite(d.y);
}

bool SourceFits(const Rect& r) {
    auto fits = [](std::int32_t v) { return v >= -kMaxSourceCoordinate && v <= kMaxSourceCoordinate; };
    return fits(r.left) && fits(r.top) && fits(r.right) && fits(r.bottom);
}

// A texel coordinate (texels) in 16.16 fixed point, kept clear of overflow.
std::int32_t ToFixed(double texels) {
    if (std::isnan(texels)) {
        return 0;
    }
    const double fixed = std::clamp(texels * raster::kOne, -kMaxStep, kMaxStep);
    return static_cast<std::int32_t>(std::llround(fixed));
}

Blend BlendFromStates() {
    if (device.renderStates[kRsAlphaBlendEnable] == 0) {
        return Blend::kOpaque;
    }
    const std::uint32_t src = device.renderStates[kRsSrcBlend];
    const std::uint32_t dest = device.renderStates[kRsDestBlend];
    if (src == kBlendSrcAlpha && dest == kBlendInvSrcAlpha) {
        return Blend::kAlpha;
    }
    if (src == kBlendSrcAlpha && dest == kBlendOne) {
        return Blend::kAdditive;
    }
    return Blend::kGeneric;
}

}  // namespace

std::int32_t SpriteBegin() {
    if (!device.created) {
        return kErrInvalidCall;
    }
    device.renderStates[kRsAlphaBlendEnable] = 1;
    device.renderStates[kRsSrcBlend] = kBlendSrcAlpha;
    device.renderStates[kRsDestBlend] = kBlendInvSrcAlpha;
    spriteBatch.begun = true;
    return kOk;
}

std::int32_t SpriteEnd() {
    if (!device.created) {
        return kErrInvalidCall;
    }
    spriteBatch.begun = false;
    return kOk;
}

std::int32_t SpriteDrawQuad(const SpriteDraw& d) {
    if (!device.created || device.backBuffer.size() != static_cast<std::size_t>(kScreenWidth) * kScreenHeight) {
        return kErrInvalidCall;
    }
    const Texture* texture = GetTexture(d.texture);
    if (texture == nullptr || !Finite(d)) {
        return kErrInvalidCall;
    }
    const Rect source = d.useSourceRect ? d.sourceRect : Rect{0, 0, texture->width, texture->height};
    if (!SourceFits(source) || source.right <= source.left || source.bottom <= source.top) {
        return kOk;
    }
    const double width = source.right - source.left;
    const double height = source.bottom - source.top;
    const double sx = d.scaleX, sy = d.scaleY, cx = d.centreX, cy = d.centreY;
    const double c = std::cos(static_cast<double>(d.rotation));
    const double s = std::sin(static_cast<double>(d.rotation));

    // Scale, turn about the centre (counter-clockwise on the y-down screen for a positive
    // angle), then move: q = R (p * scale - centre) + centre + position.
    raster::ConvexPolygon quad;
    quad.count = 4;
    const double corners[4][2] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
    for (int i = 0; i < 4; ++i) {
        const double ex = corners[i][0] * sx - cx;
        const double ey = corners[i][1] * sy - cy;
        const double qx = ex * c + ey * s + cx + d.x;
        const double qy = -ex * s + ey * c + cy + d.y;
        if (!(std::fabs(qx) < kMaxCoordinate && std::fabs(qy) < kMaxCoordinate)) {
            return kOk;
        }
        quad.x[i] = std::llround(qx * raster::kSubPixel);
        quad.y[i] = std::llround(qy * raster::kSubPixel);
    }
    if (!raster::OrientClockwise(quad)) {
        return kOk;
    }

    // The inverse map from a screen point to texels: u = uX X + uY Y + u0, v likewise.
    const double uX = c / sx, uY = -s / sx;
    const double vX = s / sy, vY = c / sy;
    const double ox = d.x + cx, oy = d.y + cy;
    const double u0 = (-c * ox + s * oy + cx) / sx + source.left;
    const double v0 = (-s * ox - c * oy + cy) / sy + source.top;

    // More than one texel per pixel is minification.
    const bool minifying = std::fabs(sx * sy) < 1.0;
    const std::uint32_t filterState =
        GetTextureStageState(0, minifying ? kTssMinFilter : kTssMagFilter);
    const Filter filter = filterState >= kFilterLinear ? Filter::kLinear : Filter::kPoint;
    const Blend blend = BlendFromStates();
    const bool tinted = d.colour != 0xFFFFFFFFu;
    raster::SpanFunction span = raster::ChooseSpan(blend, filter, tinted);
    // An additive sprite of an opaque texture whose tint keeps one colour channel (the fog)
    // changes that channel alone, and a span can read and blend just that one.
    const int channel = raster::SingleTintChannel(d.colour);
    const raster::SpanFunction channelSpan =
        blend == Blend::kAdditive && filter == Filter::kLinear && texture->opaque && channel >= 0 && (d.colour >> 24) != 0
            ? raster::AdditiveChannelSpan(channel)
            : nullptr;

    raster::SpanArgs args;
    args.origin = texture->Origin();
    args.pitch = texture->pitch;
    args.width = texture->width;
    args.height = texture->height;
    args.du = ToFixed(uX);
    args.dv = ToFixed(vX);
    args.tint = d.colour;
    args.srcFactor = device.renderStates[kRsSrcBlend];
    args.destFactor = device.renderStates[kRsDestBlend];
    if (channelSpan != nullptr) {
        span = channelSpan;
        args.quads = ChannelQuads(*texture, channel);
    }
    const Blend clampedBlend = blend == Blend::kOpaque ? Blend::kOpaque : Blend::kGeneric;
    std::uint16_t* target = device.backBuffer.data();

    raster::ScanConvex(quad, 0, 0, kScreenWidth, kScreenHeight, [&](int y, int xBegin, int xEnd) {
        const double px = xBegin + 0.5, py = y + 0.5;
        args.u = ToFixed(uX * px + uY * py + u0);
        args.v = ToFixed(vX * px + vY * py + v0);
        const int count = xEnd - xBegin;
        std::uint16_t* row = target + static_cast<std::ptrdiff_t>(y) * kScreenWidth + xBegin;
        if (raster::SpanInsideBorder(args, filter, count)) {
            span(args, row, count);
        } else {
            raster::ClampedSpan(args, clampedBlend, filter, tinted, row, count);
        }
    });
    ++spriteBatch.spritesDrawn;
    return kOk;
}

}  // namespace platform
