#include "platform/sound_files.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "common/file_io.h"
#include "common/little_endian.h"
#include "common/wav_file.h"

namespace platform {

namespace {

constexpr std::size_t kStereo = kOutputChannels;

// Turns frames of one rate and channel count into output frames, interpolating linearly
// between neighbouring input frames. Fed a block at a time, it carries its position and the
// last frame from one block to the next; at the output's own rate frames pass unchanged.
class Resampler {
public:
    Resampler(int rate, int channels)
        : channels_(static_cast<std::size_t>(channels)),
          sameRate_(rate == kOutputRate),
          step_((static_cast<std::uint64_t>(rate) << 32) / kOutputRate) {}

    // Appends the output frames of a block of interleaved input to out.
    void Feed(std::span<const std::int16_t> in, std::vector<std::int16_t>& out) {
        const std::size_t frames = in.size() / channels_;
        if (frames == 0) {
            return;
        }
        if (sameRate_) {
            CopyFrames(in.data(), frames, out);
            return;
        }
        Interpolate(in.data(), frames, out);
        for (std::size_t c = 0; c < channels_; ++c) {
            last_[c] = in[(frames - 1) * channels_ + c];
        }
    }

    // Appends the output frames that fall within the last frame fed, which holds to its end.
    void Finish(std::vector<std::int16_t>& out) {
        if (sameRate_) {
            return;
        }
        for (; (position_ >> 32) == 0; position_ += step_) {
            out.push_back(last_[0]);
            out.push_back(last_[channels_ - 1]);
        }
    }

private:
    // A mono sound plays the same on both sides.
    std::size_t Source(std::size_t outputChannel) const { return outputChannel == 0 ? 0 : channels_ - 1; }

    // Position k of a block is its input frame k - 1; position 0 is the previous block's last.
    std::int32_t At(const std::int16_t* from, std::size_t k, std::size_t c) const {
        return k == 0 ? last_[c] : from[(k - 1) * channels_ + c];
    }

    // Appends frames*2 samples and returns where they start.
    static std::int16_t* Grow(std::vector<std::int16_t>& out, std::size_t frames) {
        const std::size_t first = out.size();
        out.resize(first + frames * kStereo);
        return out.data() + first;
    }

    // a + (b - a) * fraction, with 15 bits of fraction so the product stays within 32 bits.
    static std::int16_t Between(std::int32_t a, std::int32_t b, std::int32_t fraction) {
        return static_cast<std::int16_t>(a + (((b - a) * fraction) >> 15));
    }

    void CopyFrames(const std::int16_t* from, std::size_t frames, std::vector<std::int16_t>& out) const {
        std::int16_t* to = Grow(out, frames);
        for (std::size_t i = 0; i < frames; ++i) {
            for (std::size_t c = 0; c < kStereo; ++c) to[kStereo * i + c] = from[i * channels_ + Source(c)];
        }
    }

    void Interpolate(const std::int16_t* from, std::size_t frames, std::vector<std::int16_t>& out) {
        // 32.32 fixed point positions, from the previous block's last frame.
        const std::uint64_t end = static_cast<std::uint64_t>(frames) << 32;
        const std::size_t count = position_ < end ? static_cast<std::size_t>((end - position_ + step_ - 1) / step_) : 0;
        std::int16_t* to = Grow(out, count);
        for (std::size_t j = 0; j < count; ++j, position_ += step_) {
            const auto k = static_cast<std::size_t>(position_ >> 32);
            const auto fraction = static_cast<std::int32_t>((position_ >> 17) & 0x7FFF);
            for (std::size_t c = 0; c < kStereo; ++c) {
                to[kStereo * j + c] = Between(At(from, k, Source(c)), from[k * channels_ + Source(c)], fraction);
            }
        }
        position_ -= end;
    }

    std::size_t channels_;
    bool sameRate_;
    std::uint64_t step_;                   // input frames per output frame, 32.32 fixed point
    std::uint64_t position_ = 1ull << 32;  // of the next output frame; starts on the first input frame
    std::array<std::int16_t, 2> last_{};   // the previous block's last frame
};

// The checksum of Ogg pages: CRC-32 with polynomial 0x04C11DB7, most significant bit first,
// starting from 0, taken with the page's own checksum field as zeros. Four tables let it take
// four bytes a step (table n gives a byte's effect n bytes further on).
using CrcTables = std::array<std::array<std::uint32_t, 256>, 4>;
constexpr CrcTables MakeOggCrcTables() {
    CrcTables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        }
        tables[0][i] = r;
    }
    for (std::size_t n = 1; n < 4; ++n) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            const std::uint32_t previous = tables[n - 1][i];
            tables[n][i] = (previous << 8) ^ tables[0][previous >> 24];
        }
    }
    return tables;
}
constexpr CrcTables kOggCrc = MakeOggCrcTables();

std::uint32_t AddToChecksum(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    std::size_t i = 0;
    for (; i + 4 <= bytes.size(); i += 4) {
        crc ^= (static_cast<std::uint32_t>(bytes[i]) << 24) | (static_cast<std::uint32_t>(bytes[i + 1]) << 16) |
               (static_cast<std::uint32_t>(bytes[i + 2]) << 8) | bytes[i + 3];
        crc = kOggCrc[3][crc >> 24] ^ kOggCrc[2][(crc >> 16) & 0xFF] ^ kOggCrc[1][(crc >> 8) & 0xFF] ^ kOggCrc[0][crc & 0xFF];
    }
    for (; i < bytes.size(); ++i) {
        crc = (crc << 8) ^ kOggCrc[0][((crc >> 24) ^ bytes[i]) & 0xFF];
    }
    return crc;
}

constexpr std::size_t kPageHeaderBytes = 27;
constexpr std::size_t kPageChecksumAt = 22;
constexpr std::uint8_t kFirstPageFlag = 0x02;
constexpr std::uint8_t kLastPageFlag = 0x04;

bool Refuse(std::string* error, const std::string& why) {
    if (error) {
        *error = why;
    }
    return false;
}

// The Vorbis identification header, alone on the first page: packet type 1, "vorbis",
// version 0, then the channels and the rate.
bool CheckVorbisIdentification(std::span<const std::uint8_t> body, std::string* error) {
    if (body.size() < 16 || body[0] != 1 || std::memcmp(body.data() + 1, "vorbis", 6) != 0) {
        return Refuse(error, "an Ogg file, but not of Vorbis audio");
    }
    if (common::ReadLe32(body, 7) != 0) {
        return Refuse(error, "Vorbis version " + std::to_string(common::ReadLe32(body, 7)) + " cannot be played");
    }
    const int channels = body[11];
    if (channels < 1 || channels > 2) {
        return Refuse(error, "has " + std::to_string(channels) + " channels; 1 or 2 can be played");
    }
    const std::uint32_t rate = common::ReadLe32(body, 12);
    if (rate < static_cast<std::uint32_t>(common::kMinSampleRate) ||
        rate > static_cast<std::uint32_t>(common::kMaxSampleRate)) {
        return Refuse(error, "declares a rate of " + std::to_string(rate) + " Hz");
    }
    return true;
}

// libvorbisfile reads the checked bytes from memory.
struct MemorySource {
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;  // where the decoder reads next
};

std::size_t ReadMemory(void* destination, std::size_t size, std::size_t count, void* source) {
    auto* memory = static_cast<MemorySource*>(source);
    if (size == 0) {
        return 0;
    }
    const std::size_t want = std::min(size * count, memory->bytes.size() - memory->at);
    std::memcpy(destination, memory->bytes.data() + memory->at, want);
    memory->at += want;
    return want / size;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* memory = static_cast<MemorySource*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(memory->at);
    if (whence == SEEK_END) base = static_cast<ogg_int64_t>(memory->bytes.size());
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(memory->bytes.size())) {
        return -1;
    }
    memory->at = static_cast<std::size_t>(target);
    return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->at); }

// The longest stretch DecodeSoundBytes decodes of a tune.
constexpr std::size_t kMaxDecodedFrames = static_cast<std::size_t>(kOutputRate) * 600;

}  // namespace

struct MusicDecoder::Stream {
    MemorySource source;
    OggVorbis_File file{};
    bool opened = false;
    std::optional<Resampler> resampler;
    std::vector<std::int16_t> pending;  // output samples decoded but not yet handed out
    std::size_t pendingAt = 0;
    bool ended = false;

    ~Stream() {
        if (opened) {
            ov_clear(&file);
        }
    }
};

std::uint32_t OggPageChecksum(std::span<const std::uint8_t> page) {
    constexpr std::array<std::uint8_t, 4> kZeros{};
    std::uint32_t crc = AddToChecksum(0, page.first(kPageChecksumAt));
    crc = AddToChecksum(crc, kZeros);
    return AddToChecksum(crc, page.subspan(kPageChecksumAt + 4));
}

std::optional<std::vector<std::uint8_t>> ReadSoundFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                                       std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<std::vector<std::uint8_t>> {
        if (error) {
            *error = path.string() + ": " + why;
        }
        return std::nullopt;
    };
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        return fail(std::filesystem::exists(path, code) ? "not a file that can be read" : "no such file");
    }
    if (size == 0) {
        return fail("empty");
    }
    if (size > maxBytes) {
        return fail(std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) +
                    " a sound file of its kind may hold");
    }
    return common::ReadFileBytes(path, static_cast<std::size_t>(maxBytes), error);
}

std::optional<std::vector<std::int16_t>> DecodeEffect(std::span<const std::uint8_t> wavBytes, std::string* error) {
    const std::optional<common::PcmSound> sound = common::DecodeWav(wavBytes, error);
    if (!sound) {
        return std::nullopt;
    }
    const std::size_t frames = sound->samples.size() / static_cast<std::size_t>(sound->channels);
    std::vector<std::int16_t> out;
    out.reserve((frames * kOutputRate / static_cast<std::size_t>(sound->sampleRate) + 2) * kOutputChannels);
    Resampler resampler(sound->sampleRate, sound->channels);
    resampler.Feed(sound->samples, out);
    resampler.Finish(out);
    return out;
}

bool CheckOggVorbis(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 4 || std::memcmp(bytes.data(), "OggS", 4) != 0) {
        return Refuse(error, "not an Ogg file");
    }
    std::size_t at = 0;
    std::uint32_t serial = 0;
    std::uint32_t pages = 0;
    bool ended = false;
    while (at < bytes.size()) {
        const std::string where = "the page at byte " + std::to_string(at);
        if (ended) {
            return Refuse(error, "holds more after its end-of-stream page");
        }
        if (bytes.size() - at < kPageHeaderBytes) {
            return Refuse(error, "cut short: " + where + " is not whole");
        }
        if (std::memcmp(bytes.data() + at, "OggS", 4) != 0 || bytes[at + 4] != 0) {
            return Refuse(error, "damaged: no page starts at byte " + std::to_string(at));
        }
        const std::uint8_t flags = bytes[at + 5];
        const std::uint32_t pageSerial = common::ReadLe32(bytes, at + 14);
        const std::uint32_t sequence = common::ReadLe32(bytes, at + 18);
        const std::size_t segments = bytes[at + 26];
        const std::size_t header = kPageHeaderBytes + segments;
        if (bytes.size() - at < header) {
            return Refuse(error, "cut short: " + where + " is not whole");
        }
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) {
            body += bytes[at + kPageHeaderBytes + i];
        }
        if (bytes.size() - at - header < body) {
            return Refuse(error, "cut short: " + where + " is not whole");
        }
        const std::span<const std::uint8_t> page = bytes.subspan(at, header + body);
        if (OggPageChecksum(page) != common::ReadLe32(page, kPageChecksumAt)) {
            return Refuse(error, "damaged: " + where + " does not match its checksum");
        }
        if (pages == 0) {
            if ((flags & kFirstPageFlag) == 0) {
                return Refuse(error, "cut: it does not begin with the start of a stream");
            }
            serial = pageSerial;
            if (!CheckVorbisIdentification(page.subspan(header), error)) {
                return false;
            }
        } else if (pageSerial != serial || (flags & kFirstPageFlag) != 0) {
            return Refuse(error, "holds more than one stream");
        }
        if (sequence != pages) {
            return Refuse(error, "damaged: page " + std::to_string(pages) + " is missing");
        }
        ended = (flags & kLastPageFlag) != 0;
        ++pages;
        at += header + body;
    }
    if (!ended) {
        return Refuse(error, "cut short: it ends without its end-of-stream page");
    }
    return true;
}

MusicDecoder::MusicDecoder(std::unique_ptr<Stream> stream) : stream_(std::move(stream)) {}
MusicDecoder::~MusicDecoder() = default;

std::unique_ptr<MusicDecoder> MusicDecoder::Open(std::vector<std::uint8_t> bytes, std::string* error) {
    if (!CheckOggVorbis(bytes, error)) {
        return nullptr;
    }
    auto stream = std::make_unique<Stream>();
    stream->source.bytes = std::move(bytes);
    const ov_callbacks callbacks = {ReadMemory, SeekMemory, nullptr, TellMemory};
    // A failed open clears the decoder's state itself.
    if (ov_open_callbacks(&stream->source, &stream->file, nullptr, 0, callbacks) != 0) {
        Refuse(error, "its Vorbis headers cannot be read");
        return nullptr;
    }
    stream->opened = true;
    const vorbis_info* info = ov_info(&stream->file, -1);
    if (info == nullptr || info->channels < 1 || info->channels > 2) {
        Refuse(error, "its Vorbis headers cannot be read");
        return nullptr;
    }
    stream->resampler.emplace(static_cast<int>(info->rate), info->channels);
    return std::unique_ptr<MusicDecoder>(new MusicDecoder(std::move(stream)));
}

long MusicDecoder::Read(std::span<std::int16_t> out) {
    Stream& s = *stream_;
    std::size_t filled = 0;
    while (filled < out.size()) {
        if (s.pendingAt < s.pending.size()) {
            const std::size_t count = std::min(out.size() - filled, s.pending.size() - s.pendingAt);
            std::copy_n(s.pending.begin() + static_cast<std::ptrdiff_t>(s.pendingAt), count, out.begin() + static_cast<std::ptrdiff_t>(filled));
            s.pendingAt += count;
            filled += count;
            continue;
        }
        if (s.ended) {
            break;
        }
        s.pending.clear();
        s.pendingAt = 0;
        std::array<std::int16_t, 2048> block;
        int section = 0;
        const long got = ov_read(&s.file, reinterpret_cast<char*>(block.data()), sizeof block,
                                 std::endian::native == std::endian::big ? 1 : 0, 2, 1, &section);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            s.ended = true;
            s.resampler->Finish(s.pending);
            continue;
        }
        s.resampler->Feed(std::span<const std::int16_t>(block.data(), static_cast<std::size_t>(got) / 2), s.pending);
    }
    return static_cast<long>(filled / kOutputChannels);
}

std::optional<std::vector<std::int16_t>> DecodeSoundBytes(std::span<const std::uint8_t> bytes, SoundFileType type,
                                                          std::string* error) {
    if (type == SoundFileType::kWav) {
        return DecodeEffect(bytes, error);
    }
    const std::unique_ptr<MusicDecoder> decoder =
        MusicDecoder::Open(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), error);
    if (!decoder) {
        return std::nullopt;
    }
    std::vector<std::int16_t> samples;
    std::array<std::int16_t, 4096> block;
    while (samples.size() < kMaxDecodedFrames * kOutputChannels) {
        const long frames = decoder->Read(block);
        if (frames < 0) {
            Refuse(error, "damaged Vorbis data");
            return std::nullopt;
        }
        samples.insert(samples.end(), block.begin(), block.begin() + frames * kOutputChannels);
        if (static_cast<std::size_t>(frames) * kOutputChannels < block.size()) {
            break;
        }
    }
    return samples;
}

}  // namespace platform
