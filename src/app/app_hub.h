#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "app/screen_metrics.h"
#include "app/settings.h"
#include "browse/dir_files_info.h"
#include "browse/gui/file_icon_cache.h"
#include "image/decode_limits.h"
#include "image/graphic_loader.h"
#include "image/spis.h"

class QWidget;

namespace ravinel {

class ImageWindow;
class GProcess;
class TrayIcon;
class HandoffServer;

// The hub: never shown, alive for the whole run. It owns the services every window
// shares (plug-in host, loader, settings, screen metrics, tray icon, the hand-off
// server), opens the windows and ends the program when the last one has gone.
class AppHub : public QObject {
    Q_OBJECT

  public:
    // Loads the settings from settingsPath and starts the services. Without MMX nothing
    // is loaded and the program ends at its first idle moment.
    explicit AppHub(std::string settingsPath);
    ~AppHub() override;

    // Opens the first window for the program's first argument (empty: none).
    void dispatchCommandLine(const std::string& argument);
    // Starts serving the paths later instances hand over.
    void listenForHandoff(std::unique_ptr<HandoffServer> server);

    ScreenMetrics getScreenMetrics(const QWidget* form) const;
    int32_t screenBitsPerPixel() const { return metrics_.bitsPerPixel; }
    // Remembers the frame a window manager put around a shown framed window, so that
    // later windows are sized with it.
    void noteFrameExtents(int32_t frameWidth, int32_t frameHeight, int32_t frameY);

    // Each returns whether a window was opened; a picture that does not load opens none.
    bool openImageFile(const std::string& fileName, const DirFilesInfo& filesInfo,
                       bool fromMenu = true);
    bool openArchiveMember(const std::string& archiveName, const std::string& memberName,
                           const FilesInfo& filesInfo);
    // Lists archiveName in an archive member window; false (no window) when nothing of
    // it can be listed.
    bool openArchiveWindow(const std::string& archiveName);
    // A picture in an image window (with the shared folder list), else, with the OpenArc
    // setting on, the member list of the archive it may be.
    bool openFileOrArchive(const std::string& path, bool fromMenu = true);
    // Opens the browser window on the folder settings().lastDir names.
    void openBrowser();
    // Runs the options window modally; optionShowing is set meanwhile.
    void showOptions();

    // True when no window other than except is visible.
    bool noOtherWindowShown(const QWidget* except) const;
    // Installs the idle handler that ends the run once no window is left.
    void installCloseWhenAlone();

    // Closes every window, so that the run ends as if the user had closed them.
    void closeAllWindows();

    // A path handed over by another instance, as lines of text.
    void executeMacro(const std::vector<std::string>& lines);

    Settings& settings() { return settings_; }
    GraphicLoader& graphicLoader() { return *graphicLoader_; }
    Spis& spis() { return *spis_; }
    // The folder list the browser shows; it may be handed to openImageFile.
    DirFilesInfo& dirFilesInfo() { return dirFilesInfo_; }
    // The desktop's file icons behind the icon numbers of the shared list.
    FileIconCache& iconCache() { return iconCache_; }

    bool optionShowing = false;
    bool browserShowing = false;

  signals:
    // The run is over: settings saved, modules unloaded.
    void closed();

  private:
    void formCreate();
    // Makes an image window, loads into its pipeline and shows it when the load succeeded
    // (after giving it its source); otherwise, or on an exception, closes it again.
    bool openView(const std::string& what, const std::function<void(GProcess&)>& load,
                  const std::function<void(ImageWindow&)>& giveSource);
    void applyLoaderFlags();
    void searchPlugins();
    void refillMetrics();
    void watchScreens();
    void createTrayIcon();
    void trayIconMouseClick();
    void formClose();

    std::string settingsPath_;
    bool started_ = false;  // false without MMX: nothing loaded, nothing saved
    Settings settings_;
    std::unique_ptr<Spis> spis_;
    // Shared by the decodes of the viewer and the browser's thumbnails.
    MemoryBudget decodeBudget_{kDisplayDecodeBytes};
    std::unique_ptr<GraphicLoader> graphicLoader_;
    FileIconCache iconCache_;
    DirFilesInfo dirFilesInfo_{&iconCache_};
    ScreenMetrics metrics_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<HandoffServer> handoffServer_;
};

// The one hub of the run; null before it is made and after it closed.
extern AppHub* formRvMain;

}  // namespace ravinel
