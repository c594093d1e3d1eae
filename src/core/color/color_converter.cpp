#include "color/color_converter.h"

#include <algorithm>

#include "color/color_error.h"
#include "color/srgb_match.h"

namespace ravinel {

namespace {

// A folder of photos rarely holds more than a few profiles.
constexpr size_t kCachedTransforms = 8;

}  // namespace

ColorConverter::ColorConverter() : srgb_(IccProfile::srgb()), target_(IccProfile::srgb()) {}

ColorConverter::ColorConverter(std::span<const uint8_t> targetProfile)
    : srgb_(IccProfile::srgb()), target_(IccProfile::fromBytes(targetProfile)) {
    if (target_.colorSpace() != ProfileColorSpace::rgb) {
        throw ColorProfileError("The target ICC profile is not an RGB profile");
    }
    if (!ProfileTransform::between(srgb_, target_)) {
        throw ColorProfileError("Pictures cannot be converted to the target ICC profile");
    }
}

bool ColorConverter::convert(NkDib& picture, std::span<const uint8_t> profile) const {
    if (profile.empty() || profile.size() > kMaxIccProfileBytes) {
        return false;
    }
    const std::shared_ptr<const ProfileTransform> transform = transformFor(profile);
    return transform && transform->applyTo(picture);
}

std::shared_ptr<const ProfileTransform> ColorConverter::transformFor(
    std::span<const uint8_t> profile) const {
    // Profiles and transforms are made under the lock: Little CMS reads a profile's tags
    // lazily, and the target profile is shared.
    const std::lock_guard lock(mutex_);
    const auto cached = std::find_if(cache_.begin(), cache_.end(), [&](const CachedTransform& c) {
        return std::equal(c.profile.begin(), c.profile.end(), profile.begin(), profile.end());
    });
    if (cached != cache_.end()) {
        return cached->transform;
    }
    if (cache_.size() == kCachedTransforms) {
        cache_.pop_front();
    }
    cache_.push_back({{profile.begin(), profile.end()}, makeTransform(profile)});
    return cache_.back().transform;
}

std::shared_ptr<const ProfileTransform> ColorConverter::makeTransform(
    std::span<const uint8_t> profile) const {
    try {
        const IccProfile source = IccProfile::fromBytes(profile);
        if (matchesSrgb(source, srgb_)) {
            return nullptr;
        }
        return ProfileTransform::between(source, target_);
    } catch (const ColorProfileError&) {
        return nullptr;
    }
}

}  // namespace ravinel
