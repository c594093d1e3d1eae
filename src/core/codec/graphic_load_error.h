#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ravinel {

// A decoder of the graphic loader could not read its data. The loader catches it; it
// shows only as an empty result record.
class GraphicLoadError : public std::runtime_error {
  public:
    explicit GraphicLoadError(const std::string& message) : std::runtime_error(message) {}
};

// A picture refused before its pixels were allocated: a side over the limit, or (byMemory)
// a pixel store or working memory larger than the decode may take. The sides are the
// declared ones.
class PictureTooLargeError : public GraphicLoadError {
  public:
    PictureTooLargeError(int64_t width, int64_t height, bool byMemory = false)
        : GraphicLoadError("Picture is too large (" + std::to_string(width) + " x " +
                           std::to_string(height) + ")"),
          width_(width),
          height_(height),
          byMemory_(byMemory) {}

    int64_t width() const { return width_; }
    int64_t height() const { return height_; }
    bool byMemory() const { return byMemory_; }

  private:
    int64_t width_;
    int64_t height_;
    bool byMemory_;
};

}  // namespace ravinel
