#pragma once

#include <cstdint>
#include <mutex>

#include "common/screen_metrics.h"

class QWidget;

namespace ravinel {

class DirFilesInfo;
class FileIconCache;
class GraphicLoader;
class MemoryBudget;
class Spis;
class WindowOpener;
struct Settings;

// What a window needs of the running program, handed to it when it is made: the settings,
// the services every window shares, the screen, and the opener of the other windows. It
// outlives every window.
class AppContext {
  public:
    virtual ~AppContext() = default;

    // The live defaults: windows start from them and write back what the user keeps.
    virtual Settings& settings() = 0;
    virtual GraphicLoader& graphicLoader() = 0;
    // The memory the pictures image windows prepare ahead share, all windows together.
    virtual MemoryBudget& preloadBudget() = 0;
    virtual Spis& spis() = 0;
    // Held by every load through the plug-in host, which keeps the state of one load:
    // other threads load through a SharedSpiHost over spis() and this lock, and whoever
    // changes the plug-ins holds it.
    virtual std::mutex& pluginLock() = 0;
    // The folder list the browser shows; an image window opened from it copies it.
    virtual DirFilesInfo& dirFilesInfo() = 0;
    // The desktop's file icons behind the icon numbers of the shared list.
    virtual FileIconCache& iconCache() = 0;

    // The screen of form, with the frames measured so far.
    virtual ScreenMetrics getScreenMetrics(const QWidget* form) const = 0;
    virtual int32_t screenBitsPerPixel() const = 0;
    // Remembers the frame a window manager put around a shown framed window, so that
    // later windows are sized with it.
    virtual void noteFrameExtents(int32_t frameWidth, int32_t frameHeight, int32_t frameY) = 0;

    virtual WindowOpener& windows() = 0;
};

}  // namespace ravinel
