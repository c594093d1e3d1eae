#include "color/srgb_match.h"

#include <lcms2.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace ravinel {

namespace {

// Levels 0, 15, 30, ... 255 on each channel: 5,832 colours, both ends included.
constexpr int kGridStep = 15;
// Two profiles of sRGB that store their curves differently still differ by a rounding.
constexpr int kTolerance = 1;

struct TransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};

// The colours tried: the RGB grid, or every grey level; BGR or grey samples.
std::vector<uint8_t> samplesFor(bool gray) {
    std::vector<uint8_t> samples;
    if (gray) {
        for (int level = 0; level <= 255; ++level) {
            samples.push_back(static_cast<uint8_t>(level));
        }
        return samples;
    }
    for (int b = 0; b <= 255; b += kGridStep) {
        for (int g = 0; g <= 255; g += kGridStep) {
            for (int r = 0; r <= 255; r += kGridStep) {
                samples.insert(samples.end(), {static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                                               static_cast<uint8_t>(r)});
            }
        }
    }
    return samples;
}

}  // namespace

bool matchesSrgb(const IccProfile& profile, const IccProfile& srgb) {
    const ProfileColorSpace space = profile.colorSpace();
    if (space == ProfileColorSpace::other) {
        return false;
    }
    const bool gray = space == ProfileColorSpace::gray;
    const std::unique_ptr<void, TransformDeleter> transform(
        cmsCreateTransform(profile.handle(), gray ? TYPE_GRAY_8 : TYPE_BGR_8, srgb.handle(),
                           TYPE_BGR_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE));
    if (!transform) {
        return false;
    }
    const std::vector<uint8_t> samples = samplesFor(gray);
    const size_t count = gray ? samples.size() : samples.size() / 3;
    std::vector<uint8_t> converted(count * 3);
    cmsDoTransform(transform.get(), samples.data(), converted.data(),
                   static_cast<cmsUInt32Number>(count));
    for (size_t i = 0; i < converted.size(); ++i) {
        const int expected = gray ? samples[i / 3] : samples[i];
        if (std::abs(converted[i] - expected) > kTolerance) {
            return false;
        }
    }
    return true;
}

}  // namespace ravinel
