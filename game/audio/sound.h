// Sound effects: a fixed table of slots, each effect loaded from its WAV file into its own
// slot and played; the laser stays loaded and is restarted in place. The slots themselves are
// the platform's sound service (platform/sound.h); without a sound device the game plays on
// in silence.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace audio {

// The slots of the game's effects.
inline constexpr std::int16_t kLaserSlot = 2;
inline constexpr std::int16_t kExplosionSlot = 3;
inline constexpr std::int16_t kCoinSlot = 4;
inline constexpr std::int16_t kBuySlot = 5;
inline constexpr std::int16_t kDeniedSlot = 6;

struct SoundState {
    bool dsound = false;             // the sound device is open; without it every call does nothing
    std::int32_t sfxVolume = 0;      // hundredths of a decibel, -2500 .. 0 (empty at start-up: 0)
    std::int16_t nextSoundSlot = 0;  // the slot of the last load that named none
    std::set<std::string> reportedFiles;  // sound files standard error has already named
};
extern SoundState sound;

// Opens the sound device and empties the slots. Without a device it says so once on standard
// error and returns false; the game then plays silent.
bool InitSound();
// Loads a WAV file into a slot (slot <= 0: the next of the rotation 1 .. 20, 0), replacing what
// the slot held, at the volume in hundredths of a decibel, and plays it unless loadOnly. A
// file that cannot be played leaves the slot empty and is named on standard error once.
void LoadSound(const std::string& fileName, std::int32_t volume, bool looping, std::int16_t slot,
               bool loadOnly);
// Loads a file of the program's sounds folder ("Explode.wav") into its slot at the effects
// volume and plays it: every effect but the laser, which loads once a game and is restarted.
void PlayEffect(const std::string& file, std::int16_t slot);
// Restarts the slot's sound from its beginning; an empty slot stays silent.
void ReplaySound(std::int16_t slot);
void ReleaseSound();

// The linear gain of a volume in hundredths of a decibel: 10^(volume / 2000).
double GainOfVolume(std::int32_t volume);

// Names a sound file that cannot be played on standard error, the first time only.
void ReportSoundFile(const std::string& fileName, const std::string& message);

}  // namespace audio
