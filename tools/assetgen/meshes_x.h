// The 3-D models: three rocks, a coin and a spiked mine, written as DirectX ".x" text files
// with normals, texture coordinates and textured materials, plus their 128 x 128 textures.
// Tests read the files back through the game's own ".x" reader (common/x_model.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/assetgen/asset_set.h"

namespace assetgen {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct MeshMaterial {
    std::array<float, 4> diffuse{1.0f, 1.0f, 1.0f, 1.0f};  // red, green, blue, alpha
    float power = 8.0f;
    std::array<float, 3> specular{0.2f, 0.2f, 0.2f};
    std::array<float, 3> emissive{0.0f, 0.0f, 0.0f};
    std::string textureFile;  // below the program folder; empty for none
};

struct Mesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;                    // one per position
    std::vector<std::array<float, 2>> uvs;        // one per position
    std::vector<std::array<int, 3>> faces;        // triangles, clockwise seen from outside
    std::vector<int> faceMaterials;               // one per face
    std::vector<MeshMaterial> materials;
};

// The ".x" text (format 0303, CR LF line ends).
std::string FormatX(const Mesh& mesh);
// Reads a ".x" text file with one Mesh of triangles and its normals, texture coordinates and
// a material for each face; nothing with *error otherwise.
std::optional<Mesh> ParseX(std::string_view text, std::string* error);

// The model files and their radius in model units (what objects.dat sizes are made from).
struct MeshKind {
    const char* kindName;  // the number the game converts to a mesh slot
    const char* fileName;
    float radius;          // furthest vertex from the centre
};
inline constexpr MeshKind kMeshKinds[] = {{"1", "asteroid.x", 0.48f},
                                          {"2", "asteroid2.x", 0.40f},
                                          {"3", "asteroid3.x", 0.34f},
                                          {"4", "Coin10.x", 0.5f},
                                          {"5", "Mine.x", 0.6f}};

std::vector<DataFile> MakeMeshFiles();
std::vector<Picture> MakeMeshTextures();
// The models themselves, for tests and the contact sheet.
std::vector<Mesh> MakeMeshes();

}  // namespace assetgen
