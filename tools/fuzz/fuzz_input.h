// What the fuzz targets share: an input cut into the several files one reader takes together,
// and text views of bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace fuzz {

// Between two files of one input stands this line; an input with fewer markers leaves the
// last files empty.
inline constexpr std::string_view kFileMarker = "\n@@@@\n";

inline std::vector<std::span<const std::uint8_t>> SplitFiles(const std::uint8_t* data, std::size_t size,
                                                            std::size_t files) {
    std::vector<std::span<const std::uint8_t>> parts;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    while (parts.size() + 1 < files) {
        const std::size_t marker = all.find(kFileMarker, at);
        if (marker == std::string_view::npos) {
            break;
        }
        parts.emplace_back(data + at, marker - at);
        at = marker + kFileMarker.size();
    }
    parts.emplace_back(data + at, size - at);
    parts.resize(files);
    return parts;
}

inline std::string_view Text(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Stops the run as a finding when a property of the reader fails.
#define FUZZ_REQUIRE(condition)                                                            \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::fflush(stderr);                                                           \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

}  // namespace fuzz

// Called by libFuzzer before the first input (the test build's main does not). The readers
// name on standard error every line they skip, dozens an input: buffered, those lines cost no
// system call each. Sanitizer reports do not go through it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char buffer[1 << 16];
    std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
    return 0;
}
