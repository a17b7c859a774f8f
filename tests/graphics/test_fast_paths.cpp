// The rasteriser's faster paths against the general ones they stand in for, pixel for pixel:
// triangles inside the clip volume (plain rows and vector rows) against the clipping path.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "platform/device.h"
#include "platform/raster.h"
#include "tests/graphics/scene.h"

namespace {

using namespace platform;

// Leaves the device's states, transforms and switches as the test found them.
class FastPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        graphics_test::BeginTestFrame();
        savedStates = device.renderStates;
        savedStages = device.stageStates;
        savedWorld = device.world;
        savedView = device.view;
        savedProjection = device.projection;
        savedMaterial = device.material;
    }
    void TearDown() override {
        device.renderStates = savedStates;
        device.stageStates = savedStages;
        device.world = savedWorld;
        device.view = savedView;
        device.projection = savedProjection;
        device.material = savedMaterial;
        SetTexture(0, 0);
        device_testing::UseReferenceTriangles(false);
        raster::EnableVectorSpans(true);
        for (const TextureId id : textures) {
            ReleaseTexture(id);
        }
    }
    TextureId MakeTexture(std::mt19937& random, int width, int height) {
        common::Image picture(width, height);
        for (std::uint32_t& texel : picture.pixels) {
            texel = random();
        }
        const TextureId id = CreateTextureFromImage(picture, {width, height, ImageFilter::kPoint, 0}, nullptr);
        textures.push_back(id);
        return id;
    }

    std::array<std::uint32_t, kRenderStateCount> savedStates{};
    std::array<std::array<std::uint32_t, kTextureStageStateCount>, kTextureStages> savedStages{};
    Matrix savedWorld, savedView, savedProjection;
    Material savedMaterial;
    std::vector<TextureId> textures;
};

struct Buffers {
    std::vector<std::uint16_t> colours, depths;
    bool operator==(const Buffers&) const = default;
};

Buffers Snapshot() { return {device.backBuffer, device.depthBuffer}; }

void Restore(const Buffers& b) {
    device.backBuffer = b.colours;
    device.depthBuffer = b.depths;
}

// One comparison per random scene: the same mesh and states drawn through the clipping path for
// every triangle, through the faster path with plain rows, and with vector rows, each over the
// same random colours and depths.
TEST_F(FastPathTest, TrianglesInsideTheClipVolumeMatchTheClippingPath) {
    std::mt19937 random(77);
    const TextureId square = MakeTexture(random, 16, 16);
    const TextureId wide = MakeTexture(random, 32, 8);
    const TextureId odd = MakeTexture(random, 24, 20);  // wrapped by remainders, not masks
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto pick = [&](std::uint32_t count) { return static_cast<std::uint32_t>(random() % count); };
    Buffers background{std::vector<std::uint16_t>(device.backBuffer.size()), std::vector<std::uint16_t>(device.depthBuffer.size())};
    for (std::size_t i = 0; i < background.colours.size(); ++i) {
        background.colours[i] = static_cast<std::uint16_t>(random());
        background.depths[i] = static_cast<std::uint16_t>(random());
    }
    std::size_t changed = 0;
    for (int trial = 0; trial < 200; ++trial) {
        SetRenderState(kRsCullMode, 1 + pick(3));
        SetRenderState(kRsZEnable, pick(4) != 0);
        SetRenderState(kRsZWriteEnable, pick(4) != 0);
        SetRenderState(kRsZFunc, 1 + pick(9));  // every function and one number that names none
        SetRenderState(kRsAlphaTestEnable, pick(4) == 0);
        SetRenderState(kRsAlphaFunc, 1 + pick(9));
        SetRenderState(kRsAlphaRef, random());
        SetRenderState(kRsAlphaBlendEnable, pick(2));
        SetRenderState(kRsSrcBlend, 1 + pick(12));
        SetRenderState(kRsDestBlend, 1 + pick(12));
        SetRenderState(kRsLighting, pick(4) != 0);
        SetRenderState(kRsAmbient, random());
        Material material;
        material.diffuse = {static_cast<float>(uniform(0, 1)), 0.5f, 0.5f, static_cast<float>(uniform(-0.2, 1.2))};
        material.ambient = {static_cast<float>(uniform(0, 1.2)), static_cast<float>(uniform(0, 1)), static_cast<float>(uniform(0, 1)), 1};
        material.emissive = {static_cast<float>(uniform(0, 0.3)), 0, static_cast<float>(uniform(0, 0.3)), 0};
        SetMaterial(material);
        const TextureId choices[] = {0, square, wide, odd};
        SetTexture(0, choices[pick(4)]);
        SetTextureStageState(0, kTssMagFilter, pick(2) ? kFilterLinear : kFilterPoint);
        SetTextureStageState(0, kTssMinFilter, pick(2) ? kFilterLinear : kFilterPoint);
        SetTransform(kTransformWorld, Matrix::Identity());
        SetTransform(kTransformView, Matrix::Identity());
        // Mostly the game's flat projection (w = 1); sometimes one that divides by depth.
        Matrix projection = Matrix::Identity();
        if (trial % 3 == 0) {
            projection.m[2][3] = 1.0f;
            projection.m[3][3] = 0.5f;
        }
        SetTransform(kTransformProjection, projection);

        // A few large triangles and many small ones, some reaching past the screen and the
        // depth range (those are clipped), some with repeated corners. On a grid, corners
        // land on pixel centres, so edges run through centres and level edges are common: the
        // cases the top-left rule decides. Depths at the ends of the range test the clamping.
        const bool small = trial % 2 == 0;
        const bool grid = trial % 4 >= 2;
        std::vector<MeshVertex> vertices(small ? 60 : 12);
        for (MeshVertex& v : vertices) {
            v.x = static_cast<float>(uniform(-1.3, 1.3));
            v.y = static_cast<float>(uniform(-1.3, 1.3));
            if (grid) {
                v.x = static_cast<float>(std::round(uniform(-10, 810) / 4) * 4 / 400.0 - 1.0);
                v.y = static_cast<float>(1.0 - std::round(uniform(-10, 610) / 4) * 4 / 300.0);
            }
            const double ends[] = {0.0, 1.0, uniform(-0.05, 1.05)};
            v.z = static_cast<float>(ends[pick(3)]);
            v.u = static_cast<float>(uniform(-2, 3));
            v.v = static_cast<float>(uniform(-2, 3));
        }
        std::vector<std::uint32_t> indices;
        for (int t = 0; t < (small ? 80 : 8); ++t) {
            const auto a = pick(static_cast<std::uint32_t>(vertices.size()));
            indices.push_back(a);
            for (int k = 0; k < 2; ++k) {
                std::uint32_t b = pick(static_cast<std::uint32_t>(vertices.size()));
                if (small && pick(8) != 0) {
                    // A neighbour a few pixels away: a small triangle.
                    MeshVertex near = vertices[a];
                    near.x += grid ? static_cast<float>(static_cast<int>(pick(9)) - 4) / 400.0f
                                   : static_cast<float>(uniform(-0.02, 0.02));
                    near.y += grid ? static_cast<float>(static_cast<int>(pick(9)) - 4) / 300.0f
                                   : static_cast<float>(uniform(-0.02, 0.02));
                    near.u += static_cast<float>(uniform(-0.3, 0.3));
                    // Steep in depth: the plane overshoots the range a little beyond the corners.
                    near.z = pick(2) ? 1.0f - near.z : near.z;
                    vertices.push_back(near);
                    b = static_cast<std::uint32_t>(vertices.size() - 1);
                }
                indices.push_back(b);
            }
        }

        Restore(background);
        const Buffers& before = background;
        device_testing::UseReferenceTriangles(true);
        ASSERT_EQ(DrawIndexedTriangles(vertices, indices), kOk);
        const Buffers expected = Snapshot();
        device_testing::UseReferenceTriangles(false);
        for (const bool vector : {false, true}) {
            Restore(before);
            raster::EnableVectorSpans(vector);
            ASSERT_EQ(DrawIndexedTriangles(vertices, indices), kOk);
            ASSERT_TRUE(Snapshot() == expected) << "trial " << trial << (vector ? ", vector rows" : ", plain rows");
        }
        for (std::size_t i = 0; i < expected.colours.size(); ++i) {
            changed += expected.colours[i] != before.colours[i] || expected.depths[i] != before.depths[i];
        }
    }
    EXPECT_GT(changed, 1000000u);  // the scenes did draw, not only fail their tests
}

}  // namespace
