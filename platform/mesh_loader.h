// Meshes from DirectX ".x" text files read through the assimp library, kept in the file's own
// left-handed coordinates, winding and texture coordinates: the vertices, one subset of
// triangles per material, and the materials with the texture file names they name. The
// library sees a file only once common/x_model.h's reader has accepted all of it, since it
// trusts the counts and indices it reads; binary and compressed ".x" files are refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/device.h"

namespace platform {

// Larger files are refused unread; the limits of what a file holds are common/x_model.h's.
inline constexpr std::uintmax_t kMaxMeshFileBytes = 16u << 20;

struct MeshMaterial {
    Material material;
    std::string textureFile;  // as written in the file; empty for none
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::vector<std::uint32_t>> subsets;  // per material: triangle corner indices
    std::vector<MeshMaterial> materials;              // as many as subsets
};

// Reads a mesh; nothing (with *error naming the file, the line and the fault) for a missing
// or oversized file, one the reader refuses, a polygon that cannot be cut into triangles or
// coordinates that are not finite. A file without material lists has no materials and so no
// subsets.
std::optional<MeshData> LoadMeshFile(const std::filesystem::path& path, std::string* error);
// The same from the file's bytes; fileName only names it in messages.
std::optional<MeshData> LoadMeshFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                          std::string* error);

}  // namespace platform
