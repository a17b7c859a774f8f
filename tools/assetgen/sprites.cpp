#include "tools/assetgen/sprites.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
// What sprites are drawn over in play: dark space; edges blend towards it.
constexpr Colour kSpaceBackdrop = Rgb(8, 10, 20);

std::vector<Point> Mirror(const std::vector<Point>& half, float axis) {
    // half runs from the nose down one side; the other side comes back up mirrored.
    std::vector<Point> whole = half;
    for (auto it = half.rbegin(); it != half.rend(); ++it) {
        if (std::fabs(it->x - axis) > 0.01f) {
            whole.push_back({2 * axis - it->x, it->y});
        }
    }
    return whole;
}

std::vector<Point> Transform(const std::vector<Point>& points, float axis, float squeeze, float shift) {
    std::vector<Point> out;
    for (const Point& p : points) {
        out.push_back({axis + (p.x - axis) * squeeze + shift, p.y});
    }
    return out;
}

}  // namespace

Canvas DrawPlayerShip(int bank, float scale) {
    Canvas canvas(static_cast<int>(128 * scale), static_cast<int>(128 * scale));
    const float axis = 64.0f;
    const float squeeze = bank == 0 ? 1.0f : 0.8f;
    // Every point is laid out on the 128-pixel sprite and scaled as it is drawn.
    const auto scaled = [scale](std::vector<Point> points) {
        for (Point& p : points) {
            p.x *= scale;
            p.y *= scale;
        }
        return points;
    };
    const auto shape = [&](const std::vector<Point>& p) { return scaled(Transform(p, axis, squeeze, 0.0f)); };
    const std::vector<Point> leftWing = {{52, 54}, {14, 90}, {12, 104}, {24, 106}, {48, 98}};
    std::vector<Point> rightWing;
    for (const Point& p : leftWing) rightWing.push_back({2 * axis - p.x, p.y});
    const Colour wingLit = Rgb(168, 182, 206), wingDark = Rgb(92, 102, 124);
    const Colour leftColour = bank < 0 ? wingDark : (bank > 0 ? Rgb(196, 208, 228) : wingLit);
    const Colour rightColour = bank > 0 ? wingDark : (bank < 0 ? Rgb(196, 208, 228) : wingLit);
    FillPolygon(canvas, shape(leftWing), leftColour);
    FillPolygon(canvas, shape(rightWing), rightColour);
    StrokePolygon(canvas, shape(leftWing), 1.5f * scale, Rgb(40, 46, 62));
    StrokePolygon(canvas, shape(rightWing), 1.5f * scale, Rgb(40, 46, 62));
    // Red stripes along the wings.
    StrokeLine(canvas, shape({{46, 70}})[0], shape({{20, 96}})[0], 3.0f * scale, Rgb(200, 40, 40));
    StrokeLine(canvas, shape({{82, 70}})[0], shape({{108, 96}})[0], 3.0f * scale, Rgb(200, 40, 40));
    const std::vector<Point> hull = Mirror({{64, 6}, {72, 28}, {77, 58}, {84, 96}, {76, 116}}, axis);
    FillPolygon(canvas, shape(hull), Rgb(150, 164, 190));
    // The hull's lit ridge moves with the roll.
    const std::vector<Point> ridge = Mirror({{64, 10}, {68, 30}, {70, 60}, {72, 110}}, axis);
    FillPolygon(canvas, scaled(Transform(ridge, axis, squeeze, bank * -3.0f)), Rgb(200, 212, 232));
    StrokePolygon(canvas, shape(hull), 1.5f * scale, Rgb(40, 46, 62));
    // Cockpit glass.
    const float glassX = axis - bank * 2.0f;
    FillEllipse(canvas, glassX * scale, 44 * scale, 6.5f * squeeze * scale, 13 * scale, Rgb(30, 70, 110));
    FillEllipse(canvas, (glassX - 1.5f) * scale, 40 * scale, 3.0f * squeeze * scale, 6 * scale,
                Rgb(120, 220, 250));
    // Engines.
    for (float ex : {56.0f, 72.0f}) {
        const float x = axis + (ex - axis) * squeeze;
        FillRect(canvas, (x - 4) * scale, 108 * scale, (x + 4) * scale, 118 * scale, Rgb(60, 64, 78));
        FillEllipse(canvas, x * scale, 120 * scale, 4.0f * scale, 5.0f * scale, Rgb(255, 170, 60));
        FillEllipse(canvas, x * scale, 119 * scale, 2.0f * scale, 3.0f * scale, Rgb(255, 236, 170));
    }
    return canvas;
}

namespace {

Canvas DrawScout() {
    Canvas canvas(64, 64);
    const std::vector<Point> hull = Mirror({{32, 4}, {39, 24}, {58, 48}, {56, 54}, {41, 48}, {37, 58}}, 32);
    FillPolygon(canvas, hull, Rgb(196, 70, 40));
    StrokePolygon(canvas, hull, 1.5f, Rgb(90, 24, 20));
    const std::vector<Point> spine = Mirror({{32, 10}, {35, 26}, {35, 50}}, 32);
    FillPolygon(canvas, spine, Rgb(236, 140, 80));
    FillEllipse(canvas, 32, 28, 3.5f, 6, Rgb(255, 230, 90));
    FillEllipse(canvas, 32, 60, 4, 3, Rgb(255, 200, 120));
    StrokeLine(canvas, {12, 50}, {24, 38}, 1.5f, Rgb(255, 210, 120));
    StrokeLine(canvas, {52, 50}, {40, 38}, 1.5f, Rgb(255, 210, 120));
    return canvas;
}

Canvas DrawRaider() {
    Canvas canvas(128, 128);
    // Side pods with forward guns, joined to the hull by struts.
    for (float side : {-1.0f, 1.0f}) {
        const float cx = 64 + side * 40;
        StrokeLine(canvas, {64, 64}, {cx, 70}, 8.0f, Rgb(70, 84, 66));
        const std::vector<Point> pod = {{cx - 9, 44}, {cx + 9, 44}, {cx + 11, 96}, {cx, 108}, {cx - 11, 96}};
        FillPolygon(canvas, pod, Rgb(112, 134, 94));
        StrokePolygon(canvas, pod, 1.5f, Rgb(40, 50, 36));
        StrokeLine(canvas, {cx, 44}, {cx, 18}, 4.0f, Rgb(150, 156, 150));
        FillCircle(canvas, cx, 102, 4, Rgb(255, 160, 60));
    }
    const std::vector<Point> hull = Mirror({{64, 8}, {80, 28}, {88, 78}, {78, 118}}, 64);
    FillPolygon(canvas, hull, Rgb(128, 150, 104));
    StrokePolygon(canvas, hull, 2.0f, Rgb(44, 54, 38));
    const std::vector<Point> armour = Mirror({{64, 24}, {74, 40}, {76, 84}, {70, 104}}, 64);
    FillPolygon(canvas, armour, Rgb(164, 184, 132));
    for (int i = 0; i < 4; ++i) {
        StrokeLine(canvas, {54, 50.0f + i * 14}, {74, 50.0f + i * 14}, 1.5f, Rgb(80, 96, 66));
    }
    FillEllipse(canvas, 64, 34, 5, 8, Rgb(255, 120, 40));
    FillEllipse(canvas, 64, 32, 2, 4, Rgb(255, 220, 150));
    return canvas;
}

Canvas DrawMothership() {
    Canvas canvas(256, 256);
    // Two forward prongs around a heavy disc, a glowing core and a ring of turrets.
    for (float side : {-1.0f, 1.0f}) {
        const std::vector<Point> prong = {{128 + side * 40, 90}, {128 + side * 64, 14}, {128 + side * 84, 22},
                                          {128 + side * 92, 100}};
        FillPolygon(canvas, prong, Rgb(110, 70, 150));
        StrokePolygon(canvas, prong, 2.0f, Rgb(50, 26, 70));
        FillCircle(canvas, 128 + side * 70, 26, 6, Rgb(255, 90, 160));
    }
    FillEllipse(canvas, 128, 140, 112, 100, Rgb(60, 34, 88));
    FillEllipse(canvas, 128, 136, 104, 92, Rgb(104, 66, 146));
    // Armour plates: rings of segments.
    for (int ring = 0; ring < 2; ++ring) {
        const float radius = ring == 0 ? 80.0f : 56.0f;
        for (int i = 0; i < 16; ++i) {
            const float a = i * (2 * kPi / 16);
            const Point from{128 + (radius - 14) * std::cos(a), 136 + (radius - 14) * 0.9f * std::sin(a)};
            const Point to{128 + radius * std::cos(a), 136 + radius * 0.9f * std::sin(a)};
            StrokeLine(canvas, from, to, 2.0f, Rgb(58, 32, 82));
        }
        FillEllipse(canvas, 128, 136, radius - 14, (radius - 14) * 0.9f, ring == 0 ? Rgb(128, 84, 172) : Rgb(84, 48, 120));
    }
    for (int i = 0; i < 10; ++i) {
        const float a = i * (2 * kPi / 10) + 0.3f;
        const float x = 128 + 94 * std::cos(a), y = 138 + 84 * std::sin(a);
        FillCircle(canvas, x, y, 7, Rgb(70, 70, 86));
        FillCircle(canvas, x, y, 3, Rgb(255, 200, 90));
    }
    FillCircle(canvas, 128, 136, 30, Rgb(170, 40, 120));
    AddGlow(canvas, 128, 136, 40, Rgb(255, 110, 200), 0.9f);
    FillCircle(canvas, 128, 136, 12, Rgb(255, 210, 240));
    return canvas;
}

// A bolt of light along the bitmap's height: a bright core in a coloured glow.
Canvas DrawBolt(int width, int height, Colour glow, Colour core) {
    Canvas canvas(width, height);
    const float cx = width * 0.5f;
    const float top = width * 0.5f, bottom = height - width * 0.5f;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float dy = py < top ? top - py : (py > bottom ? py - bottom : 0.0f);
            const float d = std::sqrt((px - cx) * (px - cx) + dy * dy) / (width * 0.5f);
            if (d < 1.0f) {
                const float glowAmount = (1.0f - d) * (1.0f - d);
                AddPixel(canvas, x, y, glow, glowAmount * 1.2f);
                if (d < 0.45f) {
                    AddPixel(canvas, x, y, core, 1.0f - d / 0.45f);
                }
            }
        }
    }
    return canvas;
}

Canvas DrawBlast() {
    Canvas canvas(16, 16);
    AddGlow(canvas, 8, 8, 8, Rgb(255, 150, 40), 1.2f);
    AddGlow(canvas, 8, 8, 4, Rgb(255, 240, 160), 1.0f);
    return canvas;
}

Canvas DrawFireball() {
    Canvas canvas(32, 32);
    Rng rng = AssetRng("fireball");
    FillCircle(canvas, 16, 16, 13, Rgb(190, 50, 20));
    for (int i = 0; i < 10; ++i) {
        const float a = static_cast<float>(rng.Range(0, 2 * kPi));
        const float r = static_cast<float>(rng.Range(3, 8));
        FillCircle(canvas, 16 + r * std::cos(a), 16 + r * std::sin(a), static_cast<float>(rng.Range(3, 5)),
                   Rgb(240, 120, 30));
    }
    FillCircle(canvas, 16, 16, 7, Rgb(255, 200, 70));
    FillCircle(canvas, 15, 15, 3.5f, Rgb(255, 246, 200));
    return canvas;
}

Picture ObjectPicture(const SpriteKind& kind, const Canvas& canvas, float cutoff) {
    return {std::string("Objects/") + kind.name, ToKeyedImage(canvas, kKeyBlack, kSpaceBackdrop, cutoff),
            kKeyBlack};
}

// Shots are drawn adding light, so their faint edges fade towards black.
Picture ShotPicture(const SpriteKind& kind, const Canvas& canvas) {
    return {std::string("Objects/") + kind.name, ToKeyedImage(canvas, kKeyBlack, Rgb(0, 0, 0), 0.02f),
            kKeyBlack};
}

Canvas DrawExplosionFrame(int frame) {
    Canvas canvas(kExplosionSide, kExplosionSide, Rgb(0, 0, 0));
    const float t = static_cast<float>(frame) / kExplosionFrames;  // 1/15 .. 1
    const float c = kExplosionSide * 0.5f;
    const float fade = (1.0f - t) * (1.0f - t * 0.5f);
    // The fireball grows quickly, then its heat fades from white through orange to red.
    const float radius = 14.0f + 46.0f * std::sqrt(t);
    const Colour hot = t < 0.25f ? Mix(Rgb(255, 250, 220), Rgb(255, 210, 90), t / 0.25f)
                                 : Mix(Rgb(255, 210, 90), Rgb(200, 50, 20), std::min(1.0f, (t - 0.25f) / 0.6f));
    Rng rng = AssetRng("explosion");
    for (int puff = 0; puff < 14; ++puff) {
        const float a = static_cast<float>(rng.Range(0, 2 * kPi));
        const float reach = static_cast<float>(rng.Range(0.1, 0.6)) * radius;
        const float size = static_cast<float>(rng.Range(0.35, 0.6)) * radius;
        AddGlow(canvas, c + reach * std::cos(a), c + reach * std::sin(a), size, hot, 0.55f * fade);
    }
    AddGlow(canvas, c, c, radius, hot, 0.9f * fade);
    if (t < 0.5f) {
        AddGlow(canvas, c, c, radius * 0.5f, Rgb(255, 255, 230), (0.5f - t) * 2.0f);
    }
    // A thin shock ring racing ahead of the fire.
    const float ring = 20.0f + 44.0f * t;
    for (int i = 0; i < 180; ++i) {
        const float a = i * (2 * kPi / 180);
        AddGlow(canvas, c + ring * std::cos(a), c + ring * std::sin(a), 3.0f, Rgb(255, 190, 120), 0.12f * (1.0f - t));
    }
    // Sparks fly out on straight lines and cool.
    Rng sparks = AssetRng("explosion sparks");
    for (int i = 0; i < 24; ++i) {
        const float a = static_cast<float>(sparks.Range(0, 2 * kPi));
        const float speed = static_cast<float>(sparks.Range(30, 62));
        const float d = speed * std::sqrt(t);
        AddGlow(canvas, c + d * std::cos(a), c + d * std::sin(a), 3.0f, Rgb(255, 220, 140), 0.9f * (1.0f - t));
    }
    return canvas;
}

}  // namespace

std::vector<Picture> MakeObjectSprites() {
    std::vector<Picture> out;
    out.push_back(ShotPicture(kLaserKind, DrawBolt(8, 32, Rgb(255, 60, 30), Rgb(255, 240, 160))));
    out.push_back(ShotPicture(kSideshotKind, DrawBolt(16, 32, Rgb(40, 255, 120), Rgb(220, 255, 230))));
    out.push_back(ShotPicture(kRearshotKind, DrawBolt(8, 16, Rgb(60, 140, 255), Rgb(220, 240, 255))));
    out.push_back(ShotPicture(kPhaserKind, DrawBolt(8, 32, Rgb(255, 40, 220), Rgb(255, 210, 250))));
    out.push_back(ShotPicture(kBlastKind, DrawBlast()));
    out.push_back(ObjectPicture(kFireballKind, DrawFireball(), 0.4f));
    out.push_back(ObjectPicture(kScoutKind, DrawScout(), 0.4f));
    out.push_back(ObjectPicture(kRaiderKind, DrawRaider(), 0.4f));
    out.push_back(ObjectPicture(kMothershipKind, DrawMothership(), 0.4f));
    return out;
}

std::vector<Picture> MakeExplosionFrames() {
    std::vector<Picture> out;
    for (int frame = 1; frame <= kExplosionFrames; ++frame) {
        char name[40];
        std::snprintf(name, sizeof name, "Objects/Explosion/%02d.bmp", frame);
        out.push_back({name, ToOpaqueImage(DrawExplosionFrame(frame)), 0});
    }
    return out;
}

std::vector<Picture> MakeShipPictures() {
    // Loaded with white as the key: the backdrop is dark space and no pixel is pure white.
    return {{"overheadship.bmp", ToKeyedImage(DrawPlayerShip(0), kKeyWhite, kSpaceBackdrop, 0.4f), kKeyWhite},
            {"leftshift.bmp", ToKeyedImage(DrawPlayerShip(-1), kKeyWhite, kSpaceBackdrop, 0.4f), kKeyWhite},
            {"rightshift.bmp", ToKeyedImage(DrawPlayerShip(1), kKeyWhite, kSpaceBackdrop, 0.4f), kKeyWhite}};
}

std::vector<Picture> MakeSmallSprites() {
    std::vector<Picture> out;
    Canvas particle(16, 16);
    AddGlow(particle, 8, 8, 8, Rgb(250, 236, 210), 1.0f);
    // Added to the screen: where nothing glows the key colour leaves the screen untouched.
    out.push_back({"Particle.bmp", ToKeyedImage(particle, kKeyWhite, Rgb(0, 0, 0), 0.03f), kKeyWhite});
    Canvas star(8, 8, Rgb(0, 0, 0));
    AddGlow(star, 4, 4, 4, Rgb(255, 255, 255), 1.0f);
    AddGlow(star, 4, 4, 1.6f, Rgb(255, 255, 255), 1.0f);
    out.push_back({"Star.bmp", ToOpaqueImage(star), 0});
    Canvas shield(128, 128, Rgb(0, 0, 0));
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float dx = x + 0.5f - 64, dy = y + 0.5f - 64;
            const float r = std::sqrt(dx * dx + dy * dy);
            // A bright rim, a faint hexagon weave inside, nothing outside.
            float light = std::exp(-(r - 58) * (r - 58) / 10.0f);
            if (r < 58) {
                const float hx = std::fabs(std::fmod(x + 512.0f, 12.0f) - 6.0f);
                const float hy = std::fabs(std::fmod(y + (static_cast<int>(x / 12) % 2) * 6 + 512.0f, 12.0f) - 6.0f);
                light += 0.18f * (r / 58.0f) * (std::min(hx, hy) < 1.0f ? 1.0f : 0.25f);
            }
            AddPixel(shield, x, y, Rgb(240, 250, 240), std::min(1.0f, light));
        }
    }
    out.push_back({"Shield.bmp", ToOpaqueImage(shield), 0});
    return out;
}

}  // namespace assetgen
