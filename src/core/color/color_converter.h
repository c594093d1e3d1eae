#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "color/icc_profile.h"
#include "color/profile_transform.h"
#include "dib/nk_dib.h"

namespace ravinel {

// Converts pictures from their embedded ICC profile to a target profile, the display's or
// sRGB. A picture without a profile, with one that matches sRGB, or with one that does not
// describe its pixels (CMYK, Lab, damaged, too large) is left as it is, so its pixels stay
// those stored. One converter serves several threads at once; it keeps the transforms of
// the last few profiles it met.
class ColorConverter {
  public:
    // Converts to sRGB.
    ColorConverter();
    // Converts to the profile of these bytes. Throws ColorProfileError when they are no
    // RGB profile Little CMS can convert to.
    explicit ColorConverter(std::span<const uint8_t> targetProfile);
    ColorConverter(const ColorConverter&) = delete;
    ColorConverter& operator=(const ColorConverter&) = delete;

    // Converts the picture from profile; true when its pixels or colour table changed.
    bool convert(NkDib& picture, std::span<const uint8_t> profile) const;

  private:
    struct CachedTransform {
        std::vector<uint8_t> profile;
        // Null: pictures of this profile stay as they are.
        std::shared_ptr<const ProfileTransform> transform;
    };

    std::shared_ptr<const ProfileTransform> transformFor(std::span<const uint8_t> profile) const;
    std::shared_ptr<const ProfileTransform> makeTransform(std::span<const uint8_t> profile) const;

    IccProfile srgb_;
    IccProfile target_;
    mutable std::mutex mutex_;
    mutable std::deque<CachedTransform> cache_;
};

}  // namespace ravinel
