// Music on the sound output: one Ogg Vorbis file at a time, read and checked whole when it
// starts (platform/sound_files.h) and decoded on the mixer's thread as it plays. A file plays
// once; the game restarts it. Without a device every call does nothing.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// Stops what plays and starts the file from its beginning. False, with nothing playing and
// *error naming the file, when the file cannot be played.
bool PlayMusicFile(const std::filesystem::path& file, std::string* error);

// A file was started and has neither ended nor been stopped.
bool MusicPlaying();

// The music's volume as a linear gain, 0 to 1; it applies at once and holds for later files.
void SetMusicGain(double gain);

void StopMusic();

}  // namespace platform
