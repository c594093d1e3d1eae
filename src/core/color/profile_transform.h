#pragma once

#include <memory>

#include "color/icc_profile.h"
#include "dib/nk_dib.h"

namespace ravinel {

// The conversion of pixels from a picture's profile to the target profile, perceptual
// intent. One transform serves several threads at once.
class ProfileTransform {
  public:
    // Null when the source is neither RGB nor grey, the target not RGB, or Little CMS
    // cannot link the two.
    static std::unique_ptr<const ProfileTransform> between(const IccProfile& source,
                                                           const IccProfile& target);
    ~ProfileTransform();
    ProfileTransform(const ProfileTransform&) = delete;
    ProfileTransform& operator=(const ProfileTransform&) = delete;

    // Converts the picture in place: the rows of a 24-bit picture, the colour table of a
    // palette picture. A grey source converts only pictures whose colours are all grey.
    // False, and the picture untouched, where the source does not describe its pixels.
    bool applyTo(NkDib& picture) const;

  private:
    ProfileTransform(void* handle, ProfileColorSpace source) : handle_(handle), source_(source) {}

    bool applyToRgbRows(NkDib& picture) const;
    bool applyToPalette(NkDib& picture) const;
    bool applyToGrayRows(NkDib& picture) const;

    void* handle_;
    ProfileColorSpace source_;
};

}  // namespace ravinel
