// Rectangles of whole pixels (left, top, right, bottom; right and bottom exclusive) and their
// intersection, as the window system offers it.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// True when the two rectangles overlap; rectangles that only share an edge do not.
// The overlap goes to *out (empty when there is none).
inline bool IntersectRect(Rect* out, const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    const bool overlap = r.left < r.right && r.top < r.bottom;
    if (out != nullptr) {
        *out = overlap ? r : Rect{};
    }
    return overlap;
}

}  // namespace platform
