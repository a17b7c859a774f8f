// Little-endian fields of binary files, read from and appended to byte buffers. Readers check
// the offset against the buffer themselves before calling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace common {

inline std::uint32_t ReadLe16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

inline std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t at) {
    return ReadLe16(b, at) | (ReadLe16(b, at + 2) << 16);
}

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

}  // namespace common
