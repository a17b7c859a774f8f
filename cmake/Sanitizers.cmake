# The checked build: ASan + UBSan (with float-cast-overflow, which GCC leaves out of
# -fsanitize=undefined) and the bounds checks of STARWAKE_CHECK.
if(STARWAKE_SANITIZE)
    set(_san -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
             -fno-omit-frame-pointer)
    # -O1 keeps the checked build's whole-game tests (minutes of play) within their time while
    # every check still runs.
    add_compile_options(${_san} -O1)
    add_link_options(${_san})
    add_compile_definitions(STARWAKE_CHECKED=1)
endif()

# The fuzz build: the same checks, with clang's coverage for libFuzzer on every library; the
# targets themselves link libFuzzer's main (tools/fuzz/CMakeLists.txt).
if(STARWAKE_FUZZ)
    set(_fuzz -fsanitize=address,undefined,float-cast-overflow,fuzzer-no-link -fno-sanitize-recover=all
              -fno-omit-frame-pointer)
    add_compile_options(${_fuzz})
    add_link_options(${_fuzz})
    add_compile_definitions(STARWAKE_CHECKED=1)
endif()
