// keys.txt as the launcher reads it: every code once, each within a byte.
#include <set>

#include "common/keys_file.h"
#include "tools/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const common::KeyNamesReadResult read = common::ParseKeyNames(fuzz::Text({data, size}), "keys.txt");
    std::set<int> codes;
    for (const common::KeyName& name : read.names) {
        FUZZ_REQUIRE(name.scanCode >= 0 && name.scanCode <= 255);
        FUZZ_REQUIRE(codes.insert(name.scanCode).second);
    }
    return 0;
}
