#include "tools/assetgen/generator.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "tools/assetgen/hud_pictures.h"
#include "tools/assetgen/icons.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/meshes_x.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/program_folder.h"
#include "tools/assetgen/sound_synth.h"
#include "tools/assetgen/sprites.h"
#include "tools/assetgen/tiles.h"

namespace assetgen {

namespace {

// What one job makes.
struct JobResult {
    std::vector<Picture> pictures;
    std::vector<DataFile> files;
};

void Append(std::vector<Picture>& to, std::vector<Picture> from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

GeneratedSet GenerateAll(int threads) {
    GeneratedSet set;
    set.kinds = MakeObjectKinds();
    set.levels = MakeLevels(set.kinds);
    // The jobs, longest first so the threads finish together. Only the lettering job uses the
    // font library.
    std::vector<std::function<JobResult()>> jobs;
    for (int tune = 0; tune < 4; ++tune) {
        jobs.push_back([tune] { return JobResult{{}, {MakeTune(tune)}}; });
    }
    jobs.push_back([] { return JobResult{MakeTiles(), {}}; });
    jobs.push_back([] {
        Lettering lettering;
        JobResult result{MakeHudPictures(lettering), {}};
        Append(result.pictures, MakeScreenPictures(lettering));
        return result;
    });
    jobs.push_back([] {
        JobResult result{MakeShipPictures(), {}};
        Append(result.pictures, MakeObjectSprites());
        Append(result.pictures, MakeSmallSprites());
        return result;
    });
    jobs.push_back([] { return JobResult{MakeExplosionFrames(), {}}; });
    jobs.push_back([] { return JobResult{MakeMeshTextures(), MakeMeshFiles()}; });
    jobs.push_back([] { return JobResult{{}, MakeSoundEffects()}; });
    jobs.push_back([&set] {
        JobResult result{{}, MakeLevelFiles(set.kinds, set.levels)};
        result.files.push_back(MakeKeysFile());
        return result;
    });
    jobs.push_back([] { return JobResult{{}, MakeIcons()}; });

    std::vector<JobResult> results(jobs.size());
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t job = next++; job < jobs.size(); job = next++) {
            results[job] = jobs[job]();
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < std::max(1, threads); ++i) pool.emplace_back(worker);
    worker();
    for (std::thread& thread : pool) thread.join();

    // Pictures in the order a reader looks for them: the screen set, ships, sprites, tiles.
    const int order[] = {5, 6, 7, 4, 8, 0, 1, 2, 3, 9, 10, 11};
    for (int job : order) {
        Append(set.pictures, std::move(results[static_cast<std::size_t>(job)].pictures));
        for (DataFile& file : results[static_cast<std::size_t>(job)].files) set.files.push_back(std::move(file));
    }
    return set;
}

}  // namespace assetgen
