#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// Failures of colour management. Only a profile chosen as the target of conversions
// raises them: a picture's own profile that cannot be used leaves the picture as it is.
class ColorError : public std::runtime_error {
  public:
    explicit ColorError(const std::string& message) : std::runtime_error(message) {}
};

// An ICC profile that Little CMS cannot open, or that cannot serve where it is asked to.
class ColorProfileError : public ColorError {
  public:
    explicit ColorProfileError(const std::string& message) : ColorError(message) {}
};

}  // namespace ravinel
