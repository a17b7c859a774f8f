# Warnings are errors in our own code; third-party headers come in as system includes.
add_compile_options(
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2 -Wimplicit-fallthrough
    # The same float arithmetic in every build: no fused multiply-add behind our back,
    # so golden images and replay digests match between optimised and checked builds.
    -ffp-contract=off)
