#include "platform/mesh_loader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "common/file_io.h"

namespace platform {

namespace {

std::optional<MeshData> Fail(std::string* error, const std::string& path, const std::string& why) {
    if (error) {
        *error = path + ": " + why;
    }
    return std::nullopt;
}

// A token that reads as a number (a count, an index or a coordinate).
bool IsNumber(std::string_view token) {
    const char c = token.front();
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

// The numbers of a block whose layout is fixed, in the order the library reads them: each
// count must be a whole number that is not negative (the library takes "-4" as four thousand
// million) and what it counts must be there.
class CountedNumbers {
public:
    explicit CountedNumbers(const std::vector<std::string_view>& numbers) : numbers_(numbers) {}
    // A count of elements of `width` numbers each, which must follow it.
    bool Count(std::size_t width, std::size_t& count) {
        if (at_ >= numbers_.size()) {
            return false;
        }
        const std::string_view token = numbers_[at_++];
        count = 0;
        for (char c : token) {
            if (c < '0' || c > '9') {
                return false;
            }
            count = std::min<std::size_t>(count * 10 + static_cast<std::size_t>(c - '0'), std::size_t{1} << 30);
        }
        return count * width <= numbers_.size() - at_;
    }
    void Skip(std::size_t numbers) { at_ += numbers; }

private:
    const std::vector<std::string_view>& numbers_;
    std::size_t at_ = 0;
};

// Checks the counts of the blocks the library reads by count: a mesh and its normals (points,
// then faces of a counted number of corners), texture coordinates, vertex colours and the
// material list. Other blocks are not looked into.
// A mesh's or its normals' face count comes back in *faces.
bool CountsHold(std::string_view type, const std::vector<std::string_view>& numbers, std::size_t* faces = nullptr) {
    CountedNumbers in(numbers);
    std::size_t count = 0;
    if (type == "Mesh" || type == "MeshNormals") {
        std::size_t ignored = 0;
        std::size_t& faceCount = faces ? *faces : ignored;
        if (!in.Count(3, count)) {
            return false;
        }
        in.Skip(3 * count);
        if (!in.Count(1, faceCount)) {
            return false;
        }
        for (std::size_t f = 0; f < faceCount; ++f) {
            if (!in.Count(1, count)) {
                return false;
            }
            in.Skip(count);
        }
        return true;
    }
    if (type == "MeshTextureCoords") {
        return in.Count(2, count);
    }
    if (type == "MeshVertexColors") {
        return in.Count(5, count);
    }
    if (type == "MeshMaterialList") {
        return in.Count(0, count) && in.Count(1, count);
    }
    return true;
}

// Checks what the library would trust blindly, before it sees a byte of the file. The library
// copies names into fixed buffers and recurses into nested blocks, so every token (a name, a
// number, a quoted string), every line and the depth of braces must stay within sane lengths;
// and it reserves room for a count before it reads a single element, so every whole number in
// the file (the counts among them) must be within the mesh limits. The library also trusts a
// material list to hold the materials it declares (one without any made it read through a null
// pointer), so each must hold at least one and no fewer than it declares. Binary and compressed
// files are refused: the game's models are text. Says whether the file has a material list.
bool CheckTextFile(std::string_view text, bool& hasMaterials, std::string& why) {
    if (text.size() < 16 || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0) {
        why = "not a text \".x\" file";
        return false;
    }
    hasMaterials = false;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    auto isSeparator = [](char c) { return c == ',' || c == ';' || c == '{' || c == '}' || c == '"'; };
    int line = 1;
    std::size_t lineStart = 0;
    // The open blocks: their type (the first word before the brace; empty for a reference to a
    // named object, "{ name }"), and for a material list its declared and found materials.
    struct Block {
        std::string_view type;
        std::intmax_t declared = -1;
        std::intmax_t materials = 0;
        std::vector<std::string_view> numbers;  // its own, not its children's
    };
    std::vector<Block> blocks;
    std::string_view firstWord;  // since the last brace or separator
    auto where = [&] { return " on line " + std::to_string(line); };
    for (std::size_t i = 16; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = i + 1;
            ++i;
            continue;
        }
        if (i - lineStart >= kMaxMeshLineLength) {
            why = "line " + std::to_string(line) + " is longer than " + std::to_string(kMaxMeshLineLength) +
                  " characters";
            return false;
        }
        if (isSpace(c)) {
            ++i;
            continue;
        }
        // A text model holds printable characters, tabs and line ends; the library splits
        // other bytes into tokens its own way, so counts read here would not be the ones it reads.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            why = "a control character (" + std::to_string(static_cast<unsigned char>(c)) + ")" + where();
            return false;
        }
        // Inside a material list the library takes any word for the start of a block and reads
        // on through the materials after it: only numbers, "Material" blocks and references.
        const bool inMaterialList = !blocks.empty() && blocks.back().type == "MeshMaterialList";
        if (c == ',' || c == ';') {
            if (inMaterialList && !firstWord.empty() && !IsNumber(firstWord)) {
                why = "a word in a material list that is not a material" + where();
                return false;
            }
            firstWord = {};
            ++i;
            continue;
        }
        // Comments run to the line's end; what they hold is never read.
        if (c == '#' || (c == '/' && i + 1 < text.size() && text[i + 1] == '/')) {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
            continue;
        }
        if (c == '{') {
            if (!firstWord.empty() && IsNumber(firstWord)) {
                why = "a block opened after a number" + where();
                return false;
            }
            if (blocks.size() >= static_cast<std::size_t>(kMaxMeshNesting)) {
                why = "blocks nested deeper than " + std::to_string(kMaxMeshNesting) + where();
                return false;
            }
            if (!blocks.empty() && blocks.back().type == "MeshMaterialList" &&
                (firstWord.empty() || firstWord == "Material")) {
                ++blocks.back().materials;
            }
            blocks.push_back({firstWord, -1, 0, {}});
            firstWord = {};
            ++i;
            continue;
        }
        if (c == '}') {
            if (!blocks.empty()) {
                const Block& block = blocks.back();
                if (inMaterialList && !firstWord.empty() && !IsNumber(firstWord)) {
                    why = "a word in a material list that is not a material" + where();
                    return false;
                }
                std::size_t faces = 0;
                if (!CountsHold(block.type, block.numbers, &faces)) {
                    why = "a " + std::string(block.type) + " block whose counts do not match what it holds" + where();
                    return false;
                }
                // The library gives every face of a mesh the normals of the same face, and
                // fails on a mesh without faces.
                std::size_t meshFaces = 0;
                if ((block.type == "Mesh" && faces == 0) ||
                    (block.type == "MeshNormals" && blocks.size() >= 2 && blocks[blocks.size() - 2].type == "Mesh" &&
                     (!CountsHold("Mesh", blocks[blocks.size() - 2].numbers, &meshFaces) || meshFaces != faces))) {
                    why = "a mesh without faces, or normals for another number of faces" + where();
                    return false;
                }
                if (block.type == "MeshMaterialList" && (block.materials == 0 || block.materials < block.declared)) {
                    why = "a material list declares " + std::to_string(std::max<std::intmax_t>(block.declared, 0)) +
                          " materials and holds " + std::to_string(block.materials) + where();
                    return false;
                }
                blocks.pop_back();
            }
            firstWord = {};
            ++i;
            continue;
        }
        if (c == '"') {
            if (inMaterialList) {
                why = "a quoted name in a material list that is not in a material" + where();
                return false;
            }
            const std::size_t close = text.find_first_of("\"\n", i + 1);
            if (close == std::string_view::npos || text[close] != '"') {
                why = "a quoted name without its closing quote" + where();
                return false;
            }
            if (close - i - 1 > kMaxMeshTokenLength) {
                why = "a quoted name longer than " + std::to_string(kMaxMeshTokenLength) + " characters" + where();
                return false;
            }
            i = close + 1;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isSpace(text[end]) && !isSeparator(text[end])) {
            ++end;
        }
        const std::string_view token = text.substr(i, end - i);
        if (token.size() > kMaxMeshTokenLength) {
            why = "a name or number longer than " + std::to_string(kMaxMeshTokenLength) + " characters" + where();
            return false;
        }
        if (token == "MeshMaterialList") {
            hasMaterials = true;
        }
        if (firstWord.empty()) {
            if (inMaterialList && !IsNumber(token) && token != "Material") {
                why = "a word in a material list that is not a material" + where();
                return false;
            }
            firstWord = token;
        }
        // A whole number (a count, an index) is at most the vertex limit; a number with a
        // fraction or an exponent is a coordinate and is not bounded here.
        std::size_t digits = token.front() == '-' || token.front() == '+' ? 1 : 0;
        if (!blocks.empty() && IsNumber(token)) {
            blocks.back().numbers.push_back(token);
        }
        if (digits < token.size() && isDigit(token[digits])) {
            std::uintmax_t value = 0;
            while (digits < token.size() && isDigit(token[digits])) {
                value = std::min<std::uintmax_t>(value * 10 + static_cast<std::uintmax_t>(token[digits] - '0'), 1u << 30);
                ++digits;
            }
            const bool fraction = digits < token.size() && (token[digits] == '.' || token[digits] == 'e' || token[digits] == 'E');
            if (!fraction && value > kMaxMeshVertices) {
                why = "a count of " + std::to_string(value) + " is beyond the limits" + where();
                return false;
            }
            if (!fraction && !blocks.empty() && blocks.back().type == "MeshMaterialList" && blocks.back().declared < 0) {
                blocks.back().declared = static_cast<std::intmax_t>(value);
            }
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
    bool hasMaterials = false;
    std::string why;
    if (!CheckTextFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), hasMaterials, why)) {
        return Fail(error, fileName, why);
    }
    Assimp::Importer importer;
    // The file's own handedness, winding and texture coordinates: the ".x" reader turns all
    // three round for a right-handed world with v upwards, and converting back to left-handed
    // turns them back exactly (measured in the mesh tests). Nothing else is changed.
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_Triangulate | aiProcess_ConvertToLeftHanded, "x");
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || scene->mRootNode == nullptr) {
        return Fail(error, fileName, std::string("cannot read: ") + importer.GetErrorString());
    }
    if (scene->mNumMeshes == 0) {
        return Fail(error, fileName, "no mesh in the file");
    }
    if (scene->mNumMaterials > kMaxMeshMaterials) {
        return Fail(error, fileName, "too many materials");
    }
    std::size_t triangles = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        triangles += scene->mMeshes[i]->mNumFaces;
    }
    if (triangles > kMaxMeshTriangles) {
        return Fail(error, fileName, "too many faces");
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
