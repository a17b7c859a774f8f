#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/level_files.h"
#include "common/png.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/levels.h"
#include "tools/assetgen/meshes_x.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/ogg_encoder.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sound_synth.h"
#include "tools/assetgen/tiles.h"
#include "tools/assetgen/wav_file.h"

namespace {

using assetgen::Rgb;

TEST(Rng, SameNameSameStreamAndNamesAreIndependent) {
    assetgen::Rng a = assetgen::AssetRng("tiles");
    assetgen::Rng b = assetgen::AssetRng("tiles");
    assetgen::Rng c = assetgen::AssetRng("tile");
    for (int i = 0; i < 100; ++i) {
        const double value = a.Uniform();
        EXPECT_EQ(value, b.Uniform());
        EXPECT_GE(value, 0.0);
        EXPECT_LT(value, 1.0);
    }
    EXPECT_NE(assetgen::AssetRng("tiles").Next(), c.Next());
    // Forking does not depend on how far the parent has run.
    assetgen::Rng parent = assetgen::AssetRng("levels");
    const auto early = parent.Fork("map").Next();
    EXPECT_EQ(early, parent.Fork("map").Next());
    for (int i = 0; i < 5; ++i) EXPECT_LT(parent.Below(3), 3);
}

TEST(Noise, TileableNoiseMatchesAcrossItsEdges) {
    for (double v : {0.0, 0.13, 0.5, 0.77}) {
        EXPECT_NEAR(assetgen::TileableFractalNoise(0.0, v, 3, 5, 0.5, 42), assetgen::TileableFractalNoise(1.0, v, 3, 5, 0.5, 42), 1e-9);
        EXPECT_NEAR(assetgen::TileableFractalNoise(v, 0.0, 4, 4, 0.6, 7), assetgen::TileableFractalNoise(v, 1.0, 4, 4, 0.6, 7), 1e-9);
    }
    EXPECT_NEAR(assetgen::PeriodicValueNoise(-0.25, 2.5, 4, 9), assetgen::PeriodicValueNoise(3.75, 6.5, 4, 9), 1e-12);
    double low = 1.0, high = 0.0;
    for (int i = 0; i < 200; ++i) {
        const double n = assetgen::TileableFractalNoise(i / 200.0, 0.3, 4, 5, 0.5, 1);
        low = std::min(low, n);
        high = std::max(high, n);
    }
    EXPECT_GE(low, 0.0);
    EXPECT_LE(high, 1.0);
    EXPECT_GT(high - low, 0.2) << "the noise is nearly flat";
}

TEST(Raster, ShapesHaveAntiAliasedEdges) {
    assetgen::Canvas canvas(32, 32);
    assetgen::FillCircle(canvas, 16.0f, 16.0f, 10.0f, Rgb(255, 0, 0));
    EXPECT_FLOAT_EQ(canvas.At(16, 16).a, 1.0f);
    EXPECT_FLOAT_EQ(canvas.At(0, 0).a, 0.0f);
    int partial = 0;
    for (const auto& pixel : canvas.pixels) partial += pixel.a > 0.05f && pixel.a < 0.95f;
    EXPECT_GT(partial, 20) << "a circle's rim should be blended";
    assetgen::Canvas square(8, 8);
    assetgen::FillRect(square, 2.5f, 2.0f, 6.0f, 6.0f, Rgb(0, 255, 0));
    EXPECT_NEAR(square.At(2, 3).a, 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(square.At(4, 3).a, 1.0f);
}

TEST(Raster, KeyedPicturesNeverUseTheKeyInsideAShape) {
    assetgen::Canvas canvas(4, 1);
    canvas.At(0, 0) = Rgb(0, 0, 0);          // opaque black: must stay visible
    canvas.At(1, 0) = Rgb(255, 255, 255);    // opaque white
    canvas.At(2, 0) = {1.0f, 1.0f, 1.0f, 0.01f};
    const common::Image black = assetgen::ToKeyedImage(canvas, assetgen::kKeyBlack, Rgb(0, 0, 0));
    EXPECT_NE(black.At(0, 0), assetgen::kKeyBlack);
    EXPECT_EQ(black.At(2, 0), assetgen::kKeyBlack);
    EXPECT_EQ(black.At(3, 0), assetgen::kKeyBlack);
    const common::Image white = assetgen::ToKeyedImage(canvas, assetgen::kKeyWhite, Rgb(0, 0, 0));
    EXPECT_NE(white.At(1, 0), assetgen::kKeyWhite);
    EXPECT_EQ(white.At(3, 0), assetgen::kKeyWhite);
}

// The mean colour step from column (or row) first of one 256-pixel picture to column last of
// another, or of the same one.
double Step(const common::Image& one, int first, const common::Image& other, int last, bool horizontal) {
    double sum = 0.0;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t a = horizontal ? one.At(first, i) : one.At(i, first);
        const std::uint32_t b = horizontal ? other.At(last, i) : other.At(i, last);
        for (int shift : {0, 8, 16}) sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return sum / 256;
}

TEST(Tiles, PiecesJoinWithoutSeams) {
    const auto tiles = assetgen::MakeTiles();
    ASSERT_EQ(tiles.size(), 23u);
    const auto tile = [&](int number) -> const common::Image& { return tiles[static_cast<std::size_t>(number - 1)].image; };
    for (int first : {assetgen::kPlateFirst, assetgen::kNebulaFirst}) {
        // North-west beside north, north beside north-east, the middle beside its variants.
        const int middle = first + 4;
        const int variant = first == assetgen::kPlateFirst ? assetgen::kPlateVent : assetgen::kNebulaBright;
        // Pieces meant to sit side by side continue each other: the step across the seam is
        // no bigger than the steps between neighbouring columns inside a piece.
        const auto limit = [&](bool horizontal) { return 2.5 * Step(tile(middle), 127, tile(middle), 128, horizontal) + 6.0; };
        const std::pair<int, int> rightOf[] = {{first, first + 1}, {first + 1, first + 2}, {first + 3, middle},
                                               {middle, first + 5}, {variant, first + 5}, {first + 3, variant}};
        for (const auto& [a, b] : rightOf) {
            EXPECT_LE(Step(tile(a), 255, tile(b), 0, true), limit(true)) << "tile " << a << " beside " << b;
        }
        const std::pair<int, int> below[] = {{first, first + 3}, {first + 1, middle}, {middle, first + 7}, {variant, first + 7}};
        for (const auto& [a, b] : below) {
            EXPECT_LE(Step(tile(a), 255, tile(b), 0, false), limit(false)) << "tile " << a << " above " << b;
        }
    }
    // The outer sides of border pieces are open space.
    EXPECT_EQ(tile(assetgen::kPlateFirst).At(0, 128), assetgen::kKeyBlack);
    EXPECT_EQ(tile(assetgen::kNebulaFirst + 8).At(255, 128), assetgen::kKeyBlack);
}

TEST(Generator, SameLevelsAndSoundsOnEveryRun) {
    const auto kinds = assetgen::MakeObjectKinds();
    const auto first = assetgen::MakeLevelFiles(kinds, assetgen::MakeLevels(kinds));
    const auto second = assetgen::MakeLevelFiles(kinds, assetgen::MakeLevels(kinds));
    ASSERT_EQ(first.size(), 1u + 2u * common::kLevelCount);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].fileName, second[i].fileName);
        EXPECT_EQ(first[i].bytes, second[i].bytes) << first[i].fileName;
    }
    const auto sounds = assetgen::MakeSoundEffects();
    const auto soundsAgain = assetgen::MakeSoundEffects();
    ASSERT_EQ(sounds.size(), 5u);
    for (std::size_t i = 0; i < sounds.size(); ++i) EXPECT_EQ(sounds[i].bytes, soundsAgain[i].bytes);
}

TEST(Levels, WrappedDistanceTakesTheShortWayRound) {
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(10, 0, 5110, 0), 20.0);
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(0, 5000, 0, 100), 220.0);
    EXPECT_DOUBLE_EQ(assetgen::WrappedDistance(0, 0, 30, 40), 50.0);
}

TEST(WavFile, RoundTripAndDamagedFiles) {
    assetgen::PcmSound sound;
    sound.sampleRate = 22050;
    sound.samples = {0, 1, -1, 32767, -32768, 1234};
    const auto bytes = assetgen::EncodeWav(sound);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    std::string error;
    const auto back = assetgen::DecodeWav(bytes, &error);
    ASSERT_TRUE(back.has_value()) << error;
    EXPECT_EQ(back->samples, sound.samples);
    EXPECT_EQ(back->sampleRate, 22050);
    auto cut = bytes;
    cut.resize(50);
    EXPECT_FALSE(assetgen::DecodeWav(cut, &error).has_value());
    EXPECT_EQ(assetgen::ToPcm16(std::vector<float>{2.0f, -2.0f, 0.5f}), (std::vector<std::int16_t>{32767, -32767, 16384}));
}

TEST(MeshFile, RoundTripKeepsEveryList) {
    for (const assetgen::Mesh& mesh : assetgen::MakeMeshes()) {
        std::string error;
        const auto back = assetgen::ParseX(assetgen::FormatX(mesh), &error);
        ASSERT_TRUE(back.has_value()) << error;
        ASSERT_EQ(back->positions.size(), mesh.positions.size());
        ASSERT_EQ(back->faces, mesh.faces);
        ASSERT_EQ(back->faceMaterials, mesh.faceMaterials);
        ASSERT_EQ(back->materials.size(), mesh.materials.size());
        EXPECT_EQ(back->materials[0].textureFile, mesh.materials[0].textureFile);
        for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
            EXPECT_NEAR(back->positions[i].x, mesh.positions[i].x, 1e-6f);
            EXPECT_NEAR(back->normals[i].z, mesh.normals[i].z, 1e-6f);
            EXPECT_NEAR(back->uvs[i][1], mesh.uvs[i][1], 1e-6f);
        }
    }
}

TEST(MeshFile, FacesPointOutwards) {
    // Every triangle's front (edge cross product) faces away from the centre.
    for (const assetgen::Mesh& mesh : assetgen::MakeMeshes()) {
        for (const auto& f : mesh.faces) {
            const auto& a = mesh.positions[f[0]];
            const auto& b = mesh.positions[f[1]];
            const auto& c = mesh.positions[f[2]];
            const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            EXPECT_GT(nx * (a.x + b.x + c.x) + ny * (a.y + b.y + c.y) + nz * (a.z + b.z + c.z), 0.0f);
        }
    }
}

TEST(MeshFile, BrokenFilesAreRefused) {
    std::string error;
    EXPECT_FALSE(assetgen::ParseX("xof 0302bin 0032", &error).has_value());
    EXPECT_FALSE(assetgen::ParseX("xof 0303txt 0032\nMesh {\n 3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n 1;\n 3;0,1,5;;\n}\n", &error).has_value());
    EXPECT_FALSE(assetgen::ParseX("xof 0303txt 0032\nMesh {\n 1;\n0;0;0;;\n", &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(OggVorbis, EncodedSamplesDecodeToTheSameLength) {
    std::vector<float> tone(2 * 30000);
    for (std::size_t i = 0; i < tone.size() / 2; ++i) {
        tone[2 * i] = tone[2 * i + 1] = 0.3f * assetgen::Sine(440.0 * static_cast<double>(i) / 44100.0);
    }
    const auto bytes = assetgen::EncodeOggVorbis(tone, 44100, 0.3f);
    std::string error;
    const auto decoded = assetgen::DecodeOggVorbis(bytes, &error);
    ASSERT_TRUE(decoded.has_value()) << error;
    EXPECT_EQ(decoded->framesDecoded, 30000);
    EXPECT_EQ(bytes, assetgen::EncodeOggVorbis(tone, 44100, 0.3f)) << "the same samples must give the same file";
    EXPECT_FALSE(assetgen::DecodeOggVorbis(std::vector<std::uint8_t>(100, 7), &error).has_value());
}

TEST(Raster, DownsamplingKeepsEdgeColoursAndScaledCopiesCover) {
    assetgen::Canvas canvas(4, 2);
    canvas.At(0, 0) = assetgen::Rgb(200, 100, 50);
    const assetgen::Canvas half = assetgen::Downsample(canvas, 2);
    ASSERT_EQ(half.width, 2);
    // One opaque pixel in four: a quarter covered, but its colour not darkened by the others.
    EXPECT_FLOAT_EQ(half.At(0, 0).a, 0.25f);
    EXPECT_NEAR(half.At(0, 0).r, 200.0f / 255.0f, 1e-6f);
    EXPECT_FLOAT_EQ(half.At(1, 0).a, 0.0f);
    assetgen::Canvas target(16, 16);
    assetgen::Canvas source(4, 4, assetgen::Rgb(10, 20, 30));
    assetgen::DrawCanvasScaled(target, source, 4, 4, 2.0f);
    EXPECT_FLOAT_EQ(target.At(4, 4).a, 1.0f);
    EXPECT_FLOAT_EQ(target.At(11, 11).a, 1.0f);
    EXPECT_FLOAT_EQ(target.At(12, 12).a, 0.0f);
    EXPECT_FLOAT_EQ(target.At(3, 3).a, 0.0f);
}

TEST(Raster, GrownCoverageReachesTheRadiusAndNoFurther) {
    common::Image dot(1, 1, 0xFF000000u | 0x00FFFFFFu);
    const common::Image grown = assetgen::GrowCoverage(dot, 2);
    ASSERT_EQ(grown.width, 5);
    EXPECT_EQ(grown.At(2, 0) >> 24, 255u);
    EXPECT_EQ(grown.At(0, 2) >> 24, 255u);
    EXPECT_EQ(grown.At(0, 0) >> 24, 0u) << "corners lie beyond a round radius";
}

TEST(Lettering, WordsAreCroppedToTheirInkAndFitWhereAsked) {
    common::Image padded(5, 4, 0);
    padded.At(2, 1) = 0x80FFFFFFu;
    padded.At(3, 2) = 0xFFFFFFFFu;
    const common::Image cropped = assetgen::CropToInk(padded);
    EXPECT_EQ(cropped.width, 2);
    EXPECT_EQ(cropped.height, 2);
    EXPECT_EQ(cropped.At(0, 0), 0x80FFFFFFu);
    EXPECT_TRUE(assetgen::CropToInk(common::Image(3, 3, 0)).Empty());

    assetgen::Lettering lettering;
    const int size = lettering.FitSize(assetgen::FontStyle::kBoldItalic, "High Scores", 200, 40, 60);
    const common::Image fits = lettering.Render(assetgen::FontStyle::kBoldItalic, size, "High Scores");
    EXPECT_LE(fits.width, 200);
    EXPECT_LE(fits.height, 40);
    const common::Image bigger = lettering.Render(assetgen::FontStyle::kBoldItalic, size + 1, "High Scores");
    EXPECT_TRUE(bigger.width > 200 || bigger.height > 40) << "a larger size would have fitted";
}

TEST(ContactSheet, TheSheetAndALevelMapAreWrittenAsReadablePngs) {
    common::Image sprite(16, 16, assetgen::kKeyBlack);
    sprite.At(8, 8) = 0xFFFF0000u;
    assetgen::Level level;
    level.number = 1;
    level.map.assign(400, 0);
    level.objects.push_back({"4", 1000, 1000, 0, 0, 8, 20});
    const auto folder = std::filesystem::temp_directory_path() / ("starwake-sheets-" + std::to_string(::getpid()));
    assetgen::Lettering lettering;
    std::string error;
    ASSERT_TRUE(assetgen::WriteContactSheets(folder, {{"Objects/Test.bmp", sprite, assetgen::kKeyBlack}}, {level},
                                             assetgen::MakeObjectKinds(), lettering, &error)) << error;
    const auto sheet = common::LoadPngFile(folder / "pictures.png", &error);
    ASSERT_TRUE(sheet.has_value()) << error;
    EXPECT_GE(sheet->width, 16 * 4);
    EXPECT_GE(sheet->height, 16 * 4);
    EXPECT_LE(std::int64_t{sheet->width} * sheet->height, 4096 * 4096);
    const auto plot = common::LoadPngFile(folder / "level01.png", &error);
    ASSERT_TRUE(plot.has_value()) << error;
    EXPECT_EQ(plot->width, 640);
    EXPECT_EQ(plot->height, 664);
    std::filesystem::remove_all(folder);
}

TEST(Music, ATunesEndsAreSilent) {
    // Its length, one to two minutes, is checked on the generated files.
    const std::vector<float> samples = assetgen::RenderTune(1);
    ASSERT_FALSE(samples.empty());
    EXPECT_FLOAT_EQ(samples.front(), 0.0f);
    EXPECT_FLOAT_EQ(samples.back(), 0.0f);
    float peak = 0.0f;
    for (float s : samples) {
        ASSERT_TRUE(std::isfinite(s));
        peak = std::max(peak, std::fabs(s));
    }
    EXPECT_LE(peak, 0.9f) << "room left for the encoder";
    EXPECT_GT(peak, 0.5f);
}

}  // namespace
