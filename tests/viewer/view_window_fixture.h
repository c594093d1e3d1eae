#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "tests/app/shared_hub_test.h"
#include "tests/image/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"
#include "viewer/image_window.h"

namespace ravinel::testing {

// A hub for the whole test program, a folder of pictures and text files, and image
// windows opened the way the hub opens them: source, list, first load, show, display.
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

    // Null when the picture does not load, as the hub opens no window then.
    ImageWindow* open(const std::string& name) {
        auto* window = new ImageWindow(hub());
        window->setFolderSource(folder(), name);
        window->dirFilesInfo().setDir(folder());
        window->dirFilesInfo().sort(0);
        GProcess& process = window->process();
        hub().graphicLoader().loadFromFile(process.source, folder() + name, false,
                                           process.loadInfo);
        if (!process.loadInfo.succeeded()) {
            delete window;
            return nullptr;
        }
        window->setLoadTime(1);
        window->show();
        window->showFirstPicture();
        return window;
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
