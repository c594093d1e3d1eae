#include "spi_frames.h"

#include <cstring>
#include <new>

#include "spi_dib.h"
#include "spi_input.h"

namespace ravinel::spi {
namespace {

// Inputs kept between calls are copied: larger ones are not played.
constexpr std::size_t kMaxKeptInputBytes = std::size_t{256} << 20;

// One thread's animation: a copy of its input, the walk over that copy, and the canvas
// with the frame drawn last.
struct Animation {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<FrameWalk> walk;
    std::vector<std::uint8_t> canvas;
    int drawn = -1;
};

thread_local std::unique_ptr<Animation> t_animation;

// (Re)starts the walk of the kept input; an SPI_ code. The animation is dropped on failure.
int restart(FrameWalkOpener opener) {
    Animation& animation = *t_animation;
    animation.walk.reset();
    animation.drawn = -1;
    int code = opener(animation.bytes.data(), animation.bytes.size(), animation.walk);
    if (code == SPI_ALL_RIGHT && (animation.walk == nullptr || animation.walk->delays().empty())) {
        code = SPI_OUT_OF_ORDER;
    }
    if (code != SPI_ALL_RIGHT) {
        t_animation.reset();
        return code;
    }
    // Drawn on only when a frame is asked for: counting needs none.
    animation.canvas.clear();
    return SPI_ALL_RIGHT;
}

// The animation of the input, kept from an earlier call on the same bytes or opened anew.
int animationOf(const SpiInput& input, FrameWalkOpener opener, Animation*& animation) {
    if (t_animation && t_animation->bytes.size() == input.size() &&
        std::memcmp(t_animation->bytes.data(), input.data(), input.size()) == 0) {
        animation = t_animation.get();
        return SPI_ALL_RIGHT;
    }
    t_animation.reset();
    // A still picture is told apart on the input itself, before any copy is made.
    std::unique_ptr<FrameWalk> probe;
    if (const int code = opener(input.data(), input.size(), probe); code != SPI_ALL_RIGHT) {
        return code;
    }
    probe.reset();
    if (input.size() > kMaxKeptInputBytes) {
        return SPI_NO_MEMORY;
    }
    t_animation = std::make_unique<Animation>();
    t_animation->bytes.assign(input.data(), input.data() + input.size());
    if (const int code = restart(opener); code != SPI_ALL_RIGHT) {
        return code;
    }
    animation = t_animation.get();
    return SPI_ALL_RIGHT;
}

// Opens the input and its animation and runs use on it; no exception leaves for the host.
template <class Use>
std::int32_t withAnimation(const char* buf, std::intptr_t len, std::uint32_t flag,
                           FrameWalkOpener opener, Use&& use) {
    try {
        SpiInput input;
        if (const int code = input.open(buf, len, flag); code != SPI_ALL_RIGHT) {
            return code;
        }
        Animation* animation = nullptr;
        if (const int code = animationOf(input, opener, animation); code != SPI_ALL_RIGHT) {
            return code;
        }
        return use(*animation);
    } catch (const std::bad_alloc&) {
        t_animation.reset();
        return SPI_NO_MEMORY;
    } catch (...) {
        t_animation.reset();
        return SPI_OTHER_ERROR;
    }
}

bool validIndex(const Animation& animation, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < animation.walk->delays().size();
}

}  // namespace

std::int32_t runGetFrameCount(const char* buf, std::intptr_t len, std::uint32_t flag,
                              std::int32_t* count, FrameWalkOpener opener) {
    if (count == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *count = 0;
    const std::int32_t code = withAnimation(buf, len, flag, opener, [&](Animation& animation) {
        *count = static_cast<std::int32_t>(animation.walk->delays().size());
        return static_cast<int>(SPI_ALL_RIGHT);
    });
    if (code == SPI_NOT_SUPPORT) {
        *count = 1;
        return SPI_ALL_RIGHT;
    }
    return code;
}

std::int32_t runGetFrameDelay(const char* buf, std::intptr_t len, std::uint32_t flag,
                              std::int32_t index, std::int32_t* delayMs, FrameWalkOpener opener) {
    if (delayMs == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *delayMs = 0;
    return withAnimation(buf, len, flag, opener, [&](Animation& animation) {
        if (!validIndex(animation, index)) {
            return static_cast<int>(SPI_OUT_OF_ORDER);
        }
        *delayMs = animation.walk->delays()[static_cast<std::size_t>(index)];
        return static_cast<int>(SPI_ALL_RIGHT);
    });
}

std::int32_t runGetFrame(const char* buf, std::intptr_t len, std::uint32_t flag, std::int32_t index,
                         SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback progress,
                         std::intptr_t lData, FrameWalkOpener opener) {
    if (pHBInfo == nullptr || pHBm == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *pHBInfo = nullptr;
    *pHBm = nullptr;
    if (progress != nullptr && progress(0, 1, lData) != 0) {
        return SPI_ABORT;
    }
    return withAnimation(buf, len, flag, opener, [&](Animation& animation) {
        if (!validIndex(animation, index)) {
            return static_cast<int>(SPI_OUT_OF_ORDER);
        }
        // Going back starts the walk again: the frames build on each other.
        if (index < animation.drawn) {
            if (const int code = restart(opener); code != SPI_ALL_RIGHT) {
                return code;
            }
        }
        Animation& current = *t_animation;
        if (current.canvas.empty()) {
            current.canvas.assign(static_cast<std::size_t>(current.walk->width()) *
                                      static_cast<std::size_t>(current.walk->height()) * 4,
                                  0);
        }
        while (current.drawn < index) {
            if (const int code = current.walk->drawNext(current.canvas); code != SPI_ALL_RIGHT) {
                t_animation.reset();
                return code;
            }
            ++current.drawn;
        }
        SpiDib dib;
        if (const int code = dib.allocate(current.walk->width(), current.walk->height(), 32, 0);
            code != SPI_ALL_RIGHT) {
            return code;
        }
        fillFromBgra(dib, current.canvas.data());
        if (progress != nullptr && progress(1, 1, lData) != 0) {
            return static_cast<int>(SPI_ABORT);
        }
        dib.release(pHBInfo, pHBm);
        return static_cast<int>(SPI_ALL_RIGHT);
    });
}

void blendOver(std::uint8_t* target, const std::uint8_t* source, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, target += 4, source += 4) {
        const unsigned alpha = source[3];
        if (alpha == 255) {
            std::memcpy(target, source, 4);
            continue;
        }
        if (alpha == 0) {
            continue;
        }
        // Straight alpha: out = (src * a + dst * da * (1 - a)) / outAlpha.
        const unsigned below = target[3] * (255 - alpha) / 255;
        const unsigned outAlpha = alpha + below;
        for (int c = 0; c < 3; ++c) {
            target[c] = static_cast<std::uint8_t>(
                (source[c] * alpha + target[c] * below + outAlpha / 2) / outAlpha);
        }
        target[3] = static_cast<std::uint8_t>(outAlpha);
    }
}

}  // namespace ravinel::spi
