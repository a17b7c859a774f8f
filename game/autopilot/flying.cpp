#include "game/autopilot/flying.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/level_files.h"
#include "game/simulation/behaviour.h"

namespace autopilot {

namespace {

using simulation::ObjectType;

constexpr double kWorld = common::kWorldSize;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kShotSpeed = 20;    // the laser's pixels per frame
constexpr double kShotReach = 1050;  // what a shot crosses in its second, less a margin
constexpr double kShipBox = 128;     // the ship's hit box, from its point right and down
constexpr double kTurnDeadBand = 0.04;
constexpr double kLookAhead = 40;    // frames a hazard is followed ahead
constexpr double kHazardMargin = 22; // pixels kept between the ship's box and a hazard's

struct Vec {
    double x = 0;
    double y = 0;
};

double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

// The shortest way across the wrapping world.
double WrapDelta(double d) {
    d = std::fmod(d, kWorld);
    if (d >= kWorld / 2) d -= kWorld;
    if (d < -kWorld / 2) d += kWorld;
    return d;
}

double WrapAngle(double a) {
    a = std::fmod(a, kTwoPi);
    if (a > std::numbers::pi) a -= kTwoPi;
    if (a <= -std::numbers::pi) a += kTwoPi;
    return a;
}

// One object as the pilot sees it: centre relative to the ship's point, speed a frame, size.
struct Thing {
    const world::cObject* object = nullptr;
    std::int16_t type = 0;
    Vec at;
    Vec speed;
    double width = 0;
    double height = 0;
    double distance = 0;
};

bool IsEnemy(std::int16_t type) {
    return type == ObjectType::kEnemy || type == ObjectType::kEnemyTwo || type == ObjectType::kBoss;
}

// Whatever a player's shot can destroy (shots, explosions, coins and beams are not targets).
bool IsTarget(const Thing& t) {
    return !t.object->IsWeapon && !t.object->Dead && t.type != ObjectType::kShot &&
           t.type != ObjectType::kExplosion && t.type != ObjectType::kCoin && t.type != ObjectType::kPhaserBeam;
}

bool IsHazard(const Thing& t) {
    return !t.object->IsWeapon && t.type != ObjectType::kExplosion && t.type != ObjectType::kCoin;
}

bool IsCoin(const Thing& t) { return t.type == ObjectType::kCoin && !t.object->Dead; }

// The ship's hit box meets an object's when the object's centre lies within (-W, 128) x
// (-H, 128) of the ship's point: the offset from the middle of that window.
Vec BoxOffset(const Thing& t) {
    return {t.at.x + t.width / 2 - kShipBox / 2, t.at.y + t.height / 2 - kShipBox / 2};
}

std::vector<Thing> Look(const GameView& view, FlightMemory& memory, Vec ship) {
    std::vector<Thing> things;
    things.reserve(view.world.colObjects.size());
    memory.current.clear();
    for (const world::ObjectHandle& handle : view.world.colObjects) {
        const world::cObject& o = *handle;
        const world::cObjRef* kind = view.world.colObjRefs.Find(o.name);
        Thing t;
        t.object = &o;
        t.type = o.oType;
        t.width = kind ? kind->Width : 0;
        t.height = kind ? kind->Height : 0;
        const double cx = o.X + t.width / 2;
        const double cy = o.Y + t.height / 2;
        t.at = {WrapDelta(cx - ship.x), WrapDelta(cy - ship.y)};
        t.distance = Length(t.at);
        if (t.type == ObjectType::kShot) {
            // Shots fly straight along their heading: their speed is known from the first sight.
            const double speed = o.xSpeed * view.frameTimer.frameScale;
            t.speed = {std::cos(4.71 - o.Angle) * speed, std::sin(4.71 - o.Angle) * speed};
        } else {
            const auto seen = std::lower_bound(memory.previous.begin(), memory.previous.end(), &o,
                                               [](const Sighting& s, const world::cObject* p) { return s.object < p; });
            if (seen != memory.previous.end() && seen->object == &o) {
                t.speed = {WrapDelta(cx - seen->x), WrapDelta(cy - seen->y)};
            }
        }
        memory.current.push_back({&o, cx, cy});
        things.push_back(t);
    }
    std::sort(memory.current.begin(), memory.current.end(),
              [](const Sighting& a, const Sighting& b) { return a.object < b.object; });
    std::swap(memory.previous, memory.current);
    return things;
}

// The first frame (0 .. kLookAhead) at which a hazard's box, moving by `relative` a frame,
// enters the ship's; negative when it does not.
double FramesToImpact(const Thing& t, Vec relative) {
    const Vec r = BoxOffset(t);
    const double half[2] = {kShipBox / 2 + t.width / 2 + kHazardMargin, kShipBox / 2 + t.height / 2 + kHazardMargin};
    const double at[2] = {r.x, r.y};
    const double speed[2] = {relative.x, relative.y};
    double enter = 0;
    double leave = kLookAhead;
    for (int axis = 0; axis < 2; ++axis) {
        if (std::abs(speed[axis]) < 1e-9) {
            if (std::abs(at[axis]) >= half[axis]) return -1;
            continue;
        }
        double t0 = (-half[axis] - at[axis]) / speed[axis];
        double t1 = (half[axis] - at[axis]) / speed[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave ? enter : -1;
}

// Picks the thing to shoot: the nearest enemy (the boss counts as farther, to be taken last),
// else the nearest rock, piece or mine.
const Thing* ChooseTarget(const std::vector<Thing>& things) {
    const Thing* best = nullptr;
    double bestScore = 0;
    for (const Thing& t : things) {
        if (!IsTarget(t)) continue;
        double score = t.distance;
        if (IsEnemy(t.type)) score -= t.type == ObjectType::kBoss ? 400 : 1500;
        if (best == nullptr || score < bestScore) {
            best = &t;
            bestScore = score;
        }
    }
    return best;
}

const Thing* NearestCoin(const std::vector<Thing>& things) {
    const Thing* best = nullptr;
    for (const Thing& t : things) {
        if (IsCoin(t) && (best == nullptr || t.distance < best->distance)) best = &t;
    }
    return best;
}

void TurnTo(double heading, double shipHeading, FlightKeys& keys) {
    const double error = WrapAngle(heading - shipHeading);
    keys.turnLeft = error > kTurnDeadBand;
    keys.turnRight = error < -kTurnDeadBand;
}

// Holds a speed along the heading with thrust and brake.
void HoldSpeed(double wanted, double speed, FlightKeys& keys) {
    keys.up = speed < wanted - 0.5;
    keys.down = speed > wanted + 0.5;
}

// Moves the ship along a direction in the world with thrust, brake and the strafe keys.
void Slide(Vec direction, double heading, FlightKeys& keys) {
    const Vec forward{-std::sin(heading), -std::cos(heading)};
    const Vec left{-std::cos(heading), std::sin(heading)};
    const double along = Dot(direction, forward);
    const double across = Dot(direction, left);
    if (across > 0.25) {
        keys.strafeLeft = true;
        keys.strafeRight = false;
    } else if (across < -0.25) {
        keys.strafeRight = true;
        keys.strafeLeft = false;
    }
    if (along > 0.4) {
        keys.up = true;
        keys.down = false;
    } else if (along < -0.4) {
        keys.down = true;
        keys.up = false;
    }
}

void Attack(const Thing& target, double heading, double speed, FlightKeys& keys) {
    Vec aim;
    LeadPoint(target.at.x, target.at.y, target.speed.x, target.speed.y, kShotSpeed, &aim.x, &aim.y);
    TurnTo(HeadingTowards(aim.x, aim.y), heading, keys);
    const double standOff = !IsEnemy(target.type) ? 220 : target.type == ObjectType::kBoss ? 520 : 380;
    const double error = std::abs(WrapAngle(HeadingTowards(target.at.x, target.at.y) - heading));
    if (target.distance > standOff + 200) {
        HoldSpeed(error < 0.6 ? 12 : 3, speed, keys);
    } else if (target.distance < standOff) {
        HoldSpeed(-5, speed, keys);
    } else {
        HoldSpeed(0, speed, keys);
    }
}

void Collect(const Thing& coin, double heading, double speed, FlightKeys& keys) {
    // Steer the ship's point to where its box covers the coin's.
    const Vec to = BoxOffset(coin);
    const double distance = Length(to);
    TurnTo(HeadingTowards(to.x, to.y), heading, keys);
    const double error = std::abs(WrapAngle(HeadingTowards(to.x, to.y) - heading));
    const double wanted = error > 0.8 ? 1.5 : std::min(12.0, std::sqrt(1.6 * distance)) * std::cos(error);
    HoldSpeed(wanted, speed, keys);
    if (distance < 300) {
        const Vec left{-std::cos(heading), std::sin(heading)};
        const double across = Dot(to, left);
        keys.strafeLeft = across > 12;
        keys.strafeRight = across < -12;
    }
}

// Fire while any target lies on the line of fire, its lead point within its own half-size.
bool WorthFiring(const std::vector<Thing>& things, double heading) {
    for (const Thing& t : things) {
        if (!IsTarget(t) || t.distance > kShotReach) continue;
        Vec aim;
        LeadPoint(t.at.x, t.at.y, t.speed.x, t.speed.y, kShotSpeed, &aim.x, &aim.y);
        const double reach = Length(aim);
        const double tolerance = std::atan2(std::max(t.width, t.height) / 2 + 6, std::max(reach, 1.0));
        if (std::abs(WrapAngle(HeadingTowards(aim.x, aim.y) - heading)) < tolerance) return true;
    }
    return false;
}

// Out of the way of the hazard that would hit first.
void Dodge(const std::vector<Thing>& things, Vec shipSpeed, double heading, FlightKeys& keys) {
    const Thing* first = nullptr;
    double firstFrames = 0;
    Vec firstRelative;
    for (const Thing& t : things) {
        if (!IsHazard(t) || t.distance > 900) continue;
        const Vec relative{t.speed.x - shipSpeed.x, t.speed.y - shipSpeed.y};
        const double frames = FramesToImpact(t, relative);
        if (frames >= 0 && (first == nullptr || frames < firstFrames)) {
            first = &t;
            firstFrames = frames;
            firstRelative = relative;
        }
    }
    if (first == nullptr) return;
    // Away from where the hazard passes closest; straight across its path when dead ahead.
    const Vec r = BoxOffset(*first);
    const double speed2 = Dot(firstRelative, firstRelative);
    const double closest = speed2 > 1e-9 ? std::clamp(-Dot(r, firstRelative) / speed2, 0.0, kLookAhead) : 0;
    Vec miss{r.x + firstRelative.x * closest, r.y + firstRelative.y * closest};
    if (Length(miss) < 4) miss = {-firstRelative.y, firstRelative.x};
    const double length = Length(miss);
    if (length < 1e-9) return;
    Slide({-miss.x / length, -miss.y / length}, heading, keys);
}

}  // namespace

double HeadingTowards(double dx, double dy) {
    double heading = std::atan2(-dx, -dy);
    if (heading < 0) heading += kTwoPi;
    return heading;
}

void LeadPoint(double dx, double dy, double vx, double vy, double shotSpeed, double* aimX, double* aimY) {
    // |d + v t| = shotSpeed t: a quadratic in t whose positive root is the meeting time.
    const double a = vx * vx + vy * vy - shotSpeed * shotSpeed;
    const double b = 2 * (dx * vx + dy * vy);
    const double c = dx * dx + dy * dy;
    double t = 0;
    if (std::abs(a) > 1e-9) {
        const double discriminant = b * b - 4 * a * c;
        if (discriminant >= 0) {
            const double root = std::sqrt(discriminant);
            const double t1 = (-b - root) / (2 * a);
            const double t2 = (-b + root) / (2 * a);
            t = std::max(t1, t2);
            const double smaller = std::min(t1, t2);
            if (smaller > 0) t = smaller;
            if (t < 0) t = 0;
        }
    }
    *aimX = dx + vx * t;
    *aimY = dy + vy * t;
}

FlightKeys Fly(const GameView& view, FlightMemory& memory) {
    FlightKeys keys;
    const Vec ship{view.world.shipX + 400.0, view.world.shipY + 100.0};
    Vec shipSpeed;
    if (memory.seenShip) {
        shipSpeed = {WrapDelta(ship.x - memory.shipX), WrapDelta(ship.y - memory.shipY)};
    }
    memory.shipX = ship.x;
    memory.shipY = ship.y;
    memory.seenShip = true;

    const std::vector<Thing> things = Look(view, memory, ship);
    const double heading = view.ship.Angle;
    const double speed = view.ship.xAccel;
    const Thing* target = ChooseTarget(things);
    const Thing* coin = NearestCoin(things);
    // A coin close by is taken on the way, unless an enemy is near.
    const bool enemyNear = target != nullptr && IsEnemy(target->type) && target->distance < 800;
    if (coin != nullptr && (target == nullptr || (!enemyNear && coin->distance < 0.5 * target->distance && coin->distance < 350))) {
        Collect(*coin, heading, speed, keys);
    } else if (target != nullptr) {
        Attack(*target, heading, speed, keys);
    }
    keys.fire = WorthFiring(things, heading);
    Dodge(things, shipSpeed, heading, keys);
    return keys;
}

}  // namespace autopilot
