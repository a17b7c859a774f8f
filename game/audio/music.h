// Music: one Ogg Vorbis file at a time, looped by a 250 ms window timer while a game runs. The
// seven operations of the music player the game was written against stand here on the
// platform's music service (platform/music.h); the timer's handler belongs to the main window
// (shell::tmrVogg_Timer).
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace audio {

struct MusicState {
    bool musicOn = false;           // the timer keeps the music going while set
    std::int32_t musicVolume = 100; // 0 .. 100, applied when music starts
    platform::TimerId tmrVOGG = -1; // the 250 ms music timer
    std::string failedFile;         // refused by PlayOggFile; not tried again before the next PlayMusic
};
extern MusicState music;

// The player's operations. The music plays once; OggIsPlaying's lowest bit is 1 while it does.
void InitOgg();
void PlayOggFile(const std::string& path);
std::int32_t OggIsPlaying();
void UpdateOgg();
void SetOggVolume(std::int32_t volume);
void StopOgg();
void CloseOgg();

// Starts a file: play it, enable the music timer, set the volume, in that order.
void PlayMusic(const std::string& path);

}  // namespace audio
