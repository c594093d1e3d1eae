#pragma once

#include <sys/types.h>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "codec/graphic_loader.h"
#include "codec/shared_spi_host.h"
#include "common/screen_metrics.h"
#include "dib/nk_dib.h"
#include "process/pipeline/g_process_settings.h"
#include "settings/settings_records.h"

namespace ravinel {

// Everything besides the file and the loader's choices that decides the bytes an image
// window shows: equal inputs give equal pictures.
struct DisplayInputs {
    GProcessSettings settings;  // with the dithering the screen asks for
    ViewFormConf viewForm;
    ScreenMetrics metrics;
    bool frameless = false;
    friend bool operator==(const DisplayInputs&, const DisplayInputs&) = default;
};

// What a file was when it was read: a file changed since is read again.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// The stamp of path now; size -1 when it cannot be examined.
FileStamp fileStampOf(const std::string& path);

// One entry of the window's list: a file, or a member of an archive.
struct PictureEntry {
    int32_t index = -1;  // in the window's list
    std::string path;    // the file, or the archive holding the member
    std::string member;  // empty for a file
    friend bool operator==(const PictureEntry&, const PictureEntry&) = default;
};

// Loads the entry's picture for display.
void loadEntry(GraphicLoader& loader, const PictureEntry& entry, NkDib& target,
               GraphicLoadInfo& info);

// A picture loaded and processed for display, as the window would make it there and then.
struct PreparedPicture {
    PictureEntry entry;
    FileStamp stamp;  // of the file or archive, taken before it was read
    NkDib source;
    GraphicLoadInfo loadInfo;
    NkDib dest;
    uint16_t destWidth = 0;
    uint16_t destHeight = 0;
    uint32_t loadTime = 0;            // milliseconds
    MemoryBudget::Reservation share;  // of the preload budget while the worker holds it

    uint64_t bytes() const;
};

// Loads and processes the neighbours of the shown picture on a worker thread of its own,
// with the window's loader choices (through its own view of the plug-in host) and display
// inputs, so that stepping to them shows a finished picture. What was prepared for other
// choices or inputs is thrown away, a job under way included (its result is dropped), and
// the prepared pictures hold a share of the budget (a picture that does not fit is not
// kept).
class PicturePreloader {
  public:
    // host and lock: the process's plug-in host and the lock every load through it holds.
    PicturePreloader(SpiHost& host, std::mutex& lock, MemoryBudget& budget);
    // Stops.
    ~PicturePreloader();
    PicturePreloader(const PicturePreloader&) = delete;
    PicturePreloader& operator=(const PicturePreloader&) = delete;

    // Prepares the first count pictures that load among after (in that order) and among
    // before, nearest first, both ways in turn; keeps what was prepared of them already.
    void prepare(const GraphicLoader& loader, const DisplayInputs& inputs,
                 std::vector<PictureEntry> after, std::vector<PictureEntry> before, int32_t count);
    // The picture prepared for entry with these choices and inputs, when its file is
    // unchanged; waits for it when it is the job under way. None otherwise.
    std::optional<PreparedPicture> take(const PictureEntry& entry, const GraphicLoader& loader,
                                        const DisplayInputs& inputs);
    // Keeps a picture made elsewhere (the one leaving the screen) if it was made with the
    // current choices and inputs and fits the budget; the next prepare keeps it if it is
    // wanted.
    void offer(PreparedPicture picture, const GraphicLoader& loader, const DisplayInputs& inputs);
    // Throws everything away; the worker idles after the job under way.
    void clear();
    // Throws everything away and ends the worker, waiting for the job under way; nothing
    // is prepared afterwards.
    void stop();

    // For tests and benchmarks: waits until the worker has nothing left to do.
    void waitUntilIdle();
    // Pictures held now.
    size_t preparedCount() const;
    // Pictures handed out by take so far.
    uint64_t handedOut() const;

  private:
    // One direction's walk over its candidates.
    struct Walk {
        std::vector<PictureEntry> candidates;
        size_t next = 0;
        int32_t found = 0;
    };
    struct Job {
        PictureEntry entry;
        size_t walk = 0;
        uint64_t generation = 0;
    };

    void serve();
    std::optional<Job> nextJob();
    // Loads and processes the job's file as the window would; none when it does not load.
    static std::optional<PreparedPicture> prepareOne(const Job& job, GraphicLoader& loader,
                                                     const DisplayInputs& inputs);
    void finish(const Job& job, std::optional<PreparedPicture> picture);
    // Starts afresh when the choices or inputs differ from the current ones.
    void adopt(const GraphicLoader& loader, const DisplayInputs& inputs);
    bool current(const GraphicLoader& loader, const DisplayInputs& inputs) const;
    bool isHeld(const PictureEntry& entry) const;
    bool isCandidate(const PictureEntry& entry) const;
    // Pictures of the walk held among the candidates it has passed.
    int32_t found(const Walk& walk) const;

    SpiHost& host_;
    std::mutex& hostLock_;
    MemoryBudget& budget_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    uint64_t generation_ = 0;  // counts the choices and inputs thrown away
    std::optional<GraphicLoader> loader_;
    DisplayInputs inputs_;
    std::array<Walk, 2> walks_;
    int32_t count_ = 0;
    std::vector<PreparedPicture> held_;
    uint64_t handedOut_ = 0;
    std::optional<Job> running_;
    bool idle_ = true;  // the worker waits for work
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace ravinel
