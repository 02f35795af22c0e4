#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a finding: say which one and abort, so that libFuzzer
// keeps the input as a crash artifact and the replay test fails.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
