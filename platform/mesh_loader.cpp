#include "platform/mesh_loader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <system_error>

namespace platform {

namespace {

std::optional<MeshData> Fail(std::string* error, const std::filesystem::path& path, const std::string& why) {
    if (error) {
        *error = path.string() + ": " + why;
    }
    return std::nullopt;
}

// Reads the whole text ".x" file and checks what the library would trust blindly: every whole
// number in it (the counts among them) must be within the mesh limits, since the library
// reserves room for a count before it reads a single element. Binary and compressed files are
// refused: the game's models are text. Says whether the file has a material list.
bool CheckTextFile(const std::filesystem::path& path, std::uintmax_t size, bool& hasMaterials, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size))) {
        why = "cannot be read";
        return false;
    }
    if (text.size() < 16 || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0) {
        why = "not a text \".x\" file";
        return false;
    }
    hasMaterials = text.find("MeshMaterialList") != std::string::npos;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto partOfWord = [&](char c) {
        return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '.' || c == '-';
    };
    for (std::size_t i = 16; i < text.size();) {
        if (!isDigit(text[i]) || partOfWord(text[i - 1])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        std::uintmax_t value = 0;
        while (end < text.size() && isDigit(text[end])) {
            value = std::min<std::uintmax_t>(value * 10 + static_cast<std::uintmax_t>(text[end] - '0'), 1u << 30);
            ++end;
        }
        const bool fraction = end < text.size() && (text[end] == '.' || text[end] == 'e' || text[end] == 'E');
        if (!fraction && value > kMaxMeshVertices) {
            why = "a count of " + std::to_string(value) + " is beyond the limits";
            return false;
        }
        i = end;
    }
    return true;
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
        if (data.vertices.size() + mesh.mNumVertices > kMaxMeshVertices) {
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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return Fail(error, path, "no such file");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size == 0 || size > kMaxMeshFileBytes) {
        return Fail(error, path, "empty or too large (" + std::to_string(size) + " bytes)");
    }
    bool hasMaterials = false;
    std::string why;
    if (!CheckTextFile(path, size, hasMaterials, why)) {
        return Fail(error, path, why);
    }
    Assimp::Importer importer;
    // The file's own handedness, winding and texture coordinates: the ".x" reader turns all
    // three round for a right-handed world with v upwards, and converting back to left-handed
    // turns them back exactly (measured in the mesh tests). Nothing else is changed.
    const aiScene* scene = importer.ReadFile(path.string(), aiProcess_Triangulate | aiProcess_ConvertToLeftHanded);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || scene->mRootNode == nullptr) {
        return Fail(error, path, std::string("cannot read: ") + importer.GetErrorString());
    }
    if (scene->mNumMeshes == 0) {
        return Fail(error, path, "no mesh in the file");
    }
    if (scene->mNumMaterials > kMaxMeshMaterials) {
        return Fail(error, path, "too many materials");
    }
    std::size_t triangles = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        triangles += scene->mMeshes[i]->mNumFaces;
    }
    if (triangles > kMaxMeshTriangles) {
        return Fail(error, path, "too many faces");
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
        return Fail(error, path, why);
    }
    // The reader invents one material when a file has none; such a mesh has no subsets.
    if (!hasMaterials) {
        data.materials.clear();
        data.subsets.clear();
    }
    return data;
}

}  // namespace platform
