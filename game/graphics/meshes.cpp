#include "game/graphics/meshes.h"

#include <cstdio>
#include <string>

#include "common/data_paths.h"
#include "platform/app.h"
#include "platform/texture.h"

namespace graphics {

MeshState meshState;

const std::array<const char*, kMeshCount + 1> kMeshFiles = {
    "", "asteroid.x", "asteroid2.x", "asteroid3.x", "Coin10.x", "Mine.x", ""};

namespace {

// Mesh textures are made at this size whatever their file's, and filtered linearly.
constexpr int kMeshTextureSide = 128;
// The states the shadow sets; its alpha reference and function are written but test nothing.
constexpr std::uint32_t kShadowAlphaValue = 0xAAAAAA;

void ReleaseSlot(MeshSlot& slot) {
    for (const platform::TextureId texture : slot.textures) {
        platform::ReleaseTexture(texture);
    }
    slot = MeshSlot{};
}

}  // namespace

bool InitGeometryFrom(const std::filesystem::path& folder) {
    const common::DataFileNames names(folder);
    for (int number = 1; number <= 5; ++number) {
        MeshSlot& slot = meshState.meshes[static_cast<std::size_t>(number)];
        ReleaseSlot(slot);
        std::string error;
        auto mesh = platform::LoadMeshFile(folder / kMeshFiles[static_cast<std::size_t>(number)], &error);
        if (!mesh) {
            std::fprintf(stderr, "meshes: %s\n", error.c_str());
            return false;
        }
        const auto data = std::make_shared<const platform::MeshData>(std::move(*mesh));
        const auto count = static_cast<std::int32_t>(data->materials.size());
        slot.mesh = data;
        slot.materialCount = count;
        slot.materials.assign(static_cast<std::size_t>(count) + 1, platform::Material{});
        slot.textures.assign(static_cast<std::size_t>(count) + 1, 0);
        for (std::size_t i = 0; i < data->materials.size(); ++i) {
            platform::Material material = data->materials[i].material;
            // No lights shine on the meshes, so the ambient colour is what shows: make it the
            // material's own colour.
            material.ambient = material.diffuse;
            slot.materials[i] = material;
            const std::string& name = data->materials[i].textureFile;
            if (name.empty()) {
                continue;
            }
            platform::TextureLoadOptions options;
            options.width = kMeshTextureSide;
            options.height = kMeshTextureSide;
            options.filter = platform::ImageFilter::kLinear;
            // The model names its texture; it must be a file of the program folder.
            const auto file = names.Path(name, &error);
            if (!file) {
                std::fprintf(stderr, "meshes: %s: texture %s\n",
                             (folder / kMeshFiles[static_cast<std::size_t>(number)]).c_str(), error.c_str());
                return false;
            }
            slot.textures[i] = platform::CreateTextureFromFile(*file, options, &error);
            if (slot.textures[i] == 0) {
                std::fprintf(stderr, "meshes: %s\n", error.c_str());
                return false;
            }
        }
    }
    return true;
}

bool InitGeometry() { return InitGeometryFrom(platform::DataFolder()); }

void ReleaseMeshes() {
    for (MeshSlot& slot : meshState.meshes) {
        ReleaseSlot(slot);
    }
}

void SetMeshTransform(float x, float y, float angleZ, float scale, float angleX, float angleY, float z) {
    using namespace platform;
    const float fx = -(x - 400.0f) / 400.0f;
    const float fy = -(y - 300.0f) / 300.0f;
    Matrix m = Matrix::Identity();
    m = m * MatrixRotationX(angleX);
    m = m * MatrixRotationY(angleY);
    m = m * MatrixRotationZ(angleZ);
    m = m * MatrixScaling(scale, scale, scale);
    m = m * MatrixTranslation(fx, fy, z);
    meshState.matMesh = m;
    SetTransform(kTransformWorld, m);
}

void DrawMesh(std::int16_t meshNumber, std::int16_t asShadow) {
    using namespace platform;
    if (asShadow != 0) {
        SetRenderState(kRsSrcBlend, kBlendZero);
        SetRenderState(kRsAlphaBlendEnable, 1);
        SetRenderState(kRsAlphaRef, kShadowAlphaValue);
        SetRenderState(kRsAlphaFunc, kShadowAlphaValue);
    } else {
        SetRenderState(kRsAlphaBlendEnable, 0);
    }
    if (meshNumber < 1 || meshNumber > kMeshCount) {
        return;
    }
    const MeshSlot& slot = meshState.meshes[static_cast<std::size_t>(meshNumber)];
    if (!slot.mesh) {
        return;
    }
    for (std::int32_t i = 0; i < slot.materialCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        SetMaterial(slot.materials[at]);
        SetTexture(0, slot.textures[at]);
        if (at < slot.mesh->subsets.size()) {
            DrawIndexedTriangles(slot.mesh->vertices, slot.mesh->subsets[at]);
        }
    }
}

}  // namespace graphics
