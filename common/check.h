// Bounds checks for hot paths: on in the checked (sanitizer) build, free in the optimised one.
#pragma once

#include <cstdio>
#include <cstdlib>

#if defined(STARWAKE_CHECKED)
#define STARWAKE_CHECK(condition)                                                        \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
#else
#define STARWAKE_CHECK(condition) \
    do {                          \
    } while (0)
#endif
