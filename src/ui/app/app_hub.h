#pragma once

#include <QObject>
#include <QString>
#include <QTranslator>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "browse/dir_files_info.h"
#include "codec/decode_limits.h"
#include "codec/graphic_loader.h"
#include "codec/shared_spi_host.h"
#include "common/app_context.h"
#include "common/file_icon_cache.h"
#include "common/screen_metrics.h"
#include "common/window_opener.h"
#include "plugin_host/spis.h"
#include "settings/settings.h"

class QWidget;

namespace ravinel {

class TrayIcon;
class HandoffServer;

// The hub: never shown, alive for the whole run. It owns the services every window
// shares (plug-in host, loader, settings, screen metrics, tray icon, the hand-off
// server), hands them to each window it makes, decides which window shows what and ends
// the program when the last window has gone.
class AppHub : public QObject, public AppContext, public WindowOpener {
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

    Settings& settings() override { return settings_; }
    GraphicLoader& graphicLoader() override { return *graphicLoader_; }
    MemoryBudget& preloadBudget() override { return preloadBudget_; }
    Spis& spis() override { return *spis_; }
    std::mutex& pluginLock() override { return pluginLock_; }
    DirFilesInfo& dirFilesInfo() override { return dirFilesInfo_; }
    FileIconCache& iconCache() override { return iconCache_; }
    ScreenMetrics getScreenMetrics(const QWidget* form) const override;
    int32_t screenBitsPerPixel() const override { return metrics_.bitsPerPixel; }
    void noteFrameExtents(int32_t frameWidth, int32_t frameHeight, int32_t frameY) override;
    WindowOpener& windows() override { return *this; }

    bool openImageFile(const std::string& fileName, const DirFilesInfo& filesInfo,
                       bool fromMenu) override;
    bool openArchiveMember(const std::string& archiveName, const std::string& memberName,
                           const FilesInfo& filesInfo) override;
    // Lists archiveName in an archive member window; false (no window) when nothing of
    // it can be listed.
    bool openArchiveWindow(const std::string& archiveName);
    bool openFileOrArchive(const std::string& path, bool fromMenu) override;
    void openBrowser() override;
    // optionShowing is set while the options window runs.
    void showOptions() override;
    bool browserShowing() const override { return browserShowing_; }
    void setBrowserShowing(bool showing) override { browserShowing_ = showing; }
    void windowClosing(const QWidget* window) override;

    // True when no window other than except is visible.
    bool noOtherWindowShown(const QWidget* except) const;
    // Installs the idle handler that ends the run once no window is left.
    void installCloseWhenAlone();

    // Closes every window, so that the run ends as if the user had closed them.
    void closeAllWindows();

    // A path handed over by another instance, as lines of text.
    void executeMacro(const std::vector<std::string>& lines);

    // Where what the user must be told goes instead of a modal message box, when set
    // (tests and tools that run without anyone to close a box).
    std::function<void(const QString& text)> onMessage;

  signals:
    // The run is over: settings saved, modules unloaded.
    void closed();

  private:
    void formCreate();
    void applyLoaderFlags();
    void useLanguage();
    void useDisplayProfile();
    void searchPlugins();
    void refillMetrics();
    void watchScreens();
    void createTrayIcon();
    void trayIconMouseClick();
    void formClose();
    // A message box over no window, or the hook.
    void tellUser(const QString& text);
    // Opens fileName in a new image window; false, with the loader's record in failure,
    // when it does not load.
    bool tryImageWindow(const std::string& fileName, const DirFilesInfo& filesInfo,
                        GraphicLoadInfo& failure);
    // The box of a picture the user asked for that did not open: the file and why.
    void reportFailedOpen(const std::string& name, const GraphicLoadInfo& failure);

    std::string settingsPath_;
    bool started_ = false;  // false without MMX: nothing loaded, nothing saved
    bool optionShowing_ = false;
    bool browserShowing_ = false;
    Settings settings_;
    QTranslator translator_;  // the windows' language, installed while the hub lives
    std::unique_ptr<Spis> spis_;
    std::mutex pluginLock_;
    // The loader's way to the plug-ins, shared with the browser's threads.
    std::unique_ptr<SharedSpiHost> sharedSpis_;
    // Shared by the decodes of the viewer and the browser's thumbnails.
    MemoryBudget decodeBudget_{kDisplayDecodeBytes};
    // Held by prepared pictures until a window takes them: apart from the decodes', so
    // that a decode never waits for what only the user-interface thread lets go.
    MemoryBudget preloadBudget_{kDisplayDecodeBytes};
    std::unique_ptr<GraphicLoader> graphicLoader_;
    FileIconCache iconCache_;
    DirFilesInfo dirFilesInfo_{&iconCache_};
    ScreenMetrics metrics_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<HandoffServer> handoffServer_;
};

}  // namespace ravinel
