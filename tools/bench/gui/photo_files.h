#pragma once

#include <string>

namespace ravinel {
class ImageWindow;
}

namespace ravinel::bench {

// Writes the same bytes as `ravinel-sample photo.jpg WIDTH HEIGHT` to path, so that other
// programs can be timed on this very file.
void writePhoto(const std::string& path, int width, int height);

// The one image window open; throws when there is none.
ImageWindow* openedWindow();

}  // namespace ravinel::bench
