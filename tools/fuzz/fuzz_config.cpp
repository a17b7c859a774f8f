// Config.txt as the game reads it; what it read, written back in the launcher's layout, reads
// the same again.
#include <array>
#include <string>

#include "common/config_file.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const common::ControlsReadResult read = common::ParseControls(fuzz::Text({data, size}), "Config.txt");
    for (std::int16_t code : read.controls.keyCodes) {
        FUZZ_REQUIRE(code >= 0 && code <= 255);
    }
    std::array<std::string, common::kBoundActions> keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = std::to_string(read.controls.keyCodes[i]);
    }
    const std::string written = common::FormatConfig(keys, read.controls.joystickEnabled ? 1 : 0);
    const common::ControlsReadResult again = common::ParseControls(written, "Config.txt");
    FUZZ_REQUIRE(again.controls.keyCodes == read.controls.keyCodes);
    FUZZ_REQUIRE(again.controls.joystickEnabled == read.controls.joystickEnabled);
    FUZZ_REQUIRE(again.warnings.empty());
    return 0;
}
