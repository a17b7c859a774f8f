#include "game/audio/music.h"

namespace audio {

MusicState music;

void InitOgg() {
    if (music.tmrVOGG < 0) {
        music.tmrVOGG = platform::CreateWindowTimer(250, tmrVogg_Timer);
    }
}

void PlayMusic(const std::string&) { platform::EnableWindowTimer(music.tmrVOGG, true); }

void StopOgg() {}

void CloseOgg() {}

void tmrVogg_Timer() {
    platform::EnableWindowTimer(music.tmrVOGG, false);
    if (music.musicOn) {
        platform::EnableWindowTimer(music.tmrVOGG, true);
    }
}

}  // namespace audio
