#include "app/app_hub.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScreen>
#include <QWidget>
#include <exception>
#include <iostream>

#include "app/application_forms.h"
#include "app/display_profile.h"
#include "app/minimize_all.h"
#include "app/screen_metrics_reader.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "archive/archiver.h"
#include "browser/browser_window.h"
#include "color/color_error.h"
#include "common/idle_dispatcher.h"
#include "common/launch_target.h"
#include "common/load_failure_message.h"
#include "common/program_icon.h"
#include "common/settings_color.h"
#include "common/ui_language.h"
#include "dialogs/archive_window.h"
#include "dialogs/options_window.h"
#include "platform/cpu_features.h"
#include "plugin_host/spis_search.h"
#include "settings/settings_limits.h"
#include "viewer/image_window.h"

namespace ravinel {

AppHub::AppHub(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {
    formCreate();
}

AppHub::~AppHub() {
    IdleDispatcher::instance().clearHandler();
}

void AppHub::formCreate() {
    const CpuFeatures features = getCpuFeatures();
    if (!features.mmx) {
        // Nothing to run on: end at the first idle moment without touching the settings.
        installCloseWhenAlone();
        return;
    }
    started_ = true;
    optionShowing_ = false;
    browserShowing_ = false;
    spis_ = std::make_unique<Spis>();
    spis_->graphicPreview = true;
    spis_->onSearch = spisSearch;
    sharedSpis_ = std::make_unique<SharedSpiHost>(*spis_, pluginLock_);
    graphicLoader_ = std::make_unique<GraphicLoader>(sharedSpis_.get());
    graphicLoader_->budget = &decodeBudget_;
    settings_ = loadSettings(settingsPath_);
    useLanguage();
    applyLoaderFlags();
    useDisplayProfile();
    spis_->searchOptions = settings_.spiSearchOptions;
    if (!features.amd3DNow) {
        settings_.viewConf.use3DNow = false;
    }
    searchPlugins();
    refillMetrics();
    watchScreens();
    createTrayIcon();
}

void AppHub::applyLoaderFlags() {
    graphicLoader_->doAnalyze = settings_.loaderFlags.doAnalyze;
    graphicLoader_->useSpiPrev = settings_.loaderFlags.useSpiPrev;
    graphicLoader_->inBmpFirst = settings_.loaderFlags.inBmpFirst;
    graphicLoader_->inJpgFirst = settings_.loaderFlags.inJpgFirst;
    graphicLoader_->useOrientation = settings_.loaderFlags.useOrientation;
    graphicLoader_->maxSide = pictureSideLimit(settings_.loaderFlags.maxSide);
    graphicLoader_->useColorProfile = settings_.loaderFlags.useColorProfile;
    graphicLoader_->alphaBackground =
        alphaBackgroundOf(settings_.loaderFlags, QApplication::palette());
}

// Chosen at start: a language chosen in the options window shows from the next start.
void AppHub::useLanguage() {
    if (!useUiLanguage(translator_, chooseUiLanguage(settings_.uiLanguage, QLocale::system()))) {
        std::cerr << "ravinel: the English translation could not be loaded\n";
    }
}

// Read once: a profile the user changes later takes effect at the next start.
void AppHub::useDisplayProfile() {
    try {
        graphicLoader_->setTargetProfile(displayIccProfile());
    } catch (const ColorProfileError& error) {
        std::cerr << "ravinel: the display's colour profile is not used (" << error.what()
                  << "); pictures are converted to sRGB\n";
    }
}

void AppHub::searchPlugins() {
    if (spis_->searchOptions == 0) {
        return;
    }
    const std::lock_guard hold(pluginLock_);
    searchSpiFiles(*spis_,
                   [](const std::string& message) { std::cerr << "ravinel: " << message << "\n"; });
}

void AppHub::refillMetrics() {
    const ScreenMetrics fresh = cachedScreenMetrics();
    // Frames are known only from a shown window; keep what was measured.
    metrics_.bitsPerPixel = fresh.bitsPerPixel;
    metrics_.hScrollHeight = fresh.hScrollHeight;
    metrics_.vScrollWidth = fresh.vScrollWidth;
}

void AppHub::watchScreens() {
    auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &AppHub::refillMetrics);
        connect(screen, &QScreen::geometryChanged, this, &AppHub::refillMetrics);
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &AppHub::refillMetrics);
    };
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        refillMetrics();
    });
}

void AppHub::noteFrameExtents(int32_t frameWidth, int32_t frameHeight, int32_t frameY) {
    metrics_.frameWidth = frameWidth;
    metrics_.frameHeight = frameHeight;
    metrics_.frameX = 2 * frameWidth;
    metrics_.frameY = frameY;
}

ScreenMetrics AppHub::getScreenMetrics(const QWidget* form) const {
    return readScreenMetrics(form, metrics_);
}

void AppHub::createTrayIcon() {
    trayIcon_ = std::make_unique<TrayIcon>();
    trayIcon_->setTipHelp("Ravinel");
    trayIcon_->setIcon(programIcon());
    trayIcon_->onMouseClick = [this] { trayIconMouseClick(); };
    trayIcon_->setVisible(true);
}

void AppHub::listenForHandoff(std::unique_ptr<HandoffServer> server) {
    handoffServer_ = std::move(server);
    handoffServer_->onExecuteMacro = [this](const std::vector<std::string>& lines) {
        executeMacro(lines);
    };
}

void AppHub::dispatchCommandLine(const std::string& argument) {
    if (!started_) {
        return;
    }
    const LaunchTarget target = launchTarget(argument);
    if (target.kind != LaunchTarget::Kind::none) {
        settings_.lastDir = target.lastDir;
    }
    // A path that is no file is reported as a picture that does not open.
    if ((target.kind == LaunchTarget::Kind::file || target.kind == LaunchTarget::Kind::missing) &&
        openFileOrArchive(target.path, true)) {
        return;
    }
    openBrowser();
}

void AppHub::executeMacro(const std::vector<std::string>& lines) {
    if (optionShowing_) {
        tellUser(tr("オプションウィンドウ表示中は処理できません"));
        return;
    }
    if (lines.empty() || lines.front().empty()) {
        return;
    }
    const LaunchTarget target = launchTarget(lines.front());
    if (target.kind == LaunchTarget::Kind::folder) {
        return;
    }
    settings_.lastDir = target.lastDir;
    openFileOrArchive(target.path, true);
}

// Only an archive that is no picture and cannot be listed either is reported.
bool AppHub::openFileOrArchive(const std::string& path, bool /*fromMenu*/) {
    GraphicLoadInfo failure;
    if (tryImageWindow(path, dirFilesInfo_, failure) ||
        (settings_.thumbConf.openArc && openArchiveWindow(path))) {
        return true;
    }
    reportFailedOpen(path, failure);
    return false;
}

bool AppHub::openImageFile(const std::string& fileName, const DirFilesInfo& filesInfo,
                           bool /*fromMenu*/) {
    GraphicLoadInfo failure;
    if (tryImageWindow(fileName, filesInfo, failure)) {
        return true;
    }
    reportFailedOpen(fileName, failure);
    return false;
}

bool AppHub::tryImageWindow(const std::string& fileName, const DirFilesInfo& filesInfo,
                            GraphicLoadInfo& failure) {
    // The window frees itself when it closes, also when the picture does not load: not
    // before the event loop runs again, so its record can still be read here.
    auto* window = new ImageWindow(*this);
    if (window->open(fileName, filesInfo)) {
        return true;
    }
    failure = window->process().loadInfo;
    return false;
}

bool AppHub::openArchiveMember(const std::string& archiveName, const std::string& memberName,
                               const FilesInfo& filesInfo) {
    auto* window = new ImageWindow(*this);
    if (window->open(archiveName, memberName, filesInfo)) {
        return true;
    }
    const GraphicLoadInfo failure = window->process().loadInfo;
    reportFailedOpen(archiveName + " : " + memberName, failure);
    return false;
}

void AppHub::reportFailedOpen(const std::string& name, const GraphicLoadInfo& failure) {
    tellUser(loadFailureMessage(name, failure, graphicLoader_->maxSide));
}

void AppHub::tellUser(const QString& text) {
    if (onMessage) {
        onMessage(text);
    } else {
        QMessageBox::information(nullptr, "Ravinel", text);
    }
}

bool AppHub::openArchiveWindow(const std::string& archiveName) {
    auto* window = new ArchiveWindow(*this);
    try {
        window->archiveName = archiveName;
        if (window->loadArchive()) {
            window->sortFiles(settings_.thumbConf.sortMode);
            window->show();
            return true;
        }
    } catch (const std::exception& e) {
        std::cerr << "ravinel: " << archiveName << ": " << e.what() << "\n";
    }
    window->close();
    return false;
}

void AppHub::openBrowser() {
    browserShowing_ = true;
    BrowserWindow* browser = nullptr;
    try {
        browser = new BrowserWindow(*this);
        browser->show();
    } catch (const std::exception& e) {
        std::cerr << "ravinel: the browser window did not open: " << e.what() << "\n";
        if (browser != nullptr) {
            browser->close();
        } else {
            // No window to clear the flag and to end the run when nothing else is shown.
            browserShowing_ = false;
            if (noOtherWindowShown(nullptr)) {
                installCloseWhenAlone();
            }
        }
    }
}

void AppHub::showOptions() {
    optionShowing_ = true;
    const auto clearFlag = qScopeGuard([this] { optionShowing_ = false; });
    OptionsWindow options(*this);
    // Closing writes the settings back, also when an exception ends the run early.
    const auto close = qScopeGuard([&options] { options.close(); });
    options.exec();
}

void AppHub::windowClosing(const QWidget* window) {
    if (noOtherWindowShown(window)) {
        installCloseWhenAlone();
    }
}

bool AppHub::noOtherWindowShown(const QWidget* except) const {
    for (const QWidget* form : applicationForms()) {
        if (form != except && form->isVisible()) {
            return false;
        }
    }
    return true;
}

void AppHub::installCloseWhenAlone() {
    IdleDispatcher::instance().setHandler([this] {
        if (applicationForms().isEmpty()) {
            IdleDispatcher::instance().clearHandler();
            formClose();
        }
        return true;
    });
}

void AppHub::closeAllWindows() {
    for (QWidget* form : applicationForms()) {
        form->close();
    }
    installCloseWhenAlone();
}

void AppHub::trayIconMouseClick() {
    QList<QWidget*> forms = applicationForms();
    forms.removeIf([](const QWidget* form) { return !form->isVisible(); });
    if (!optionShowing_ && !forms.isEmpty()) {
        minimizeOrRestoreAll(forms);
    }
}

void AppHub::formClose() {
    freeAllArchiverDlls();
    if (started_) {
        try {
            saveSettings(settings_, settingsPath_);
        } catch (const std::exception& e) {
            std::cerr << "ravinel: the settings were not saved: " << e.what() << "\n";
        }
    }
    trayIcon_.reset();
    emit closed();
    QCoreApplication::quit();
}

}  // namespace ravinel
