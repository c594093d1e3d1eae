#pragma once

#include "platform/simd_level.h"

namespace ravinel {

// Of a routine's vector paths, the one of the level in use; none (the portable loop) at
// the portable level.
template <class Routine>
Routine vectorPath(Routine sse2, Routine avx2) {
    switch (simdLevel()) {
        case SimdLevel::avx2:
            return avx2;
        case SimdLevel::sse2:
            return sse2;
        case SimdLevel::portable:
            break;
    }
    return nullptr;
}

}  // namespace ravinel
