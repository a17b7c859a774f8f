#include "tools/assetgen/meshes_x.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

Vec3 Add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Mul(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 Normalise(Vec3 a) {
    const float length = std::sqrt(Dot(a, a));
    return length > 0.0f ? Mul(a, 1.0f / length) : Vec3{0, 0, 1};
}

// The unit icosahedron, then each triangle split into four, `levels` times.
void Icosphere(int levels, std::vector<Vec3>* vertices, std::vector<std::array<int, 3>>* faces) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    *vertices = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                 {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (Vec3& v : *vertices) v = Normalise(v);
    *faces = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
              {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
              {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
    for (int level = 0; level < levels; ++level) {
        std::map<std::pair<int, int>, int> middles;
        const auto middle = [&](int a, int b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            const auto found = middles.find(key);
            if (found != middles.end()) return found->second;
            vertices->push_back(Normalise(Add((*vertices)[a], (*vertices)[b])));
            const int index = static_cast<int>(vertices->size()) - 1;
            middles.emplace(key, index);
            return index;
        };
        std::vector<std::array<int, 3>> split;
        for (const auto& f : *faces) {
            const int ab = middle(f[0], f[1]), bc = middle(f[1], f[2]), ca = middle(f[2], f[0]);
            split.push_back({f[0], ab, ca});
            split.push_back({f[1], bc, ab});
            split.push_back({f[2], ca, bc});
            split.push_back({ab, bc, ca});
        }
        *faces = std::move(split);
    }
}

// Winds every triangle so that its front (clockwise in Direct3D's left-handed view, the
// cross product of its edges) faces away from the model's centre, and sets smooth normals.
void Finish(Mesh& mesh) {
    for (auto& f : mesh.faces) {
        const Vec3 a = mesh.positions[f[0]], b = mesh.positions[f[1]], c = mesh.positions[f[2]];
        const Vec3 centre = Mul(Add(Add(a, b), c), 1.0f / 3.0f);
        if (Dot(Cross(Sub(b, a), Sub(c, a)), centre) < 0.0f) {
            std::swap(f[1], f[2]);
        }
    }
    mesh.normals.assign(mesh.positions.size(), Vec3{});
    for (const auto& f : mesh.faces) {
        const Vec3 n = Cross(Sub(mesh.positions[f[1]], mesh.positions[f[0]]),
                             Sub(mesh.positions[f[2]], mesh.positions[f[0]]));
        for (int i : f) mesh.normals[i] = Add(mesh.normals[i], n);
    }
    for (Vec3& n : mesh.normals) n = Normalise(n);
    if (mesh.faceMaterials.size() != mesh.faces.size()) {
        mesh.faceMaterials.assign(mesh.faces.size(), 0);
    }
}

Mesh MakeRock(float radius, std::uint64_t seed, Vec3 stretch, const char* texture) {
    Mesh mesh;
    std::vector<Vec3> directions;
    Icosphere(2, &directions, &mesh.faces);
    float furthest = 0.0f;
    for (const Vec3& d : directions) {
        const float bump = static_cast<float>(FractalNoise3(d.x * 1.8 + 5, d.y * 1.8 + 5, d.z * 1.8 + 5, 4, seed));
        const Vec3 p = Mul(Vec3{d.x * stretch.x, d.y * stretch.y, d.z * stretch.z}, 0.7f + 0.6f * bump);
        mesh.positions.push_back(p);
        furthest = std::max(furthest, std::sqrt(Dot(p, p)));
        mesh.uvs.push_back({0.5f + 0.48f * d.x, 0.5f - 0.48f * d.y});
    }
    // Scale so the furthest point lies at the radius objects.dat is sized for.
    for (Vec3& p : mesh.positions) p = Mul(p, radius / furthest);
    MeshMaterial material;
    material.textureFile = texture;
    mesh.materials.push_back(material);
    Finish(mesh);
    return mesh;
}

Mesh MakeCoin() {
    Mesh mesh;
    constexpr int kSegments = 24;
    constexpr float kHalfThickness = 0.05f;
    const float coinRadius = kMeshKinds[3].radius;
    for (int side = 0; side < 2; ++side) {
        const float z = side == 0 ? -kHalfThickness : kHalfThickness;
        const int centre = static_cast<int>(mesh.positions.size());
        mesh.positions.push_back({0, 0, z});
        mesh.uvs.push_back({0.5f, 0.5f});
        for (int i = 0; i < kSegments; ++i) {
            const float a = i * 2 * kPi / kSegments;
            mesh.positions.push_back({coinRadius * std::cos(a), coinRadius * std::sin(a), z});
            mesh.uvs.push_back({0.5f + 0.47f * std::cos(a), 0.5f - 0.47f * std::sin(a)});
        }
        for (int i = 0; i < kSegments; ++i) {
            mesh.faces.push_back({centre, centre + 1 + i, centre + 1 + (i + 1) % kSegments});
        }
    }
    // The rim: its own vertices so it takes the milled edge colour from the texture's corner.
    const int rim = static_cast<int>(mesh.positions.size());
    for (int i = 0; i < kSegments; ++i) {
        const float a = i * 2 * kPi / kSegments;
        mesh.positions.push_back({coinRadius * std::cos(a), coinRadius * std::sin(a), -kHalfThickness});
        mesh.positions.push_back({coinRadius * std::cos(a), coinRadius * std::sin(a), kHalfThickness});
        mesh.uvs.push_back({0.02f, 0.02f + 0.04f * (i % 2)});
        mesh.uvs.push_back({0.06f, 0.02f + 0.04f * (i % 2)});
    }
    for (int i = 0; i < kSegments; ++i) {
        const int a = rim + 2 * i, b = rim + 2 * ((i + 1) % kSegments);
        mesh.faces.push_back({a, b, a + 1});
        mesh.faces.push_back({b, b + 1, a + 1});
    }
    MeshMaterial material;
    material.power = 20.0f;
    material.specular = {0.6f, 0.5f, 0.2f};
    material.textureFile = "Coin.bmp";
    mesh.materials.push_back(material);
    Finish(mesh);
    return mesh;
}

Mesh MakeMine() {
    Mesh mesh;
    std::vector<Vec3> directions;
    Icosphere(1, &directions, &mesh.faces);
    constexpr float kBody = 0.38f;
    for (const Vec3& d : directions) {
        mesh.positions.push_back(Mul(d, kBody));
        mesh.uvs.push_back({0.5f + 0.45f * d.x, 0.25f - 0.22f * d.y});
    }
    // A spike on each of the twelve corners of the icosahedron (the first twelve directions).
    for (int corner = 0; corner < 12; ++corner) {
        const Vec3 axis = directions[corner];
        const Vec3 side = Normalise(Cross(axis, std::fabs(axis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0}));
        const Vec3 up = Cross(axis, side);
        const int tip = static_cast<int>(mesh.positions.size());
        mesh.positions.push_back(Mul(axis, kMeshKinds[4].radius));
        mesh.uvs.push_back({0.5f, 0.9f});
        for (int i = 0; i < 5; ++i) {
            const float a = i * 2 * kPi / 5;
            const Vec3 ring = Add(Mul(axis, kBody * 0.92f), Add(Mul(side, 0.07f * std::cos(a)), Mul(up, 0.07f * std::sin(a))));
            mesh.positions.push_back(ring);
            mesh.uvs.push_back({0.3f + 0.1f * i, 0.6f});
        }
        for (int i = 0; i < 5; ++i) {
            mesh.faces.push_back({tip, tip + 1 + i, tip + 1 + (i + 1) % 5});
        }
    }
    MeshMaterial material;
    material.textureFile = "Mine.bmp";
    mesh.materials.push_back(material);
    Finish(mesh);
    return mesh;
}

void AppendFloat(std::string* out, float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
    out->append(buffer);
}

// ---- Reading ----------------------------------------------------------------------------

struct Token {
    enum Kind { kWord, kNumber, kString, kOpen, kClose, kSeparator, kEnd } kind = kEnd;
    std::string text;
    double number = 0.0;
};

class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    Token Next() {
        SkipBlanks();
        Token token;
        if (at_ >= text_.size()) return token;
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            token.kind = c == '{' ? Token::kOpen : Token::kClose;
            ++at_;
        } else if (c == ';' || c == ',') {
            token.kind = Token::kSeparator;
            ++at_;
        } else if (c == '"') {
            const std::size_t close = text_.find('"', at_ + 1);
            token.kind = Token::kString;
            token.text = std::string(text_.substr(at_ + 1, close == std::string_view::npos ? std::string_view::npos : close - at_ - 1));
            at_ = close == std::string_view::npos ? text_.size() : close + 1;
        } else if (c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')) {
            const std::size_t start = at_;
            while (at_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-' ||
                                          text_[at_] == '+' || text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E')) {
                ++at_;
            }
            token.kind = Token::kNumber;
            token.text = std::string(text_.substr(start, at_ - start));
            const char* first = token.text.c_str();
            const auto [end, ec] = std::from_chars(first + (token.text[0] == '+'), first + token.text.size(), token.number);
            if (ec != std::errc() || end != first + token.text.size()) token.kind = Token::kWord;
        } else {
            const std::size_t start = at_;
            while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
                   std::string_view("{};,\"").find(text_[at_]) == std::string_view::npos) {
                ++at_;
            }
            token.kind = Token::kWord;
            token.text = std::string(text_.substr(start, at_ - start));
        }
        return token;
    }

private:
    void SkipBlanks() {
        while (at_ < text_.size()) {
            if (std::isspace(static_cast<unsigned char>(text_[at_]))) {
                ++at_;
            } else if (text_[at_] == '#' || text_.substr(at_, 2) == "//") {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
            } else {
                return;
            }
        }
    }
    std::string_view text_;
    std::size_t at_ = 0;
};

// A data object: its template name, its numbers and strings in order, its child objects.
struct XObject {
    std::string type;
    std::vector<double> numbers;
    std::vector<std::string> strings;
    std::vector<XObject> children;
};

bool ReadObject(Tokens& tokens, const std::string& type, XObject* object, std::string* error) {
    object->type = type;
    while (true) {
        Token token = tokens.Next();
        switch (token.kind) {
            case Token::kEnd:
                *error = "\"" + type + "\" is not closed";
                return false;
            case Token::kClose:
                return true;
            case Token::kNumber:
                object->numbers.push_back(token.number);
                break;
            case Token::kString:
                object->strings.push_back(token.text);
                break;
            case Token::kSeparator:
                break;
            case Token::kOpen:
                *error = "unexpected \"{\" in \"" + type + "\"";
                return false;
            case Token::kWord: {
                // A child object: its template name, an optional name, then a brace.
                Token next = tokens.Next();
                if (next.kind == Token::kWord) next = tokens.Next();
                if (next.kind != Token::kOpen) {
                    *error = "\"" + token.text + "\" in \"" + type + "\" has no body";
                    return false;
                }
                XObject child;
                if (!ReadObject(tokens, token.text, &child, error)) return false;
                object->children.push_back(std::move(child));
                break;
            }
        }
    }
}

const XObject* Child(const XObject& object, std::string_view type) {
    for (const XObject& child : object.children) {
        if (child.type == type) return &child;
    }
    return nullptr;
}

// Reads n triangles (3;a,b,c;) from numbers starting at *at; false when a face is not a triangle
// or an index is out of range.
bool ReadTriangles(const std::vector<double>& numbers, std::size_t* at, std::size_t vertexCount,
                   std::vector<std::array<int, 3>>* faces) {
    if (*at >= numbers.size()) return false;
    const auto count = static_cast<std::size_t>(numbers[(*at)++]);
    for (std::size_t i = 0; i < count; ++i) {
        if (*at + 4 > numbers.size() || numbers[*at] != 3.0) return false;
        std::array<int, 3> face{};
        for (int k = 0; k < 3; ++k) {
            const double index = numbers[*at + 1 + k];
            if (index < 0 || index >= static_cast<double>(vertexCount)) return false;
            face[k] = static_cast<int>(index);
        }
        faces->push_back(face);
        *at += 4;
    }
    return true;
}

bool ReadVectors(const std::vector<double>& numbers, std::size_t* at, std::vector<Vec3>* out) {
    if (*at >= numbers.size()) return false;
    const auto count = static_cast<std::size_t>(numbers[(*at)++]);
    if (*at + 3 * count > numbers.size()) return false;
    for (std::size_t i = 0; i < count; ++i, *at += 3) {
        out->push_back({static_cast<float>(numbers[*at]), static_cast<float>(numbers[*at + 1]),
                        static_cast<float>(numbers[*at + 2])});
    }
    return true;
}

}  // namespace

std::string FormatX(const Mesh& mesh) {
    std::string out = "xof 0303txt 0032\r\n\r\n";
    const auto vectors = [&](const std::vector<Vec3>& list) {
        out += " " + std::to_string(list.size()) + ";\r\n";
        for (std::size_t i = 0; i < list.size(); ++i) {
            out += " ";
            AppendFloat(&out, list[i].x);
            out += ";";
            AppendFloat(&out, list[i].y);
            out += ";";
            AppendFloat(&out, list[i].z);
            out += i + 1 < list.size() ? ";,\r\n" : ";;\r\n";
        }
    };
    const auto triangles = [&]() {
        out += " " + std::to_string(mesh.faces.size()) + ";\r\n";
        for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
            const auto& f = mesh.faces[i];
            out += " 3;" + std::to_string(f[0]) + "," + std::to_string(f[1]) + "," + std::to_string(f[2]);
            out += i + 1 < mesh.faces.size() ? ";,\r\n" : ";;\r\n";
        }
    };
    out += "Mesh {\r\n";
    vectors(mesh.positions);
    triangles();
    out += " MeshNormals {\r\n";
    vectors(mesh.normals);
    triangles();
    out += " }\r\n MeshTextureCoords {\r\n  " + std::to_string(mesh.uvs.size()) + ";\r\n";
    for (std::size_t i = 0; i < mesh.uvs.size(); ++i) {
        out += "  ";
        AppendFloat(&out, mesh.uvs[i][0]);
        out += ";";
        AppendFloat(&out, mesh.uvs[i][1]);
        out += i + 1 < mesh.uvs.size() ? ";,\r\n" : ";;\r\n";
    }
    out += " }\r\n MeshMaterialList {\r\n  " + std::to_string(mesh.materials.size()) + ";\r\n  " +
           std::to_string(mesh.faceMaterials.size()) + ";\r\n";
    for (std::size_t i = 0; i < mesh.faceMaterials.size(); ++i) {
        out += "  " + std::to_string(mesh.faceMaterials[i]) + (i + 1 < mesh.faceMaterials.size() ? ",\r\n" : ";\r\n");
    }
    for (const MeshMaterial& m : mesh.materials) {
        out += "  Material {\r\n   ";
        for (float v : m.diffuse) {
            AppendFloat(&out, v);
            out += ";";
        }
        out += ";\r\n   ";
        AppendFloat(&out, m.power);
        out += ";\r\n   ";
        for (float v : m.specular) {
            AppendFloat(&out, v);
            out += ";";
        }
        out += ";\r\n   ";
        for (float v : m.emissive) {
            AppendFloat(&out, v);
            out += ";";
        }
        out += ";\r\n";
        if (!m.textureFile.empty()) {
            out += "   TextureFilename {\r\n    \"" + m.textureFile + "\";\r\n   }\r\n";
        }
        out += "  }\r\n";
    }
    out += " }\r\n}\r\n";
    return out;
}

std::optional<Mesh> ParseX(std::string_view text, std::string* error) {
    std::string problem;
    if (text.substr(0, 16) != "xof 0303txt 0032") {
        if (error) *error = "not a text .x file of format 0303";
        return std::nullopt;
    }
    Tokens tokens(text.substr(16));
    XObject root;
    const XObject* meshObject = nullptr;
    while (true) {
        Token token = tokens.Next();
        if (token.kind == Token::kEnd) break;
        if (token.kind != Token::kWord) {
            if (error) *error = "expected a template name at top level";
            return std::nullopt;
        }
        Token next = tokens.Next();
        if (next.kind == Token::kWord) next = tokens.Next();
        XObject object;
        if (next.kind != Token::kOpen || !ReadObject(tokens, token.text, &object, &problem)) {
            if (error) *error = problem.empty() ? "\"" + token.text + "\" has no body" : problem;
            return std::nullopt;
        }
        root.children.push_back(std::move(object));
    }
    meshObject = Child(root, "Mesh");
    const auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (meshObject == nullptr) return fail("no Mesh");
    Mesh mesh;
    std::size_t at = 0;
    if (!ReadVectors(meshObject->numbers, &at, &mesh.positions)) return fail("Mesh: bad vertex list");
    if (!ReadTriangles(meshObject->numbers, &at, mesh.positions.size(), &mesh.faces)) return fail("Mesh: bad face list");
    if (at != meshObject->numbers.size()) return fail("Mesh: numbers left over");
    const XObject* normals = Child(*meshObject, "MeshNormals");
    if (normals == nullptr) return fail("no MeshNormals");
    at = 0;
    std::vector<std::array<int, 3>> normalFaces;
    if (!ReadVectors(normals->numbers, &at, &mesh.normals) ||
        !ReadTriangles(normals->numbers, &at, mesh.normals.size(), &normalFaces) ||
        normalFaces.size() != mesh.faces.size()) {
        return fail("MeshNormals: bad lists");
    }
    const XObject* uvs = Child(*meshObject, "MeshTextureCoords");
    if (uvs == nullptr || uvs->numbers.empty()) return fail("no MeshTextureCoords");
    const auto uvCount = static_cast<std::size_t>(uvs->numbers[0]);
    if (uvCount != mesh.positions.size() || uvs->numbers.size() != 1 + 2 * uvCount) {
        return fail("MeshTextureCoords: not one pair per vertex");
    }
    for (std::size_t i = 0; i < uvCount; ++i) {
        mesh.uvs.push_back({static_cast<float>(uvs->numbers[1 + 2 * i]), static_cast<float>(uvs->numbers[2 + 2 * i])});
    }
    const XObject* list = Child(*meshObject, "MeshMaterialList");
    if (list == nullptr || list->numbers.size() < 2) return fail("no MeshMaterialList");
    const auto materialCount = static_cast<std::size_t>(list->numbers[0]);
    const auto faceCount = static_cast<std::size_t>(list->numbers[1]);
    if (faceCount != mesh.faces.size() || list->numbers.size() != 2 + faceCount) {
        return fail("MeshMaterialList: not one material per face");
    }
    for (std::size_t i = 0; i < faceCount; ++i) {
        const double index = list->numbers[2 + i];
        if (index < 0 || index >= static_cast<double>(materialCount)) return fail("MeshMaterialList: bad index");
        mesh.faceMaterials.push_back(static_cast<int>(index));
    }
    for (const XObject& child : list->children) {
        if (child.type != "Material") continue;
        if (child.numbers.size() != 11) return fail("Material: needs 11 numbers");
        MeshMaterial m;
        for (int k = 0; k < 4; ++k) m.diffuse[k] = static_cast<float>(child.numbers[k]);
        m.power = static_cast<float>(child.numbers[4]);
        for (int k = 0; k < 3; ++k) m.specular[k] = static_cast<float>(child.numbers[5 + k]);
        for (int k = 0; k < 3; ++k) m.emissive[k] = static_cast<float>(child.numbers[8 + k]);
        if (const XObject* texture = Child(child, "TextureFilename")) {
            if (texture->strings.size() != 1) return fail("TextureFilename: needs one name");
            m.textureFile = texture->strings[0];
        }
        mesh.materials.push_back(m);
    }
    if (mesh.materials.size() != materialCount) return fail("MeshMaterialList: material count differs");
    return mesh;
}

std::vector<Mesh> MakeMeshes() {
    return {MakeRock(kMeshKinds[0].radius, 0xA57E01, {1.0f, 0.8f, 0.9f}, "Rock.bmp"),
            MakeRock(kMeshKinds[1].radius, 0xA57E02, {0.8f, 1.0f, 0.75f}, "Rock2.bmp"),
            MakeRock(kMeshKinds[2].radius, 0xA57E03, {1.0f, 0.7f, 1.0f}, "Rock.bmp"),
            MakeCoin(), MakeMine()};
}

std::vector<DataFile> MakeMeshFiles() {
    std::vector<DataFile> files;
    const std::vector<Mesh> meshes = MakeMeshes();
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        files.push_back({kMeshKinds[i].fileName, TextBytes(FormatX(meshes[i]))});
    }
    return files;
}

std::vector<Picture> MakeMeshTextures() {
    // Lit by ambient light only (81 % of the material), so the textures carry the shading and
    // stay bright.
    std::vector<Picture> out;
    for (int variant = 0; variant < 2; ++variant) {
        Canvas rock(128, 128);
        Rng rng = AssetRng(variant == 0 ? "rock texture" : "rock2 texture");
        const std::uint64_t seed = rng.Next();
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const float n = static_cast<float>(TileableFractalNoise(x / 128.0, y / 128.0, 4, 5, 0.55, seed));
                rock.At(x, y) = variant == 0 ? Mix(Rgb(110, 100, 92), Rgb(210, 196, 178), n)
                                             : Mix(Rgb(120, 84, 60), Rgb(220, 160, 110), n);
            }
        }
        for (int crater = 0; crater < 14; ++crater) {
            const float cx = static_cast<float>(rng.Range(10, 118)), cy = static_cast<float>(rng.Range(10, 118));
            const float r = static_cast<float>(rng.Range(3, 10));
            FillCircle(rock, cx, cy, r, Rgb(90, 80, 74, 0.7f));
            FillCircle(rock, cx - r * 0.25f, cy - r * 0.25f, r * 0.7f, Rgb(70, 62, 58, 0.6f));
        }
        out.push_back({variant == 0 ? "Rock.bmp" : "Rock2.bmp", ToOpaqueImage(rock), 0});
    }
    Canvas coin(128, 128, Rgb(200, 150, 40));
    FillCircle(coin, 64, 64, 60, Rgb(240, 190, 60));
    FillCircle(coin, 64, 64, 52, Rgb(210, 160, 40));
    FillCircle(coin, 64, 64, 48, Rgb(250, 206, 80));
    std::vector<Point> star;
    for (int i = 0; i < 10; ++i) {
        const float a = -kPi / 2 + i * kPi / 5;
        const float r = i % 2 ? 14.0f : 34.0f;
        star.push_back({64 + r * std::cos(a), 64 + r * std::sin(a)});
    }
    FillPolygon(coin, star, Rgb(255, 240, 160));
    StrokePolygon(coin, star, 1.5f, Rgb(170, 120, 30));
    out.push_back({"Coin.bmp", ToOpaqueImage(coin), 0});
    Canvas mine(128, 128, Rgb(150, 40, 36));
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            const bool band = y > 26 && y < 38;
            const bool stripe = ((x + y) / 8) % 2 == 0;
            mine.At(x, y) = band ? (stripe ? Rgb(240, 200, 40) : Rgb(50, 44, 40))
                                 : Mix(Rgb(160, 44, 40), Rgb(210, 80, 60), static_cast<float>(
                                       TileableFractalNoise(x / 128.0, y / 64.0, 4, 3, 0.5, 0x313)));
        }
    }
    FillRect(mine, 0, 64, 128, 128, Rgb(200, 204, 214));
    FillCircle(mine, 64, 20, 6, Rgb(255, 80, 60));
    out.push_back({"Mine.bmp", ToOpaqueImage(mine), 0});
    return out;
}

}  // namespace assetgen
