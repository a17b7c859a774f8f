#include "common/replay_file.h"

#include <zlib.h>

#include <algorithm>

#include "common/file_io.h"

namespace common {

namespace {

constexpr std::uint8_t kMagic[8] = {'S', 'W', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr std::uint8_t kFrameTag = 0x01;
constexpr std::uint8_t kEndTag = 0xFF;
// Limits a reader enforces so junk can never ask for absurd amounts of memory.
constexpr std::size_t kMaxWords = 64;
constexpr std::size_t kMaxText = 4096;
constexpr std::uint64_t kMaxPerFrame = 1u << 20;
constexpr std::size_t kMaxReplayBytes = 512u << 20;

void PutVarint(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t ZigZag(std::int64_t v) {
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
std::int64_t UnZigZag(std::uint64_t v) {
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

void PutText(std::vector<std::uint8_t>& out, std::string_view text) {
    PutVarint(out, text.size());
    out.insert(out.end(), text.begin(), text.end());
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// A cursor over the file that fails softly: any read past the end or any absurd count stops
// decoding with a message naming the byte.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Fail(const std::string& why) {
        if (error_.empty()) {
            error_ = why + " at byte " + std::to_string(at_);
        }
        return false;
    }
    bool Byte(std::uint8_t& out) {
        if (at_ >= bytes_.size()) {
            return Fail("file ends too early");
        }
        out = bytes_[at_++];
        return true;
    }
    bool Varint(std::uint64_t& out) {
        out = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t b = 0;
            if (!Byte(b)) {
                return false;
            }
            out |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) {
                return true;
            }
        }
        return Fail("number too long");
    }
    bool Count(std::uint64_t& out, std::uint64_t limit, const char* what) {
        if (!Varint(out)) {
            return false;
        }
        if (out > limit) {
            return Fail(std::string("impossible ") + what + " count " + std::to_string(out));
        }
        return true;
    }
    bool Text(std::string& out) {
        std::uint64_t length = 0;
        if (!Count(length, kMaxText, "text length")) {
            return false;
        }
        if (length > bytes_.size() - at_) {
            return Fail("file ends too early");
        }
        out.assign(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        return true;
    }
    bool U32(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b)) {
                return false;
            }
            out |= static_cast<std::uint32_t>(b) << (8 * i);
        }
        return true;
    }
    std::size_t at() const { return at_; }
    std::size_t size() const { return bytes_.size(); }
    const std::string& error() const { return error_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

ReplayEncoder::ReplayEncoder(const ReplayHeader& header) {
    pending_.assign(std::begin(kMagic), std::end(kMagic));
    pending_.push_back(static_cast<std::uint8_t>(header.formatVersion));
    pending_.push_back(static_cast<std::uint8_t>(header.formatVersion >> 8));
    PutText(pending_, header.programVersion);
    PutVarint(pending_, header.words.size());
    for (const std::string& word : header.words) {
        PutText(pending_, word);
    }
    for (int i = 0; i < 8; ++i) {
        pending_.push_back(static_cast<std::uint8_t>(header.dataDigest >> (8 * i)));
    }
    for (std::int16_t code : header.keyCodes) {
        PutVarint(pending_, ZigZag(code));
    }
    pending_.push_back(header.joystickEnabled ? 1 : 0);
}

void ReplayEncoder::AddFrame(const ReplayFrame& frame) {
    if (finished_) {
        return;
    }
    pending_.push_back(kFrameTag);
    PutVarint(pending_, frame.inputs.size());
    for (const KeySnapshot& keys : frame.inputs) {
        const KeySnapshot changed = keys ^ lastKeys_;
        PutVarint(pending_, changed.count());
        for (std::size_t code = 0; code < 256; ++code) {
            if (changed[code]) {
                pending_.push_back(static_cast<std::uint8_t>(code));
            }
        }
        lastKeys_ = keys;
    }
    // Clock values as runs of equal differences: most reads within a frame repeat the last.
    std::vector<std::pair<std::int64_t, std::uint64_t>> runs;
    for (std::int64_t value : frame.clockReads) {
        const std::int64_t delta = value - lastClock_;
        lastClock_ = value;
        if (!runs.empty() && delta == 0) {
            ++runs.back().second;
        } else {
            runs.push_back({delta, 1});
        }
    }
    PutVarint(pending_, runs.size());
    for (const auto& [delta, repeat] : runs) {
        PutVarint(pending_, ZigZag(delta));
        PutVarint(pending_, repeat);
    }
    ++frames_;
}

void ReplayEncoder::Finish() {
    if (finished_) {
        return;
    }
    pending_.push_back(kEndTag);
    PutU32(pending_, frames_);
    crc_ = static_cast<std::uint32_t>(crc32(crc_, pending_.data(), static_cast<uInt>(pending_.size())));
    PutU32(pending_, crc_);
    finished_ = true;
}

std::vector<std::uint8_t> ReplayEncoder::TakeBytes() {
    // The checksum runs over everything handed out before the trailer's own checksum field.
    if (!finished_) {
        crc_ = static_cast<std::uint32_t>(crc32(crc_, pending_.data(), static_cast<uInt>(pending_.size())));
    }
    std::vector<std::uint8_t> out;
    out.swap(pending_);
    return out;
}

std::optional<Replay> DecodeReplay(std::span<const std::uint8_t> bytes, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<Replay> {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    if (bytes.size() < sizeof kMagic || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
        return fail("not a replay file");
    }
    Reader in(bytes.subspan(sizeof kMagic));
    Replay replay;
    std::uint8_t lo = 0, hi = 0;
    if (!in.Byte(lo) || !in.Byte(hi)) {
        return fail(in.error());
    }
    replay.header.formatVersion = static_cast<std::uint16_t>(lo | (hi << 8));
    if (replay.header.formatVersion != kReplayFormatVersion) {
        return fail("replay format version " + std::to_string(replay.header.formatVersion) +
                    ", this program reads version " + std::to_string(kReplayFormatVersion));
    }
    std::uint64_t words = 0;
    bool ok = in.Text(replay.header.programVersion) && in.Count(words, kMaxWords, "word");
    for (std::uint64_t i = 0; ok && i < words; ++i) {
        replay.header.words.emplace_back();
        ok = in.Text(replay.header.words.back());
    }
    for (int i = 0; ok && i < 8; ++i) {
        std::uint8_t b = 0;
        ok = in.Byte(b);
        replay.header.dataDigest |= static_cast<std::uint64_t>(b) << (8 * i);
    }
    for (std::int16_t& code : replay.header.keyCodes) {
        std::uint64_t v = 0;
        ok = ok && in.Count(v, 0xFFFF, "key code");
        code = static_cast<std::int16_t>(UnZigZag(v));
    }
    std::uint8_t joystick = 0;
    ok = ok && in.Byte(joystick);
    replay.header.joystickEnabled = joystick != 0;
    if (!ok) {
        return fail(in.error());
    }

    KeySnapshot keys;
    std::int64_t clock = 0;
    for (;;) {
        std::uint8_t tag = 0;
        if (!in.Byte(tag)) {
            return fail(in.error());
        }
        if (tag == kEndTag) {
            break;
        }
        if (tag != kFrameTag) {
            in.Fail("unknown record " + std::to_string(tag));
            return fail(in.error());
        }
        ReplayFrame frame;
        std::uint64_t inputs = 0;
        if (!in.Count(inputs, kMaxPerFrame, "input")) {
            return fail(in.error());
        }
        for (std::uint64_t i = 0; i < inputs; ++i) {
            std::uint64_t changes = 0;
            if (!in.Count(changes, 256, "key change")) {
                return fail(in.error());
            }
            for (std::uint64_t c = 0; c < changes; ++c) {
                std::uint8_t code = 0;
                if (!in.Byte(code)) {
                    return fail(in.error());
                }
                keys.flip(code);
            }
            frame.inputs.push_back(keys);
        }
        std::uint64_t runs = 0;
        if (!in.Count(runs, kMaxPerFrame, "clock run")) {
            return fail(in.error());
        }
        for (std::uint64_t r = 0; r < runs; ++r) {
            std::uint64_t delta = 0, repeat = 0;
            if (!in.Varint(delta) || !in.Count(repeat, kMaxPerFrame, "clock repeat")) {
                return fail(in.error());
            }
            if (repeat == 0 || frame.clockReads.size() + repeat > kMaxPerFrame) {
                in.Fail("impossible clock run");
                return fail(in.error());
            }
            for (std::uint64_t k = 0; k < repeat; ++k) {
                if (__builtin_add_overflow(clock, UnZigZag(delta), &clock)) {
                    in.Fail("clock value beyond 64 bits");
                    return fail(in.error());
                }
                frame.clockReads.push_back(clock);
                delta = 0;  // a run repeats the value it reached
            }
        }
        replay.frames.push_back(std::move(frame));
    }
    std::uint32_t frameCount = 0, crc = 0;
    if (!in.U32(frameCount)) {
        return fail(in.error());
    }
    const std::size_t checkedBytes = sizeof kMagic + in.at();
    if (!in.U32(crc)) {
        return fail(in.error());
    }
    if (frameCount != replay.frames.size()) {
        return fail("trailer counts " + std::to_string(frameCount) + " frames, the file holds " +
                    std::to_string(replay.frames.size()));
    }
    const auto actual = static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(checkedBytes)));
    if (actual != crc) {
        return fail("checksum does not match: the file is damaged");
    }
    if (in.at() != in.size()) {
        return fail("unexpected bytes after the end of the replay");
    }
    return replay;
}

std::optional<Replay> LoadReplayFile(const std::filesystem::path& path, std::string* error) {
    std::string why;
    const auto bytes = ReadFileBytes(path, kMaxReplayBytes, &why);
    if (!bytes) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    }
    auto replay = DecodeReplay(*bytes, &why);
    if (!replay && error) {
        *error = path.string() + ": " + why;
    }
    return replay;
}

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes, std::uint64_t seed) {
    std::uint64_t hash = seed;
    for (std::uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

std::uint64_t Fnv1a(std::string_view text, std::uint64_t seed) {
    return Fnv1a(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), seed);
}

}  // namespace common
