// The rasteriser's faster paths against the general ones they stand in for, pixel for pixel:
// triangles, spans, whole frames, and the vector paths' lane rounding.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "platform/device.h"
#include "platform/raster.h"
#include "platform/raster_avx2.h"
#include "platform/raster_pixels.h"
#include "platform/sprite_batch.h"
#include "game/graphics/sprites.h"
#include "tests/graphics/pictures.h"
#include "tests/graphics/scene.h"

namespace {

using namespace platform;

auto DeviceStates() {
    return std::tie(device.renderStates, device.stageStates, device.world, device.view, device.projection,
                    device.material);
}

// Leaves the device's states, transforms and switches as the test found them.
class FastPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        graphics_test::BeginTestFrame();
        saved = DeviceStates();
    }
    void TearDown() override {
        DeviceStates() = saved;
        SetTexture(0, 0);
        device_testing::UseReferenceTriangles(false);
        raster::EnableVectorSpans(true);
        for (const TextureId id : textures) {
            ReleaseTexture(id);
        }
    }
    // A texture of the picture (point-sampled at its own size, or with the default options),
    // released after the test.
    TextureId MakeTexture(const common::Image& picture, bool point = true) {
        const TextureLoadOptions options{picture.width, picture.height, ImageFilter::kPoint, 0};
        textures.push_back(CreateTextureFromImage(picture, point ? options : TextureLoadOptions{}, nullptr));
        return textures.back();
    }

    std::tuple<decltype(device.renderStates), decltype(device.stageStates), Matrix, Matrix, Matrix, Material> saved;
    std::vector<TextureId> textures;
};

// Random texels, each ORed with set (0xFF000000 makes them opaque).
common::Image RandomPicture(std::mt19937& random, int width, int height, std::uint32_t set = 0) {
    common::Image picture(width, height);
    for (std::uint32_t& texel : picture.pixels) {
        texel = random() | set;
    }
    return picture;
}

struct Buffers {
    std::vector<std::uint16_t> colours, depths;
    bool operator==(const Buffers&) const = default;
};

Buffers Snapshot() { return {device.backBuffer, device.depthBuffer}; }

void Restore(const Buffers& b) {
    device.backBuffer = b.colours;
    device.depthBuffer = b.depths;
}

enum class Path { kReference, kPlain, kVector };  // clipping triangles, fast triangles, + vector spans

// Draws from the same buffers along each path; every path must leave them as the first did,
// whose buffers are returned.
template <class Draw>
Buffers ExpectPathsAgree(const Buffers& start, std::initializer_list<Path> paths, Draw draw, const std::string& what) {
    std::optional<Buffers> first;
    for (const Path path : paths) {
        Restore(start);
        device_testing::UseReferenceTriangles(path == Path::kReference);
        raster::EnableVectorSpans(path == Path::kVector);
        draw();
        if (!first) {
            first = Snapshot();
        } else {
            EXPECT_TRUE(Snapshot() == *first) << what << ", path " << static_cast<int>(path);
        }
    }
    return *first;
}

#if defined(STARWAKE_VECTOR_SPANS)
STARWAKE_AVX2 void RoundFour(const double* values, std::int64_t* out) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), raster::lanes::RoundHalfAwayLanes(_mm256_loadu_pd(values)));
}

// Halves either side of zero, the doubles just inside and outside them, signed zeros, and
// values up to the 2^51 the lanes allow, then random ones of every size: each rounds as
// std::llround rounds it.
TEST(LaneArithmeticTest, RoundHalfAwayLanesRoundsAsLlround) {
    if (!raster::VectorSpansSupported()) {
        GTEST_SKIP() << "no vector spans on this processor";
    }
    std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 0.49999999999999994,
                                  -0.49999999999999994, 1e9 * 65536, -1e9 * 65536, 2251799813685247.5,
                                  -2251799813685247.5, 2251799813685246.0, 4503599627370495.0 / 2};
    for (const double edge : {0.5, 1.5, 12345.5, 4096.5}) {
        values.push_back(std::nextafter(edge, 0.0));
        values.push_back(std::nextafter(edge, 1e300));
        values.push_back(-std::nextafter(edge, 0.0));
        values.push_back(-std::nextafter(edge, 1e300));
    }
    std::mt19937_64 random(3);
    for (int i = 0; i < 4000; ++i) {
        const double scale = std::ldexp(1.0, static_cast<int>(random() % 51));
        values.push_back(std::uniform_real_distribution<double>(-scale, scale)(random));
        values.push_back(std::round(values.back() * 2) / 2);  // a half or a whole
    }
    while (values.size() % 4 != 0) {
        values.push_back(0.25);
    }
    for (std::size_t i = 0; i < values.size(); i += 4) {
        std::int64_t rounded[4];
        RoundFour(&values[i], rounded);
        for (std::size_t k = 0; k < 4; ++k) {
            ASSERT_EQ(rounded[k], std::llround(values[i + k])) << std::hexfloat << values[i + k];
        }
    }
}
#endif

// Every path shares the comparisons and blend factors a draw decides once, so they are checked
// here against the functions they stand for: values equal, one apart, at 0 and at the largest
// depth, and numbers that name no function (always passes, adds nothing).
TEST(DecidedRulesTest, ComparisonsAndFactorsAnswerAsTheirFunctions) {
    auto compare = [](std::uint32_t func, std::uint32_t value, std::uint32_t reference) {
        switch (func) {
            case kCmpNever: return false;
            case kCmpLess: return value < reference;
            case kCmpEqual: return value == reference;
            case kCmpLessEqual: return value <= reference;
            case kCmpGreater: return value > reference;
            case kCmpNotEqual: return value != reference;
            case kCmpGreaterEqual: return value >= reference;
            default: return true;
        }
    };
    const std::uint32_t values[] = {0, 1, 2, 254, 255, 256, 65534, 65535};
    for (std::uint32_t func = 0; func <= 10; ++func) {
        for (const std::uint32_t value : values) {
            for (const std::uint32_t reference : values) {
                ASSERT_EQ(raster::Passes(raster::MakeCompareRule(func), value, reference), compare(func, value, reference))
                    << "function " << func << ", " << value << " against " << reference;
            }
        }
    }
    auto factor = [](std::uint32_t number, std::uint32_t src, std::uint32_t srcAlpha, std::uint32_t dest) -> std::uint32_t {
        switch (number) {
            case kBlendOne: case kBlendDestAlpha: return 255;
            case kBlendSrcColor: return src;
            case kBlendInvSrcColor: return 255 - src;
            case kBlendSrcAlpha: return srcAlpha;
            case kBlendInvSrcAlpha: return 255 - srcAlpha;
            case kBlendDestColor: return dest;
            case kBlendInvDestColor: return 255 - dest;
            default: return 0;
        }
    };
    const std::uint32_t channels[] = {0, 1, 0x7F, 0xFE, 0xFF};
    for (std::uint32_t number = 0; number <= 12; ++number) {
        for (const std::uint32_t src : channels) {
            for (const std::uint32_t dest : channels) {
                const std::uint32_t srcAlpha = 0xFF - src / 2;
                ASSERT_EQ(raster::Factor(raster::MakeFactorRule(number), src, srcAlpha, dest), factor(number, src, srcAlpha, dest))
                    << "factor " << number << ", source " << src << ", back buffer " << dest;
            }
        }
    }
}

// Random scenes over random colours and depths, through the clipping path for every triangle
// and the faster path with plain and with vector rows.
TEST_F(FastPathTest, TrianglesInsideTheClipVolumeMatchTheClippingPath) {
    std::mt19937 random(77);
    // No texture, a square, a wide one, and one wrapped by remainders, not masks.
    const TextureId choices[] = {0, MakeTexture(RandomPicture(random, 16, 16)),
                                 MakeTexture(RandomPicture(random, 32, 8)), MakeTexture(RandomPicture(random, 24, 20))};
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto single = [&](double low, double high) { return static_cast<float>(uniform(low, high)); };
    auto pick = [&](std::uint32_t count) { return static_cast<std::uint32_t>(random() % count); };
    Buffers background = Snapshot();
    for (std::vector<std::uint16_t>* buffer : {&background.colours, &background.depths}) {
        std::generate(buffer->begin(), buffer->end(), [&] { return static_cast<std::uint16_t>(random()); });
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
        material.diffuse = {single(0, 1), 0.5f, 0.5f, single(-0.2, 1.2)};
        material.ambient = {single(0, 1.2), single(0, 1), single(0, 1), 1};
        material.emissive = {single(0, 0.3), 0, single(0, 0.3), 0};
        SetMaterial(material);
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
            v.x = single(-1.3, 1.3);
            v.y = single(-1.3, 1.3);
            if (grid) {
                v.x = static_cast<float>(std::round(uniform(-10, 810) / 4) * 4 / 400.0 - 1.0);
                v.y = static_cast<float>(1.0 - std::round(uniform(-10, 610) / 4) * 4 / 300.0);
            }
            const double ends[] = {0.0, 1.0, uniform(-0.05, 1.05)};
            v.z = static_cast<float>(ends[pick(3)]);
            v.u = single(-2, 3);
            v.v = single(-2, 3);
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
                                   : single(-0.02, 0.02);
                    near.y += grid ? static_cast<float>(static_cast<int>(pick(9)) - 4) / 300.0f
                                   : single(-0.02, 0.02);
                    near.u += single(-0.3, 0.3);
                    // Steep in depth: the plane overshoots the range a little beyond the corners.
                    near.z = pick(2) ? 1.0f - near.z : near.z;
                    vertices.push_back(near);
                    b = static_cast<std::uint32_t>(vertices.size() - 1);
                }
                indices.push_back(b);
            }
        }
        if (trial % 5 == 4) {
            // Instead, boxes about as wide as the vector walk takes (up to 64 pixels) and a little
            // wider, with a level edge (top or bottom) that fills whole rows of the box and the
            // third corner below or above it, a quarter of them a pixel from the screen's left or
            // right side: the runs found four centres at a time must end at the box's last column.
            vertices.clear();
            indices.clear();
            for (int i = 0; i < 100; ++i) {
                const double width = 58 + i % 12 + uniform(-0.5, 0.5);
                const double height = uniform(2, 30);
                const double x = i % 4 == 0 ? uniform(0, 1) : i % 4 == 1 ? 799 - width : uniform(0, 700);
                const double y = uniform(0, 560);
                const double level = i % 2 == 0 ? y : y + height;
                const double apex = i % 2 == 0 ? y + height : y;
                const double corners[3][2] = {{x, level}, {x + width, level}, {x + uniform(0, width), apex}};
                for (const auto& corner : corners) {
                    MeshVertex v;
                    v.x = static_cast<float>(corner[0] / 400.0 - 1.0);
                    v.y = static_cast<float>(1.0 - corner[1] / 300.0);
                    v.z = single(0, 1);
                    v.u = single(-1, 2);
                    v.v = single(-1, 2);
                    indices.push_back(static_cast<std::uint32_t>(vertices.size()));
                    vertices.push_back(v);
                }
            }
        }

        const Buffers expected = ExpectPathsAgree(
            background, {Path::kReference, Path::kPlain, Path::kVector},
            [&] { EXPECT_EQ(DrawIndexedTriangles(vertices, indices), kOk); }, "trial " + std::to_string(trial));
        ASSERT_FALSE(HasFailure());
        for (std::size_t i = 0; i < expected.colours.size(); ++i) {
            changed += expected.colours[i] != background.colours[i] || expected.depths[i] != background.depths[i];
        }
    }
    EXPECT_GT(changed, 1000000u);  // the scenes did draw, not only fail their tests
}

// Random texels (alpha 0 in some, as keyed texels are), coordinates inside the border and back
// buffers: the generic blend, the clamping path and the vector spans against the plain span of
// each blend, filter and tint, and on an opaque texture the channel span against the plain
// additive one under single-channel tints (weakest and strongest levels, the fog's AF). A third
// of the spans are 1-17 pixels long and end on the last texel as far into the border as point
// or linear filtering reads: the vector spans' eight-pixel step must change no pixel beyond the
// span's end and read nothing outside the texture.
TEST_F(FastPathTest, GeneralVectorAndChannelSpansMatchThePlainSpans) {
    const bool vector = raster::VectorSpansSupported();
    std::mt19937 random(31);
    const Texture* opaque = GetTexture(MakeTexture(RandomPicture(random, 29, 17, 0xFF000000u)));
    ASSERT_TRUE(opaque->opaque);
    common::Image picture = RandomPicture(random, 37, 23);
    for (std::uint32_t& texel : picture.pixels) {
        texel &= texel % 5 == 0 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    }
    const Texture* keyed = GetTexture(MakeTexture(picture));
    const std::uint32_t levels[] = {0x01, 0x7F, 0xAF, 0xFF};
    const std::pair<std::uint32_t, std::uint32_t> factors[] = {
        {0, 0}, {kBlendSrcAlpha, kBlendInvSrcAlpha}, {kBlendSrcAlpha, kBlendOne}, {0, 0}};
    std::array<std::uint16_t, 108> plain{}, other{}, start{};  // spans from pixel 4 on
    int compared = 0;
    for (int trial = 0; trial < 6000; ++trial) {
        const Texture* texture = trial % 2 ? opaque : keyed;
        raster::SpanArgs args;
        args.origin = texture->Origin();
        args.pitch = texture->pitch;
        args.width = texture->width;
        args.height = texture->height;
        const bool corner = trial % 3 == 0;
        const int count = 1 + static_cast<int>(random() % (corner ? 17 : 100));
        if (corner) {
            args.du = static_cast<std::int32_t>(random() % (raster::kOne + 1));
            args.dv = static_cast<std::int32_t>(random() % (raster::kOne + 1));
            const std::int32_t reach = (trial / 6) % 2 ? raster::kOne - 1 : raster::kOne / 2 - 1;  // point, linear
            args.u = texture->width * raster::kOne + reach - args.du * (count - 1);
            args.v = texture->height * raster::kOne + reach - args.dv * (count - 1);
        } else {
            auto across = [&](int side) { return std::uniform_real_distribution<double>(-0.5, side + 0.49)(random); };
            const double u0 = across(texture->width), v0 = across(texture->height);
            const double u1 = across(texture->width), v1 = across(texture->height);
            args.u = static_cast<std::int32_t>(u0 * raster::kOne);
            args.v = static_cast<std::int32_t>(v0 * raster::kOne);
            args.du = static_cast<std::int32_t>((u1 - u0) * raster::kOne / count);
            args.dv = static_cast<std::int32_t>((v1 - v0) * raster::kOne / count);
        }
        args.tint = random();
        const std::pair<std::uint32_t, std::uint32_t> anyFactors{1 + random() % 10, 1 + random() % 10};
        std::generate(start.begin(), start.end(), [&] { return static_cast<std::uint16_t>(random()); });
        for (const auto filter : {raster::Filter::kPoint, raster::Filter::kLinear}) {
            if (!raster::SpanInsideBorder(args, filter, count)) {
                continue;
            }
            for (int blend = 0; blend < 4; ++blend) {
                const auto b = static_cast<raster::Blend>(blend);
                std::tie(args.srcFactor, args.destFactor) =
                    b == raster::Blend::kGeneric ? anyFactors : factors[blend];
                const auto general = b == raster::Blend::kOpaque ? b : raster::Blend::kGeneric;
                for (const bool tinted : {false, true}) {
                    plain = start;
                    raster::PlainSpan(b, filter, tinted)(args, plain.data() + 4, count);
                    auto expectSame = [&](const char* path, auto draw) {
                        other = start;
                        draw(other.data() + 4);
                        ASSERT_EQ(plain, other) << path << ", blend " << blend << " filter "
                                                << static_cast<int>(filter) << " tinted " << tinted << " count " << count;
                    };
                    if (general != b) {
                        expectSame("generic", [&](auto* d) { raster::PlainSpan(general, filter, tinted)(args, d, count); });
                    }
                    expectSame("clamped", [&](auto* d) { raster::ClampedSpan(args, general, filter, tinted, d, count); });
                    if (vector && b != raster::Blend::kGeneric) {
                        expectSame("vector", [&](auto* d) { raster::VectorSpan(b, filter, tinted)(args, d, count); });
                    }
                    ASSERT_FALSE(HasFatalFailure());
                }
            }
            ++compared;
        }
        if (vector && texture == opaque && raster::SpanInsideBorder(args, raster::Filter::kLinear, count)) {
            const int which = (trial / 2) % 3;
            args.quads = ChannelQuads(*texture, which);
            args.tint = (levels[random() % 4] << 24) | (levels[random() % 4] << (8 * which));
            ASSERT_EQ(raster::SingleTintChannel(args.tint), which);
            plain = other = start;
            raster::PlainSpan(raster::Blend::kAdditive, raster::Filter::kLinear, true)(args, plain.data() + 4, count);
            raster::AdditiveChannelSpan(which)(args, other.data() + 4, count);
            ASSERT_EQ(plain, other) << "channel " << which << " tint " << std::hex << args.tint << std::dec
                                    << " count " << count;
        }
    }
    EXPECT_GT(compared, 10000);  // both filters of most spans, point filtering at the far corners
}

// Fog as the game draws it (turned, doubled, additive, one channel), sprites that must not take
// the channel span (a keyed texel, two channels, tint alpha 0), then the game's sprite calls in
// every blend mode and both filters: whole frames agree with the vector spans on and off.
TEST_F(FastPathTest, WholeFramesMatchWithAndWithoutVectorSpans) {
    std::mt19937 random(5);
    const TextureId fogId = MakeTexture(RandomPicture(random, 128, 128, 0xFF000000u), false);
    common::Image keyed = RandomPicture(random, 64, 64, 0xFF000000u);
    keyed.At(10, 10) = 0;  // a colour-keyed texel
    const TextureId keyedId = MakeTexture(keyed, false);
    ASSERT_TRUE(GetTexture(fogId)->opaque && !GetTexture(keyedId)->opaque);
    const std::int32_t letter = graphics::LoadTextureIntoPool(
        graphics_test::WriteBitmap("letter_f.bmp", graphics_test::LetterF()), graphics_test::kKeyMagenta);
    const std::int32_t white =
        graphics::LoadTextureIntoPool(graphics_test::WriteBitmap("white32.bmp", common::Image(32, 32, 0xFFFFFFFFu)), 0);
    ASSERT_TRUE(letter > 0 && white > 0);
    const std::uint32_t tints[] = {0xAFAF0000u, 0xAF00AF00u, 0x400000FFu, 0xAFAF00AFu, 0x00AF0000u, 0xFFFFFFFFu};
    ExpectPathsAgree(Snapshot(), {Path::kPlain, Path::kVector}, [&] {
        std::mt19937 replay = random;
        Clear(kClearTarget, 0xFF406080u, 1.0f, 0);
        SpriteBegin();
        SetRenderState(kRsDestBlend, kBlendOne);  // additive: source alpha, one
        SetTextureStageState(0, kTssMagFilter, kFilterLinear);
        SetTextureStageState(0, kTssMinFilter, kFilterLinear);
        for (int i = 0; i < 60; ++i) {
            SpriteDraw draw;
            draw.texture = i % 5 == 4 ? keyedId : fogId;
            draw.scaleX = draw.scaleY = i % 3 == 0 ? 2.0f : 0.4f + static_cast<float>(replay() % 200) / 100.0f;
            draw.rotation = static_cast<float>(replay() % 628) / 100.0f;
            draw.x = static_cast<float>(replay() % 900) - 150.0f;
            draw.y = static_cast<float>(replay() % 700) - 150.0f;
            draw.centreX = draw.centreY = 64.0f * draw.scaleX;
            draw.colour = tints[replay() % 6];
            EXPECT_EQ(SpriteDrawQuad(draw), kOk);
        }
        SpriteEnd();
        graphics::BeginSprites();
        for (int i = 0; i < 200; ++i) {
            const float x = static_cast<float>(replay() % 900) - 50.0f;
            const graphics::Vector2 at{x, static_cast<float>(replay() % 700) - 50.0f};
            const float angle = static_cast<float>(replay() % 628) / 100.0f;
            const float scale = 0.3f + static_cast<float>(replay() % 300) / 100.0f;
            const auto mode = static_cast<std::int16_t>(replay() % 4);
            const char* tint = (replay() % 2) ? "FFAFAF" : "";
            SetTextureStageState(0, kTssMagFilter, replay() % 2 == 0 ? kFilterPoint : kFilterLinear);
            graphics::DrawSpriteScaled(i % 2 ? letter : white, at, angle, true, "AF", mode, scale, scale, tint);
        }
        graphics::EndSprites();
    }, "whole frame");
}

}  // namespace
