#include "tools/assetgen/levels.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "tools/assetgen/meshes_x.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sprites.h"
#include "tools/assetgen/tiles.h"

namespace assetgen {

namespace {

constexpr double kWorld = common::kWorldSize;

enum class Theme { kOpen, kDebris, kStation, kNebula, kMixed, kMinefield, kFortress };

// One level's contents.
struct LevelPlan {
    Theme theme;
    int rocks;        // type 1, break into pieces
    int smallRocks;   // type 6
    int coins;
    int mines;
    int scouts;       // type 4
    int raiders;      // type 7
    int bosses;       // type 12
    int bossHealth;
};

// The difficulty curve. Shadows fall on levels 4-6 and 18-19, so those are stations with
// plates under the ship; the fog of 7-9 and 13-15 hangs in nebulae.
constexpr LevelPlan kPlans[common::kLevelCount] = {
    {Theme::kOpen, 6, 0, 12, 0, 0, 0, 0, 0},        // 1
    {Theme::kDebris, 8, 3, 12, 0, 0, 0, 0, 0},      // 2
    {Theme::kOpen, 8, 3, 10, 4, 0, 0, 0, 0},        // 3
    {Theme::kStation, 5, 2, 8, 4, 2, 0, 0, 0},      // 4
    {Theme::kStation, 5, 2, 8, 5, 4, 0, 0, 0},      // 5
    {Theme::kStation, 4, 2, 8, 5, 4, 1, 0, 0},      // 6
    {Theme::kNebula, 5, 2, 8, 6, 3, 2, 0, 0},       // 7
    {Theme::kNebula, 4, 3, 8, 8, 4, 2, 0, 0},       // 8
    {Theme::kNebula, 4, 3, 8, 8, 4, 3, 0, 0},       // 9
    {Theme::kDebris, 10, 4, 10, 4, 4, 3, 0, 0},     // 10
    {Theme::kMixed, 6, 3, 10, 8, 6, 3, 0, 0},       // 11
    {Theme::kFortress, 4, 2, 10, 6, 4, 2, 1, 400},  // 12
    {Theme::kNebula, 5, 3, 8, 10, 4, 3, 0, 0},      // 13
    {Theme::kNebula, 5, 3, 8, 10, 5, 4, 0, 0},      // 14
    {Theme::kNebula, 4, 3, 8, 12, 5, 4, 0, 0},      // 15
    {Theme::kMixed, 8, 4, 10, 8, 6, 4, 0, 0},       // 16
    {Theme::kDebris, 8, 4, 10, 10, 6, 5, 0, 0},     // 17
    {Theme::kStation, 4, 2, 10, 8, 6, 5, 0, 0},     // 18
    {Theme::kStation, 4, 2, 10, 8, 6, 6, 0, 0},     // 19
    {Theme::kMinefield, 6, 4, 10, 16, 6, 5, 0, 0},  // 20
    {Theme::kFortress, 4, 2, 10, 8, 4, 4, 1, 500},  // 21
    {Theme::kMixed, 6, 3, 10, 10, 8, 6, 0, 0},      // 22
    {Theme::kFortress, 6, 3, 12, 12, 8, 7, 1, 600}, // 23
    {Theme::kFortress, 4, 2, 12, 8, 6, 6, 2, 600},  // 24: the final battle
};

// Hit points (a shot takes 10) and speeds.
constexpr int kRockHealth = 30;
constexpr int kSmallRockHealth = 20;
constexpr int kCoinHealth = 20;
constexpr int kMineHealth = 30;
constexpr int kScoutHealth = 30;
constexpr int kRaiderHealth = 70;

struct Grid {
    std::vector<std::uint8_t> tiles = std::vector<std::uint8_t>(common::kMapBytes, 0);
    std::vector<bool> used = std::vector<bool>(common::kMapBytes, false);

    bool Free(int row, int column, int height, int width) const {
        // A one-cell gap keeps the cut pieces of different areas apart.
        for (int r = row - 1; r <= row + height; ++r) {
            for (int c = column - 1; c <= column + width; ++c) {
                if (r >= 0 && c >= 0 && r < common::kMapRows && c < common::kMapColumns &&
                    used[static_cast<std::size_t>(r * common::kMapColumns + c)]) {
                    return false;
                }
            }
        }
        return true;
    }

    // Lays a rectangle of a nine-piece set (first = north-west piece).
    void Area(int row, int column, int height, int width, int first, Rng& rng, int middleA, int middleB) {
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                const int pieceRow = r == 0 ? 0 : (r == height - 1 ? 2 : 1);
                const int pieceColumn = c == 0 ? 0 : (c == width - 1 ? 2 : 1);
                int tile = first + pieceRow * 3 + pieceColumn;
                if (pieceRow == 1 && pieceColumn == 1 && middleA != 0) {
                    const double roll = rng.Uniform();
                    if (middleB == 0) {
                        // Nebulae: the bright piece often, so large clouds repeat less.
                        if (roll < 0.4) tile = middleA;
                    } else if (roll < 0.15) {
                        tile = middleA;
                    } else if (roll < 0.25) {
                        tile = middleB;
                    }
                }
                const auto cell = static_cast<std::size_t>((row + r) * common::kMapColumns + column + c);
                tiles[cell] = static_cast<std::uint8_t>(tile);
                used[cell] = true;
            }
        }
    }

    bool TryArea(Rng& rng, int minSide, int maxSide, int first, int middleA, int middleB) {
        for (int attempt = 0; attempt < 60; ++attempt) {
            const int height = minSide + rng.Below(maxSide - minSide + 1);
            const int width = minSide + rng.Below(maxSide - minSide + 1);
            const int row = rng.Below(common::kMapRows - height + 1);
            const int column = rng.Below(common::kMapColumns - width + 1);
            if (Free(row, column, height, width)) {
                Area(row, column, height, width, first, rng, middleA, middleB);
                return true;
            }
        }
        return false;
    }

    void Debris(Rng& rng, int count) {
        for (int i = 0, attempts = 0; i < count && attempts < 400; ++attempts) {
            const int cell = rng.Below(common::kMapBytes);
            if (!used[static_cast<std::size_t>(cell)]) {
                tiles[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(kDebrisFirst + rng.Below(2));
                used[static_cast<std::size_t>(cell)] = true;
                ++i;
            }
        }
    }
};

// The ship starts in the cell at row 10, column 11; station levels put a plate under it.
constexpr int kStartRow = 10;
constexpr int kStartColumn = 11;

std::vector<std::uint8_t> MakeMap(Theme theme, Rng rng) {
    Grid grid;
    const auto plates = [&](int count, int minSide, int maxSide) {
        for (int i = 0; i < count; ++i) grid.TryArea(rng, minSide, maxSide, kPlateFirst, kPlateVent, kPlateHatch);
    };
    const auto nebulae = [&](int count, int minSide, int maxSide) {
        for (int i = 0; i < count; ++i) grid.TryArea(rng, minSide, maxSide, kNebulaFirst, kNebulaBright, 0);
    };
    switch (theme) {
        case Theme::kOpen:
            nebulae(2, 2, 4);
            grid.Debris(rng, 14);
            break;
        case Theme::kDebris:
            nebulae(1, 3, 4);
            grid.Debris(rng, 70);
            break;
        case Theme::kStation: {
            // A large deck around the start, then more plates.
            const int height = 5 + rng.Below(3), width = 6 + rng.Below(3);
            grid.Area(kStartRow - 2 - rng.Below(2), kStartColumn - 3 - rng.Below(2), height, width, kPlateFirst, rng,
                      kPlateVent, kPlateHatch);
            plates(5, 3, 5);
            grid.Debris(rng, 12);
            break;
        }
        case Theme::kNebula:
            // Many middling clouds rather than one huge one: more edges, less repetition.
            nebulae(2, 4, 5);
            nebulae(7, 2, 4);
            grid.Debris(rng, 10);
            break;
        case Theme::kMixed:
            plates(2, 3, 4);
            nebulae(3, 3, 4);
            grid.Debris(rng, 25);
            break;
        case Theme::kMinefield:
            nebulae(2, 2, 3);
            grid.Debris(rng, 40);
            break;
        case Theme::kFortress:
            plates(1, 6, 7);
            plates(3, 2, 4);
            nebulae(2, 3, 4);
            grid.Debris(rng, 15);
            break;
    }
    return grid.tiles;
}

struct Placer {
    Rng rng;
    std::vector<common::PlacedObject> objects;
    std::vector<double> radii;  // clearance radius of each placed object
    const std::vector<common::ObjectKind>* kinds;

    double Radius(const std::string& kind) const {
        const common::ObjectKind* k = common::FindObjectKind(*kinds, kind);
        return k ? 0.5 * std::max(k->width, k->height) : 32.0;
    }

    bool Clear(double x, double y, double radius, double fromStart) const {
        if (WrappedDistance(x, y, kShipStartX, kShipStartY) < fromStart + radius) return false;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const double ox = objects[i].x + 400.0, oy = objects[i].y + 100.0;
            if (WrappedDistance(x, y, ox, oy) < radius + radii[i] + 24.0) return false;
        }
        return true;
    }

    // Places at a world centre; the file stores the view coordinates (world - (400, 100)).
    void Put(const std::string& kind, double x, double y, double xSpeed, double ySpeed, int type, int health) {
        common::PlacedObject object;
        object.kind = kind;
        object.x = x - 400.0;
        object.y = y - 100.0;
        object.xSpeed = xSpeed;
        object.ySpeed = ySpeed;
        object.oType = static_cast<std::int16_t>(type);
        object.health = health;
        objects.push_back(object);
        radii.push_back(Radius(kind));
    }

    // Whole pixels, and drift speeds to two decimals, keep the files short and exact.
    static double Round2(double v) { return common::RoundHalfEven(v * 100.0) / 100.0; }

    bool FindSpot(double radius, double fromStart, double* x, double* y) {
        for (int attempt = 0; attempt < 500; ++attempt) {
            const double cx = std::round(rng.Range(kWorldMargin, kWorld - kWorldMargin));
            const double cy = std::round(rng.Range(kWorldMargin, kWorld - kWorldMargin));
            if (Clear(cx, cy, radius, fromStart)) {
                *x = cx;
                *y = cy;
                return true;
            }
        }
        return false;
    }

    void Drifting(const std::string& kind, int type, int health, double maxSpeed) {
        double x = 0, y = 0;
        if (FindSpot(Radius(kind), kStartClearance, &x, &y)) {
            const double angle = rng.Range(0, 6.283185);
            const double speed = rng.Range(0.25, 1.0) * maxSpeed;
            Put(kind, x, y, Round2(speed * std::cos(angle)), Round2(speed * std::sin(angle)), type, health);
        }
    }

    void Enemy(const std::string& kind, int type, int health, double speed) {
        double x = 0, y = 0;
        if (FindSpot(Radius(kind), kEnemyStartClearance, &x, &y)) {
            Put(kind, x, y, speed, speed, type, health);
        }
    }

    // Coins come in short arcs, a pattern the player can sweep up in one pass.
    void CoinArcs(int coins) {
        int placed = 0;
        for (int attempt = 0; placed < coins && attempt < 60; ++attempt) {
            const int run = std::min(coins - placed, 3 + rng.Below(3));
            double x = 0, y = 0;
            if (!FindSpot(180.0, kStartClearance, &x, &y)) return;
            const double heading = rng.Range(0, 6.283185), bend = rng.Range(-0.4, 0.4);
            for (int i = 0; i < run; ++i) {
                const double a = heading + bend * i;
                const double cx = std::round(x + 70.0 * i * std::cos(a)), cy = std::round(y + 70.0 * i * std::sin(a));
                if (cx > kWorldMargin && cy > kWorldMargin && cx < kWorld - kWorldMargin &&
                    cy < kWorld - kWorldMargin && Clear(cx, cy, Radius("4"), kStartClearance)) {
                    Put("4", cx, cy, 0.0, 0.0, kTypeCoin, kCoinHealth);
                    ++placed;
                }
            }
        }
    }
};

}  // namespace

double WrappedDistance(double ax, double ay, double bx, double by) {
    double dx = std::fabs(ax - bx), dy = std::fabs(ay - by);
    dx = std::min(dx, kWorld - dx);
    dy = std::min(dy, kWorld - dy);
    return std::sqrt(dx * dx + dy * dy);
}

std::vector<common::ObjectKind> MakeObjectKinds() {
    std::vector<common::ObjectKind> kinds;
    // Sprites: the box is the size they are drawn at (three quarters of the bitmap).
    for (const SpriteKind& sprite : kSpriteKinds) {
        common::ObjectKind kind;
        kind.name = sprite.name;
        kind.width = static_cast<std::int16_t>(sprite.bitmapWidth * 3 / 4);
        kind.height = static_cast<std::int16_t>(sprite.bitmapHeight * 3 / 4);
        kinds.push_back(kind);
    }
    // Meshes: rocks (1 .. 3) and coins (4) are drawn at 0.3 and 0.1 of their model size, mines
    // (5) at 0.15; one model unit spans 400 pixels across and 300 down the screen.
    for (const MeshKind& mesh : kMeshKinds) {
        const double scale = mesh.kindName[0] == '4' ? 0.1 : (mesh.kindName[0] == '5' ? 0.15 : 0.3);
        common::ObjectKind kind;
        kind.name = mesh.kindName;
        kind.width = static_cast<std::int16_t>(std::lround(2.0 * mesh.radius * scale * 400.0));
        kind.height = static_cast<std::int16_t>(std::lround(2.0 * mesh.radius * scale * 300.0));
        kinds.push_back(kind);
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i].refNum = static_cast<int>(i) + 1;
    return kinds;
}

std::vector<Level> MakeLevels(const std::vector<common::ObjectKind>& kinds) {
    std::vector<Level> levels;
    for (int number = 1; number <= common::kLevelCount; ++number) {
        const LevelPlan& plan = kPlans[number - 1];
        const Rng rng = AssetRng("level " + std::to_string(number));
        Level level;
        level.number = number;
        level.map = MakeMap(plan.theme, rng.Fork("map"));
        Placer placer{rng.Fork("objects"), {}, {}, &kinds};
        // Hazards first so coins find room among them; bosses first of all, far from the start.
        // Enemies grow tougher and quicker from their first level on: in the final battle they
        // take three times the shots and fly half as fast again.
        const double tougher = 1.0 + std::max(0, number - 4) / 10.0;
        const double quicker = 1.0 + std::max(0, number - 4) / 40.0;
        const auto health = [&](int base) { return 10 * static_cast<int>(std::lround(base * tougher / 10.0)); };
        for (int i = 0; i < plan.bosses; ++i) {
            placer.Enemy(kMothershipKind.name, kTypeBoss, plan.bossHealth, Placer::Round2(1.4 * quicker));
        }
        for (int i = 0; i < plan.raiders; ++i) {
            placer.Enemy(kRaiderKind.name, kTypeRaider, health(kRaiderHealth), Placer::Round2(2.0 * quicker));
        }
        for (int i = 0; i < plan.scouts; ++i) {
            placer.Enemy(kScoutKind.name, kTypeScout, health(kScoutHealth), Placer::Round2(3.0 * quicker));
        }
        for (int i = 0; i < plan.rocks; ++i) {
            placer.Drifting(std::to_string(1 + placer.rng.Below(3)), kTypeRock, kRockHealth, 0.9);
        }
        for (int i = 0; i < plan.smallRocks; ++i) {
            placer.Drifting(placer.rng.Chance(0.5) ? "2" : "3", kTypeMeshObject, kSmallRockHealth, 1.2);
        }
        for (int i = 0; i < plan.mines; ++i) placer.Drifting("5", kTypeMine, kMineHealth, 0.3);
        placer.CoinArcs(plan.coins);
        level.objects = std::move(placer.objects);
        levels.push_back(std::move(level));
    }
    return levels;
}

std::vector<DataFile> MakeLevelFiles(const std::vector<common::ObjectKind>& kinds, const std::vector<Level>& levels) {
    std::vector<DataFile> files;
    files.push_back({std::string(common::kObjectKindsFileName), TextBytes(common::FormatObjectKinds(kinds))});
    for (const Level& level : levels) {
        files.push_back({common::LevelMapFileName(level.number), level.map});
        files.push_back({common::LevelObjectsFileName(level.number), TextBytes(common::FormatPlacedObjects(level.objects))});
    }
    return files;
}

}  // namespace assetgen
