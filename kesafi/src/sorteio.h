// The deterministic generator behind the printer's fabricated past and the
// sales of the test control (splitmix64): the same seed, the same sales.
#pragma once

#include <cstdint>

namespace kesafi {

struct Sorteio {
    uint64_t s;
    uint64_t proximo() {
        s += 0x9E3779B97F4A7C15ULL;
        uint64_t z = s;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number from a to b, both included.
    int faixa(int a, int b) { return a + static_cast<int>(proximo() % static_cast<uint64_t>(b - a + 1)); }
};

}  // namespace kesafi
