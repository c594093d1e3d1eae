#pragma once

#include <QScrollBar>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "browse/dir_files_info.h"
#include "browse/thumb_grid.h"
#include "browse/thumb_maker.h"
#include "browse/thumb_workers.h"
#include "browser/img_tn_panel_list.h"
#include "codec/graphic_loader.h"
#include "common/file_icon_cache.h"
#include "settings/settings_records.h"

namespace ravinel {

// The grid of thumbnails of the browser window: one tile per file of a folder list, of
// which only the rows in sight plus two exist. Thumbnails are made in small steps that
// the browser's idle handler calls (makeNextThumb, then drawNextTile), or, with worker
// threads, made by the workers in the same order and put in place by those steps; they
// stay in memory until the next setFiles. The view keeps a selection and moves it with the arrow
// keys and the mouse, and scrolls by its scroll bar and the mouse wheel.
class ImgTnView : public QWidget {
    Q_OBJECT

  public:
    // The icon cache and the loader are not owned and must outlive the view.
    ImgTnView(QWidget* parent, const ThumbPanel& config, FileIconCache& icons,
              GraphicLoader& loader);
    ~ImgTnView() override;

    // Makes thumbnails on that many worker threads from the next setFiles; 1: in the idle
    // steps themselves. Plug-in loads go through plugins (null: none) under pluginLock,
    // which outlive the view.
    void setMakingThreads(unsigned threads, SpiHost* plugins, std::mutex& pluginLock);
    // Stops the workers until the next setFiles: what they made is dropped.
    void stopMaking();

    // The tile configuration of the next setFiles, as it can be drawn.
    void setThumbPanel(const ThumbPanel& config);
    void setCatalogHomeDir(const std::string& dir) { catalogHomeDir_ = dir; }
    const std::string& catalogHomeDir() const { return catalogHomeDir_; }
    void setHiQuality(bool on) { maker_.hiQuality = on; }
    bool hiQuality() const { return maker_.hiQuality; }
    void setUseCatalog(bool on) { maker_.useCatalog = on; }
    bool useCatalog() const { return maker_.useCatalog; }
    void setUseCatalogFirst(bool on) { maker_.useCatalogFirst = on; }
    bool useCatalogFirst() const { return maker_.useCatalogFirst; }
    void setThumbMemo(ThumbMemo* memo) { maker_.memo = memo; }
    void setUseSharedCache(bool on) { maker_.sharedCache = on ? &sharedCache_ : nullptr; }
    bool useSharedCache() const { return maker_.sharedCache != nullptr; }
    // Kept for the settings only: thumbnails do not use the 3DNow! variants.
    void setUse3DNow(bool on) { use3DNow_ = on; }
    bool use3DNow() const { return use3DNow_; }
    // The screen's bits per pixel, which choose the thumbnails' pixel format.
    void setThumbColorBit(int bits);
    NkDibPixelFormat thumbPixelFormat() const { return maker_.thumbPixelFormat; }

    // Shows the list (not owned; it must live until the next setFiles or the view's end).
    // Everything found out about an earlier list is dropped, even for the same folder.
    void setFiles(DirFilesInfo& list);
    // Looks up the catalog of the folder shown.
    void updateCatalog();
    const std::string& catalogPath() const { return maker_.catalogPath; }

    // One background step: examines at most one file. True when it examined one.
    // With workers: puts at most one finished thumbnail in place, true when it did.
    bool makeNextThumb();
    // One drawing step: draws at most one tile. Returns what the idle loop is told:
    // true when no more idle work is wanted.
    bool drawNextTile();

    int32_t count() const { return count_; }
    int32_t madeCount() const { return maker_.madeCount; }
    int32_t itemIndex() const { return itemIndex_; }
    // Selects list position i (-1: nothing) and scrolls its row into view.
    void select(int32_t i);

    // The page as laid out: the scroll position, the grid and the tiles that exist.
    int32_t scrollPosition() const { return scrollPos_; }
    const ThumbGrid& grid() const { return grid_; }
    bool scrollBarShown() const { return barShown_; }
    int32_t firstVisible() const { return firstVisible_; }
    int32_t lastVisible() const { return lastVisible_; }
    int tileCount() const { return tiles_.count(); }
    ImgTnPanel* tileAt(int k) const { return tiles_.at(k); }

  signals:
    void clicked();
    void doubleClicked();
    void mousePressed(Qt::MouseButton button, QPoint pos);
    void mouseReleased(Qt::MouseButton button, QPoint pos);
    void mouseMoved(QPoint pos);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // What the idle steps wait for: while one is set they do nothing.
    enum StateFlag : uint8_t { loading = 1, resizing = 2, scrolling = 4 };

    FileInfoItem& itemAt(int32_t position) const;
    ThumbGrid computeGrid() const;
    int32_t scrollBarWidth() const;
    void updateScrollBar();
    void placeScrollBar();
    void resetPage();
    void layOut();
    void relayout();
    void scrollTo(int32_t pos);
    void scrollWithFlag(int32_t pos);
    void rebuildPage(const GridPage& page);
    void placeTiles(int32_t offset);
    void storeVisible(const GridPage& page);
    void restartCursors();
    void ensureVisible(int32_t i);
    void onScrollBar(int value);

    ImgTnPanel* createTile(FileInfoItem& item);
    void applyLook(ImgTnPanel* tile, bool selected) const;
    void drawIconTile(ImgTnPanel* tile);
    void drawTile(ImgTnPanel* tile);
    void startWorkers();
    bool placeFinished();
    ImgTnPanel* tileOfPosition(int32_t position) const;
    void tilePressed(ImgTnPanel* tile, Qt::MouseButton button, QPoint pos);
    void viewClicked();
    QColor colorOf(Color value) const;
    double pixelRatio() const;

    uint8_t flags_ = 0;
    bool idleDone_ = true;
    bool use3DNow_ = false;
    bool barShown_ = false;
    bool leftPressed_ = false;
    int32_t count_ = 0;
    int32_t scrollPos_ = 0;
    ThumbGrid grid_;
    int32_t firstVisible_ = -1;
    int32_t lastVisible_ = -1;
    int32_t itemIndex_ = -1;
    std::string catalogHomeDir_;
    ThumbPanel config_;  // drawable: every size within its bounds
    ThumbPanel nextConfig_;
    FileIconCache& icons_;
    DirFilesInfo* list_ = nullptr;
    QScrollBar* scrollBar_;
    ImgTnPanelList tiles_;
    SharedThumbCache sharedCache_ = SharedThumbCache::forUser();
    ThumbMaker maker_;  // the folder, the choices of making and the thumbnail store
    GraphicLoader& loader_;
    int32_t makeCursor_ = -1;
    int32_t drawCursor_ = -1;
    // Null: thumbnails are made in the idle steps. Last, so that they stop first.
    std::unique_ptr<ThumbWorkers> workers_;
};

}  // namespace ravinel
