# Warnings are errors in our own code; third-party headers come in as system includes.
add_compile_options(
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2 -Wimplicit-fallthrough
    # The same float arithmetic in every build: no fused multiply-add behind our back,
    # so golden images and replay digests match between optimised and checked builds.
    -ffp-contract=off)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports impossible overlaps and bounds inside std::string and std::vector when
    # optimising (its bugs 105329 and 107852); the sanitizer build checks the real thing.
    add_compile_options(-Wno-restrict -Wno-array-bounds)
endif()
