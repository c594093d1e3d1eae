#include "color/icc_profile.h"

#include <lcms2.h>

#include "color/color_error.h"

namespace ravinel {

void IccProfile::Closer::operator()(void* handle) const {
    cmsCloseProfile(handle);
}

IccProfile IccProfile::fromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxIccProfileBytes) {
        throw ColorProfileError("ICC profile too large (" + std::to_string(bytes.size()) +
                                " bytes)");
    }
    void* handle = cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
    if (handle == nullptr) {
        throw ColorProfileError("Damaged ICC profile");
    }
    return IccProfile(handle);
}

IccProfile IccProfile::srgb() {
    void* handle = cmsCreate_sRGBProfile();
    if (handle == nullptr) {
        throw ColorProfileError("Cannot make the sRGB profile");
    }
    return IccProfile(handle);
}

ProfileColorSpace IccProfile::colorSpace() const {
    switch (cmsGetColorSpace(handle_.get())) {
        case cmsSigRgbData:
            return ProfileColorSpace::rgb;
        case cmsSigGrayData:
            return ProfileColorSpace::gray;
        default:
            return ProfileColorSpace::other;
    }
}

}  // namespace ravinel
