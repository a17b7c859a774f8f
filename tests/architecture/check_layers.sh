#!/usr/bin/env bash
# The project's layering, checked on the sources:
# - only platform/ talks to SDL, SDL_mixer, SDL_ttf and assimp (the benchmarks may, to measure
#   SDL's own renderer against ours);
# - the game reads time only through the platform clock and chance only through its own
#   generator (the replay module alone times real frames for its figures);
# - the game reads its data from the data folder (beside the programs or the installed tree),
#   never straight from the program folder;
# - the two programs share only common/: the launcher includes no game or platform header,
#   the game nothing of the launcher.
set -u
root=${1:?source folder}
cd "$root" || exit 2
status=0
fail() {
    echo "$1:"
    echo "$2"
    status=1
}

hits=$(grep -rnE '#include\s*[<"](SDL|assimp/)' --include='*.cpp' --include='*.h' \
    game launcher common tools tests | grep -v '^tools/bench/' || true)
[ -n "$hits" ] && fail "SDL or assimp included outside platform/" "$hits"

hits=$(grep -rnE 'std::chrono|\brand\(|\bsrand\(|random_device|mt19937|\btime\(|gettimeofday|clock_gettime|SDL_GetTicks' \
    --include='*.cpp' --include='*.h' game | grep -v '^game/shell/replay.cpp' || true)
[ -n "$hits" ] && fail "game code reading time or chance past the clock and the generator" "$hits"

hits=$(grep -rn 'ProgramFolder()' --include='*.cpp' --include='*.h' game || true)
[ -n "$hits" ] && fail "game code reading from the program folder instead of DataFolder()" "$hits"

hits=$(grep -rnE '#include\s*"(game|platform)/' --include='*.cpp' --include='*.h' launcher || true)
[ -n "$hits" ] && fail "the launcher including game or platform code" "$hits"

hits=$(grep -rnE '#include\s*"launcher/' --include='*.cpp' --include='*.h' game platform common || true)
[ -n "$hits" ] && fail "game code including the launcher" "$hits"

[ $status -eq 0 ] && echo "layering holds"
exit $status
