#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "browse/thumb_maker.h"
#include "codec/graphic_loader.h"
#include "codec/spi_host.h"

namespace ravinel {

// Makes the thumbnails of a list on worker threads, in the order the idle steps of one
// thread would: from a first position to the end of the list, then from its start; the
// first position moves when the view scrolls. Every thread has a loader and a maker of its
// own, made with the choices of the list's, so the bytes are those of one thread; plug-in
// loads go through the one host, one at a time. A job keeps its share of the loader's
// memory budget until its thumbnail is made, so only jobs whose pictures fit in what is
// left run at once. Finished thumbnails wait for the thread that owns the items to take
// them; those of an earlier list are dropped.
class ThumbWorkers {
  public:
    struct Finished {
        int32_t position = 0;
        MadeThumb made;
        // What examining the file threw (out of memory outside the decoders): the file then
        // keeps its icon. Empty when nothing was thrown.
        std::string error;
    };

    // threads at least 1. plugins (null: none) and pluginLock outlive the workers.
    // finished runs on a worker thread each time a thumbnail is ready to be taken.
    ThumbWorkers(unsigned threads, SpiHost* plugins, std::mutex& pluginLock,
                 std::function<void()> finished);
    // Drops what waits and returns when the jobs in flight have ended.
    ~ThumbWorkers();
    ThumbWorkers(const ThumbWorkers&) = delete;
    ThumbWorkers& operator=(const ThumbWorkers&) = delete;

    // Makes the thumbnails of the files of these names (in list order) in maker.dir, with
    // the choices of maker and loader as they are now, from position first. Whatever was
    // waiting or finished for an earlier list is dropped.
    void start(const ThumbMaker& maker, const GraphicLoader& loader, std::vector<std::string> names,
               int32_t first);
    // The next jobs start at position first and go on from there.
    void preferFrom(int32_t first);
    // A finished thumbnail of the current list, or none yet.
    std::optional<Finished> take();
    // Drops the list and returns when no job runs any more.
    void stop();

  private:
    struct Setup;
    class Worker;

    bool claim(int32_t& position);
    void serve();

    const std::function<void()> finished_;
    SpiHost* plugins_;
    std::mutex& pluginLock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable quiet_;
    std::shared_ptr<const Setup> setup_;  // null: no list
    uint64_t generation_ = 0;
    std::vector<bool> claimed_;
    int32_t unclaimed_ = 0;
    int32_t cursor_ = 0;
    int running_ = 0;
    bool stopping_ = false;
    std::deque<Finished> done_;
    std::vector<std::thread> threads_;
};

}  // namespace ravinel
