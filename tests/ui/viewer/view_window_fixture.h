#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tests/temp_dir.h"
#include "tests/ui/shared_hub_test.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"
#include "viewer/image_window.h"

namespace ravinel::testing {

// The captions of the information submenu, as the popup builds them; "-" a separator.
inline std::vector<std::string> infoCaptions(const ImageWindow& window) {
    emit window.popupMenu().menu->aboutToShow();
    std::vector<std::string> texts;
    for (const QAction* action : window.popupMenu().vpInfo->actions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

// A hub for the whole test program, a folder of pictures and text files, and image
// windows opened as the hub opens them.
class ViewWindowTest : public SharedHubTest {
  protected:
    void TearDown() override {
        // Deleting skips the close handler and its idle hook that would end the run.
        for (ImageWindow* window : imageWindows()) {
            delete window;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::string folder() const { return folder_.path(""); }

    void writeBmp(const std::string& name, int width, int height) const {
        fixtures::toDib(fixtures::gradientPicture(width, height)).saveToFile(folder_.path(name));
    }
    void writeJpeg(const std::string& name, int width, int height) const {
        folder_.write(name, fixtures::encodeJpeg(fixtures::photoLikePicture(width, height)));
    }
    void writeText(const std::string& name) const {
        const std::string text = "not a picture\n";
        folder_.write(name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }

    // A window on the folder, read anew; null when the picture does not load (the window
    // then closed itself).
    ImageWindow* open(const std::string& name) {
        auto* window = new ImageWindow(hub());
        return window->open(folder() + name, DirFilesInfo()) ? window : nullptr;
    }

    static QScrollArea* scrollArea(ImageWindow* window) {
        return window->findChild<QScrollArea*>();
    }
    static QLabel* picture(ImageWindow* window) { return window->findChild<QLabel*>(); }
    // Sizes and places in device pixels, the unit of the display rules.
    static QSize pictureSize(ImageWindow* window) { return picture(window)->pixmap().size(); }
    static int device(int logical, ImageWindow* window) {
        return static_cast<int>(std::lround(logical * window->devicePixelRatioF()));
    }
    static QSize clientSize(ImageWindow* window) {
        return {device(window->width(), window), device(window->height(), window)};
    }
    static QRect frameRect(ImageWindow* window) {
        const QRect frame = window->frameGeometry();
        return {device(frame.left(), window), device(frame.top(), window),
                device(frame.width(), window), device(frame.height(), window)};
    }
    static std::string title(ImageWindow* window) { return window->windowTitle().toStdString(); }

    TempDir folder_;
};

}  // namespace ravinel::testing
