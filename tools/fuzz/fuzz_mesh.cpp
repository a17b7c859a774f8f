// ".x" models as the mesh table loads them: our pre-scan, the model library, the checks after
// it, and each material's texture name looked up inside the program folder.
#include <filesystem>
#include <string>

#include "common/data_paths.h"
#include "platform/mesh_loader.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = std::filesystem::temp_directory_path() / "starwake-fuzz-no-data";
    std::string error;
    const auto mesh = platform::LoadMeshFromBytes({data, size}, "asteroid.x", &error);
    if (!mesh) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    FUZZ_REQUIRE(mesh->subsets.size() == mesh->materials.size());
    for (const auto& subset : mesh->subsets) {
        FUZZ_REQUIRE(subset.size() % 3 == 0);
        for (std::uint32_t index : subset) {
            FUZZ_REQUIRE(index < mesh->vertices.size());
        }
    }
    for (const platform::MeshMaterial& material : mesh->materials) {
        if (material.textureFile.empty()) {
            continue;
        }
        if (const auto file = common::DataFilePath(folder, material.textureFile, &error)) {
            const std::string inside = folder.lexically_normal().string();
            FUZZ_REQUIRE(file->string().compare(0, inside.size(), inside) == 0);
        }
    }
    return 0;
}
