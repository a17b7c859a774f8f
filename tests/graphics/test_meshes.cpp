// The mesh loader, the mesh table and the drawing of meshes through the device's 3-D path.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <sstream>

#include "game/graphics/meshes.h"
#include "game/graphics/sprites.h"
#include "platform/mesh_loader.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"

namespace {

using namespace graphics_test;

// Two triangles over four corners whose z values tell them apart, two materials, texture
// coordinates with v = 0.25 at the top.
const char* kTwoTriangles = R"(xof 0302txt 0032
Mesh pair {
 4;
 0.0;0.0;1.0;, 1.0;0.0;2.0;, 0.0;1.0;3.0;, 1.0;1.0;4.0;;
 2;
 3;0,1,2;, 3;1,3,2;;
 MeshMaterialList {
  2; 2; 0, 1;;
  Material { 1.0;0.0;0.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "maps\\skin.bmp"; } }
  Material { 0.0;1.0;0.0;0.5;; 5.0; 0.0;0.0;0.0;; 0.1;0.2;0.3;; }
 }
 MeshTextureCoords { 4; 0.0;0.25;, 1.0;0.25;, 0.0;0.75;, 1.0;0.75;; }
}
)";

// A cube of side 2 about the origin: 24 corners (each face its own texture coordinates), the
// faces alternating between a textured warm material and a plain blue one.
std::string CubeFile(const std::string& textureName) {
    std::ostringstream x;
    x << "xof 0302txt 0032\nMesh cube {\n 24;\n";
    // Each face: an axis, its sign, and two axes spanning it.
    const int faces[6][3] = {{2, 1, 0}, {2, -1, 0}, {0, 1, 1}, {0, -1, 1}, {1, 1, 2}, {1, -1, 2}};
    std::ostringstream corners, uvs, triangles;
    for (int f = 0; f < 6; ++f) {
        const int axis = faces[f][0], sign = faces[f][1];
        const int a = (axis + 1) % 3, b = (axis + 2) % 3;
        const int quad[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int k = 0; k < 4; ++k) {
            float p[3];
            p[axis] = static_cast<float>(sign);
            p[a] = static_cast<float>(quad[k][0]);
            p[b] = static_cast<float>(quad[k][1]);
            const char* end = f == 5 && k == 3 ? ";\n" : ",\n";
            corners << " " << p[0] << ";" << p[1] << ";" << p[2] << ";" << end;
            uvs << " " << (quad[k][0] + 1) / 2 << ";" << (quad[k][1] + 1) / 2 << ";" << end;
        }
        // Wound one way on the positive faces and the other on the negative, so all face out.
        const int outward[2][6] = {{0, 2, 1, 0, 3, 2}, {0, 1, 2, 0, 2, 3}};
        const int* t = outward[sign > 0];
        const int base = f * 4;
        triangles << " 3;" << base + t[0] << "," << base + t[1] << "," << base + t[2] << ";,\n 3;" << base + t[3] << ","
                  << base + t[4] << "," << base + t[5] << ";" << (f == 5 ? ";\n" : ",\n");
    }
    x << corners.str() << " 12;\n" << triangles.str();
    x << " MeshMaterialList {\n  2;\n  12;\n";
    for (int t = 0; t < 12; ++t) {
        x << "  " << (t / 2) % 2 << (t == 11 ? ";;\n" : ",\n");
    }
    x << "  Material { 1.0;0.8;0.6;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"" << textureName
      << "\"; } }\n";
    x << "  Material { 0.2;0.4;1.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.1;0.0;0.0;; }\n }\n";
    x << " MeshTextureCoords {\n  24;\n" << uvs.str() << " }\n}\n";
    return x.str();
}

// A fresh folder with all five mesh files (cubes) and their texture.
std::filesystem::path FullMeshFolder(const std::string& name) {
    for (int n = 1; n <= 5; ++n) {
        WriteFile(ScratchFolder() / name / graphics::kMeshFiles[static_cast<std::size_t>(n)], CubeFile("skin.bmp"));
    }
    WriteBitmap(name + "/skin.bmp", Checker(0xFFC04020u, 0xFFF0E0A0u));
    return ScratchFolder() / name;
}

// Writes the text as a mesh file of that name and loads it.
std::optional<platform::MeshData> LoadMeshText(const std::string& name, const std::string& text, std::string* error) {
    return platform::LoadMeshFile(WriteFile(ScratchFolder() / "loader" / name, text), error);
}

TEST(MeshLoader, KeepsTheFilesHandednessWindingAndTextureCoordinates) {
    std::string error;
    const auto mesh = LoadMeshText("pair.x", kTwoTriangles, &error);
    ASSERT_TRUE(mesh) << error;
    ASSERT_TRUE(mesh->subsets.size() == 2 && mesh->subsets[0].size() == 3 && mesh->subsets[1].size() == 3);
    // The first triangle is corners 0, 1, 2 of the file in that order: z 1, 2, 3.
    auto z = [&](std::size_t subset, std::size_t k) { return mesh->vertices[mesh->subsets[subset][k]].z; };
    EXPECT_EQ((std::array{z(0, 0), z(0, 1), z(0, 2), z(1, 0), z(1, 1), z(1, 2)}),
              (std::array<float, 6>{1, 2, 3, 2, 4, 3}));
    EXPECT_FLOAT_EQ(mesh->vertices[mesh->subsets[0][0]].v, 0.25f);  // not turned upside down
    ASSERT_EQ(mesh->materials.size(), 2u);
    EXPECT_EQ(mesh->materials[0].textureFile, "maps\\skin.bmp");
    EXPECT_TRUE(mesh->materials[1].textureFile.empty());
    EXPECT_FLOAT_EQ(mesh->materials[1].material.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(mesh->materials[1].material.emissive.b, 0.3f);
    // Without a material list there are no subsets.
    const auto plain = LoadMeshText("plain.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n",
                                    &error);
    ASSERT_TRUE(plain) << error;
    EXPECT_TRUE(plain->materials.empty());
    EXPECT_TRUE(plain->subsets.empty());
}

TEST(MeshLoader, DamagedFilesAreRefused) {
    const std::string good = kTwoTriangles;
    const std::pair<const char*, std::string> cases[] = {
        {"empty.x", ""},
        {"truncated.x", good.substr(0, good.size() / 2)},
        {"garbage.x", std::string(4096, '\x7f')},
        {"index.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,9;; }\n"},
        {"nan.x", "xof 0302txt 0032\nMesh m { 3; nan;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n"},
        {"count.x", "xof 0302txt 0032\nMesh m { 99999999; 0;0;0;; 1; 3;0,1,2;; }\n"},
        {"faces.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 2000000; 3;0,1,2;; }\n"},
        {"binary.x", std::string("xof 0302bin 0032") + std::string(64, '\0')},
        // Beyond what the model library survives: it aborted on a long frame name.
        {"long_name.x", "xof 0302txt 0032\nFrame " + std::string(5000, 'a') + " {\n" + good.substr(17) + "}\n"},
        {"long_quote.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; "
                         "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" + std::string(300, 'b') +
                         ".bmp\"; } } } }\n"},
        {"open_quote.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; TextureFilename { \"a.bmp; }\n"},
        {"long_line.x", "xof 0302txt 0032\n" + std::string(5000, ' ') + good.substr(17)},
        // Counts the library would take as thousands of millions, or that promise more than follows.
        {"negative.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; -3;0,1,2;; }\n"},
        {"short.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 9; 3;0,1,2;; }\n"},
        // A material list without its materials made the library read through a null pointer.
        {"no_materials.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; "
                           "Foo { 1; } } }\n"},
        {"no_faces.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 0;; MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; } }\n"},
        {"control.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;\x01;; 1; 3;0,1,2;; }\n"},
        {"number_brace.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;5{;, 0;1;0;; 1; 3;0,1,2;; }\n"},
        {"list_word.x", "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;Skip; "
                        "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }\n"},
        {"deep.x", "xof 0302txt 0032\n" + [] {
             std::string frames;
             for (int i = 0; i < 40; ++i) frames += "Frame f" + std::to_string(i) + " {\n";
             return frames + "Mesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n" + std::string(40, '}');
         }()},
    };
    for (const auto& [name, text] : cases) {
        std::string error;
        EXPECT_FALSE(LoadMeshText(name, text, &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(platform::LoadMeshFile(ScratchFolder() / "loader" / "missing.x", &error));
}

// A quad and a pentagon become 2 + 3 triangles over their 9 corners; a polygon that crosses
// itself cannot be cut and is refused rather than drawn with a hole.
TEST(MeshLoader, PolygonsBecomeTrianglesAndOnlySimpleOnesAreKept) {
    std::string error;
    const auto polygons = LoadMeshText("polygons.x", "xof 0303txt 0032\nFrame f { Mesh m { 5;\n"
                                       " -1;-1;0;, 1;-1;0;, 1;1;0;, -1;1;0;, 0;2;0;;\n 2; 4;0,1,2,3;, 5;0,1,2,4,3;;\n"
                                       " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } } }\n", &error);
    ASSERT_TRUE(polygons) << error;
    EXPECT_EQ(polygons->vertices.size(), 9u);
    ASSERT_EQ(polygons->subsets.size(), 1u);
    EXPECT_EQ(polygons->subsets[0].size(), 15u);
    const auto zigzag = LoadMeshText("zigzag.x", "xof 0302txt 0032\nMesh zig { 6; 0;0;0;, 2;0;0;, 2;2;0;, 1;-1;0;, 0;2;0;, "
                                     "1;3;0;; 1; 6;0,1,2,3,4,5;; }\n", &error);
    EXPECT_FALSE(zigzag);
    EXPECT_NE(error.find("zigzag.x: a face that is not a simple polygon"), std::string::npos) << error;
}

class MeshTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        BeginTestFrame();
        graphics::ReleaseMeshes();  // start-up loaded the game's own
    }
    void TearDown() override { graphics::ReleaseMeshes(); }
};

TEST_F(MeshTableTest, LoadsAllFiveWithSquareTexturesAndAmbientFromDiffuseAndReloadsWithoutLeaks) {
    const auto folder = FullMeshFolder("full");
    ASSERT_TRUE(graphics::InitGeometryFrom(folder));
    for (int n = 1; n <= 5; ++n) {
        const graphics::MeshSlot& slot = graphics::meshState.meshes[static_cast<std::size_t>(n)];
        ASSERT_TRUE(slot.mesh);
        EXPECT_EQ(slot.materialCount, 2);
        EXPECT_EQ(slot.materials.size(), 3u);  // one spare
        const platform::Texture* texture = platform::GetTexture(slot.textures[0]);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(std::pair(texture->width, texture->height), std::pair(128, 128));  // from a 16 x 16 file
        EXPECT_EQ(slot.textures[1], 0);  // the plain material has none
        EXPECT_FLOAT_EQ(slot.materials[0].ambient.g, 0.8f);
    }
    EXPECT_FALSE(graphics::meshState.meshes[6].mesh);
    // Reloading releases the old textures.
    const std::size_t poolSize = platform::texturePool.textures.size();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(graphics::InitGeometryFrom(folder));
    }
    EXPECT_EQ(platform::texturePool.textures.size(), poolSize);
}

TEST_F(MeshTableTest, StopsAtTheFirstBadFileOrMissingTexture) {
    auto folder = FullMeshFolder("third_bad");
    WriteFile(folder / "asteroid3.x", "xof 0302txt 0032\nMesh broken {");
    EXPECT_FALSE(graphics::InitGeometryFrom(folder));
    EXPECT_TRUE(graphics::meshState.meshes[2].mesh);
    EXPECT_FALSE(graphics::meshState.meshes[3].mesh);
    EXPECT_EQ(graphics::meshState.meshes[3].materialCount, 0);
    EXPECT_FALSE(graphics::meshState.meshes[4].mesh);  // stopped there

    graphics::ReleaseMeshes();
    folder = FullMeshFolder("no_texture");
    std::filesystem::remove(folder / "skin.bmp");
    EXPECT_FALSE(graphics::InitGeometryFrom(folder));
    EXPECT_FALSE(graphics::meshState.meshes[2].mesh);

    // A texture name that leads out of the program folder is refused, even where a bitmap lies.
    graphics::ReleaseMeshes();
    folder = FullMeshFolder("escape");
    WriteBitmap("outside.bmp", Checker(0xFF000000u, 0xFFFFFFFFu));
    WriteFile(folder / "Coin10.x", CubeFile("..\\outside.bmp"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(graphics::InitGeometryFrom(folder));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(graphics::meshState.meshes[3].mesh);
    EXPECT_EQ(graphics::meshState.meshes[4].textures[0], 0);
    EXPECT_NE(said.find("Coin10.x: texture \"..\\outside.bmp\""), std::string::npos) << said;
}

TEST_F(MeshTableTest, ShadowAndPlainDrawsSetTheirStatesAndOtherNumbersDrawNothing) {
    using namespace platform;
    graphics::DrawMesh(7, -1);
    EXPECT_EQ(GetRenderState(kRsSrcBlend), kBlendZero);
    EXPECT_EQ(GetRenderState(kRsAlphaBlendEnable), 1u);
    EXPECT_EQ(GetRenderState(kRsAlphaRef), 0xAAAAAAu);
    EXPECT_EQ(GetRenderState(kRsAlphaFunc), 0xAAAAAAu);
    graphics::DrawMesh(0, 0);
    EXPECT_EQ(GetRenderState(kRsAlphaBlendEnable), 0u);
    ASSERT_TRUE(graphics::InitGeometryFrom(FullMeshFolder("numbers")));
    graphics::SetMeshTransform(400, 300, 0, 0.3f, 0.5f, 0.5f, 0.5f);
    for (const int number : {6, -1, 7}) {
        graphics::DrawMesh(static_cast<std::int16_t>(number), 0);
    }
    EXPECT_TRUE(BackBufferIsBlank());
}

TEST_F(MeshTableTest, LitTexturedMeshesWithDepthAndTheShadowSilhouette) {
    ASSERT_TRUE(graphics::InitGeometryFrom(FullMeshFolder("golden")));
    platform::Clear(platform::kClearTarget, 0xFF608060u, 1.0f, 0);
    // A sprite batch leaves the destination factor at inverse source alpha, which the shadow
    // then darkens with.
    graphics::BeginSprites();
    graphics::EndSprites();
    graphics::SetMeshTransform(110, 90, 0.4f, 0.12f, 0.6f, 0.3f, 0.5f);
    graphics::DrawMesh(1, -1);
    graphics::SetMeshTransform(80, 60, 0.4f, 0.12f, 0.6f, 0.3f, 0.5f);
    graphics::DrawMesh(1, 0);
    // A second cube pushed through the first: the depth test cuts them where they meet.
    graphics::SetMeshTransform(120, 70, 1.1f, 0.1f, 0.2f, 0.9f, 0.55f);
    graphics::DrawMesh(2, 0);
    EXPECT_TRUE(test_support::MatchesGolden(Region(0, 0, 200, 160), "mesh_lit_depth_shadow"));
}

}  // namespace
