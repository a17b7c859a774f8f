#include "game/audio/sound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/app.h"
#include "platform/sound.h"

namespace audio {

SoundState sound;

namespace {

constexpr std::int16_t kLastSlot = platform::kSoundSlots - 1;
// The quietest volume the game's sound device took, 100 dB down.
constexpr std::int32_t kMinVolume = -10000;

}  // namespace

double GainOfVolume(std::int32_t volume) {
    return std::pow(10.0, std::clamp(volume, kMinVolume, 0) / 2000.0);
}

void ReportSoundFile(const std::string& fileName, const std::string& message) {
    if (sound.reportedFiles.insert(fileName).second) {
        std::fprintf(stderr, "Starwake: %s; it stays silent\n", message.c_str());
    }
}

bool InitSound() {
    std::string error;
    sound.dsound = platform::OpenSoundOutput(&error);
    if (!sound.dsound) {
        // A desktop without a working sound server is common, and the game is still worth
        // playing: it goes on without sound.
        std::fprintf(stderr, "Starwake: no sound device (%s); playing without sound\n", error.c_str());
    }
    return sound.dsound;
}

void LoadSound(const std::string& fileName, std::int32_t volume, bool looping, std::int16_t slot, bool loadOnly) {
    if (!sound.dsound) {
        return;
    }
    std::int16_t target = slot;
    if (slot <= 0) {
        sound.nextSoundSlot = static_cast<std::int16_t>(sound.nextSoundSlot + 1);
        if (sound.nextSoundSlot > kLastSlot) {
            sound.nextSoundSlot = 0;
        }
        target = sound.nextSoundSlot;
    }
    std::string error;
    if (!platform::LoadSoundSlot(target, fileName, &error)) {
        ReportSoundFile(fileName, error);
        return;
    }
    platform::SetSoundSlotGain(target, GainOfVolume(volume));
    if (!loadOnly) {
        platform::PlaySoundSlot(target, looping);
    }
}

void PlayEffect(const std::string& file, std::int16_t slot) {
    LoadSound((platform::DataFolder() / "sounds" / file).string(), sound.sfxVolume, false, slot, false);
}

void ReplaySound(std::int16_t slot) {
    if (!sound.dsound) {
        return;
    }
    platform::StopSoundSlot(slot);
    platform::PlaySoundSlot(slot, false);
}

void ReleaseSound() {
    if (!sound.dsound) {
        return;
    }
    for (int slot = 0; slot <= kLastSlot; ++slot) {
        platform::EmptySoundSlot(slot);
    }
    platform::CloseSoundOutput();
    sound.dsound = false;
}

}  // namespace audio
