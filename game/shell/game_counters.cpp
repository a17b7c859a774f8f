#include "game/shell/game_counters.h"

namespace shell {

GameCounters counters;

}  // namespace shell
