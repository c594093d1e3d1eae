// Pictures made at test time by the Debian command-line encoders (avifenc, heif-enc,
// cjxl) from a PNG the test writes. The tools are installed with the build's
// dependencies, so a missing one fails the test that needs it.
#pragma once

#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

// Lossless encodings of a PNG (8-bit RGB or RGBA): what the tool wrote, or nothing and a
// test failure when it failed.
Bytes encodeAvif(const Bytes& png);
Bytes encodeHeic(const Bytes& png);
Bytes encodeJxl(const Bytes& png);

}  // namespace ravinel::test
