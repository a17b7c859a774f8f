#include "platform/mesh_loader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "common/check.h"
#include "common/file_io.h"
#include "common/x_model.h"

namespace platform {

namespace {

std::optional<MeshData> Fail(std::string* error, const std::string& path, const std::string& why) {
    if (error) {
        *error = path + ": " + why;
    }
    return std::nullopt;
}

bool Finite(const aiVector3D& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

ColourValue ReadColour(const aiMaterial& m, const char* key, unsigned type, unsigned index) {
    aiColor4D c(0, 0, 0, 0);
    if (m.Get(key, type, index, c) != AI_SUCCESS) {
        return {};
    }
    auto finite = [](float f) { return std::isfinite(f) ? f : 0.0f; };
    return {finite(c.r), finite(c.g), finite(c.b), finite(c.a)};
}

// Adds the node's meshes, moved by their frames' transforms, to the data.
bool AddNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, MeshData& data,
             std::string& why) {
    const aiMatrix4x4 transform = parent * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        if (node.mMeshes[i] >= scene.mNumMeshes) {
            why = "a frame names a mesh that is not there";
            return false;
        }
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        if (mesh.mMaterialIndex >= data.subsets.size()) {
            why = "a mesh names a material that is not there";
            return false;
        }
        if (data.vertices.size() + mesh.mNumVertices > common::kMaxXVertices) {
            why = "too many vertices";
            return false;
        }
        const auto base = static_cast<std::uint32_t>(data.vertices.size());
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D p = transform * mesh.mVertices[v];
            const aiVector3D n = mesh.mNormals ? mesh.mNormals[v] : aiVector3D(0, 0, 0);
            const aiVector3D t = mesh.mTextureCoords[0] ? mesh.mTextureCoords[0][v] : aiVector3D(0, 0, 0);
            if (!Finite(p) || !Finite(n) || !Finite(t)) {
                why = "a vertex that is not a number";
                return false;
            }
            data.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, t.x, t.y});
        }
        auto& subset = data.subsets[mesh.mMaterialIndex];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            // After triangulation only a face that lost corners (the reader drops indices
            // out of range) has fewer than three.
            if (face.mNumIndices != 3) {
                why = "a face with a corner out of range";
                return false;
            }
            for (unsigned k = 0; k < 3; ++k) {
                if (face.mIndices[k] >= mesh.mNumVertices) {
                    why = "a face index out of range";
                    return false;
                }
                subset.push_back(base + face.mIndices[k]);
            }
        }
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        if (!AddNode(scene, *node.mChildren[i], transform, data, why)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<MeshData> LoadMeshFile(const std::filesystem::path& path, std::string* error) {
    std::string why;
    const auto bytes = common::ReadFileBytes(path, kMaxMeshFileBytes + 1, &why);
    if (!bytes) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    }
    return LoadMeshFromBytes(*bytes, path.string(), error);
}

std::optional<MeshData> LoadMeshFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName,
                                          std::string* error) {
    if (bytes.empty() || bytes.size() > kMaxMeshFileBytes) {
        return Fail(error, fileName, "empty or too large (" + std::to_string(bytes.size()) + " bytes)");
    }
    // The library sees only a file our reader accepted whole: it trusts counts and indices.
    std::string why;
    const std::optional<common::XModel> model =
        common::ReadXModel(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &why);
    if (!model) {
        return Fail(error, fileName, why);
    }
    Assimp::Importer importer;
    // The file's own handedness, winding and texture coordinates: the ".x" reader turns all
    // three round for a right-handed world with v upwards, and converting back to left-handed
    // turns them back exactly (measured in the mesh tests). Nothing else is changed.
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_Triangulate | aiProcess_ConvertToLeftHanded, "x");
    // The library refusing a file the reader accepted, or reading other counts from it, means
    // the two split the text differently: a fault of ours that the checked builds stop on.
    const bool readWhole = scene != nullptr && !(scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mRootNode != nullptr;
    STARWAKE_CHECK(readWhole);
    if (!readWhole) {
        return Fail(error, fileName, std::string("cannot read: ") + importer.GetErrorString());
    }
    std::size_t corners = 0;
    std::size_t triangles = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        corners += scene->mMeshes[i]->mNumVertices;
        triangles += scene->mMeshes[i]->mNumFaces;
    }
    const bool hasMaterials = model->materials > 0;
    const bool sameCounts = corners == model->corners && (!hasMaterials || scene->mNumMaterials == model->materials);
    STARWAKE_CHECK(sameCounts);
    if (!sameCounts) {
        return Fail(error, fileName, "the model library read other counts than the file holds");
    }
    // A polygon that is not simple cannot be cut into triangles; the library leaves it short.
    if (triangles != model->triangles) {
        return Fail(error, fileName, "a face that is not a simple polygon");
    }
    MeshData data;
    data.subsets.resize(scene->mNumMaterials);
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        const aiMaterial& m = *scene->mMaterials[i];
        MeshMaterial material;
        material.material.diffuse = ReadColour(m, AI_MATKEY_COLOR_DIFFUSE);
        material.material.ambient = ReadColour(m, AI_MATKEY_COLOR_AMBIENT);
        material.material.specular = ReadColour(m, AI_MATKEY_COLOR_SPECULAR);
        material.material.emissive = ReadColour(m, AI_MATKEY_COLOR_EMISSIVE);
        float opacity = 1.0f;
        if (m.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && std::isfinite(opacity)) {
            material.material.diffuse.a = opacity;
        }
        float power = 0.0f;
        if (m.Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS && std::isfinite(power)) {
            material.material.power = power;
        }
        aiString texture;
        if (m.GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS) {
            material.textureFile = texture.C_Str();
        }
        data.materials.push_back(material);
    }
    if (!AddNode(*scene, *scene->mRootNode, aiMatrix4x4(), data, why)) {
        return Fail(error, fileName, why);
    }
    // The reader invents one material when a file has none; such a mesh has no subsets.
    if (!hasMaterials) {
        data.materials.clear();
        data.subsets.clear();
    }
    return data;
}

}  // namespace platform
