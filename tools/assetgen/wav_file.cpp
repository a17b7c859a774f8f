#include "tools/assetgen/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace assetgen {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) { return Get16(b, at) | (Get16(b, at + 2) << 16); }

}  // namespace

std::vector<std::int16_t> ToPcm16(std::span<const float> samples) {
    std::vector<std::int16_t> out;
    out.reserve(samples.size());
    for (float s : samples) {
        const float clipped = std::clamp(s, -1.0f, 1.0f);
        out.push_back(static_cast<std::int16_t>(std::lround(clipped * 32767.0f)));
    }
    return out;
}

std::vector<std::uint8_t> EncodeWav(const PcmSound& sound) {
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, static_cast<std::uint32_t>(sound.channels));
    Put32(out, static_cast<std::uint32_t>(sound.sampleRate));
    Put32(out, static_cast<std::uint32_t>(sound.sampleRate * sound.channels * 2));
    Put16(out, static_cast<std::uint32_t>(sound.channels * 2));
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (std::int16_t s : sound.samples) {
        Put16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

std::optional<PcmSound> DecodeWav(std::span<const std::uint8_t> bytes, std::string* error) {
    const auto fail = [&](const char* why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return fail("not a RIFF WAVE file");
    }
    PcmSound sound;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = Get32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return fail("chunk runs past the end of the file");
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0) {
            if (size < 16 || Get16(bytes, body) != 1 || Get16(bytes, body + 14) != 16) {
                return fail("not 16-bit PCM");
            }
            sound.channels = static_cast<int>(Get16(bytes, body + 2));
            sound.sampleRate = static_cast<int>(Get32(bytes, body + 4));
            if (sound.channels < 1 || sound.channels > 2 || sound.sampleRate <= 0) return fail("bad format");
            haveFormat = true;
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            if (!haveFormat) return fail("data before format");
            if (size % (2 * static_cast<std::uint32_t>(sound.channels)) != 0) return fail("partial frame");
            for (std::size_t i = 0; i < size; i += 2) {
                sound.samples.push_back(static_cast<std::int16_t>(Get16(bytes, body + i)));
            }
            return sound;
        }
        at = body + size + (size & 1);
    }
    return fail("no data chunk");
}

}  // namespace assetgen
