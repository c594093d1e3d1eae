// Pictures made at test time by the Debian command-line encoders (avifenc, heif-enc,
// cjxl) from a PNG the test writes. The tools are installed with the build's
// dependencies, so a missing one fails the test that needs it.
#pragma once

#include <string>

#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

// Lossless, or lossy as cameras and phones write them (4:2:0 chroma for AVIF and HEIF),
// at high quality.
enum class Coding { lossless, lossy };

// Encodings of a PNG (8-bit RGB or RGBA): what the tool wrote, or nothing and a test
// failure when it failed.
Bytes encodeAvif(const Bytes& png, Coding coding = Coding::lossless);
// A lossless AVIF with more options for avifenc, as they stand (e.g. "--irot 1 --imir 0").
Bytes encodeAvifWith(const Bytes& png, const std::string& avifOptions);
Bytes encodeHeic(const Bytes& png, Coding coding = Coding::lossless);
Bytes encodeJxl(const Bytes& png, Coding coding = Coding::lossless);

}  // namespace ravinel::test
