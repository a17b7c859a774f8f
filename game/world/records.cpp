#include "game/world/records.h"

namespace world {

WorldRecords records;

}  // namespace world
