#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/bmp.h"
#include "game/graphics/sprites.h"
#include "game/world/level_assets.h"
#include "game/world/level_loader.h"
#include "game/world/records.h"
#include "platform/app.h"
#include "platform/texture.h"
#include "tests/support/headless.h"

namespace {

namespace fs = std::filesystem;

// The kinds the game spawns itself; every loadable objects.dat holds them.
const std::string kProgramKinds = "Laser.bmp,6,24\r\nSideshot.bmp,12,24\r\nRearshot.bmp,6,12\r\nPhaser.bmp,6,24\r\n"
                                  "Blast.bmp,12,12\r\nFireball.bmp,24,24\r\n4,40,30\r\n5,72,54\r\n";

class LevelLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::StartHeadlessGame());
        folder_ = test_support::ScratchFolder("levels");
        fs::create_directories(folder_ / "maps");
        platform::app.dataFolder = folder_;
        world::ClearWorld();
    }
    void TearDown() override {
        platform::app.dataFolder = test_support::ProgramFolder();
        fs::remove_all(folder_);
    }

    void Write(const fs::path& relative, const std::string& bytes) {
        std::ofstream(folder_ / relative, std::ios::binary) << bytes;
    }
    // objects.dat, the level's .dat and its .map.
    void WriteLevel(const std::string& objectsDat, const std::string& objects,
                    const std::string& map = std::string(400, '\0')) {
        Write("objects.dat", objectsDat);
        Write("maps/Level1.dat", objects);
        Write("maps/Level1.map", map);
    }
    std::string Stem() const { return (folder_ / "maps" / "Level1").string(); }
    bool Load(std::string* error = nullptr) {
        std::string ignored;
        return world::LoadLevel(Stem(), error ? error : &ignored);
    }

    fs::path folder_;
};

TEST_F(LevelLoaderTest, KindsAreNumberedByLineAndObjectsPlacedByTheirCentre) {
    WriteLevel("a.bmp,10,20\r\nb,4,4\r\nc.BMP,64,32\r\n" + kProgramKinds, "a.bmp,0,0,1.5,-2,6,7\r\nb,1,0,0,0,1,2",
               std::string(400, '\1'));
    ASSERT_TRUE(Load());
    const auto& kinds = world::records.colObjRefs;
    EXPECT_EQ(kinds.Find("a.bmp")->refNum, 1);
    EXPECT_EQ(kinds.Find("b")->refNum, 2);
    EXPECT_EQ(kinds.Find("C.bmp")->refNum, 3);  // keys ignore letter case
    ASSERT_EQ(world::records.colObjects.size(), 2u);
    const world::cObject& a = *world::records.colObjects[0];
    EXPECT_EQ(a.name, "a.bmp");
    EXPECT_EQ(a.X, 395);
    EXPECT_EQ(a.Y, 90);
    EXPECT_EQ(a.xSpeed, 1.5);
    EXPECT_EQ(a.ySpeed, -2);
    EXPECT_EQ(a.oType, 6);
    EXPECT_EQ(a.Health, 7);
    EXPECT_EQ(a.Value, 70);
    EXPECT_EQ(a.Angle, 0);
    EXPECT_FALSE(a.Dead);
    // The last line had no line end and was read; x 1 with width 4 gives 399.
    EXPECT_EQ(world::records.colObjects[1]->X, 399);
}

TEST_F(LevelLoaderTest, HalvesRoundToTheEvenNeighbour) {
    WriteLevel("w.bmp,33,33\r\n" + kProgramKinds, "w.bmp,0,0,0,0,2.5,3.5\r\nw.bmp,1,0,0,0,3.5,2.5\r\n");
    ASSERT_TRUE(Load());
    const world::cObject& a = *world::records.colObjects[0];
    const world::cObject& b = *world::records.colObjects[1];
    EXPECT_EQ(a.X, 384);  // 383.5
    EXPECT_EQ(b.X, 384);  // 384.5
    // oType and Health are whole numbers too.
    EXPECT_EQ(a.oType, 2);
    EXPECT_EQ(a.Health, 4);
    EXPECT_EQ(b.oType, 4);
    EXPECT_EQ(b.Health, 2);
}

TEST_F(LevelLoaderTest, MissingFilesRefuseTheLevelAndCreateNothing) {
    Write("objects.dat", kProgramKinds);
    std::string error;
    EXPECT_FALSE(Load(&error));
    EXPECT_NE(error.find("Level1.map"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(folder_ / "maps" / "Level1.map"));

    Write("maps/Level1.map", std::string(400, '\0'));
    EXPECT_FALSE(Load(&error));
    EXPECT_NE(error.find("Level1.dat"), std::string::npos) << error;

    fs::remove(folder_ / "objects.dat");
    world::ClearWorld();
    EXPECT_FALSE(Load(&error));
    EXPECT_NE(error.find("objects.dat"), std::string::npos) << error;
}

TEST_F(LevelLoaderTest, KindsTheGameSpawnsMustBeDefined) {
    WriteLevel("Laser.bmp,6,24\r\n4,40,30\r\n", "");
    std::string error;
    EXPECT_FALSE(Load(&error));
    EXPECT_NE(error.find("\"Fireball.bmp\""), std::string::npos) << error;
    EXPECT_NE(error.find("\"5\""), std::string::npos) << error;
    EXPECT_EQ(error.find("\"Laser.bmp\""), std::string::npos) << error;
}

TEST_F(LevelLoaderTest, ShortLongAndStrangeMapsStayInsideTheMap) {
    WriteLevel(kProgramKinds, "", "\x05\x07");
    ASSERT_TRUE(Load());
    ASSERT_EQ(world::records.mapData.size(), 400u);
    EXPECT_EQ(world::records.mapData[0], 5);
    EXPECT_EQ(world::records.mapData[1], 7);
    EXPECT_EQ(world::records.mapData[2], 0);  // the rest is empty space

    world::ClearWorld();
    Write("maps/Level1.map", std::string(1000, '\xff'));
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(Load());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(world::records.mapData.size(), 400u);
    EXPECT_EQ(world::records.mapData[399], 0xff);  // kept; the tile layer draws nothing for it
    // The map is named with its own length, though only its first 401 bytes are read.
    EXPECT_NE(said.find("Level1.map: 1000 bytes"), std::string::npos) << said;
    EXPECT_EQ(said.find("row 20"), std::string::npos) << said;

    world::ClearWorld();
    Write("maps/Level1.map", "");
    EXPECT_TRUE(Load());
}

TEST_F(LevelLoaderTest, DamagedLinesAreSkippedAndTheRestOfTheLevelStays) {
    WriteLevel("rock,20,20\r\nbroken line\r\nrock,5,5\r\n" + kProgramKinds,
               "rock,0,0,0,0,1,5\r\n"
               "ghost,0,0,0,0,1,5\r\n"   // kind not defined
               "rock,1,2\r\n"             // too few fields
               "rock,x,0,0,0,1,5\r\n"     // not a number
               "\r\n"                     // empty line
               "rock,10,10,0,0,1,5\r\n");
    ASSERT_TRUE(Load());
    EXPECT_EQ(world::records.colObjects.size(), 2u);
    EXPECT_EQ(world::records.colObjRefs.Find("rock")->Width, 20);  // the first definition stays
}

// A level without objects is complete at its first frame: the player is told which file
// placed nothing.
TEST_F(LevelLoaderTest, ADatThatPlacesNothingIsNamed) {
    for (const std::string& objects : {std::string(), std::string("junk\r\nrock,1,2\r\n"),
                                       std::string("ghost,0,0,0,0,1,5\r\n")}) {
        world::ClearWorld();
        WriteLevel(kProgramKinds, objects);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(Load());
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(world::records.colObjects.empty());
        EXPECT_NE(said.find("Level1.dat: places no objects"), std::string::npos) << said;
    }
    world::ClearWorld();
    WriteLevel(kProgramKinds, "4,0,0,0,0,8,1\r\nghost,0,0,0,0,1,5\r\n");
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(Load());
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("places no objects"), std::string::npos);
}

TEST_F(LevelLoaderTest, KindsPastFiveHundredAreSkippedNotOverrun) {
    std::string kinds = kProgramKinds;  // lines 1 to 8
    for (int i = 9; i <= 600; ++i) {
        kinds += "k" + std::to_string(i) + ".bmp,8,8\r\n";
    }
    WriteLevel(kinds, "k600.bmp,0,0,0,0,2,1\r\nk500.bmp,0,0,0,0,2,1\r\n");
    ASSERT_TRUE(Load());
    EXPECT_EQ(world::records.colObjRefs.Count(), 500u);
    EXPECT_EQ(world::records.colObjRefs.Find("k500.bmp")->refNum, 500);
    EXPECT_EQ(world::records.colObjects.size(), 1u);
}

TEST_F(LevelLoaderTest, KindSpritesComeOnlyFromInsideTheObjectsFolder) {
    fs::create_directories(folder_ / "Objects");
    const common::Image picture(4, 4, 0xFF808080u);
    ASSERT_TRUE(common::SaveBmp24(folder_ / "Objects" / "in.bmp", picture, nullptr));
    ASSERT_TRUE(common::SaveBmp24(folder_ / "Logo.bmp", picture, nullptr));
    fs::create_symlink(folder_ / "Logo.bmp", folder_ / "Objects" / "link.bmp");
    WriteLevel(kProgramKinds + "in.bmp,4,4\r\n..\\Logo.bmp,4,4\r\nlink.bmp,4,4\r\n", "");
    world::records.objectTextures.fill(0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Load());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_GT(world::records.objectTextures[9], 0);
    EXPECT_EQ(world::records.objectTextures[10], 0);
    EXPECT_EQ(world::records.objectTextures[11], 0);
    EXPECT_NE(said.find("\"..\\Logo.bmp\""), std::string::npos) << said;
    EXPECT_NE(said.find("\"link.bmp\" leads through a link"), std::string::npos) << said;
}

TEST_F(LevelLoaderTest, LevelAfterLevelKeepsTexturesAndKindsFlat) {
    // The game loads level after level into one world, clearing only the kinds between them.
    fs::create_directories(folder_ / "Objects");
    for (const char* name : {"rock", "Laser", "Sideshot", "Rearshot", "Phaser", "Blast", "Fireball"}) {
        const fs::path file = folder_ / "Objects" / (std::string(name) + ".bmp");
        ASSERT_TRUE(common::SaveBmp24(file, common::Image(4, 4, 0xFF808080u), nullptr));
    }
    WriteLevel(kProgramKinds + "rock.bmp,4,4\r\n", "rock.bmp,0,0,0,0,2,1\r\n");
    graphics::ClearTexturePool();
    std::size_t slots = 0, textures = 0, kinds = 0;
    for (int level = 0; level < 5; ++level) {
        world::records.colObjRefs.Clear();
        ASSERT_TRUE(Load());
        if (level == 0) {
            slots = graphics::sprites.texturePool.size();
            textures = platform::texturePool.textures.size();
            kinds = world::records.colObjRefs.Count();
        }
        EXPECT_EQ(graphics::sprites.texturePool.size(), slots) << "level " << level;
        EXPECT_EQ(platform::texturePool.textures.size(), textures) << "level " << level;
        EXPECT_EQ(world::records.colObjRefs.Count(), kinds) << "level " << level;
    }
    EXPECT_GT(world::records.objectTextures[9], 0);
    EXPECT_EQ(slots, 8u);  // slot 0 and the seven sprites
    EXPECT_EQ(kinds, 9u);
    graphics::ClearTexturePool();
}

TEST(LevelAssets, SpriteNamesHoldDotBmpAnywhereInAnyCase) {
    EXPECT_TRUE(world::NamesSprite("ship.bmp.old"));
    EXPECT_TRUE(world::NamesSprite("Laser.BMP"));
    EXPECT_TRUE(world::NamesSprite(" x.bMp"));
    EXPECT_FALSE(world::NamesSprite("asteroid"));
    EXPECT_FALSE(world::NamesSprite("bmp"));
    EXPECT_FALSE(world::NamesSprite(".bm"));
}

}  // namespace
