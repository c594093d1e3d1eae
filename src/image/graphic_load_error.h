#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// A decoder of the graphic loader could not read its data. The loader catches it; it
// shows only as an empty result record.
class GraphicLoadError : public std::runtime_error {
  public:
    explicit GraphicLoadError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ravinel
