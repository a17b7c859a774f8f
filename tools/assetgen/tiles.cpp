#include "tools/assetgen/tiles.h"

#include <algorithm>
#include <cmath>

#include "common/level_files.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"

namespace assetgen {

namespace {

constexpr int kSize = common::kTileSize;
// How far a plate's outer edge sits inside its border tiles, and its corner cut.
constexpr float kPlateInset = 20.0f;
constexpr float kCornerCut = 44.0f;
constexpr std::uint64_t kPlateNoiseSeed = 0x91A7E;
constexpr std::uint64_t kNebulaNoiseSeed = 0x4E4B;
constexpr std::uint64_t kEdgeNoiseSeed = 0xED6E;

float Smooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// 1 in the middle of a tile, falling to 0 at every border: details multiplied by it never
// reach a seam, so any two pieces still join.
float InteriorWindow(float x, float y) {
    const float margin = 72.0f;
    return Smooth(0.0f, margin, x) * Smooth(0.0f, margin, kSize - x) * Smooth(0.0f, margin, y) *
           Smooth(0.0f, margin, kSize - y);
}

// Distance inside the plate outline for a piece at (column, row) of the 3 x 3 cut; negative
// outside. Only the outer sides of border pieces have an edge.
float PlateEdgeDistance(int column, int row, float x, float y) {
    float distance = 1e9f;
    if (column == 0) distance = std::min(distance, x - kPlateInset);
    if (column == 2) distance = std::min(distance, kSize - kPlateInset - x);
    if (row == 0) distance = std::min(distance, y - kPlateInset);
    if (row == 2) distance = std::min(distance, kSize - kPlateInset - y);
    // Cut outer corners at 45 degrees.
    if (column != 1 && row != 1) {
        const float cx = column == 0 ? x - kPlateInset : kSize - kPlateInset - x;
        const float cy = row == 0 ? y - kPlateInset : kSize - kPlateInset - y;
        distance = std::min(distance, (cx + cy - kCornerCut) * 0.70710678f);
    }
    return distance;
}

// Dark seam lines along the panel grid, which lies on the tile borders and the tile's middle,
// so neighbouring pieces continue each other's seams.
float SeamDarkness(float x, float y) {
    const auto near = [](float v) {
        const float d = std::min({std::fabs(v), std::fabs(v - 128.0f), std::fabs(v - 256.0f)});
        return 1.0f - Smooth(0.8f, 2.2f, d);
    };
    return std::max(near(x), near(y));
}

Colour PlateMetal(float x, float y) {
    const double u = x / kSize, v = y / kSize;
    const float grime = static_cast<float>(TileableFractalNoise(u, v, 4, 5, 0.55, kPlateNoiseSeed));
    const float streak = static_cast<float>(TileableFractalNoise(u * 0.25 + v, v, 2, 3, 0.5, kPlateNoiseSeed + 1));
    Colour base = Mix(Rgb(62, 70, 86), Rgb(104, 112, 128), grime);
    base = Mix(base, Rgb(80, 70, 66), 0.25f * streak);
    // Alternate panels a shade apart, by which quarter of the tile the pixel is in.
    const int panel = (static_cast<int>(x) / 128 + static_cast<int>(y) / 128) & 1;
    return Scale(base, panel ? 0.92f : 1.0f);
}

void DrawRivets(Canvas& canvas) {
    for (float gy : {0.0f, 128.0f, 256.0f}) {
        for (float gx : {0.0f, 128.0f, 256.0f}) {
            for (float ox : {-10.0f, 10.0f}) {
                for (float oy : {-10.0f, 10.0f}) {
                    FillCircle(canvas, gx + ox, gy + oy, 2.2f, Rgb(150, 156, 168));
                    FillCircle(canvas, gx + ox + 0.6f, gy + oy + 0.6f, 1.1f, Rgb(46, 50, 60));
                }
            }
        }
    }
}

Picture MakePlatePiece(int column, int row, int variant) {
    Canvas canvas(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            Colour c = PlateMetal(px, py);
            c = Scale(c, 1.0f - 0.55f * SeamDarkness(px, py));
            canvas.At(x, y) = c;
        }
    }
    DrawRivets(canvas);
    if (variant == 1) {
        // A vent grille: dark slots with lit lips.
        for (int slot = 0; slot < 7; ++slot) {
            const float y = 80.0f + slot * 14.0f;
            FillRect(canvas, 78, y, 178, y + 7, Rgb(24, 28, 36));
            StrokeLine(canvas, {78, y + 8}, {178, y + 8}, 1.2f, Rgb(140, 148, 160));
        }
        StrokePolygon(canvas, std::vector<Point>{{70, 72}, {186, 72}, {186, 184}, {70, 184}}, 2.0f,
                      Rgb(40, 44, 54));
    } else if (variant == 2) {
        // A round hatch with a ring of lamps.
        FillCircle(canvas, 128, 128, 46, Rgb(52, 58, 70));
        FillCircle(canvas, 128, 128, 38, Rgb(88, 96, 110));
        StrokeLine(canvas, {100, 128}, {156, 128}, 4.0f, Rgb(44, 48, 58));
        StrokeLine(canvas, {128, 100}, {128, 156}, 4.0f, Rgb(44, 48, 58));
        for (int lamp = 0; lamp < 8; ++lamp) {
            const float angle = lamp * 0.785398f;
            const float lx = 128 + 54 * std::cos(angle), ly = 128 + 54 * std::sin(angle);
            const Colour light = (lamp % 2) ? Rgb(90, 255, 140) : Rgb(255, 196, 80);
            FillCircle(canvas, lx, ly, 3.5f, light);
            AddGlow(canvas, lx, ly, 10, light, 0.35f);
        }
    }
    // The plate's outline: bevelled rim and hazard band, transparent beyond.
    const bool hasEdge = column != 1 || row != 1;
    if (hasEdge) {
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float d = PlateEdgeDistance(column, row, px, py);
                Colour& c = canvas.At(x, y);
                if (d < 7.0f) {
                    // Rim: light on sides facing up-left, dark on the others.
                    const bool lit = (column == 0 && d == px - kPlateInset) || (row == 0 && d == py - kPlateInset);
                    c = lit ? Rgb(150, 158, 172) : Rgb(54, 58, 68);
                } else if (d < 19.0f) {
                    // Hazard stripes run diagonally; their period divides the tile side, so they
                    // continue across the seam into the next piece.
                    const float stripe = std::fmod(px + py, 32.0f);
                    c = stripe < 16.0f ? Rgb(214, 168, 40) : Rgb(36, 34, 30);
                } else if (d < 21.0f) {
                    c = Rgb(40, 42, 48);
                }
                c.a = std::clamp(d + 0.5f, 0.0f, 1.0f);
            }
        }
    }
    const int tile = kPlateFirst + row * 3 + column;
    const int number = variant == 0 ? tile : (variant == 1 ? kPlateVent : kPlateHatch);
    return {common::TileFileName(number), ToKeyedImage(canvas, kKeyBlack, Rgb(4, 4, 10), 0.5f),
            kKeyBlack};
}

// How much nebula shows near the open sides of a border piece: 0 at the open border rising to 1
// well inside, along a wavy line that repeats every tile so neighbouring pieces agree.
float NebulaEdgeMask(int column, int row, float x, float y) {
    const auto fade = [](float distance, float wobble) { return Smooth(10.0f, 150.0f, distance + wobble); };
    const auto wobbleAlong = [](float t) {
        return static_cast<float>(TileableFractalNoise(t / kSize, 0.37, 3, 3, 0.5, kEdgeNoiseSeed) - 0.5) * 70.0f;
    };
    float mask = 1.0f;
    if (column == 0) mask *= fade(x, wobbleAlong(y));
    if (column == 2) mask *= fade(kSize - x, wobbleAlong(y));
    if (row == 0) mask *= fade(y, wobbleAlong(x));
    if (row == 2) mask *= fade(kSize - y, wobbleAlong(x));
    return mask;
}

Picture MakeNebulaPiece(int column, int row, int number, Rng rng) {
    Canvas canvas(kSize, kSize);
    const std::uint64_t detailSeed = rng.Next();
    const float knot = number == kNebulaBright ? 1.0f : 0.0f;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const double u = px / kSize, v = py / kSize;
            // The shared field repeats every tile; the detail only lives inside the tile.
            // Near the borders every piece shows the same soft haze, so any two join; the
            // structure that makes pieces differ lives inside, where the window lets it.
            const float shared = static_cast<float>(TileableFractalNoise(u, v, 2, 4, 0.5, kNebulaNoiseSeed));
            const float detail = static_cast<float>(TileableFractalNoise(u, v, 3, 6, 0.6, detailSeed)) - 0.5f;
            const float window = InteriorWindow(px, py);
            // The plain pieces repeat across a cloud, so their detail is milder than the knot's.
            const float detailAmount = number == kNebulaBright ? 1.1f : 0.75f;
            float density = 0.5f + 0.25f * (shared - 0.5f) + detailAmount * detail * window;
            if (knot > 0.0f) {
                const float dx = px - 128, dy = py - 128;
                density += window * (0.35f + 0.8f * detail) * std::exp(-(dx * dx + dy * dy) / 3600.0f);
            }
            density = Smooth(0.3f, 0.9f, density);
            // Only the knot piece has holes: on the plain pieces, repeated across a cloud, the
            // same hole in every cell would show the grid.
            if (number != kNebulaBright) density = std::max(density, 0.16f);
            density *= NebulaEdgeMask(column, row, px, py);
            const float hueDetail = static_cast<float>(TileableFractalNoise(u, v, 2, 3, 0.5, detailSeed + 9)) - 0.5f;
            const float hue = std::clamp(0.5f + 1.2f * hueDetail * window, 0.0f, 1.0f);
            Colour c = Mix(Rgb(70, 30, 130), Rgb(30, 110, 150), hue);
            c = Mix(c, Rgb(230, 120, 200), Smooth(0.55f, 1.0f, density) * 0.6f);
            c = Scale(c, 0.25f + 0.9f * density);
            // Below a faint density the cell is open space (the key colour).
            c.a = density > 0.07f ? 1.0f : 0.0f;
            canvas.At(x, y) = c;
        }
    }
    // A few stars embedded in the gas, kept off the borders.
    for (int i = 0; i < 6; ++i) {
        const float sx = static_cast<float>(rng.Range(40, 216)), sy = static_cast<float>(rng.Range(40, 216));
        if (canvas.At(static_cast<int>(sx), static_cast<int>(sy)).a > 0.0f) {
            AddGlow(canvas, sx, sy, 5.0f, Rgb(255, 240, 250), 0.9f);
        }
    }
    return {common::TileFileName(number), ToKeyedImage(canvas, kKeyBlack, Rgb(4, 4, 10), 0.5f), kKeyBlack};
}

// An irregular lit rock outline around (cx, cy).
void DrawRock(Canvas& canvas, Rng& rng, float cx, float cy, float radius) {
    std::vector<Point> outline;
    const int corners = 9 + rng.Below(5);
    for (int i = 0; i < corners; ++i) {
        const float angle = 6.2831853f * (i + static_cast<float>(rng.Range(-0.25, 0.25))) / corners;
        const float r = radius * static_cast<float>(rng.Range(0.7, 1.05));
        outline.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    // Dim and small: background rubble must not be mistaken for the rocks one can shoot.
    FillPolygon(canvas, outline, Rgb(44, 40, 40));
    // Light from the upper left: a lighter inner shape offset towards it.
    std::vector<Point> lit;
    for (const Point& p : outline) {
        lit.push_back({cx + (p.x - cx) * 0.72f - radius * 0.14f, cy + (p.y - cy) * 0.72f - radius * 0.14f});
    }
    FillPolygon(canvas, lit, Rgb(74, 68, 64));
    for (int crater = 0; crater < 3; ++crater) {
        const float a = static_cast<float>(rng.Range(0, 6.28)), r = radius * static_cast<float>(rng.Range(0.1, 0.5));
        FillCircle(canvas, cx + r * std::cos(a), cy + r * std::sin(a), radius * 0.14f, Rgb(54, 48, 46));
    }
}

Picture MakeDebrisPiece(int number, Rng rng) {
    Canvas canvas(kSize, kSize);
    // Rocks stay inside a margin, so these pieces sit beside anything.
    for (int i = 0; i < 7; ++i) {
        const float radius = static_cast<float>(rng.Range(5, 14));
        DrawRock(canvas, rng, static_cast<float>(rng.Range(24 + radius, 232 - radius)),
                 static_cast<float>(rng.Range(24 + radius, 232 - radius)), radius);
    }
    for (int i = 0; i < 30; ++i) {
        FillCircle(canvas, static_cast<float>(rng.Range(16, 240)), static_cast<float>(rng.Range(16, 240)),
                   static_cast<float>(rng.Range(0.8, 2.0)), Rgb(70, 66, 64));
    }
    return {common::TileFileName(number), ToKeyedImage(canvas, kKeyBlack, Rgb(4, 4, 10), 0.5f), kKeyBlack};
}

}  // namespace

std::vector<Picture> MakeTiles() {
    std::vector<Picture> tiles;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            tiles.push_back(MakePlatePiece(column, row, 0));
        }
    }
    tiles.push_back(MakePlatePiece(1, 1, 1));
    tiles.push_back(MakePlatePiece(1, 1, 2));
    const Rng rng = AssetRng("tiles");
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int number = kNebulaFirst + row * 3 + column;
            tiles.push_back(MakeNebulaPiece(column, row, number, rng.Fork(common::TileFileName(number))));
        }
    }
    tiles.push_back(MakeNebulaPiece(1, 1, kNebulaBright, rng.Fork("nebula knot")));
    tiles.push_back(MakeDebrisPiece(kDebrisFirst, rng.Fork("debris 1")));
    tiles.push_back(MakeDebrisPiece(kDebrisFirst + 1, rng.Fork("debris 2")));
    return tiles;
}

}  // namespace assetgen
