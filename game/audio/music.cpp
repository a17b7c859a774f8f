#include "game/audio/music.h"

#include <algorithm>

#include "game/audio/sound.h"
#include "platform/music.h"

namespace audio {

MusicState music;

namespace {
constexpr std::int32_t kFullVolume = 100;
}

void InitOgg() { SetOggVolume(kFullVolume); }

void PlayOggFile(const std::string& path) {
    // Without a device there is nothing to play; a refused file stays refused until the next
    // PlayMusic, instead of being read again at every tick of the timer.
    if (!sound.dsound || path == music.failedFile) {
        return;
    }
    std::string error;
    if (!platform::PlayMusicFile(path, &error)) {
        music.failedFile = path;
        ReportSoundFile(path, error);
    }
}

std::int32_t OggIsPlaying() { return platform::MusicPlaying() ? 1 : 0; }

// The platform decodes on the mixer's thread as the music plays: there is nothing to feed.
void UpdateOgg() {}

void SetOggVolume(std::int32_t volume) {
    platform::SetMusicGain(std::clamp(volume, 0, kFullVolume) / static_cast<double>(kFullVolume));
}

void StopOgg() { platform::StopMusic(); }

void CloseOgg() { platform::StopMusic(); }

void PlayMusic(const std::string& path) {
    music.failedFile.clear();
    PlayOggFile(path);
    platform::EnableWindowTimer(music.tmrVOGG, true);
    SetOggVolume(music.musicVolume);
}

}  // namespace audio
