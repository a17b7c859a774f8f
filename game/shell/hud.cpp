#include "game/shell/hud.h"

namespace shell {

void DrawScoreAndMoney() {}

void DrawHud() {}

}  // namespace shell
