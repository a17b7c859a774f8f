// The records of the world and the containers that hold them for the whole run. Records are
// plain data shared by reference: a record taken out of colObjects stays valid for whoever
// still holds it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"

namespace world {

// One live entity of the world: a placed object, a shot, an explosion, a fragment, a coin.
struct cObject {
    std::string name;             // kind name, the key of its cObjRef
    std::int32_t X = 0;           // world x of the box's left edge
    std::int32_t Y = 0;           // world y of the box's top edge
    double xSpeed = 0;            // pixels per frame at 60 frames per second
    double ySpeed = 0;
    double Angle = 0;             // heading in radians; the sprite is drawn turned by it
    std::int16_t oType = 0;       // behaviour code
    std::int32_t LifeTime = 0;    // milliseconds from LifeStart; 0 never expires
    platform::Tick LifeStart = 0; // tick at creation of an expiring record
    bool IsWeapon = false;        // the player's shots
    std::int32_t Health = 0;      // hit points; for a shot the damage it does
    bool Dead = false;            // destroyed, collected or used up: the pass removes it
    std::int16_t LastFrame = 0;   // current frame of an explosion
    platform::Tick LastCount = 0; // last frame step of an explosion, next shot of an enemy
    std::int32_t Value = 0;       // points for destroying it
    std::int16_t State = 0;       // an enemy's mood
    platform::Tick LastStateChange = 0;  // when the mood is chosen again
    double xAngle = 0;            // declared, never used
    double xAngleChange = 0;
    double yAngle = 0;
    double yAngleChange = 0;
    double oScale = 0;
    float PhaserLength = 0;       // growth of a phaser beam, 0 .. 3.5
};
using ObjectHandle = std::shared_ptr<cObject>;

// One object kind, one line of objects.dat.
struct cObjRef {
    std::string name;       // kind name; a sprite below Objects/ when it holds ".bmp"
    std::int32_t refNum = 0;  // its line number: the index of its sprite in objectTextures
    std::int16_t Height = 0;
    std::int16_t Width = 0;
};

// The player's ship; only the speeds and headings are used.
struct cCar {
    std::string name;
    std::int16_t animX = 0;
    std::int16_t animY = 0;
    std::int16_t Frames = 0;
    std::int16_t Height = 0;
    std::int16_t Width = 0;
    std::int16_t MoveHorizontal = 0;
    std::int16_t MoveVertical = 0;
    float xAccel = 0;       // forward speed, -12 .. 12
    float yAccel = 0;       // the same value, drives the Y motion
    std::int16_t DisplayRate = 0;
    std::int32_t TransColor = 0;
    std::string Sprites;
    std::int32_t Interval = 0;
    double Angle = 0;       // heading for motion and view, 0 .. 6.28
    double Alpha = 0;
    double CarAngle = 0;    // heading the turn keys change, 0 .. 6.28
};

// One background star.
struct cStar {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int16_t starType = 0;  // colour class 0 .. 4
};

// The object kinds, keyed by name without regard to letter case, in the order they were added.
class ObjRefCollection {
public:
    // False (and nothing added) when the name is already a key.
    bool Add(const cObjRef& kind);
    // The kind with this name, or nullptr.
    const cObjRef* Find(std::string_view name) const;
    std::size_t Count() const { return kinds_.size(); }
    const cObjRef& operator[](std::size_t index) const { return kinds_[index]; }
    void Clear();

private:
    // Names compare without regard to ASCII letter case; lookups take a view, so the
    // per-frame lookup of every object's kind allocates nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::vector<cObjRef> kinds_;
    std::unordered_map<std::string, std::size_t, NameHash, NameEqual> index_;
};

inline constexpr int kMaxObjectKinds = 500;  // objectTextures holds kinds 1 .. 500
inline constexpr int kStarCount = 1000;

struct WorldRecords {
    std::vector<ObjectHandle> colObjects;            // every live object, in creation order
    ObjRefCollection colObjRefs;                     // the kinds of the current level
    std::array<std::shared_ptr<cCar>, 11> cars;      // only cars[0] is ever created
    std::array<cStar, kStarCount + 1> stars;         // 0 .. 999 are placed and drawn
    std::array<std::int32_t, kMaxObjectKinds + 1> objectTextures{};  // sprite of each kind by refNum
    std::array<std::int32_t, 51> tileTextures{};     // tile bitmaps by tile number
    std::vector<std::uint8_t> mapData;               // the level's tile numbers, row by row
    std::int32_t mapLength = 0;                      // bytes in mapData
    std::int32_t shipX = 0;  // view anchor: the ship's point is (shipX + 400, shipY + 100)
    std::int32_t shipY = 0;
};
extern WorldRecords records;

// The ship record (created at start-up).
inline cCar& Ship() { return *records.cars[0]; }

// Appends a new object to the world.
inline void AddObject(ObjectHandle object) { records.colObjects.push_back(std::move(object)); }

// Empties the world's objects and kinds, as at the end of a game.
void ClearWorld();

}  // namespace world
