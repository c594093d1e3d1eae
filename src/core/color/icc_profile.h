#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace ravinel {

// Larger profiles are refused without being parsed: real ones are a few kilobytes, the
// largest lookup-table profiles a megabyte or two.
inline constexpr size_t kMaxIccProfileBytes = size_t{4} << 20;

// What a profile describes the pixels as; other colour spaces (CMYK, Lab, ...) are not
// converted.
enum class ProfileColorSpace : uint8_t { rgb, gray, other };

// An opened ICC profile.
class IccProfile {
  public:
    // Throws ColorProfileError for bytes over kMaxIccProfileBytes or that Little CMS
    // cannot open.
    static IccProfile fromBytes(std::span<const uint8_t> bytes);
    // Little CMS's own sRGB profile.
    static IccProfile srgb();

    ProfileColorSpace colorSpace() const;
    // The Little CMS handle, valid while this object lives.
    void* handle() const { return handle_.get(); }

  private:
    struct Closer {
        void operator()(void* handle) const;
    };
    explicit IccProfile(void* handle) : handle_(handle) {}

    std::unique_ptr<void, Closer> handle_;
};

}  // namespace ravinel
