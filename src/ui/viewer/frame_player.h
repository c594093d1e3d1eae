#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dib/nk_dib.h"
#include "process/pipeline/g_process.h"

namespace ravinel {

class GraphicLoader;

// Plays a moving picture in an image window. The window shows frame 0 as it shows any
// picture; each later frame is loaded through the loader and made by a pipeline with the
// window's settings and display size. The frames made are kept for the next loop while
// they fit in kKeptFrameBytes; past that they are made again as they play.
class FramePlayer : public QObject {
    Q_OBJECT

  public:
    // What the kept frames of one window may take together.
    static constexpr uint64_t kKeptFrameBytes = uint64_t{256} << 20;
    // Shorter delays show this long, as browsers do.
    static constexpr int32_t kShortestDelayMs = 20;
    static constexpr int32_t kShortDelayShownMs = 100;

    // show puts a made frame on the screen.
    FramePlayer(GraphicLoader& loader, std::function<void(const NkDib&)> show);

    // Starts over on the picture the window just made (process, frame 0 in process.dest)
    // from fileName with frameCount frames; plays when play is set. A count below 2 stops.
    void start(const std::string& fileName, int32_t frameCount, const GProcess& process, bool play);
    // A still picture, or none: no timer, nothing kept.
    void stop();
    // Pauses or goes on from the frame shown.
    void setPlaying(bool play);

    bool animated() const { return frameCount_ > 1; }
    bool playing() const { return timer_.isActive(); }
    int32_t frame() const { return frame_; }
    int32_t frameCount() const { return frameCount_; }
    // How long the frame shown stays, in milliseconds.
    int32_t interval() const { return timer_.interval(); }
    // The frame shown, as made.
    const NkDib& shown() const { return shown_; }

    // Shows the next frame and waits its delay (what the timer does when it runs out).
    void advance();

    // How long a frame of a stored delay stays on the screen.
    static int32_t shownDelay(int32_t delayMs);

  private:
    struct MadeFrame {
        NkDib picture;
        int32_t delayMs = 0;
    };
    // Frame index as made, kept or made now; none when it cannot be loaded.
    std::optional<MadeFrame> made(int32_t index);
    void keep(int32_t index, const MadeFrame& frame);

    GraphicLoader& loader_;
    std::function<void(const NkDib&)> show_;
    QTimer timer_;
    std::string fileName_;
    int32_t frameCount_ = 0;
    int32_t frame_ = 0;
    GProcess process_;  // the window's settings and display size, for the later frames
    MadeFrame first_;   // frame 0, as the window made it: always kept
    std::vector<std::optional<MadeFrame>> kept_;
    uint64_t keptBytes_ = 0;
    NkDib shown_;
};

}  // namespace ravinel
