#pragma once
// An invariant of a fuzz target: when it does not hold, say which and abort, so that libFuzzer
// keeps the input and a replay fails.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                    \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "fuzz invariant broken at %s:%d: %s\n", __FILE__, __LINE__, \
                   what);                                                              \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)
