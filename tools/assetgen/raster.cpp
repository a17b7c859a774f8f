#include "tools/assetgen/raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

int ToByte(float v) { return static_cast<int>(std::lround(Clamp01(v) * 255.0f)); }

// Distance from p to the segment a-b.
float SegmentDistance(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0.0f;
    if (lengthSquared > 0.0f) {
        t = Clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared);
    }
    const float ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(std::span<const Point> points, float x, float y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

}  // namespace

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Colour Scale(Colour c, float factor) { return {c.r * factor, c.g * factor, c.b * factor, c.a}; }

Canvas::Canvas(int w, int h, Colour fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

void BlendPixel(Canvas& canvas, int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) {
        return;
    }
    const float alpha = Clamp01(coverage) * colour.a;
    if (alpha <= 0.0f) {
        return;
    }
    Colour& d = canvas.At(x, y);
    const float outAlpha = alpha + d.a * (1.0f - alpha);
    if (outAlpha <= 0.0f) {
        return;
    }
    // Straight-alpha "over": weight each colour by how much of it shows.
    const float keep = d.a * (1.0f - alpha);
    d.r = (colour.r * alpha + d.r * keep) / outAlpha;
    d.g = (colour.g * alpha + d.g * keep) / outAlpha;
    d.b = (colour.b * alpha + d.b * keep) / outAlpha;
    d.a = outAlpha;
}

void AddPixel(Canvas& canvas, int x, int y, Colour colour, float amount) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || amount <= 0.0f) {
        return;
    }
    Colour& d = canvas.At(x, y);
    // Light adds to what is there; over transparency it counts against black.
    d.r = d.r * d.a + colour.r * amount;
    d.g = d.g * d.a + colour.g * amount;
    d.b = d.b * d.a + colour.b * amount;
    const float newAlpha = std::min(1.0f, d.a + amount);
    if (newAlpha > 0.0f) {
        d.r /= newAlpha;
        d.g /= newAlpha;
        d.b /= newAlpha;
    }
    d.a = newAlpha;
}

void FillCircle(Canvas& canvas, float cx, float cy, float radius, Colour colour) {
    FillEllipse(canvas, cx, cy, radius, radius, colour);
}

void FillEllipse(Canvas& canvas, float cx, float cy, float rx, float ry, Colour colour) {
    const int x0 = static_cast<int>(std::floor(cx - rx - 1)), x1 = static_cast<int>(std::ceil(cx + rx + 1));
    const int y0 = static_cast<int>(std::floor(cy - ry - 1)), y1 = static_cast<int>(std::ceil(cy + ry + 1));
    const float scale = std::min(rx, ry);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            // Signed distance in pixels, approximated by the normalised radius.
            const float distance = (std::sqrt(dx * dx + dy * dy) - 1.0f) * scale;
            BlendPixel(canvas, x, y, colour, 0.5f - distance);
        }
    }
}

void StrokeLine(Canvas& canvas, Point from, Point to, float width, Colour colour) {
    const float half = width * 0.5f;
    const int x0 = static_cast<int>(std::floor(std::min(from.x, to.x) - half - 1));
    const int x1 = static_cast<int>(std::ceil(std::max(from.x, to.x) + half + 1));
    const int y0 = static_cast<int>(std::floor(std::min(from.y, to.y) - half - 1));
    const int y1 = static_cast<int>(std::ceil(std::max(from.y, to.y) + half + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float distance = SegmentDistance({x + 0.5f, y + 0.5f}, from, to) - half;
            BlendPixel(canvas, x, y, colour, 0.5f - distance);
        }
    }
}

void FillPolygon(Canvas& canvas, std::span<const Point> points, Colour colour) {
    if (points.size() < 3) {
        return;
    }
    float minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
    const int x1 = std::min(canvas.width - 1, static_cast<int>(std::ceil(maxX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
    const int y1 = std::min(canvas.height - 1, static_cast<int>(std::ceil(maxY)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    inside += InsidePolygon(points, x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f);
                }
            }
            if (inside > 0) {
                BlendPixel(canvas, x, y, colour, inside / 16.0f);
            }
        }
    }
}

void StrokePolygon(Canvas& canvas, std::span<const Point> points, float width, Colour colour) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        StrokeLine(canvas, points[i], points[(i + 1) % points.size()], width, colour);
    }
}

void FillRect(Canvas& canvas, float left, float top, float right, float bottom, Colour colour) {
    const Point corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    FillPolygon(canvas, corners, colour);
}

void AddGlow(Canvas& canvas, float cx, float cy, float radius, Colour colour, float strength) {
    const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float t = 1.0f - std::sqrt(dx * dx + dy * dy) / radius;
            if (t > 0.0f) {
                // Squared falloff: a bright core and a long soft edge.
                AddPixel(canvas, x, y, colour, strength * t * t);
            }
        }
    }
}

void DrawCoverage(Canvas& canvas, const common::Image& coverage, int x, int y, Colour colour) {
    DrawCoverageGradient(canvas, coverage, x, y, colour, colour);
}

void DrawCoverageGradient(Canvas& canvas, const common::Image& coverage, int x, int y, Colour top,
                          Colour bottom) {
    for (int row = 0; row < coverage.height; ++row) {
        const float t = coverage.height > 1 ? static_cast<float>(row) / (coverage.height - 1) : 0.0f;
        const Colour colour = Mix(top, bottom, t);
        for (int column = 0; column < coverage.width; ++column) {
            const float amount = static_cast<float>(coverage.At(column, row) >> 24) / 255.0f;
            BlendPixel(canvas, x + column, y + row, colour, amount);
        }
    }
}

common::Image GrowCoverage(const common::Image& coverage, int radius) {
    common::Image grown(coverage.width + 2 * radius, coverage.height + 2 * radius, 0);
    for (int y = 0; y < grown.height; ++y) {
        for (int x = 0; x < grown.width; ++x) {
            std::uint32_t best = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy > radius * radius) {
                        continue;
                    }
                    const int sx = x - radius + dx, sy = y - radius + dy;
                    if (sx >= 0 && sy >= 0 && sx < coverage.width && sy < coverage.height) {
                        best = std::max(best, coverage.At(sx, sy) >> 24);
                    }
                }
            }
            grown.At(x, y) = (best << 24) | 0x00FFFFFFu;
        }
    }
    return grown;
}

std::uint32_t PackOpaque(Colour colour) {
    return common::Argb(255, static_cast<std::uint32_t>(ToByte(colour.r)),
                        static_cast<std::uint32_t>(ToByte(colour.g)),
                        static_cast<std::uint32_t>(ToByte(colour.b)));
}

common::Image ToOpaqueImage(const Canvas& canvas) {
    common::Image image(canvas.width, canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour& c = canvas.At(x, y);
            image.At(x, y) = PackOpaque(Scale(c, c.a));
        }
    }
    return image;
}

common::Image ToKeyedImage(const Canvas& canvas, std::uint32_t key, Colour backdrop, float cutoff) {
    common::Image image(canvas.width, canvas.height, key);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour& c = canvas.At(x, y);
            if (c.a < cutoff) {
                continue;
            }
            std::uint32_t packed = PackOpaque(Mix(backdrop, c, c.a));
            if (packed == key) {
                // One step off the key so the pixel stays visible.
                packed ^= 0x00000001u;
                if ((key & 0xFFu) == 0) {
                    packed = (packed & 0xFFFFFF00u) | 0x02u;
                }
            }
            image.At(x, y) = packed;
        }
    }
    return image;
}

Canvas Downsample(const Canvas& canvas, int factor) {
    Canvas out(canvas.width / factor, canvas.height / factor);
    const float weight = 1.0f / static_cast<float>(factor * factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            Colour sum{0.0f, 0.0f, 0.0f, 0.0f};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const Colour& c = canvas.At(x * factor + dx, y * factor + dy);
                    // Average premultiplied, so transparent pixels do not darken edges.
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            }
            Colour& o = out.At(x, y);
            o.a = sum.a * weight;
            if (sum.a > 0.0f) {
                o.r = sum.r / sum.a;
                o.g = sum.g / sum.a;
                o.b = sum.b / sum.a;
            }
        }
    }
    return out;
}

}  // namespace assetgen

namespace assetgen {

void DrawCanvasScaled(Canvas& canvas, const Canvas& source, float x, float y, float scale) {
    const int width = static_cast<int>(source.width * scale), height = static_cast<int>(source.height * scale);
    for (int dy = 0; dy < height; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            const float sx = std::clamp((dx + 0.5f) / scale - 0.5f, 0.0f, source.width - 1.001f);
            const float sy = std::clamp((dy + 0.5f) / scale - 0.5f, 0.0f, source.height - 1.001f);
            const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
            const float fx = sx - ix, fy = sy - iy;
            const Colour top = Mix(source.At(ix, iy), source.At(ix + 1, iy), fx);
            const Colour bottom = Mix(source.At(ix, iy + 1), source.At(ix + 1, iy + 1), fx);
            const Colour c = Mix(top, bottom, fy);
            BlendPixel(canvas, static_cast<int>(x) + dx, static_cast<int>(y) + dy, {c.r, c.g, c.b, 1.0f}, c.a);
        }
    }
}

}  // namespace assetgen
