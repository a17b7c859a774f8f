#include <gtest/gtest.h>

#include <random>

#include "common/replay_file.h"

namespace {

common::ReplayHeader Header() {
    common::ReplayHeader h;
    h.programVersion = "0.1.0";
    h.words = {"SHOWFPS", "--record"};
    h.dataDigest = 0x0123456789ABCDEFull;
    h.keyCodes = {200, 208, 203, 205, 57, 30, 32};
    h.joystickEnabled = true;
    return h;
}

// A session: keys pressed and released now and then, the clock read a few times a frame.
std::vector<common::ReplayFrame> Session(int frames, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<common::ReplayFrame> out;
    common::KeySnapshot keys;
    std::int64_t now = 1000;
    for (int f = 0; f < frames; ++f) {
        common::ReplayFrame frame;
        if (random() % 20 == 0) {
            keys.flip(random() % 256);
        }
        frame.inputs.push_back(keys);
        if (random() % 50 == 0) {
            frame.inputs.push_back(keys);  // a second poll in the same frame
        }
        now += 16 + static_cast<std::int64_t>(random() % 2);
        for (unsigned r = 0; r < 3 + random() % 5; ++r) {
            frame.clockReads.push_back(now + (r == 4 ? 1 : 0));
        }
        out.push_back(frame);
    }
    return out;
}

std::vector<std::uint8_t> Encode(const common::ReplayHeader& header,
                                 const std::vector<common::ReplayFrame>& frames) {
    common::ReplayEncoder encoder(header);
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        encoder.AddFrame(frames[i]);
        if (i % 100 == 0) {  // written out as the run goes
            auto chunk = encoder.TakeBytes();
            bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        }
    }
    encoder.Finish();
    auto chunk = encoder.TakeBytes();
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

TEST(ReplayFile, RoundTripKeepsHeaderInputsAndClock) {
    const auto frames = Session(3000, 7);
    const auto bytes = Encode(Header(), frames);
    std::string error;
    const auto replay = common::DecodeReplay(bytes, &error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->header.programVersion, "0.1.0");
    EXPECT_EQ(replay->header.words, Header().words);
    EXPECT_EQ(replay->header.dataDigest, Header().dataDigest);
    EXPECT_EQ(replay->header.keyCodes, Header().keyCodes);
    EXPECT_TRUE(replay->header.joystickEnabled);
    ASSERT_EQ(replay->frames.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(replay->frames[i].inputs, frames[i].inputs) << "frame " << i;
        EXPECT_EQ(replay->frames[i].clockReads, frames[i].clockReads) << "frame " << i;
    }
}

TEST(ReplayFile, ClockJumpsBackwardsAndEmptyFramesSurvive) {
    std::vector<common::ReplayFrame> frames(3);
    frames[0].clockReads = {5, 5, 3, 1LL << 40, 0};
    frames[2].inputs.resize(2);
    frames[2].inputs[1].set(255);
    const auto replay = common::DecodeReplay(Encode(Header(), frames), nullptr);
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->frames[0].clockReads, frames[0].clockReads);
    EXPECT_TRUE(replay->frames[1].inputs.empty());
    EXPECT_EQ(replay->frames[2].inputs, frames[2].inputs);
}

TEST(ReplayFile, AnHourOfPlayTakesAFewMegabytes) {
    const auto bytes = Encode(Header(), Session(60 * 60 * 60, 3));
    EXPECT_LT(bytes.size(), 4u << 20);
}

TEST(ReplayFile, TruncatedDamagedOrForeignFilesAreRefused) {
    const auto bytes = Encode(Header(), Session(400, 11));
    ASSERT_GT(bytes.size(), 1024u);
    for (std::size_t length = 0; length < 1024; ++length) {
        std::string error;
        EXPECT_FALSE(common::DecodeReplay(std::span(bytes.data(), length), &error)) << length;
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_FALSE(common::DecodeReplay(std::span(bytes.data(), bytes.size() - 1), &error));

    auto flipped = bytes;
    flipped[flipped.size() / 2] ^= 0x10;
    EXPECT_FALSE(common::DecodeReplay(flipped, &error));

    auto otherVersion = bytes;
    otherVersion[8] = 99;
    EXPECT_FALSE(common::DecodeReplay(otherVersion, &error));
    EXPECT_NE(error.find("version 99"), std::string::npos) << error;

    auto extra = bytes;
    extra.push_back(0);
    EXPECT_FALSE(common::DecodeReplay(extra, &error));

    std::vector<std::uint8_t> junk(5000);
    std::mt19937 random(1);
    for (auto& b : junk) {
        b = static_cast<std::uint8_t>(random());
    }
    EXPECT_FALSE(common::DecodeReplay(junk, &error));
    std::copy(bytes.begin(), bytes.begin() + 10, junk.begin());  // a good start, junk after
    EXPECT_FALSE(common::DecodeReplay(junk, &error));
    EXPECT_FALSE(common::LoadReplayFile("/nonexistent/flight.rpl", &error));
    EXPECT_NE(error.find("/nonexistent/flight.rpl"), std::string::npos);
}

}  // namespace
