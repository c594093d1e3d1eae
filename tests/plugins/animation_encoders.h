// Moving pictures made at test time by the libraries' encoders (giflib, libpng, libwebp's
// animation encoder), from frames of one colour each, and the canvases they must show.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/plugins/temporary_file.h"

namespace ravinel::test::animation_source {

enum class Dispose { none, background, previous };

// A rectangle of one colour (blue, green, red, straight alpha) drawn on the canvas, left
// there, cleared or taken back after its delay.
struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::array<std::uint8_t, 4> bgra{};
    int delayMs = 0;
    Dispose dispose = Dispose::none;
    bool blendOver = false;
};

struct Animation {
    int width = 0;
    int height = 0;
    std::vector<Frame> frames;
};

// What each frame shows: blue, green, red, alpha rows, top row first.
std::vector<Bytes> expectedCanvases(const Animation& animation);

// A GIF of the frames: an alpha of 0 paints the transparent index, any other alpha is
// opaque; delays in hundredths of a second.
Bytes encodeGif(const Animation& animation);
// An animated PNG whose first frame is the picture's own data; with brokenSequence the
// last frame's sequence numbers skip one.
Bytes encodeApng(const Animation& animation, bool brokenSequence = false);
// An animated WebP of the expected canvases, lossless.
Bytes encodeWebp(const Animation& animation);

}  // namespace ravinel::test::animation_source
