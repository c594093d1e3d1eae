#pragma once

#include <cstdint>

namespace ravinel {

// Weights of the area passes are in units of 1/32768 of a source pixel.
inline constexpr uint32_t kAreaUnit = 32768;

// floor(numerator / denominator + 1/2), halves going up.
inline constexpr uint64_t roundedQuotient(uint64_t numerator, uint64_t denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

// A boundary position E between destination and source pixels, split into its integer
// part and its fraction in 1/32768 rounded half up (0 to 32768; a fraction that rounds up
// to 32768 leaves index as it is).
struct AreaBoundary {
    int32_t index = 0;
    int32_t frac = 0;
};

// The boundary E = numerator / denominator. The pass rules were first stated with E in
// 80-bit floating point; exact integer arithmetic gives the same pairs for every input
// (the extended-precision quotient is correctly rounded, and the points where the
// rounding of the fraction changes are dyadic, hence exact, and lie further from any other
// quotient than its rounding error), and it does not depend on the processor having an
// 80-bit long double. The same holds for the scale factors computed with roundedQuotient.
inline AreaBoundary areaBoundary(uint64_t numerator, uint64_t denominator) {
    const uint64_t remainder = numerator % denominator;
    return {static_cast<int32_t>(numerator / denominator),
            static_cast<int32_t>(roundedQuotient(remainder * kAreaUnit, denominator))};
}

}  // namespace ravinel
