#include <gtest/gtest.h>

#include "common/x_model.h"

namespace {

// Every kind of block the reader takes, in the layouts exporters write: a quad and a pentagon
// in a moved frame, comments, a template, separators left out where the format allows it.
const char* kFull = R"(xof 0303txt 0032
Header { 1; 0; 1; }
template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x; FLOAT y; FLOAT z;
 [...]
}
AnimTicksPerSecond { 24; }
Frame Root {
 FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, .5,+0,-2e0,1.0;; }
 Frame Child {
  # a quad and a pentagon
  Mesh quad {
   5; -1.0;-1.0;0.0;, 1.0;-1.0;0.0;, 1.0;1.0;0.0;, -1.0;1.0;0.0;, 0;2.0;0.0;;
   2; 4;0,1,2,3;, 5;0,1,2,4,3;;
   MeshNormals { 1; 0.0;0.0;-1.0;; 2; 4;0,0,0,0;, 5;0,0,0,0,0;; }
   MeshVertexColors { 5; 0;1;0;0;1;;, 1;0;1;0;1;;, 2;0;0;1;1;;, 3;1;1;1;1;;, 4;1;1;1;1;;; }
   MeshMaterialList { 2; 2; 1, 0;;
    Material skin { 0.8;0.6;0.4;1.0;; 10.0; 1.0;1.0;1.0;; 0.0;0.0;0.0;;
     TextureFilename { "maps\\skin#1//a.bmp"; } }
    Material { 0;0;1;0.5;; 0; 0;0;0;; 0.1;0.2;0.3;; }
   }
   MeshTextureCoords { 5; 0;1;, 1;1;, 1;0;, 0;0;, 0.5;0;; }
   VertexDuplicationIndices { 5; 4; 0, 1, 2, 3, 0; }
  }
 }
}
)";

const char* kTriangle = "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";

TEST(XModel, ReadsEveryBlockAModelHolds) {
    std::string error;
    const auto model = common::ReadXModel(kFull, &error);
    ASSERT_TRUE(model) << error;
    ASSERT_EQ(model->top.frames.size(), 1u);
    const common::XFrame& root = model->top.frames[0];
    EXPECT_EQ(root.name, "Root");
    EXPECT_FLOAT_EQ(root.transform[12], 0.5f);
    EXPECT_FLOAT_EQ(root.transform[14], -2.0f);
    ASSERT_TRUE(root.frames.size() == 1 && root.frames[0].meshes.size() == 1);
    const common::XMesh& mesh = root.frames[0].meshes[0];
    EXPECT_EQ(mesh.positions.size(), 5u);
    EXPECT_FLOAT_EQ(mesh.positions[4][1], 2.0f);
    ASSERT_EQ(mesh.faces.size(), 2u);
    EXPECT_EQ(mesh.faces[1], (std::vector<std::uint32_t>{0, 1, 2, 4, 3}));
    EXPECT_EQ(mesh.normalFaces[1].size(), 5u);
    EXPECT_FLOAT_EQ(mesh.textureCoords[4][0], 0.5f);
    EXPECT_EQ(mesh.faceMaterials, (std::vector<std::uint32_t>{1, 0}));
    ASSERT_EQ(mesh.materials.size(), 2u);
    // Doubled backslashes made one; comment marks inside quotes are the name's own.
    EXPECT_EQ(mesh.materials[0].textureFile, "maps\\skin#1//a.bmp");
    EXPECT_FLOAT_EQ(mesh.materials[0].power, 10.0f);
    EXPECT_FLOAT_EQ(mesh.materials[1].diffuse[3], 0.5f);
    EXPECT_FLOAT_EQ(mesh.materials[1].emissive[2], 0.3f);
    EXPECT_EQ(model->corners, 9u);
    EXPECT_EQ(model->triangles, 5u);
    EXPECT_EQ(model->materials, 2u);
}

// Each text differs from a readable one in one place; the message names its line and fault.
TEST(XModel, RefusesWhatTheModelLibraryWouldReadOtherwiseOrTrustBlindly) {
    const std::string triangle = kTriangle;
    auto mesh = [](const std::string& body) { return "xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n" + body + "}\n"; };
    const std::string material = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }";
    struct Case {
        std::string text;
        const char* said;
    };
    const Case cases[] = {
        {"xof 0302bin 0032" + std::string(40, ' '), "line 1: a binary or compressed"},
        {"xof 0302tzip0032\n" + triangle.substr(17), "line 1: a binary or compressed"},
        // The library skips the rest of the header's line unread.
        {"xof 0302txt 0032 Mesh m { -4;\n" + triangle.substr(17), "line 1: text after the \".x\" header"},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;\x01;; 1; 3;0,1,2;; }\n", "line 2: a control character (1)"},
        // "1,0" is 1.0 to the library: every later number would shift by one.
        {"xof 0302txt 0032\nFrame f { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n" + triangle.substr(17) + "}\n",
         "line 2: \"1,0\" reads as one number with a decimal comma"},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0//;\n;; 1; 3;0,1,2;; }\n", "line 2: expected a number, found \"0//\""},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;1e39;; 1; 3;0,1,2;; }\n", "beyond the range"},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;1234567890123456789;; 1; 3;0,1,2;; }\n", "expected a number"},
        // Counts that promise more than follows, or that the library takes as thousands of millions.
        {"xof 0302txt 0032\nMesh m { 9; 0;0;0;, 1;0;0;; }\n", "line 2: expected a number, found \"}\""},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; -3;0,1,2;; }\n", "found \"-3\""},
        {"xof 0302txt 0032\nMesh m { 2000000; 0;0;0;; }\n", "the vertex count 2000000 is beyond the limit of 1048576"},
        // The library keeps an index equal to the vertex count and reads past the list.
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }\n", "a vertex index 3 is beyond the 3 there are"},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }\n", "a face of 2 corners"},
        {"xof 0302txt 0032\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; 0; }\n", "a mesh without faces"},
        {mesh("MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; }"), "line 3: normals for 2 faces of a mesh of 1"},
        {mesh("MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; }"), "normals for a face of 3 corners list 4"},
        {mesh("MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; }"), "a normal's index 1 is beyond the 1 there are"},
        {mesh("MeshTextureCoords { 2; 0;0;, 1;1;; }"), "2 texture coordinates for 3 vertices"},
        {mesh("MeshVertexColors { 3; 0;1;1;1;1;;, 1;1;1;1;1;;, 3;1;1;1;1;;; }"), "a vertex colour's index 3"},
        {mesh("MeshMaterialList { 2; 1; 0;; " + material + " }"), "declares 2 materials and holds 1"},
        {mesh("MeshMaterialList { 1; 1; 1;; " + material + " }"), "a face's material 1 is beyond the 1 there are"},
        {mesh("MeshMaterialList { 1; 1; 0;; " + material + " " + material + " }"), "expected one of the list's 1 Material"},
        {mesh("MeshMaterialList { 1; 1; 0;; Foo { 1; } }"), "found \"Foo\""},
        {mesh("MeshMaterialList { 0; 1; 0;; }"), "a material list without materials"},
        {mesh("MeshMaterialList { 1; 1; 0;; { skin } }"), "a material named by reference"},
        {"xof 0302txt 0032\n" + material + "\n" + triangle.substr(17), "line 2: a Material outside a material list"},
        // The library takes a stray token in a mesh for an unknown block and skips the next one.
        {mesh("; MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }"), "line 3: expected MeshNormals"},
        {mesh("MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; } MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }"), "(each once)"},
        {mesh("SkinWeights { \"bone\"; 0; }"), "found \"SkinWeights\""},
        {mesh("MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"a.bmp\" ; } } }"),
         "not followed at once by \";\""},
        {mesh("MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"a.bmp; } } } }"),
         "without its closing quote"},
        {"xof 0302txt 0032\nFrame " + std::string(300, 'a') + " {\n" + triangle.substr(17) + "}\n", "longer than 256"},
        {"xof 0302txt 0032\n" + std::string(5000, ' ') + triangle.substr(17), "line 2: the line is longer than 4096"},
        {"xof 0302txt 0032\n" + [&] {
             std::string frames;
             for (int i = 0; i < 33; ++i) frames += "Frame f {\n";
             return frames + triangle.substr(17) + std::string(33, '}');
         }(), "line 34: frames nested deeper than 32"},
        {"xof 0302txt 0032\ntemplate T { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; }\n", "holds no Mesh"},
        {triangle + mesh("MeshMaterialList { 1; 1; 0;; " + material + " }").substr(17), "1 of the 2 meshes have no material list"},
        {triangle + "}\n", "line 3: expected a template, Header, Frame or Mesh, found \"}\""},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(common::ReadXModel(c.text, &error)) << c.said;
        EXPECT_NE(error.find(c.said), std::string::npos) << "wanted \"" << c.said << "\", got \"" << error << "\"";
    }
    std::string error;
    EXPECT_TRUE(common::ReadXModel(kTriangle, &error)) << error;
}

}  // namespace
