#pragma once

#include <cstdint>
#include <random>

namespace kt63::sample {

// std::mt19937's output is fixed by the standard, unlike the distributions, so every number is
// taken straight from it: the same seed gives the same files with any compiler.
class SampleRandom
{
public:
    explicit SampleRandom(uint32_t seed) : mEngine(seed) {}

    uint32_t next() { return static_cast<uint32_t>(mEngine()); }

    // A number from 0 to `count` - 1; the slight bias of the modulo does not matter here.
    uint32_t below(uint32_t count) { return count == 0 ? 0 : next() % count; }

    bool chance(uint32_t percent) { return below(100) < percent; }

private:
    std::mt19937 mEngine;
};

} // namespace kt63::sample
