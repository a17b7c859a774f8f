// Replay files as --play and --timedemo read them; a replay that decodes, encoded again,
// decodes to the same frames.
#include <string>

#include "common/replay_file.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto replay = common::DecodeReplay({data, size}, &error);
    if (!replay) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    common::ReplayEncoder encoder(replay->header);
    for (const common::ReplayFrame& frame : replay->frames) {
        encoder.AddFrame(frame);
    }
    encoder.Finish();
    const std::vector<std::uint8_t> bytes = encoder.TakeBytes();
    const auto again = common::DecodeReplay(bytes, &error);
    FUZZ_REQUIRE(again);
    FUZZ_REQUIRE(again->header.words == replay->header.words);
    FUZZ_REQUIRE(again->header.keyCodes == replay->header.keyCodes);
    FUZZ_REQUIRE(again->frames.size() == replay->frames.size());
    for (std::size_t i = 0; i < replay->frames.size(); ++i) {
        FUZZ_REQUIRE(again->frames[i].inputs == replay->frames[i].inputs);
        FUZZ_REQUIRE(again->frames[i].clockReads == replay->frames[i].clockReads);
    }
    return 0;
}
