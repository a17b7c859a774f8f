// The regression flights under tests/replays are recorded here. ctest plays every one of them
// with the real program and compares its final state digest with the recorded one. When a
// change alters play on purpose, record them again in the same commit and say why:
//
//   for f in LevelOne FogLevel ShadowLevel; do
//       STARWAKE_RECORD_REPLAYS=1 build/release/tests/shell/shell_tests
//           --gtest_filter=RegressionFlight.$f
//   done
//
// Each flight is recorded by a program of its own, since a recording starts from a fresh game.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/flights.h"

namespace {

namespace fs = std::filesystem;

void RecordRegressionFlight(const std::string& name, int level) {
    if (std::getenv("STARWAKE_RECORD_REPLAYS") == nullptr) {
        GTEST_SKIP() << "set STARWAKE_RECORD_REPLAYS=1 to record " << name;
    }
    const fs::path folder = fs::path(STARWAKE_SOURCE_DIR) / "tests" / "replays";
    const test_support::Flight flight =
        test_support::RecordFlight(folder / (name + ".rpl"), level, 20 * 60, test_support::BusyFlightPlan);
    ASSERT_NE(flight.digest, 0u);
    std::ofstream digest(folder / (name + ".digest"));
    char text[32];
    std::snprintf(text, sizeof text, "%016" PRIx64 "\n", flight.digest);
    digest << text;
}

TEST(RegressionFlight, LevelOne) { RecordRegressionFlight("level1", 1); }
TEST(RegressionFlight, FogLevel) { RecordRegressionFlight("level8_fog", 8); }
TEST(RegressionFlight, ShadowLevel) { RecordRegressionFlight("level5_shadow", 5); }

}  // namespace
