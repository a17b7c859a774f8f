// Sound effects: a fixed table of slots, each effect loaded from its WAV file into its own
// slot and played; the laser stays loaded and is restarted in place.
#pragma once

#include <cstdint>
#include <string>

namespace audio {

struct SoundState {
    std::int32_t sfxVolume = 0;   // hundredths of a decibel, -2500 .. 0
    std::int16_t nextSoundSlot = 0;
};
extern SoundState sound;

// Opens the sound device; false (after its message) when there is none.
bool InitSound();
void LoadSound(const std::string& fileName, std::int32_t volume, bool looping, std::int16_t slot,
               bool loadOnly);
void ReplaySound(std::int16_t slot);
void ReleaseSound();

}  // namespace audio
