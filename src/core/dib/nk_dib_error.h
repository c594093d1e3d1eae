#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// Failures of the DIB class. Callers catch the family; none of them is fatal.
class NkDibError : public std::runtime_error {
  public:
    explicit NkDibError(const std::string& message) : std::runtime_error(message) {}
};

#define RAVINEL_NK_DIB_ERROR(Name)                                         \
    class Name : public NkDibError {                                       \
      public:                                                              \
        explicit Name(const std::string& message) : NkDibError(message) {} \
    }

RAVINEL_NK_DIB_ERROR(NkDibInvalidDibError);
RAVINEL_NK_DIB_ERROR(NkDibInvalidDibFileError);
RAVINEL_NK_DIB_ERROR(NkDibInvalidDibParaError);
RAVINEL_NK_DIB_ERROR(NkDibBadDibTypeError);
RAVINEL_NK_DIB_ERROR(NkDibPaletteIndexRangeError);
RAVINEL_NK_DIB_ERROR(NkDibPixelPositionRangeError);
RAVINEL_NK_DIB_ERROR(NkDibInvalidPaletteError);
RAVINEL_NK_DIB_ERROR(NkDibCompressionFailedError);
RAVINEL_NK_DIB_ERROR(NkDibCanvasFailedError);

#undef RAVINEL_NK_DIB_ERROR

// Memory exhaustion while a pixel store is obtained.
class OutOfResourcesError : public std::runtime_error {
  public:
    explicit OutOfResourcesError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ravinel
