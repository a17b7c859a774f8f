// DirectX ".x" models in their text form: the one reader of the part of the format a game
// model holds. It reads the whole file by its grammar (the header line, templates, Header,
// Frame with FrameTransformMatrix, Mesh with its counted lists of vertices and faces,
// MeshNormals, MeshTextureCoords, MeshVertexColors, MeshMaterialList with its Material blocks
// and their TextureFilename, VertexDuplicationIndices, AnimTicksPerSecond) and refuses anything
// else: binary and compressed files, other blocks, a material named by reference, a count that
// differs from what follows it or passes the limits below, an index out of range. The mesh
// loader hands the model library only what this reader accepted whole, and the reader splits
// the text exactly where that library does: tokens end at blanks and at ; , { }, a comment
// ("//" or "#" to the line's end) starts only where a token could, and a whole number
// followed by a comma and a digit is refused because the library reads "1,5" as 1.5.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Limits a model keeps; anything beyond them is a damaged file, not a game model. The model
// library keeps names in buffers of about a thousand characters and reads nested frames by
// recursion, so names, lines and nesting stay well below what breaks it.
inline constexpr std::size_t kMaxXVertices = 1u << 20;   // in one list, and face corners in all
inline constexpr std::size_t kMaxXTriangles = 1u << 20;  // after polygons are cut into triangles
inline constexpr std::size_t kMaxXFaceCorners = 64;
inline constexpr std::size_t kMaxXMaterials = 256;       // in all the file's material lists
inline constexpr std::size_t kMaxXMeshes = 256;
inline constexpr std::size_t kMaxXFrames = 1024;
inline constexpr int kMaxXNesting = 32;                  // frames within frames
inline constexpr std::size_t kMaxXTokenLength = 256;     // a name, a number or a quoted name
inline constexpr std::size_t kMaxXLineLength = 4096;

struct XMaterial {
    std::array<float, 4> diffuse{};  // red, green, blue, alpha
    float power = 0.0f;
    std::array<float, 3> specular{};
    std::array<float, 3> emissive{};
    std::string textureFile;  // as written, doubled backslashes made single; empty for none
};

struct XMesh {
    std::string name;
    std::vector<std::array<float, 3>> positions;
    std::vector<std::vector<std::uint32_t>> faces;        // corners: indices into positions
    std::vector<std::array<float, 3>> normals;
    std::vector<std::vector<std::uint32_t>> normalFaces;  // none, or per face as many corners
    std::vector<std::array<float, 2>> textureCoords;      // none, or one per position
    bool hasMaterialList = false;
    std::vector<std::uint32_t> faceMaterials;             // one per face, or one for all
    std::vector<XMaterial> materials;
};

struct XFrame {
    std::string name;
    std::array<float, 16> transform{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // rows
    std::vector<XFrame> frames;
    std::vector<XMesh> meshes;
};

struct XModel {
    XFrame top;                // the file's own level: its frames and the meshes outside any
    std::size_t meshes = 0;    // in all frames
    std::size_t corners = 0;   // of all faces of all meshes
    std::size_t triangles = 0; // a face of n corners makes n - 2
    std::size_t materials = 0; // in all material lists
};

// Reads a text ".x" model; nothing, with *error ("line 12: ..." saying what is wrong), when the
// text falls outside the grammar or the limits, or holds no mesh.
std::optional<XModel> ReadXModel(std::string_view text, std::string* error);

}  // namespace common
