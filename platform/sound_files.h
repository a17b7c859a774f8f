// The sound files the game plays, checked and decoded as the sound and music services do it,
// from bytes in memory and without a sound device: effects from WAV files, music from Ogg
// Vorbis files. Everything comes out in the output's format, 16-bit interleaved stereo at
// 44100 Hz. A file is refused, with the reason, when it is too large, cut, damaged, lies about
// its sizes or is another format under the name; nothing it declares is trusted before it is
// checked against the bytes it holds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The format every sound is mixed in.
inline constexpr int kOutputRate = 44100;
inline constexpr int kOutputChannels = 2;

// Files larger than these are refused before anything reads them: an effect is a second or
// two, a tune a few minutes.
inline constexpr std::uintmax_t kMaxEffectFileBytes = 4u << 20;
inline constexpr std::uintmax_t kMaxMusicFileBytes = 32u << 20;

enum class SoundFileType { kWav, kOggVorbis };

// Reads a sound file whole once its size is known to be at most maxBytes; nothing, with
// *error naming the file, when it is missing, empty, too large or unreadable.
std::optional<std::vector<std::uint8_t>> ReadSoundFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                                       std::string* error);

// An effect's samples in the output's format; nothing, with *error saying why, when the game
// would not play the file.
std::optional<std::vector<std::int16_t>> DecodeEffect(std::span<const std::uint8_t> wavBytes, std::string* error);

// The checks a music file passes before the decoder sees it: one complete Ogg stream whose
// every page is whole and matches its checksum, numbered without a gap, ending in the
// end-of-stream page, and carrying Vorbis audio of 1 or 2 channels at a rate from 8000 to
// 192000 Hz. False with *error saying what is wrong.
bool CheckOggVorbis(std::span<const std::uint8_t> bytes, std::string* error);

// The checksum of a whole Ogg page (its header of at least 27 bytes, its segment table and
// body), the value its bytes 22 to 25 must hold.
std::uint32_t OggPageChecksum(std::span<const std::uint8_t> page);

// A music file decoded as it plays: the checked bytes, kept in memory, turned into output
// frames a block at a time.
class MusicDecoder {
public:
    // Checks the bytes and opens the decoder; nothing, with *error, when it cannot play them.
    static std::unique_ptr<MusicDecoder> Open(std::vector<std::uint8_t> bytes, std::string* error);
    ~MusicDecoder();
    MusicDecoder(const MusicDecoder&) = delete;
    MusicDecoder& operator=(const MusicDecoder&) = delete;

    // Fills out with the next interleaved output frames; the number of frames written, fewer
    // than asked only at the end of the file, or -1 when the data cannot be decoded.
    long Read(std::span<std::int16_t> out);

private:
    struct Stream;
    explicit MusicDecoder(std::unique_ptr<Stream> stream);
    std::unique_ptr<Stream> stream_;
};

// A file's bytes checked and decoded exactly as the game would play them, with no device: the
// samples in the output's format (of a tune at most its first ten minutes), or nothing with
// *error. Safe on any bytes.
std::optional<std::vector<std::int16_t>> DecodeSoundBytes(std::span<const std::uint8_t> bytes, SoundFileType type,
                                                          std::string* error);

}  // namespace platform
