#include "platform/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <span>

#include "platform/sound.h"
#include "platform/sound_files.h"

namespace platform {

namespace {

constexpr int kUnityGain = 1 << 16;

// One file playing; the mixer's thread reads it, the game's thread swaps it.
struct MusicStream {
    std::unique_ptr<MusicDecoder> decoder;
    std::atomic<bool> finished{false};
};

struct MusicState {
    std::unique_ptr<MusicStream> playing;
    std::atomic<int> gain{kUnityGain};  // 16.16 fixed point
};
MusicState music;

// The mixer's music hook: it fills each block of output before the effects are mixed on top.
void SDLCALL FeedMusic(void* data, Uint8* bytes, int length) {
    auto* stream = static_cast<MusicStream*>(data);
    const std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(bytes),
                                      static_cast<std::size_t>(length) / sizeof(std::int16_t));
    long frames = 0;
    if (stream != nullptr && !stream->finished.load(std::memory_order_relaxed)) {
        frames = stream->decoder->Read(out);
        if (frames * kOutputChannels < static_cast<long>(out.size())) {
            // The end of the file, or data that cannot be decoded: either way it has stopped.
            stream->finished.store(true);
            frames = std::max(frames, 0L);
        }
    }
    const std::size_t written = static_cast<std::size_t>(frames) * kOutputChannels;
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(written), out.end(), std::int16_t{0});
    const std::int64_t gain = music.gain.load(std::memory_order_relaxed);
    if (gain != kUnityGain) {
        for (std::size_t i = 0; i < written; ++i) {
            out[i] = static_cast<std::int16_t>((out[i] * gain) >> 16);
        }
    }
}

// Hands the mixer another stream (or none). The mixer takes its lock for the swap, so once it
// returns the old stream is no longer read and can go.
void Hook(std::unique_ptr<MusicStream> next) {
    Mix_HookMusic(next ? FeedMusic : nullptr, next.get());
    music.playing = std::move(next);
}

}  // namespace

bool PlayMusicFile(const std::filesystem::path& file, std::string* error) {
    if (!soundOutput.open) {
        return true;
    }
    StopMusic();
    auto bytes = ReadSoundFile(file, kMaxMusicFileBytes, error);
    if (!bytes) {
        return false;
    }
    std::string why;
    auto stream = std::make_unique<MusicStream>();
    stream->decoder = MusicDecoder::Open(std::move(*bytes), &why);
    if (!stream->decoder) {
        if (error) *error = file.string() + ": " + why;
        return false;
    }
    Hook(std::move(stream));
    return true;
}

bool MusicPlaying() { return soundOutput.open && music.playing && !music.playing->finished.load(); }

void SetMusicGain(double gain) {
    const double clamped = gain > 0.0 ? std::min(gain, 1.0) : 0.0;
    music.gain.store(static_cast<int>(std::lround(clamped * kUnityGain)));
}

void StopMusic() {
    if (music.playing) {
        Hook(nullptr);
    }
}

}  // namespace platform
