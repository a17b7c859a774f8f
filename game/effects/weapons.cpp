#include "game/effects/weapons.h"

namespace effects {

void FireWeapons() {}

}  // namespace effects
