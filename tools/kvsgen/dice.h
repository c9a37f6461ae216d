// Numbers drawn from a seed by integer arithmetic alone (SplitMix64), so the same
// seed gives the same numbers with every compiler and standard library.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace mirudana::kvsgen {

class Dice {
  public:
    // A stream for `keys` (a seed and the numbers that name what is drawn for).
    explicit Dice(std::initializer_list<std::uint64_t> keys) {
        for (std::uint64_t key : keys) state_ = mix(state_ ^ key);
    }

    std::uint64_t next() { return mix(state_ += kGolden); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

  private:
    static constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15u;

    static std::uint64_t mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    std::uint64_t state_ = kGolden;
};

}  // namespace mirudana::kvsgen
