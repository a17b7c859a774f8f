// Meshes from DirectX ".x" text files read through the assimp library, kept in the file's own
// left-handed coordinates, winding and texture coordinates: the vertices, one subset of
// triangles per material, and the materials with the texture file names they name. Binary and
// compressed ".x" files are refused (the game's models are text, and their counts could not be
// checked before the library trusts them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/device.h"

namespace platform {

// Limits a mesh file must keep; anything beyond them is a damaged file, not a game model.
inline constexpr std::uintmax_t kMaxMeshFileBytes = 16u << 20;
inline constexpr std::size_t kMaxMeshVertices = 1u << 20;
inline constexpr std::size_t kMaxMeshTriangles = 1u << 20;
inline constexpr std::size_t kMaxMeshMaterials = 256;

struct MeshMaterial {
    Material material;
    std::string textureFile;  // as written in the file; empty for none
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::vector<std::uint32_t>> subsets;  // per material: triangle corner indices
    std::vector<MeshMaterial> materials;              // as many as subsets
};

// Reads a mesh; nothing (with *error naming the file and the fault) for a missing, oversized or
// damaged file, a whole number beyond kMaxMeshVertices anywhere in it, counts beyond the
// limits, indices out of range or coordinates that are not finite. A file without a material list has no materials and so no subsets.
std::optional<MeshData> LoadMeshFile(const std::filesystem::path& path, std::string* error);

}  // namespace platform
