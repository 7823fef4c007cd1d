#pragma once
// A small seeded generator (SplitMix64): the same seed gives the same sequence on every platform.

#include <cstdint>

namespace demo {

class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}

    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    int below(int n) { return int(next() % uint64_t(n)); }
    bool percent(int p) { return below(100) < p; }

private:
    uint64_t m_state;
};

} // namespace demo
