// The mesh table: the five models of rocks, coins and mines, loaded at start-up and again after
// a device reset, and the two operations that place and draw one.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/device.h"
#include "platform/mesh_loader.h"

namespace graphics {

inline constexpr int kMeshCount = 6;  // mesh numbers 1 to 6; 6 has no file and stays empty

struct MeshSlot {
    std::shared_ptr<const platform::MeshData> mesh;  // the model, or nothing
    std::int32_t materialCount = 0;                  // subsets drawn; 0 when not loaded
    std::vector<platform::Material> materials;       // count + 1 entries, the last spare
    std::vector<platform::TextureId> textures;       // per material; 0 for none
};

struct MeshState {
    std::array<MeshSlot, kMeshCount + 1> meshes;  // index 0 unused
    platform::Matrix matMesh;                     // the world transform last set for a mesh
};
extern MeshState meshState;

// The file of each mesh number, in the program folder ("" for none).
extern const std::array<const char*, kMeshCount + 1> kMeshFiles;

// Loads meshes 1 to 5 from the program folder, in order; true when all five loaded. Stops at
// the first that fails to load (or whose texture is missing), leaving it and the rest empty.
bool InitGeometry();
// As InitGeometry, from another folder (tests).
bool InitGeometryFrom(const std::filesystem::path& folder);
// Drops every mesh and its textures.
void ReleaseMeshes();

// Places the next mesh: the screen point (x, y) in view space, turned about x, y and z
// (radians), scaled, at depth z.
void SetMeshTransform(float x, float y, float angleZ, float scale, float angleX, float angleY, float z);
// Draws every subset of mesh 1 to 6 with its material and texture; as a dark silhouette when
// asShadow is non-zero. Other numbers draw nothing.
void DrawMesh(std::int16_t meshNumber, std::int16_t asShadow);

}  // namespace graphics
