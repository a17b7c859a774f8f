#include <gtest/gtest.h>

#include <tuple>

#include "common/level_files.h"

namespace {

using common::ParseObjectKinds;
using common::ParsePlacedObjects;

TEST(ObjectKindsFile, BadLinesAreReportedAndKeepTheNumberingOfLaterLines) {
    const auto result = ParseObjectKinds("a,1\r\nb,x,2\r\nc,3,4,extra,fields\r\nC,5,6\r\n\r\n", "objects.dat");
    ASSERT_EQ(result.kinds.size(), 1u);
    EXPECT_EQ(result.kinds[0].name, "c");
    EXPECT_EQ(result.kinds[0].refNum, 3);
    ASSERT_EQ(result.diagnostics.size(), 4u);
    EXPECT_EQ(result.diagnostics[0].line, 1);
    EXPECT_EQ(result.diagnostics[1].line, 2);
    EXPECT_NE(result.diagnostics[1].message.find("objects.dat: line 2"), std::string::npos);
    // The same name in other letters is a repeat, and the first definition stays.
    EXPECT_EQ(result.diagnostics[2].line, 4);
    EXPECT_NE(result.diagnostics[2].message.find("again"), std::string::npos);
    // A file ending in an empty line has a bad last line.
    EXPECT_EQ(result.diagnostics[3].line, 5);
}

TEST(ObjectKindsFile, FieldsAreNotTrimmedButLookupIgnoresCase) {
    const auto result = ParseObjectKinds(" Laser.bmp,6,24\r\nMine,8,8\r\n", "objects.dat");
    ASSERT_EQ(result.kinds.size(), 2u);
    EXPECT_EQ(result.kinds[0].name, " Laser.bmp");
    EXPECT_EQ(common::FindObjectKind(result.kinds, "Laser.bmp"), nullptr);
    EXPECT_NE(common::FindObjectKind(result.kinds, " LASER.BMP"), nullptr);
    EXPECT_EQ(common::FindObjectKind(result.kinds, "mine"), &result.kinds[1]);
    // Only letters fold: "[" and "{" differ by the case bit, yet are other characters.
    const auto brackets = ParseObjectKinds("a[,1,1\r\na{,2,2\r\n", "objects.dat");
    EXPECT_TRUE(brackets.diagnostics.empty());
    EXPECT_EQ(common::FindObjectKind(brackets.kinds, "A{"), &brackets.kinds[1]);
}

TEST(PlacedObjectsFile, DamagedLinesAreReportedByNumber) {
    const auto result = ParsePlacedObjects("k,1,2,0,0,1\r\nk,a,2,0,0,1,5\r\nk,1,2,0,0,99999,5\r\nk,1,2,0,0,1,5", "L.dat");
    ASSERT_EQ(result.objects.size(), 1u);
    ASSERT_EQ(result.diagnostics.size(), 3u);
    EXPECT_EQ(result.diagnostics[0].line, 1);
    EXPECT_EQ(result.diagnostics[1].line, 2);
    EXPECT_NE(result.diagnostics[1].message.find("\"a\""), std::string::npos);
    // An oType beyond 16 bits cannot be stored.
    EXPECT_EQ(result.diagnostics[2].line, 3);
}

TEST(LevelFiles, WrittenFilesReadBackExactly) {
    std::vector<common::ObjectKind> kinds = {{"Laser.bmp", 6, 24, 1}, {"4", 40, 30, 2}, {"Scout.bmp", 48, 48, 3}};
    const auto kindsBack = ParseObjectKinds(common::FormatObjectKinds(kinds), "objects.dat");
    ASSERT_TRUE(kindsBack.diagnostics.empty());
    ASSERT_EQ(kindsBack.kinds.size(), kinds.size());
    const auto kindFields = [](const common::ObjectKind& k) { return std::tuple(k.name, k.width, k.height, k.refNum); };
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(kindFields(kindsBack.kinds[i]), kindFields(kinds[i]));
    std::vector<common::PlacedObject> objects = {{"4", 1234, -99, 0.1, -0.35, 8, 20},
                                                 {"Scout.bmp", -400, 4919.5, 3, 3, 4, 30},
                                                 {"Laser.bmp", 0.3333333333333333, 1e-7, -1e6, 12.75, 2, 1}};
    const std::string text = common::FormatPlacedObjects(objects);
    EXPECT_EQ(text.find("e-"), std::string::npos) << "no exponents: " << text;
    EXPECT_EQ(text.find("e+"), std::string::npos) << "no exponents: " << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const auto objectsBack = ParsePlacedObjects(text, "Level1.dat");
    ASSERT_TRUE(objectsBack.diagnostics.empty());
    ASSERT_EQ(objectsBack.objects.size(), objects.size());
    // Exactly equal, doubles included: the text keeps every digit.
    const auto objectFields = [](const common::PlacedObject& o) { return std::tuple(o.kind, o.x, o.y, o.xSpeed, o.ySpeed, o.oType, o.health); };
    for (std::size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(objectFields(objectsBack.objects[i]), objectFields(objects[i]));
}

TEST(LevelMapFile, OnlyFullMapsOfKnownTilesPass) {
    std::vector<std::uint8_t> map(400, 0);
    map[0] = 23;
    EXPECT_TRUE(common::CheckLevelMap(map, map.size(), "Level1.map").empty());
    map[399] = 24;
    const auto wrongTile = common::CheckLevelMap(map, map.size(), "Level1.map");
    ASSERT_EQ(wrongTile.size(), 1u);
    EXPECT_NE(wrongTile[0].find("row 19 column 19"), std::string::npos);
    map.pop_back();
    EXPECT_EQ(common::CheckLevelMap(map, map.size(), "Level1.map").size(), 1u);
}

}  // namespace
