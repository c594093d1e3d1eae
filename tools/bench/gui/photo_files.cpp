#include "photo_files.h"

#include <QApplication>
#include <QWidget>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "tools/fixtures/jpeg_encoder.h"
#include "viewer/image_window.h"

namespace ravinel::bench {

void writePhoto(const std::string& path, int width, int height) {
    const std::vector<uint8_t> jpeg =
        fixtures::encodeJpeg(fixtures::photoLikePicture(width, height));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg.data()),
              static_cast<std::streamsize>(jpeg.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

ImageWindow* openedWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<ImageWindow*>(widget); window != nullptr) {
            return window;
        }
    }
    throw std::runtime_error("the picture opened no window");
}

}  // namespace ravinel::bench
