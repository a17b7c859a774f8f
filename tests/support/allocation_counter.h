// Counts every allocation through operator new in the program that links it. Only programs of
// their own link it: the replacement would hide the sanitizer's checks of new and delete.
#pragma once

#include <cstdint>

namespace test_support {

// The number of calls to operator new since the program started.
std::uint64_t AllocationCount();

}  // namespace test_support
