#include "game/screens/shop.h"

namespace screens {

void ShowShop() {}

}  // namespace screens
