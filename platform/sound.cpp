#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/music.h"
#include "platform/sound_files.h"

namespace platform {

SoundOutputState soundOutput;

namespace {

struct Slot {
    Mix_Chunk* chunk = nullptr;         // plays samples in place; the mixer owns no copy
    std::vector<std::int16_t> samples;  // the decoded sound, freed only after its chunk
};

// The mixer's objects; they never leave this file.
struct SdlSound {
    std::array<Slot, kSoundSlots> slots;
    std::function<void(std::span<const std::int16_t>)> tap;
    bool closesAtExit = false;  // the output is closed before the program's objects are destroyed
};
SdlSound sdl;

bool UsableSlot(int slot) { return soundOutput.open && slot >= 0 && slot < kSoundSlots; }

void SDLCALL PassToTap(void*, Uint8* stream, int length) {
    sdl.tap(std::span<const std::int16_t>(reinterpret_cast<const std::int16_t*>(stream),
                                          static_cast<std::size_t>(length) / sizeof(std::int16_t)));
}

void InstallTap() {
    // The mixer takes its lock to swap the function, so the old one is no longer running.
    Mix_SetPostMix(nullptr, nullptr);
    if (sdl.tap) {
        Mix_SetPostMix(PassToTap, nullptr);
    }
}

}  // namespace

bool OpenSoundOutput(std::string* error) {
    if (soundOutput.open) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    // No format change allowed: SDL converts for hardware that plays another, so every sound
    // can be decoded once into this one.
    if (Mix_OpenAudioDevice(kOutputRate, AUDIO_S16SYS, kOutputChannels, kOutputBufferFrames, nullptr, 0) != 0) {
        if (error) *error = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kSoundSlots);
    if (!sdl.closesAtExit) {
        // The mixer's thread plays from the slots and the music until the device closes: a
        // program that ends without closing it must not destroy them under it.
        std::atexit(CloseSoundOutput);
        sdl.closesAtExit = true;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    soundOutput.driver = driver ? driver : "";
    soundOutput.open = true;
    if (sdl.tap) {
        InstallTap();
    }
    return true;
}

void CloseSoundOutput() {
    if (!soundOutput.open) {
        return;
    }
    StopMusic();
    for (int slot = 0; slot < kSoundSlots; ++slot) {
        EmptySoundSlot(slot);
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    soundOutput = SoundOutputState{};
}

bool LoadSoundSlot(int slot, const std::filesystem::path& file, std::string* error) {
    if (!UsableSlot(slot)) {
        if (error) *error = file.string() + ": no sound slot " + std::to_string(slot) + " to play it in";
        return false;
    }
    EmptySoundSlot(slot);
    const auto bytes = ReadSoundFile(file, kMaxEffectFileBytes, error);
    if (!bytes) {
        return false;
    }
    std::string why;
    auto samples = DecodeEffect(*bytes, &why);
    if (!samples) {
        if (error) *error = file.string() + ": " + why;
        return false;
    }
    Slot& target = sdl.slots[static_cast<std::size_t>(slot)];
    target.samples = std::move(*samples);
    target.chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(target.samples.data()),
                                     static_cast<Uint32>(target.samples.size() * sizeof(std::int16_t)));
    if (target.chunk == nullptr) {
        if (error) *error = file.string() + ": " + Mix_GetError();
        target.samples = {};
        return false;
    }
    Mix_Volume(slot, MIX_MAX_VOLUME);
    return true;
}

void EmptySoundSlot(int slot) {
    if (!UsableSlot(slot)) {
        return;
    }
    Slot& target = sdl.slots[static_cast<std::size_t>(slot)];
    if (target.chunk != nullptr) {
        // Halting takes the mixer's lock: once it returns, nothing reads the samples.
        Mix_HaltChannel(slot);
        Mix_FreeChunk(target.chunk);
        target.chunk = nullptr;
    }
    target.samples = {};
}

bool SoundSlotLoaded(int slot) { return UsableSlot(slot) && sdl.slots[static_cast<std::size_t>(slot)].chunk != nullptr; }

void SetSoundSlotGain(int slot, double gain) {
    if (UsableSlot(slot)) {
        const double clamped = gain > 0.0 ? std::min(gain, 1.0) : 0.0;
        Mix_Volume(slot, static_cast<int>(std::lround(clamped * MIX_MAX_VOLUME)));
    }
}

void PlaySoundSlot(int slot, bool looping) {
    if (SoundSlotLoaded(slot)) {
        Mix_PlayChannel(slot, sdl.slots[static_cast<std::size_t>(slot)].chunk, looping ? -1 : 0);
    }
}

void StopSoundSlot(int slot) {
    if (UsableSlot(slot)) {
        Mix_HaltChannel(slot);
    }
}

bool SoundSlotPlaying(int slot) { return UsableSlot(slot) && Mix_Playing(slot) != 0; }

namespace sound_testing {
void SetOutputTap(std::function<void(std::span<const std::int16_t>)> tap) {
    if (soundOutput.open) {
        Mix_SetPostMix(nullptr, nullptr);
    }
    sdl.tap = std::move(tap);
    if (soundOutput.open) {
        InstallTap();
    }
}
}  // namespace sound_testing

}  // namespace platform
