#include <gif_lib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "cached_folder.h"
#include "gui_bench_case.h"
#include "plugin_host/spis.h"
#include "viewer/image_window.h"

namespace ravinel::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 30;
constexpr int kDelayCs = 10;  // 100 ms a frame: a loop takes 3 s
const char* const kFileName = "moving.gif";

// Thirty full frames of bands that move from frame to frame, as a screen recording has.
void writeGif(const std::string& dir) {
    std::vector<GifColorType> colours(256);
    for (int i = 0; i < 256; ++i) {
        colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                      static_cast<GifByteType>((i * 7) & 255)};
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileName((dir + kFileName).c_str(), false, &error);
    if (gif == nullptr) {
        throw std::runtime_error("cannot write " + dir + kFileName);
    }
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    std::vector<GifPixelType> line(kWidth);
    for (int frame = 0; frame < kFrames; ++frame) {
        GraphicsControlBlock control{};
        control.DelayTime = kDelayCs;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
        EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                line[x] = static_cast<GifPixelType>((x / 16 + y / 32 + frame * 3) & 255);
            }
            EGifPutLine(gif, line.data(), kWidth);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of one core the program used while it played for ms milliseconds.
Figure cpuWhilePlaying(const std::string& name, int ms) {
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds();
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double seconds = static_cast<double>(wall.elapsed()) / 1000;
    return {name, 100 * (cpuSeconds() - cpuBefore) / seconds, "%"};
}

// Opens the GIF in fit mode with a new user's settings and lets it play: the first loop
// makes every frame, the later ones show the frames kept.
std::vector<Figure> playGif(const std::string& dir) {
    QTemporaryDir settingsDir;
    AppHub hub(settingsDir.filePath("ravinel.ini").toStdString());
    hub.spis().search(std::string(RAVINEL_PLUGIN_DIR) + "/*.spi");
    hub.onMessage = [](const QString& text) { throw std::runtime_error(text.toStdString()); };
    hub.noteFrameExtents(3, 3, 29);
    if (!hub.openImageFile(dir + kFileName, hub.dirFilesInfo(), true)) {
        throw std::runtime_error("the GIF did not open");
    }
    ImageWindow* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<ImageWindow*>(widget)) {
            window = found;
        }
    }
    if (window == nullptr || window->framePlayer().frameCount() != kFrames) {
        throw std::runtime_error("the GIF does not play");
    }
    std::vector<Figure> figures = {
        cpuWhilePlaying("CPU, first loop (frames made as they play)", kFrames * kDelayCs * 10),
        cpuWhilePlaying("CPU, next two loops (frames kept)", 2 * kFrames * kDelayCs * 10),
        {"shown width", static_cast<double>(window->process().destWidth), ""},
        {"shown height", static_cast<double>(window->process().destHeight), ""},
    };
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return figures;
}

}  // namespace

void addAnimationCases(std::vector<GuiBenchCase>& cases) {
    auto dir = std::make_shared<std::string>();
    cases.push_back({"play a 30-frame 1920x1080 GIF in fit mode",
                     [dir] {
                         if (dir->empty()) {
                             *dir = cachedFolder("/tmp/ravinel-bench-gif", 1, writeGif);
                         }
                     },
                     [dir] { return playGif(*dir); }});
}

}  // namespace ravinel::bench
