// Music: one Ogg Vorbis file at a time, looped by a 250 ms window timer while a game runs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace audio {

struct MusicState {
    bool musicOn = false;           // the timer keeps the music going while set
    std::int32_t musicVolume = 100; // 0 .. 100, applied when music starts
    platform::TimerId tmrVOGG = -1; // the 250 ms music timer
};
extern MusicState music;

void InitOgg();
void PlayMusic(const std::string& path);
void StopOgg();
void CloseOgg();
void tmrVogg_Timer();

}  // namespace audio
