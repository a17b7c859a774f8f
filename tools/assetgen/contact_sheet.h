// Contact sheets for people: one PNG with every generated picture at a readable size, labelled
// with its file name (colour-keyed pixels shown as a grey checkerboard), one PNG per level
// with its map drawn small and its objects plotted on it, and one with a spectrogram of every
// sound effect and tune with its loudness.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/image.h"
#include "tools/assetgen/asset_set.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/levels.h"

namespace assetgen {

// A sound file as the game plays it (platform/sound_files.h).
struct DecodedSound {
    std::string fileName;
    std::vector<std::int16_t> samples;  // 16-bit interleaved stereo at the output's rate
};

// The effects and tunes among the generated files, decoded as the game decodes them; a file
// the game would refuse is left out, with the reason in *errors.
std::vector<DecodedSound> DecodeGeneratedSounds(const std::vector<DataFile>& files, std::vector<std::string>* errors);

common::Image PictureSheet(const std::vector<Picture>& pictures, Lettering& lettering);
common::Image LevelSheet(const Level& level, const std::vector<Picture>& tiles,
                         const std::vector<common::ObjectKind>& kinds, Lettering& lettering);

common::Image SoundSheet(const std::vector<DecodedSound>& sounds, Lettering& lettering);

// Writes pictures.png, level01.png .. level24.png and sounds.png; false with *error on failure.
bool WriteContactSheets(const std::filesystem::path& folder, const std::vector<Picture>& pictures,
                        const std::vector<Level>& levels, const std::vector<common::ObjectKind>& kinds,
                        const std::vector<DecodedSound>& sounds, Lettering& lettering, std::string* error);

}  // namespace assetgen

namespace assetgen {
struct Mesh;
// A 256 x 256 picture of a model turned by the given angles (radians), its texture mapped and a
// light from the upper left, for checking shapes and texture coordinates by eye.
common::Image MeshPreview(const Mesh& mesh, const common::Image& texture, float angleX, float angleY);
}  // namespace assetgen
