// Sound output on SDL2_mixer: the device, opened once for the whole game, and a fixed table of
// effect slots. Each slot is a mixer channel of its own holding one sound decoded from its WAV
// file (platform/sound_files.h), so loading a slot again stops and replaces what it played
// while the other slots play on. Without a device every call does nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace platform {

inline constexpr int kSoundSlots = 21;  // slots 0 .. 20
// Frames the mixer fills at a time: 11.6 ms at 44100 Hz, so an effect starts within a frame.
inline constexpr int kOutputBufferFrames = 512;

struct SoundOutputState {
    bool open = false;       // the device is open
    std::string driver;      // SDL's name of the driver playing ("pulseaudio", "alsa", "disk", ...)
};
extern SoundOutputState soundOutput;

// Opens the device for 16-bit stereo at 44100 Hz (SDL converts if the hardware wants other);
// false with *error saying why when no device can be opened.
bool OpenSoundOutput(std::string* error);
// Stops every sound and the music and closes the device.
void CloseSoundOutput();

// Empties the slot, then reads, checks and decodes the file into it at full volume, not
// playing. False, with the slot left empty and *error naming the file, when it cannot.
bool LoadSoundSlot(int slot, const std::filesystem::path& file, std::string* error);
// Stops the slot's sound and frees it.
void EmptySoundSlot(int slot);
bool SoundSlotLoaded(int slot);

// The slot's volume as a linear gain, 0 (silent) to 1 (as the file holds it).
void SetSoundSlotGain(int slot, double gain);
// Plays the slot's sound from its start, once or looping; cuts off what the slot was playing.
void PlaySoundSlot(int slot, bool looping);
void StopSoundSlot(int slot);
bool SoundSlotPlaying(int slot);

namespace sound_testing {
// Sees every block of mixed output (interleaved 16-bit stereo) as it goes to the device, on the
// mixer's own thread; an empty function removes it.
void SetOutputTap(std::function<void(std::span<const std::int16_t>)> tap);
}  // namespace sound_testing

}  // namespace platform
