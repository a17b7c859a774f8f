#include "common/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/little_endian.h"

namespace common {

namespace {

constexpr std::uint32_t kFormatPcm = 1;
constexpr std::uint32_t kFormatExtensible = 0xFFFE;

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

bool IsTag(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::optional<PcmSound> Fail(std::string* error, const std::string& why) {
    if (error) {
        *error = why;
    }
    return std::nullopt;
}

struct Format {
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

// The "fmt " chunk; false with *why when the file holds a format the game cannot play.
bool ReadFormat(std::span<const std::uint8_t> body, Format& format, std::string& why) {
    if (body.size() < 16) {
        why = "format chunk too short";
        return false;
    }
    std::uint32_t tag = ReadLe16(body, 0);
    // The extensible header names the real format in the first two bytes of its sub-format.
    if (tag == kFormatExtensible && body.size() >= 26) {
        tag = ReadLe16(body, 24);
    }
    format.channels = static_cast<int>(ReadLe16(body, 2));
    const std::uint32_t rate = ReadLe32(body, 4);
    const std::uint32_t blockAlign = ReadLe16(body, 12);
    format.bits = static_cast<int>(ReadLe16(body, 14));
    if (tag != kFormatPcm) {
        why = "compressed (format " + std::to_string(tag) + "); only PCM samples can be played";
        return false;
    }
    if (format.channels < 1 || format.channels > 2) {
        why = "has " + std::to_string(format.channels) + " channels; 1 or 2 can be played";
        return false;
    }
    if (rate < static_cast<std::uint32_t>(kMinSampleRate) || rate > static_cast<std::uint32_t>(kMaxSampleRate)) {
        why = "declares a rate of " + std::to_string(rate) + " Hz";
        return false;
    }
    format.rate = static_cast<int>(rate);
    if (format.bits != 8 && format.bits != 16) {
        why = "has " + std::to_string(format.bits) + "-bit samples; 8 and 16 bits can be played";
        return false;
    }
    if (blockAlign != static_cast<std::uint32_t>(format.channels * format.bits / 8)) {
        why = "declares " + std::to_string(blockAlign) + " bytes a frame for " + std::to_string(format.channels) +
              " channels of " + std::to_string(format.bits) + " bits";
        return false;
    }
    return true;
}

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
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutLe32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe32(out, 16);
    PutLe16(out, kFormatPcm);
    PutLe16(out, static_cast<std::uint32_t>(sound.channels));
    PutLe32(out, static_cast<std::uint32_t>(sound.sampleRate));
    PutLe32(out, static_cast<std::uint32_t>(sound.sampleRate * sound.channels * 2));
    PutLe16(out, static_cast<std::uint32_t>(sound.channels * 2));
    PutLe16(out, 16);
    PutTag(out, "data");
    PutLe32(out, dataBytes);
    for (std::int16_t s : sound.samples) {
        PutLe16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

std::optional<PcmSound> DecodeWav(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 12 || !IsTag(bytes, 0, "RIFF") || !IsTag(bytes, 8, "WAVE")) {
        return Fail(error, "not a RIFF WAVE file");
    }
    const std::uint32_t riffSize = ReadLe32(bytes, 4);
    if (riffSize > bytes.size() - 8) {
        return Fail(error, "declares " + std::to_string(riffSize) + " bytes but holds " +
                               std::to_string(bytes.size() - 8));
    }
    // Chunks are read within the size the header declares; anything after it is not the file's.
    const std::span<const std::uint8_t> riff = bytes.first(8 + riffSize);
    Format format;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= riff.size()) {
        const std::uint32_t size = ReadLe32(riff, at + 4);
        const std::size_t body = at + 8;
        if (size > riff.size() - body) {
            return Fail(error, "chunk at byte " + std::to_string(at) + " declares " + std::to_string(size) +
                                   " bytes but only " + std::to_string(riff.size() - body) + " follow");
        }
        if (IsTag(riff, at, "fmt ")) {
            std::string why;
            if (!ReadFormat(riff.subspan(body, size), format, why)) {
                return Fail(error, why);
            }
            haveFormat = true;
        } else if (IsTag(riff, at, "data")) {
            if (!haveFormat) {
                return Fail(error, "sample data before the format chunk");
            }
            const std::uint32_t frameBytes = static_cast<std::uint32_t>(format.channels * format.bits / 8);
            if (size < frameBytes) {
                return Fail(error, "holds no samples");
            }
            PcmSound sound;
            sound.sampleRate = format.rate;
            sound.channels = format.channels;
            // A partial frame at the end is dropped, as a player would.
            const std::size_t count = (size / frameBytes) * static_cast<std::size_t>(format.channels);
            sound.samples.resize(count);
            const std::uint8_t* data = riff.data() + body;
            if (format.bits == 8) {
                // 8-bit samples are unsigned around 128.
                for (std::size_t i = 0; i < count; ++i) {
                    sound.samples[i] = static_cast<std::int16_t>((static_cast<int>(data[i]) - 128) * 256);
                }
            } else {
                for (std::size_t i = 0; i < count; ++i) {
                    sound.samples[i] = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
                }
            }
            return sound;
        }
        at = body + size + (size & 1);
    }
    return Fail(error, haveFormat ? "has no sample data" : "has no format chunk");
}

}  // namespace common
