#include "tools/assetgen/meshes_x.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "common/x_model.h"
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
    const auto fail = [&](const std::string& why) -> std::optional<Mesh> {
        if (error) *error = why;
        return std::nullopt;
    };
    const std::optional<common::XModel> model = common::ReadXModel(text, error);
    if (!model) return std::nullopt;
    if (model->top.meshes.size() != 1 || !model->top.frames.empty()) return fail("not one Mesh outside any frame");
    const common::XMesh& x = model->top.meshes.front();
    if (x.normals.size() != x.positions.size() || x.textureCoords.empty()) {
        return fail("not one normal and one pair of texture coordinates per vertex");
    }
    if (x.faceMaterials.size() != x.faces.size()) return fail("not one material per face");
    Mesh mesh;
    for (const auto& p : x.positions) mesh.positions.push_back({p[0], p[1], p[2]});
    for (const auto& n : x.normals) mesh.normals.push_back({n[0], n[1], n[2]});
    for (const auto& uv : x.textureCoords) mesh.uvs.push_back({uv[0], uv[1]});
    for (const auto& face : x.faces) {
        if (face.size() != 3) return fail("a face that is not a triangle");
        mesh.faces.push_back({static_cast<int>(face[0]), static_cast<int>(face[1]), static_cast<int>(face[2])});
    }
    for (std::uint32_t index : x.faceMaterials) mesh.faceMaterials.push_back(static_cast<int>(index));
    for (const common::XMaterial& m : x.materials) {
        mesh.materials.push_back({m.diffuse, m.power, m.specular, m.emissive, m.textureFile});
    }
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
