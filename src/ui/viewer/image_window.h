#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "browse/dir_files_info.h"
#include "browse/files_info.h"
#include "common/app_context.h"
#include "common/screen_metrics.h"
#include "process/pipeline/g_process.h"
#include "settings/settings_records.h"
#include "viewer/frame_player.h"
#include "viewer/picture_preloader.h"
#include "viewer/view_popup_menu.h"
#include "viewer/zoom_step.h"

class QLabel;
class QScrollArea;
class QScrollBar;
class QTimer;

namespace ravinel {

// The image window: one per shown picture. It loads its pictures, keeps its own copy of
// the folder's or the archive's file list, its own size and processing settings (copied
// from the context's defaults when made), and shows the pipeline's picture one picture
// pixel to one device pixel, with scroll bars for what does not fit.
class ImageWindow : public QWidget {
    Q_OBJECT

  public:
    // Takes its defaults from the context's settings; the context outlives the window.
    explicit ImageWindow(AppContext& context);
    ~ImageWindow() override;

    // Loads fileName and, when it loads, shows it with its folder's list to step through:
    // filesInfo when it lists that folder, else the folder read anew and sorted as the
    // settings say. A picture that does not load closes the window again (an exception
    // is written to the error stream and kept in the load record): false.
    bool open(const std::string& fileName, const DirFilesInfo& filesInfo);
    // The same for a member of an archive, with filesInfo the archive's member list.
    bool open(const std::string& archiveName, const std::string& memberName,
              const FilesInfo& filesInfo);

    GProcess& process() { return process_; }

    // The state the commands work on, for the information and the tests.
    const ViewFormConf& viewForm() const { return viewForm_; }
    int32_t fileIndex() const { return fileIndex_; }
    int32_t lastIndex() const { return lastIndex_; }
    const std::string& fileName() const { return fileName_; }
    const DirFilesInfo& dirFilesInfo() const { return dirFilesInfo_; }
    const ViewPopupMenu& popupMenu() const { return menu_; }
    FramePlayer& framePlayer() { return player_; }
    // The worker preparing the neighbours of the shown picture.
    PicturePreloader& preloader() { return preloader_; }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class SourceKind : uint8_t { none = 0, folder = 1, archive = 2 };

    // Opening: load runs the first load into the pipeline; takeSource follows once it
    // succeeded, before the window shows.
    bool openWith(const std::string& what, const std::function<void()>& load,
                  const std::function<void()>& takeSource);
    void setFolderSource(const std::string& folder, const std::string& fileName);
    void setArchiveSource(const std::string& archiveName, const std::string& memberName);
    // Processes and shows the first picture once the window is shown.
    void showFirstPicture();

    // Sizing and showing.
    void formShow();
    ScreenMetrics freshMetrics();
    // The window's own state, not the menu tick: a frameless toggle whose replacement
    // failed leaves the tick flipped on a window that still has its frame.
    bool frameless() const { return windowFlags().testFlag(Qt::FramelessWindowHint); }
    void sizeForPicture(const ScreenMetrics& metrics);
    void placeFor(int32_t displayWidth, int32_t displayHeight, const ScreenMetrics& metrics);
    bool noteChangedFrameExtents();
    void replaceAfterFrameKnown();
    // False when the pipeline failed and left its blank picture.
    bool executeProcess();
    void showPicture(const NkDib& picture);
    void redisplay();
    void redisplayAtRate(double rate);
    void redisplayAtLongSide(int32_t size);
    void showStage(ProcessStage stage);
    // The frames of a moving picture start over from the one just made.
    void restartPlayback();
    void setCaption(const std::string& text);
    void updateTitle();

    // Navigation.
    // The list's entry at index (an index off the list throws).
    PictureEntry entryAt(int32_t index) const;
    // Notes the entry as the one shown.
    void setShownEntry(const PictureEntry& entry);
    bool loadAt(int32_t index);
    // Takes the picture the worker prepared for index, as loadAt and the pipeline would
    // make it now; false when there is none.
    bool takePrepared(int32_t index);
    // Hands the shown picture to the worker before another replaces it.
    void retireShown();
    DisplayInputs displayInputs();
    // Has the worker prepare the neighbours of the shown picture.
    void schedulePreload();
    void showAt(int32_t index);
    void vaNextExecute();
    void vaPriorExecute();
    void vaFirstExecute();
    void vaLastExecute();
    void vaThumbViewExecute();
    void updateActions();

    // Menu commands.
    void connectCommands();
    void vpReopenClick();
    void showZoomStep(const ZoomStep& step);
    void vpSizeUpClick();
    void vpSizeDownClick();
    void vpSizeModeClick(SizeMode sizeMode);
    void vpRateClick(double rate);
    void vpRateCustomClick();
    void vpFixedClick(uint16_t size);
    void vpFixedCustomClick();
    void vpWinPosClick(PosMode posMode);
    void vpColorClick(uint8_t colorMode);
    void vpReductMethodClick(uint8_t method);
    void vpExpandMethodClick(uint8_t method);
    void vpFilterChoiceClick(const FilterChoiceItems& items, FilterPhase& setting,
                             FilterPhase phase);
    void vpOgsizeToggle(QAction* item, FilterPhase& setting);
    void vpNoFrameClick();
    void vpPlayClick();
    void vpSetDefaultClick();
    void vpCopyViewClick();
    void vpInfoPathClick();
    void popupMenuPopup();
    void openPopupAt(const QPoint& globalPosition);

    // Keyboard and mouse.
    void scrollBy(QScrollBar* bar, int32_t devicePixels);
    bool pictureMousePress(const QMouseEvent& event);
    bool pictureMouseMove(const QMouseEvent& event);
    bool pictureMouseRelease(const QMouseEvent& event);

    // A command must never take the window down with it.
    void guarded(const std::function<void()>& command);

    AppContext& context_;
    bool dragging_ = false;
    bool rightClickPending_ = false;
    bool altAlone_ = false;
    bool dither_ = false;
    bool shownOnce_ = false;
    int32_t fileIndex_ = 0;
    int32_t lastIndex_ = -1;
    QPoint drag_;
    std::string rateText_;
    std::string loadTimeText_;
    std::string showTimeText_;
    SourceKind sourceKind_ = SourceKind::none;
    ViewFormConf viewForm_;
    GProcess process_;
    uint32_t loadTime_ = 0;
    uint32_t showTime_ = 0;
    DirFilesInfo dirFilesInfo_;
    FilesInfo arcFilesInfo_;
    std::string folder_;
    std::string fileName_;
    std::string archiveName_;
    std::string memberName_;
    ScreenMetrics placedWith_;  // the metrics of the last placement

    // The shown picture as the worker would have made it: its file's stamp when read,
    // its load time and what it was processed with; valid while the pipeline's dest is
    // that picture's.
    FileStamp shownStamp_;
    uint32_t shownLoadTime_ = 0;
    DisplayInputs shownInputs_;
    ScreenMetrics sizedWith_;  // the metrics of the last display size
    bool shownValid_ = false;
    bool processedAhead_ = false;  // the pipeline's dest came processed from the worker
    PicturePreloader preloader_;
    QTimer* preloadTimer_ = nullptr;

    QScrollArea* scrollArea_ = nullptr;
    QLabel* image_ = nullptr;
    ViewPopupMenu menu_;
    FramePlayer player_;
};

}  // namespace ravinel
