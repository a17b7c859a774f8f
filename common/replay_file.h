// Replay files: everything a run of the game read from outside, so the run can be shown again
// exactly. A header (what the run started from) and then, frame by frame, the keyboard state
// after each input poll (as the codes that changed) and every clock value the frame read (as
// runs of differences). Written as the run goes, closed by a trailer with the frame count and
// a checksum; a reader refuses anything damaged with a message that names the problem.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace common {

inline constexpr std::uint16_t kReplayFormatVersion = 1;

struct ReplayHeader {
    std::uint16_t formatVersion = kReplayFormatVersion;
    std::string programVersion;             // of the program that recorded it
    std::vector<std::string> words;         // the command-line words the game saw ("SHOWFPS")
    std::uint64_t dataDigest = 0;           // of the files that decide play (see DataDigest)
    std::array<std::int16_t, 7> keyCodes{}; // the bindings the run used
    bool joystickEnabled = false;
};

using KeySnapshot = std::bitset<256>;  // keys down, by scan code

// One frame: the keyboard after each input poll in it, and every clock value it read.
struct ReplayFrame {
    std::vector<KeySnapshot> inputs;
    std::vector<std::int64_t> clockReads;
};

// Appends frames to a byte buffer in the file's encoding.
class ReplayEncoder {
public:
    explicit ReplayEncoder(const ReplayHeader& header);
    void AddFrame(const ReplayFrame& frame);
    // The trailer; no frame may follow.
    void Finish();
    // Bytes encoded since the last call (the caller writes them out).
    std::vector<std::uint8_t> TakeBytes();
    std::uint32_t frameCount() const { return frames_; }

private:
    std::vector<std::uint8_t> pending_;
    std::uint32_t crc_ = 0;          // of every byte before the trailer
    std::uint32_t frames_ = 0;
    KeySnapshot lastKeys_;
    std::int64_t lastClock_ = 0;
    bool finished_ = false;
};

struct Replay {
    ReplayHeader header;
    std::vector<ReplayFrame> frames;
};

// Decodes a whole replay; nothing, with *error saying what is wrong and at which byte, for a
// damaged, truncated or foreign file or another format version.
std::optional<Replay> DecodeReplay(std::span<const std::uint8_t> bytes, std::string* error);
std::optional<Replay> LoadReplayFile(const std::filesystem::path& path, std::string* error);

// 64-bit FNV-1a, the digest used for data files and game states.
std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes, std::uint64_t seed = 14695981039346656037ull);
std::uint64_t Fnv1a(std::string_view text, std::uint64_t seed = 14695981039346656037ull);

}  // namespace common
