#pragma once

#include "tests/core/process/picture.h"

namespace ravinel::testing {

// The area methods written plainly from their rules: one channel of one line at a time,
// the vertical pass column by column, boundaries in extended precision. An axis a pass
// cannot handle stays black.
Picture referenceAreaReduce(const Picture& src, int height, int width);
Picture referenceAreaExpand(const Picture& src, int height, int width);

}  // namespace ravinel::testing
