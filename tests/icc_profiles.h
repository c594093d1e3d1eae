// ICC profiles made at test time through Little CMS, and Little CMS's own conversion of a
// picture, to check the program's conversions against.
#pragma once

#include <lcms2.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel::testing {

enum class TestProfile {
    proPhoto,      // wide gamut: ROMM primaries, D50, gamma 1.8
    adobeRgb,      // wide gamut: Adobe RGB (1998) primaries, D65, gamma 2.2
    srgbGamma22,   // sRGB's primaries with a plain 2.2 curve: close to sRGB, yet not it
    srgb,          // Little CMS's sRGB
    srgbTabulated, // sRGB with its curve as a 1024-entry table, as cameras embed it
    gray10,        // grey, linear
    lab,           // Lab: no colours of pixels
};

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using ProfileHandle = std::unique_ptr<void, ProfileCloser>;

inline ProfileHandle openProfile(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) {
        return ProfileHandle(cmsCreate_sRGBProfile());
    }
    return ProfileHandle(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
}

inline ProfileHandle rgbProfile(cmsCIExyY white, cmsCIExyYTRIPLE primaries, cmsToneCurve* curve) {
    cmsToneCurve* curves[3] = {curve, curve, curve};
    ProfileHandle profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return profile;
}

inline ProfileHandle makeProfile(TestProfile which) {
    const cmsCIExyY d50{0.3457, 0.3585, 1.0};
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE srgbPrimaries{{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    switch (which) {
        case TestProfile::proPhoto:
            return rgbProfile(d50,
                              {{0.7347, 0.2653, 1.0}, {0.1596, 0.8404, 1.0}, {0.0366, 0.0001, 1.0}},
                              cmsBuildGamma(nullptr, 1.8));
        case TestProfile::adobeRgb:
            return rgbProfile(d65, {{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}},
                              cmsBuildGamma(nullptr, 563.0 / 256.0));
        case TestProfile::srgbGamma22:
            return rgbProfile(d65, srgbPrimaries, cmsBuildGamma(nullptr, 2.2));
        case TestProfile::srgb:
            return ProfileHandle(cmsCreate_sRGBProfile());
        case TestProfile::srgbTabulated: {
            const double parameters[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
            cmsToneCurve* parametric = cmsBuildParametricToneCurve(nullptr, 4, parameters);
            std::vector<cmsUInt16Number> table(1024);
            for (size_t i = 0; i < table.size(); ++i) {
                table[i] = cmsEvalToneCurve16(parametric,
                                              static_cast<cmsUInt16Number>(i * 65535 / 1023));
            }
            cmsFreeToneCurve(parametric);
            return rgbProfile(d65, srgbPrimaries,
                              cmsBuildTabulatedToneCurve16(nullptr, 1024, table.data()));
        }
        case TestProfile::gray10: {
            cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
            ProfileHandle profile(cmsCreateGrayProfile(cmsD50_xyY(), linear));
            cmsFreeToneCurve(linear);
            return profile;
        }
        case TestProfile::lab:
            return ProfileHandle(cmsCreateLab4Profile(nullptr));
    }
    throw std::logic_error("unknown test profile");
}

// The profile's ICC bytes, as a file embeds them.
inline std::vector<uint8_t> iccBytes(TestProfile which) {
    const ProfileHandle profile = makeProfile(which);
    cmsUInt32Number size = 0;
    if (!profile || cmsSaveProfileToMem(profile.get(), nullptr, &size) == 0) {
        throw std::runtime_error("cannot save the test profile");
    }
    std::vector<uint8_t> bytes(size);
    cmsSaveProfileToMem(profile.get(), bytes.data(), &size);
    return bytes;
}

// count pixels of source (BGR, or grey samples for a grey profile) converted by Little CMS
// from the profile of iccSource to that of iccTarget (empty: sRGB), perceptual intent, into
// BGR.
inline std::vector<uint8_t> convertedByLittleCms(const std::vector<uint8_t>& iccSource,
                                                 const std::vector<uint8_t>& iccTarget,
                                                 const uint8_t* source, size_t count) {
    const ProfileHandle from = openProfile(iccSource);
    const ProfileHandle to = openProfile(iccTarget);
    const bool gray = cmsGetColorSpace(from.get()) == cmsSigGrayData;
    cmsHTRANSFORM transform = cmsCreateTransform(from.get(), gray ? TYPE_GRAY_8 : TYPE_BGR_8,
                                                 to.get(), TYPE_BGR_8, INTENT_PERCEPTUAL, 0);
    if (transform == nullptr) {
        throw std::runtime_error("Little CMS cannot link the test profiles");
    }
    std::vector<uint8_t> converted(count * 3);
    cmsDoTransform(transform, source, converted.data(), static_cast<cmsUInt32Number>(count));
    cmsDeleteTransform(transform);
    return converted;
}

// The BGR pixels of a 24-bit picture, row after row from the top, without row padding.
inline std::vector<uint8_t> bgrPixels(const NkDib& picture) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < picture.height(); ++y) {
        const uint8_t* row = picture.constScanLine(y);
        pixels.insert(pixels.end(), row, row + size_t(picture.width()) * 3);
    }
    return pixels;
}

}  // namespace ravinel::testing
