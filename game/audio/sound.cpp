#include "game/audio/sound.h"

namespace audio {

SoundState sound;

bool InitSound() { return true; }

void LoadSound(const std::string&, std::int32_t, bool, std::int16_t, bool) {}

void ReplaySound(std::int16_t) {}

void ReleaseSound() {}

}  // namespace audio
