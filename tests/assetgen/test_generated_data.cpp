// Reads the program folder the build generated back with each format's own rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <span>

#include "common/bmp.h"
#include "common/file_io.h"
#include "common/keys_file.h"
#include "common/level_files.h"
#include "common/little_endian.h"
#include "common/scancodes.h"
#include "common/sound_levels.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/hud_pictures.h"
#include "tools/assetgen/levels.h"
#include "tools/assetgen/meshes_x.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/program_folder.h"
#include "tools/assetgen/sound_synth.h"
#include "tools/assetgen/frequency_picture.h"
#include "tools/assetgen/sprites.h"
#include "tools/assetgen/tiles.h"

namespace {

namespace fs = std::filesystem;

const fs::path kFolder = STARWAKE_PROGRAM_DIR;

std::vector<std::uint8_t> Bytes(const fs::path& name) {
    std::string error;
    auto bytes = common::ReadFileBytes(kFolder / name, 64u << 20, &error);
    EXPECT_TRUE(bytes.has_value()) << error;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

std::string Text(const fs::path& name) {
    const auto bytes = Bytes(name);
    return std::string(bytes.begin(), bytes.end());
}

common::Image Bitmap(const fs::path& name) {
    std::string error;
    auto image = common::LoadBmpFile(kFolder / name, &error);
    EXPECT_TRUE(image.has_value()) << error;
    return image.value_or(common::Image{});
}

bool PowerOfTwo(int side) { return side > 0 && (side & (side - 1)) == 0; }

std::vector<common::ObjectKind> Kinds() {
    const auto result = common::ParseObjectKinds(Text("objects.dat"), "objects.dat");
    for (const auto& diagnostic : result.diagnostics) ADD_FAILURE() << diagnostic.message;
    return result.kinds;
}

TEST(GeneratedLevels, ObjectsDatDefinesTheKindsTheProgramUses) {
    const auto kinds = Kinds();
    for (const char* name : {"Laser.bmp", "Sideshot.bmp", "Rearshot.bmp", "Phaser.bmp", "Blast.bmp", "Fireball.bmp", "4", "5"}) {
        ASSERT_NE(common::FindObjectKind(kinds, name), nullptr) << name;
    }
    // A coin model of radius 0.5 drawn at 0.1 spans 0.1 view units: 400 pixels per unit across, 300 down.
    EXPECT_EQ(common::FindObjectKind(kinds, "4")->width, 40);
    EXPECT_EQ(common::FindObjectKind(kinds, "4")->height, 30);
    // A sprite kind's box is the size the game draws its bitmap at: three quarters.
    for (const auto& kind : kinds) {
        if (kind.name.find(".bmp") == std::string::npos) continue;
        const common::Image sprite = Bitmap(fs::path("Objects") / kind.name);
        EXPECT_EQ(kind.width, sprite.width * 3 / 4) << kind.name;
        EXPECT_EQ(kind.height, sprite.height * 3 / 4) << kind.name;
    }
}

bool IsEnemy(const common::PlacedObject& o) { return o.oType == 4 || o.oType == 7 || o.oType == 12; }

std::vector<common::PlacedObject> LevelObjects(int level) {
    const std::string name = common::LevelObjectsFileName(level);
    auto result = common::ParsePlacedObjects(Text(name), name);
    for (const auto& diagnostic : result.diagnostics) ADD_FAILURE() << diagnostic.message;
    return std::move(result.objects);
}

// Per level: the map is 400 known tile numbers; every object is a known kind inside the world,
// clear of the start and of the others; and the level has the enemies and ground of its band:
// enemies only from level 4 on, growing to the boss's battle; ship-start cells on plates where
// shadows show; nebulae under the fog.
TEST(GeneratedLevels, EachLevelsMapAndObjectsAreValidAndFitItsBand) {
    const auto kinds = Kinds();
    const std::set<int> types = {1, 4, 6, 7, 8, 10, 12};
    const int startCell = 10 * common::kMapColumns + 11;
    const std::set<int> shadow = {4, 5, 6, 18, 19}, fog = {7, 8, 9, 13, 14, 15};
    long enemiesAtFour = 0;
    for (int level = 1; level <= common::kLevelCount; ++level) {
        const std::string mapName = common::LevelMapFileName(level);
        const auto map = Bytes(mapName);
        for (const std::string& problem : common::CheckLevelMap(map, map.size(), mapName)) ADD_FAILURE() << problem;
        ASSERT_EQ(map.size(), 400u);
        EXPECT_GT(std::count_if(map.begin(), map.end(), [](std::uint8_t tile) { return tile != 0; }), 10) << mapName;
        if (shadow.count(level)) {
            EXPECT_GE(map[startCell], assetgen::kPlateFirst) << "level " << level;
            EXPECT_LE(map[startCell], assetgen::kPlateHatch) << "level " << level;
        }
        if (fog.count(level)) {
            EXPECT_GE(std::count_if(map.begin(), map.end(), [](std::uint8_t tile) {
                return tile >= assetgen::kNebulaFirst && tile <= assetgen::kNebulaBright;
            }), 40) << "level " << level;
        }

        const std::string name = common::LevelObjectsFileName(level);
        const auto objects = LevelObjects(level);
        EXPECT_GE(objects.size(), 10u) << name;
        const auto enemies = std::count_if(objects.begin(), objects.end(), IsEnemy);
        if (level <= 3) {
            EXPECT_EQ(enemies, 0) << "level " << level << ": the first band is rocks, coins and mines";
        } else {
            EXPECT_GT(enemies, 0) << "level " << level;
        }
        if (level == 4) enemiesAtFour = enemies;
        if (level == common::kLevelCount) {
            EXPECT_GE(enemies, enemiesAtFour * 3);
            EXPECT_TRUE(std::any_of(objects.begin(), objects.end(), [](const auto& o) { return o.oType == 12; }));
        }
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const auto& a = objects[i];
            const common::ObjectKind* ka = common::FindObjectKind(kinds, a.kind);
            ASSERT_NE(ka, nullptr) << name << ": kind " << a.kind;
            const common::BoxCorner c = common::PlacedObjectCorner(a, *ka);
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + ka->width <= common::kWorldSize && c.y + ka->height <= common::kWorldSize)
                << name << ": " << a.kind << " at " << c.x << "," << c.y;
            EXPECT_TRUE(types.count(a.oType)) << name << ": oType " << a.oType;
            EXPECT_GT(a.health, 0) << name;
            // An object's centre lies 400 right of and 100 below its x and y.
            const double ax = a.x + 400.0, ay = a.y + 100.0;
            const double distance = assetgen::WrappedDistance(ax, ay, assetgen::kShipStartX, assetgen::kShipStartY);
            EXPECT_GE(distance, assetgen::kStartClearance) << name << ": " << a.kind << " near the start";
            if (IsEnemy(a)) {
                EXPECT_GE(distance, assetgen::kEnemyStartClearance) << name;
                EXPECT_GT(a.xSpeed, 0.0) << name << ": an enemy that cannot move";
            }
            for (std::size_t j = i + 1; j < objects.size(); ++j) {
                const auto& b = objects[j];
                const auto* kb = common::FindObjectKind(kinds, b.kind);
                ASSERT_NE(kb, nullptr) << name << ": kind " << b.kind;
                const double reach = 0.5 * (std::max(ka->width, ka->height) + std::max(kb->width, kb->height));
                EXPECT_GE(assetgen::WrappedDistance(ax, ay, b.x + 400.0, b.y + 100.0), reach)
                    << name << ": objects " << i + 1 << " and " << j + 1;
            }
        }
    }
}

TEST(GeneratedPictures, EveryBitmapReadsTexturesArePowersOfTwoAndSpritesAreKeyedOutside) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kFolder)) {
        if (entry.path().extension() != ".bmp") continue;
        ++count;
        const fs::path name = fs::relative(entry.path(), kFolder);
        const common::Image image = Bitmap(name);
        if (name == "Menu.bmp" || name == "Shop.bmp") {
            EXPECT_EQ(image.width, 800);
            EXPECT_EQ(image.height, 600);
        } else if (name != "LauncherBanner.bmp") {
            EXPECT_TRUE(PowerOfTwo(image.width) && PowerOfTwo(image.height)) << name << " " << image.width << "x" << image.height;
        }
    }
    EXPECT_GE(count, 67);
    EXPECT_EQ(Bitmap("LauncherBanner.bmp").width, 385);
    EXPECT_EQ(Bitmap("LauncherSide.bmp").height, 256);
    const auto side = [](const fs::path& name) {
        const common::Image image = Bitmap(name);
        return image.width == image.height ? image.width : -1;
    };
    for (int tile = 1; tile <= common::kTileKinds; ++tile) EXPECT_EQ(side(common::TileFileName(tile)), 256) << tile;
    EXPECT_EQ(side("Fog01.bmp"), 512);
    // Loaded with black as the key: corners see-through, the middle solid.
    for (const char* name : {"Objects/Scout.bmp", "Objects/Raider.bmp", "Objects/Mothership.bmp", "Objects/Fireball.bmp"}) {
        const common::Image image = Bitmap(name);
        EXPECT_EQ(image.At(0, 0), 0xFF000000u) << name;
        EXPECT_NE(image.At(image.width / 2, image.height / 2), 0xFF000000u) << name;
    }
    // The ship is keyed on white, which it must never use itself.
    for (const char* name : {"overheadship.bmp", "leftshift.bmp", "rightshift.bmp"}) {
        const common::Image image = Bitmap(name);
        EXPECT_EQ(image.At(0, 0), 0xFFFFFFFFu) << name;
        EXPECT_NE(image.At(64, 64), 0xFFFFFFFFu) << name;
    }
    EXPECT_NE(Bitmap("Particle.bmp").At(8, 8), 0xFFFFFFFFu);
    EXPECT_EQ(Bitmap("Logo.bmp").At(0, 0), 0xFFFFFF00u);
}

// Each word sits inside its rectangle, centred, touching none of its edges; everything outside
// the rectangles is the key colour.
void CheckWordSheet(const char* name, std::span<const assetgen::WordSlot> slots) {
    const common::Image image = Bitmap(name);
    ASSERT_EQ(image.width, 256);
    std::vector<bool> inSlot(static_cast<std::size_t>(image.width * image.height), false);
    for (const auto& slot : slots) {
        int left = image.width, right = -1, top = image.height, bottom = -1;
        for (int y = slot.top; y < slot.bottom; ++y) {
            for (int x = slot.left; x < slot.right; ++x) {
                inSlot[static_cast<std::size_t>(y * image.width + x)] = true;
                if (image.At(x, y) == 0xFFFFFFFFu) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        ASSERT_GE(right, 0) << name << ": no ink for " << slot.word;
        EXPECT_GT(left, slot.left) << slot.word;
        EXPECT_LT(right, slot.right - 1) << slot.word;
        EXPECT_GT(top, slot.top) << slot.word;
        EXPECT_LT(bottom, slot.bottom - 1) << slot.word;
        EXPECT_NEAR((left + right) / 2.0, (slot.left + slot.right - 1) / 2.0, 2.0) << slot.word;
        EXPECT_NEAR((top + bottom) / 2.0, (slot.top + slot.bottom - 1) / 2.0, 2.0) << slot.word;
    }
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!inSlot[static_cast<std::size_t>(y * image.width + x)]) {
                ASSERT_EQ(image.At(x, y), 0xFFFFFFFFu) << name << " has ink outside the words at " << x << "," << y;
            }
        }
    }
}

TEST(GeneratedPictures, WordSheetsFitTheGamesSourceRectangles) {
    CheckWordSheet("MenuItems.bmp", assetgen::kMenuWords);
    CheckWordSheet("GameItems.bmp", assetgen::kHudWords);
    // The score and money labels end before the numbers drawn 80 pixels to their right.
    const common::Image hud = Bitmap("GameItems.bmp");
    for (const auto& slot : assetgen::kHudWords) {
        for (int y = slot.top; y < slot.bottom; ++y) {
            for (int x = 2 * 80; x < slot.right; ++x) {
                EXPECT_EQ(hud.At(x, y), 0xFFFFFFFFu) << slot.word;
            }
        }
    }
}

TEST(GeneratedMeshes, EachFileParsesWithItsTextureAndUsableCoordinatesAndNormals) {
    for (const auto& kind : assetgen::kMeshKinds) {
        std::string error;
        const auto mesh = assetgen::ParseX(Text(kind.fileName), &error);
        ASSERT_TRUE(mesh.has_value()) << kind.fileName << ": " << error;
        EXPECT_LT(mesh->faces.size(), 500u) << kind.fileName;
        EXPECT_GT(mesh->faces.size(), 50u) << kind.fileName;
        ASSERT_FALSE(mesh->materials.empty());
        for (const auto& material : mesh->materials) {
            ASSERT_FALSE(material.textureFile.empty());
            EXPECT_EQ(Bitmap(material.textureFile).width, 128) << material.textureFile;
        }
        float furthest = 0.0f;
        for (const auto& p : mesh->positions) furthest = std::max(furthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
        EXPECT_NEAR(furthest, kind.radius, 0.01f) << kind.fileName;
        for (const auto& uv : mesh->uvs) {
            EXPECT_TRUE(uv[0] >= 0.0f && uv[0] <= 1.0f && uv[1] >= 0.0f && uv[1] <= 1.0f) << uv[0] << ", " << uv[1];
        }
        for (const auto& n : mesh->normals) {
            EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-3f) << kind.fileName;
        }
        // Every triangle's front (edge cross product) faces away from the centre.
        for (const auto& f : mesh->faces) {
            for (int v : f) ASSERT_TRUE(v >= 0 && static_cast<std::size_t>(v) < mesh->positions.size()) << kind.fileName;
            const auto& a = mesh->positions[f[0]];
            const auto& b = mesh->positions[f[1]];
            const auto& c = mesh->positions[f[2]];
            const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            EXPECT_GT(nx * (a.x + b.x + c.x) + ny * (a.y + b.y + c.y) + nz * (a.z + b.z + c.z), 0.0f) << kind.fileName;
        }
    }
}

TEST(GeneratedSounds, EffectsAreCanonicalPcmWavesOfTheirIntendedLength) {
    for (const auto& effect : assetgen::kEffects) {
        const auto bytes = Bytes(effect.fileName);
        // The header checked byte by byte against the RIFF layout, not through our own reader.
        ASSERT_GE(bytes.size(), 44u) << effect.fileName;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        EXPECT_EQ(common::ReadLe32(bytes, 4), bytes.size() - 8) << effect.fileName;
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
        // Format size 16, PCM, mono, 22050 Hz, bytes per second, block size, bits per sample.
        const std::pair<std::size_t, std::uint32_t> fields[] = {{16, 16}, {24, 22050}, {28, 22050 * 2}};
        for (const auto& [at, value] : fields) EXPECT_EQ(common::ReadLe32(bytes, at), value) << "offset " << at;
        const std::pair<std::size_t, std::uint32_t> shortFields[] = {{20, 1}, {22, 1}, {32, 2}, {34, 16}};
        for (const auto& [at, value] : shortFields) EXPECT_EQ(common::ReadLe16(bytes, at), value) << "offset " << at;
        EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
        EXPECT_EQ(common::ReadLe32(bytes, 40), bytes.size() - 44) << effect.fileName;
        EXPECT_EQ(common::ReadLe32(bytes, 40), 2u * static_cast<std::uint32_t>(effect.frames)) << effect.fileName;
    }
}

// Every effect and tune as the game decodes and plays it, with its loudness.
struct HeardSound {
    std::string fileName;
    std::vector<std::int16_t> samples;  // interleaved stereo at the output's rate
    assetgen::Loudness loudness;
    bool Tune() const { return fileName.ends_with(".ogg"); }
};

const std::vector<HeardSound>& HeardSounds() {
    static const std::vector<HeardSound> heard = [] {
        std::vector<assetgen::DataFile> files;
        for (const auto& effect : assetgen::kEffects) files.push_back({effect.fileName, Bytes(effect.fileName)});
        for (const auto& tune : assetgen::kTunes) files.push_back({tune.fileName, Bytes(tune.fileName)});
        std::vector<std::string> refused;
        std::vector<HeardSound> sounds;
        for (auto& sound : assetgen::DecodeGeneratedSounds(files, &refused)) {
            const assetgen::Loudness loudness = assetgen::MeasureLoudness(sound.samples);
            sounds.push_back({sound.fileName, std::move(sound.samples), loudness});
        }
        for (const std::string& why : refused) ADD_FAILURE() << why;
        return sounds;
    }();
    return heard;
}

// The first or the last milliseconds of a sound.
std::span<const std::int16_t> Head(const HeardSound& sound, double milliseconds) {
    return std::span(sound.samples).first(std::min(sound.samples.size(), 2 * static_cast<std::size_t>(milliseconds * 44.1)));
}
std::span<const std::int16_t> Tail(const HeardSound& sound, double milliseconds) {
    return std::span(sound.samples).last(std::min(sound.samples.size(), 2 * static_cast<std::size_t>(milliseconds * 44.1)));
}

// What a listener would hear wrong: clipping or a peak too near full scale, a DC offset, a click
// where the sound starts or stops (a tune stops and starts again at every restart of the loop).
TEST(GeneratedSounds, EveryEffectAndTunePlaysCleanly) {
    ASSERT_EQ(HeardSounds().size(), std::size(assetgen::kEffects) + std::size(assetgen::kTunes));
    for (const HeardSound& sound : HeardSounds()) {
        SCOPED_TRACE(sound.fileName);
        EXPECT_LT(sound.loudness.peakDb, -1.0);
        EXPECT_GT(sound.loudness.peakDb, -12.0) << "nearly silent";
        EXPECT_LT(std::fabs(sound.loudness.dcOffset), 0.001);
        const double peak = std::pow(10.0, sound.loudness.peakDb / 20.0);
        // Silent at both ends, and faded rather than cut: the first and last millisecond stay well
        // under the sound's peak.
        EXPECT_LT(common::PeakLevel(Head(sound, 0.1)), 0.005);
        EXPECT_LT(common::PeakLevel(Tail(sound, 0.1)), 0.005);
        EXPECT_LT(common::PeakLevel(Head(sound, 1)), 0.5 * peak);
        EXPECT_LT(common::PeakLevel(Tail(sound, 1)), 0.25 * peak);
    }
    for (const auto& tune : assetgen::kTunes) {
        const auto heard = std::find_if(HeardSounds().begin(), HeardSounds().end(),
                                        [&](const HeardSound& sound) { return sound.fileName == tune.fileName; });
        ASSERT_NE(heard, HeardSounds().end());
        EXPECT_EQ(static_cast<long>(heard->samples.size() / 2), assetgen::TuneFrames(tune)) << tune.fileName;
    }
}

TEST(GeneratedSounds, EffectsStandAboveTheMusic) {
    for (const HeardSound& effect : HeardSounds()) {
        if (effect.Tune()) continue;
        for (const HeardSound& tune : HeardSounds()) {
            if (!tune.Tune()) continue;
            EXPECT_GT(effect.loudness.loudestDb, tune.loudness.rmsDb + 6.0) << effect.fileName << " over " << tune.fileName;
            EXPECT_GT(effect.loudness.loudestDb, tune.loudness.loudestDb) << effect.fileName << " over " << tune.fileName;
        }
    }
}

// How well a tempo fits a tune: the rises in loudness (10 ms apart) compared with themselves one
// to eight beats of that tempo later. A listener tells the tunes apart by their beat: each tune's
// own tempo must fit it better than the other three tunes' tempos do.
double BeatFit(const HeardSound& sound, double beatsPerMinute) {
    constexpr std::size_t kHop = 2 * 441;
    std::vector<double> rises;
    double previous = 0.0;
    for (std::size_t at = 0; at + kHop <= sound.samples.size(); at += kHop) {
        const double level = common::Decibels(common::RmsLevel(std::span(sound.samples).subspan(at, kHop)));
        rises.push_back(std::max(0.0, level - previous));
        previous = level;
    }
    const auto alike = [&](double lag) {
        const auto whole = static_cast<std::size_t>(lag);
        const double part = lag - static_cast<double>(whole);
        double sum = 0.0;
        for (std::size_t i = 0; i + whole + 1 < rises.size(); ++i) {
            sum += rises[i] * ((1.0 - part) * rises[i + whole] + part * rises[i + whole + 1]);
        }
        return sum;
    };
    double fit = 0.0;
    for (int beats = 1; beats <= 8; ++beats) fit += alike(beats * 6000.0 / beatsPerMinute);
    return fit;
}

TEST(GeneratedMusic, EachTuneKeepsItsOwnBeat) {
    for (const auto& tune : assetgen::kTunes) {
        const auto heard = std::find_if(HeardSounds().begin(), HeardSounds().end(),
                                        [&](const HeardSound& sound) { return sound.fileName == tune.fileName; });
        ASSERT_NE(heard, HeardSounds().end());
        const double own = BeatFit(*heard, tune.beatsPerMinute);
        for (const auto& other : assetgen::kTunes) {
            if (&other == &tune) continue;
            EXPECT_GT(own, BeatFit(*heard, other.beatsPerMinute)) << tune.fileName << " sounds like " << other.fileName;
        }
    }
}

TEST(GeneratedPlayerFiles, KeysFileDescribesEveryScanCode) {
    const auto keys = common::ParseKeyNames(Text("keys.txt"), "keys.txt");
    EXPECT_TRUE(keys.warnings.empty());
    EXPECT_EQ(keys.names.size(), common::ScanCodeTable().size());
}

TEST(GeneratedPictures, ExplosionFlaresThenFadesAroundItsCentre) {
    // The game draws a frame at three quarters from 44 pixels above and left of the explosion's
    // point: the frame's middle lands this far from the point.
    const double offset = assetgen::kExplosionSide * 0.75 / 2.0 - 44.0;
    EXPECT_LE(std::fabs(offset), 6.0);
    ASSERT_EQ(assetgen::kExplosionFrames, 15);
    std::vector<double> light;
    for (int frame = 1; frame <= assetgen::kExplosionFrames; ++frame) {
        char name[40];
        std::snprintf(name, sizeof name, "Objects/Explosion/%02d.bmp", frame);
        const common::Image image = Bitmap(name);
        EXPECT_EQ(image.width, assetgen::kExplosionSide) << name;
        double sum = 0.0, sx = 0.0, sy = 0.0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t p = image.At(x, y);
                const double v = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
                sum += v;
                sx += v * (x + 0.5);
                sy += v * (y + 0.5);
            }
        }
        light.push_back(sum);
        if (sum > 1000.0) {
            EXPECT_NEAR(sx / sum, image.width / 2.0, 8.0) << name;
            EXPECT_NEAR(sy / sum, image.height / 2.0, 8.0) << name;
        }
    }
    const auto peak = std::max_element(light.begin(), light.end()) - light.begin();
    EXPECT_LT(peak, 6) << "the blast should flare early";
    for (std::size_t i = static_cast<std::size_t>(peak) + 1; i < light.size(); ++i) {
        EXPECT_LT(light[i], light[i - 1]) << "frame " << i + 1 << " should be dimmer than the one before";
    }
    // The last frame stays on screen until the explosion expires, so it must be nearly dark.
    EXPECT_LT(light.back(), light[static_cast<std::size_t>(peak)] * 0.02);
}

// The mean colour step from column (or row) first of one 256-pixel tile to column last of
// another, or of the same one.
double Step(const common::Image& one, int first, const common::Image& other, int last, bool horizontal) {
    double sum = 0.0;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t a = horizontal ? one.At(first, i) : one.At(i, first);
        const std::uint32_t b = horizontal ? other.At(last, i) : other.At(i, last);
        for (int shift : {0, 8, 16}) sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return sum / 256;
}

TEST(GeneratedPictures, TilesJoinWithoutSeamsAndUseTheKeyOnlyWhereSpaceShows) {
    std::vector<common::Image> tiles;
    for (int tile = 1; tile <= common::kTileKinds; ++tile) tiles.push_back(Bitmap(common::TileFileName(tile)));
    const auto tile = [&](int number) -> const common::Image& { return tiles[static_cast<std::size_t>(number - 1)]; };
    for (int first : {assetgen::kPlateFirst, assetgen::kNebulaFirst}) {
        // North-west beside north, north beside north-east, the middle beside its variants.
        const int middle = first + 4;
        const int variant = first == assetgen::kPlateFirst ? assetgen::kPlateVent : assetgen::kNebulaBright;
        // Pieces meant to sit side by side continue each other: the step across the seam is
        // no bigger than the steps between neighbouring columns inside a piece.
        const auto limit = [&](bool horizontal) { return 2.5 * Step(tile(middle), 127, tile(middle), 128, horizontal) + 6.0; };
        const std::pair<int, int> rightOf[] = {{first, first + 1}, {first + 1, first + 2}, {first + 3, middle},
                                               {middle, first + 5}, {variant, first + 5}, {first + 3, variant}};
        for (const auto& [a, b] : rightOf) {
            EXPECT_LE(Step(tile(a), 255, tile(b), 0, true), limit(true)) << "tile " << a << " beside " << b;
        }
        const std::pair<int, int> below[] = {{first, first + 3}, {first + 1, middle}, {middle, first + 7}, {variant, first + 7}};
        for (const auto& [a, b] : below) {
            EXPECT_LE(Step(tile(a), 255, tile(b), 0, false), limit(false)) << "tile " << a << " above " << b;
        }
    }
    // The outer sides of border pieces are open space; a plate's middle piece covers its whole
    // cell; a debris piece is mostly open space.
    EXPECT_EQ(tile(assetgen::kPlateFirst).At(0, 128), 0xFF000000u);
    EXPECT_EQ(tile(assetgen::kNebulaFirst + 8).At(255, 128), 0xFF000000u);
    const common::Image& plate = tile(assetgen::kPlateFirst + 4);
    EXPECT_EQ(std::count(plate.pixels.begin(), plate.pixels.end(), 0xFF000000u), 0);
    const common::Image& debris = tile(assetgen::kDebrisFirst);
    const auto open = std::count(debris.pixels.begin(), debris.pixels.end(), 0xFF000000u);
    EXPECT_GT(open, static_cast<long>(debris.pixels.size() * 8 / 10));
}

// A second run of the generator writes the same bytes as the build's run did.
TEST(GeneratedFiles, RegeneratingGivesTheSameBytes) {
    const auto kinds = assetgen::MakeObjectKinds();
    std::vector<assetgen::DataFile> files = assetgen::MakeLevelFiles(kinds, assetgen::MakeLevels(kinds));
    ASSERT_EQ(files.size(), 1u + 2u * common::kLevelCount);
    for (auto&& more : {assetgen::MakeSoundEffects(), assetgen::MakeMeshFiles(), {assetgen::MakeKeysFile()}}) {
        files.insert(files.end(), more.begin(), more.end());
    }
    for (const auto& file : files) EXPECT_EQ(Bytes(file.fileName), file.bytes) << file.fileName;
    const auto tiles = assetgen::MakeTiles();
    ASSERT_EQ(tiles.size(), static_cast<std::size_t>(common::kTileKinds));
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(Bitmap(tiles[i].fileName).pixels, tiles[i].image.pixels) << tiles[i].fileName;
    }
}

}  // namespace
