// A broken invariant under libFuzzer: report it and abort, so that libFuzzer
// keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzz_target.h"

namespace zentora::fuzz {

void fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

}  // namespace zentora::fuzz
