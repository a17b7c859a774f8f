// Music as the music service plays it: the checks of the Ogg stream, then the Vorbis decoder
// turning it into output frames. A mutated page nearly always fails its checksum and never
// reaches the decoder, so each input is read twice: as it is, and with the checksum of every
// whole page set right.
#include <cstring>
#include <string>
#include <vector>

#include "platform/sound_files.h"
#include "tools/fuzz/fuzz_input.h"

namespace {

void Decode(std::span<const std::uint8_t> bytes) {
    std::string error;
    const auto samples = platform::DecodeSoundBytes(bytes, platform::SoundFileType::kOggVorbis, &error);
    if (!samples) {
        FUZZ_REQUIRE(!error.empty());
        return;
    }
    FUZZ_REQUIRE(platform::CheckOggVorbis(bytes, nullptr));
    FUZZ_REQUIRE(samples->size() % platform::kOutputChannels == 0);
}

// Page after page from the start, as far as the pages are whole.
void RepairChecksums(std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kHeader = 27;
    std::size_t at = 0;
    while (bytes.size() - at >= kHeader && std::memcmp(bytes.data() + at, "OggS", 4) == 0) {
        const std::size_t segments = bytes[at + 26];
        if (bytes.size() - at < kHeader + segments) {
            return;
        }
        std::size_t length = kHeader + segments;
        for (std::size_t i = 0; i < segments; ++i) {
            length += bytes[at + kHeader + i];
        }
        if (bytes.size() - at < length) {
            return;
        }
        const std::uint32_t checksum = platform::OggPageChecksum(std::span(bytes).subspan(at, length));
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[at + 22 + i] = static_cast<std::uint8_t>(checksum >> (8 * i));
        }
        at += length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Decode({data, size});
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> repaired(data, data + size);
    RepairChecksums(repaired);
    if (std::memcmp(repaired.data(), data, size) != 0) {
        Decode(repaired);
    }
    return 0;
}
