#pragma once

// The generator of the sample texts and the benchmarks' data: splitmix64,
// small, fast and the same on every platform, so that generated content never
// changes from one build to the next.

#include <cstddef>
#include <cstdint>

namespace sample {

class Random {
public:
    explicit Random(std::uint64_t stream) : state_(stream) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number from lo to hi, both included.
    std::size_t between(std::size_t lo, std::size_t hi) { return lo + std::size_t(next() % (hi - lo + 1)); }
    bool chance(unsigned percent) { return next() % 100 < percent; }

private:
    std::uint64_t state_;
};

} // namespace sample
