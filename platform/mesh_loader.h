// Meshes from DirectX ".x" text files read through the assimp library, kept in the file's own
// left-handed coordinates, winding and texture coordinates: the vertices, one subset of
// triangles per material, and the materials with the texture file names they name. Binary and
// compressed ".x" files are refused (the game's models are text, and their counts could not be
// checked before the library trusts them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/device.h"

namespace platform {

// Limits a mesh file must keep; anything beyond them is a damaged file, not a game model.
inline constexpr std::uintmax_t kMaxMeshFileBytes = 16u << 20;
inline constexpr std::size_t kMaxMeshVertices = 1u << 20;
inline constexpr std::size_t kMaxMeshTriangles = 1u << 20;
inline constexpr std::size_t kMaxMeshMaterials = 256;
// The library keeps names in buffers of about a thousand characters and reads nested blocks
// by recursion: a token, a line and the nesting of a file stay well below what breaks it.
inline constexpr std::size_t kMaxMeshTokenLength = 256;
inline constexpr std::size_t kMaxMeshLineLength = 4096;
inline constexpr int kMaxMeshNesting = 32;

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
// damaged file, a token, line or nesting beyond the limits above, a whole number beyond
// kMaxMeshVertices anywhere in it, counts beyond the limits, indices out of range or
// coordinates that are not finite. A file without a material list has no materials and so no
// subsets.
std::optional<MeshData> LoadMeshFile(const std::filesystem::path& path, std::string* error);
// The same from the file's bytes; fileName only names it in messages.
std::optional<MeshData> LoadMeshFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                          std::string* error);

}  // namespace platform
