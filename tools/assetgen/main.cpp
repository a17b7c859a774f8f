// assetgen: makes every data file the game and the launcher read, from a fixed seed, into a
// program folder; optionally also the contact sheets, and the player's files as they ship (for
// an install, whatever the program folder's own copies hold by now).
//
//   assetgen --out DIR [--sheets DIR] [--shipped DIR] [--threads N]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/meshes_x.h"
#include "tools/assetgen/program_folder.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: assetgen --out DIR [--sheets DIR] [--shipped DIR] [--threads N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path out;
    std::filesystem::path sheets;
    std::filesystem::path shipped;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
            out = argv[++i];
        } else if (std::strcmp(argv[i], "--sheets") == 0 && hasValue) {
            sheets = argv[++i];
        } else if (std::strcmp(argv[i], "--shipped") == 0 && hasValue) {
            shipped = argv[++i];
        } else if (std::strcmp(argv[i], "--threads") == 0 && hasValue) {
            threads = std::atoi(argv[++i]);
            if (threads < 1) return Usage();
        } else {
            return Usage();
        }
    }
    if (out.empty()) return Usage();

    const auto start = std::chrono::steady_clock::now();
    const assetgen::GeneratedSet set = assetgen::GenerateAll(threads);
    std::string error;
    if (!assetgen::WriteGeneratedFiles(out, set.pictures, set.files, &error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> written;
    if (!assetgen::WritePlayerFilesIfMissing(out, &written, &error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& name : written) {
        std::printf("assetgen: wrote the first %s\n", name.c_str());
    }
    if (!shipped.empty() && !assetgen::WriteGeneratedFiles(shipped, {}, assetgen::ShippedPlayerFiles(), &error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    if (!sheets.empty()) {
        assetgen::Lettering lettering;
        // The models are shown on the sheet too, each from two sides.
        std::vector<assetgen::Picture> shown = set.pictures;
        const std::vector<assetgen::Mesh> meshes = assetgen::MakeMeshes();
        for (std::size_t i = 0; i < meshes.size(); ++i) {
            common::Image texture;
            for (const assetgen::Picture& picture : set.pictures) {
                if (picture.fileName == meshes[i].materials[0].textureFile) texture = picture.image;
            }
            const std::string name = assetgen::kMeshKinds[i].fileName;
            shown.push_back({name + " (front)", assetgen::MeshPreview(meshes[i], texture, 0.0f, 0.0f), 0});
            shown.push_back({name + " (turned)", assetgen::MeshPreview(meshes[i], texture, 1.1f, 0.7f), 0});
        }
        std::vector<std::string> refused;
        const std::vector<assetgen::DecodedSound> sounds = assetgen::DecodeGeneratedSounds(set.files, &refused);
        for (const std::string& why : refused) {
            std::fprintf(stderr, "assetgen: the game would refuse %s\n", why.c_str());
        }
        if (!assetgen::WriteContactSheets(sheets, shown, set.levels, set.kinds, sounds, lettering, &error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %zu pictures and %zu other files in %s (%.1f s, %d threads)\n", set.pictures.size(),
                set.files.size(), out.string().c_str(), seconds, threads);
    return 0;
}
