// The game's sound output heard through SDL's disk audio driver, which writes the mixed output
// to a file in real time: tests measure what a player would hear. A Hearing reopens the game's
// sound device (audio::InitSound) on that driver for as long as it lasts; Finish closes it, reads
// what was played and puts the device back on the dummy driver the other tests use.
//
//   test_support::Hearing hearing("menu");
//   ... run the screen's loop for a second ...
//   const test_support::HeardOutput heard = hearing.Finish();
//   EXPECT_EQ(heard.Peak(0, heard.Seconds()), 0.0);
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace test_support {

// What came out, from the moment the device opened: 16-bit stereo at 44100 Hz. Times are in
// seconds of output; the disk driver keeps pace with the real clock to within a few per cent.
struct HeardOutput {
    std::vector<std::int16_t> samples;  // interleaved left, right

    double Seconds() const;
    std::span<const std::int16_t> Between(double from, double to) const;
    // Levels relative to full scale (common/sound_levels.h) between two times.
    double Rms(double from, double to) const;
    double Peak(double from, double to) const;

    // The stretches where the output is above the level (a share of full scale), with gaps
    // shorter than 20 ms closed, as an ear hears one sound.
    struct Stretch {
        double from = 0.0, to = 0.0;
    };
    std::vector<Stretch> Sounds(double level = 0.002) const;
};

class Hearing {
public:
    // Starts the game headless if it is not yet, and opens its sound device on the disk driver
    // writing to a file of this name under the build folder.
    explicit Hearing(const std::string& name);
    ~Hearing();
    Hearing(const Hearing&) = delete;
    Hearing& operator=(const Hearing&) = delete;

    // Lets time pass while the window's message pump (and so the music timer) runs: time of the
    // output while a Hearing is open, of the real clock otherwise.
    static void Wait(double seconds);
    // How much output the open Hearing has written so far, in seconds.
    static double SecondsHeard();

    HeardOutput Finish();

private:
    std::filesystem::path file_;
    bool finished_ = false;
};

}  // namespace test_support
