#include "platform/raster.h"

namespace platform::raster {

SpanFunction VectorSpan(Blend, Filter, bool) { return nullptr; }

bool VectorSpansSupported() { return false; }

}  // namespace platform::raster
