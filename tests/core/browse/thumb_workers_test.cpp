#include "browse/thumb_workers.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "browse/dir_files_info.h"
#include "plugin_host/spis.h"
#include "plugin_host/spis_search.h"
#include "tests/bmp_builder.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using testing::BmpBuilder;
using testing::TempDir;

// A run-length BMP of a few bytes whose header declares side x side pixels of 8 bits.
std::vector<uint8_t> declaredHugeBmp(int32_t side) {
    BmpBuilder bmp;
    bmp.width = side;
    bmp.height = side;
    bmp.bitCount = 8;
    bmp.compression = 1;
    bmp.palette.assign(256, RgbQuad{});
    bmp.pixels = {0, 1};  // end of the picture
    return bmp.file();
}

// What examining each file of a folder gave, in list order.
struct Outcome {
    GraphicKind kind;
    uint16_t width;
    uint16_t height;
    uint8_t pixelFormat;
    LoadFailure failure;
    int32_t thumbWidth;
    int32_t thumbHeight;
    std::vector<uint8_t> thumbBytes;

    bool operator==(const Outcome&) const = default;
};

Outcome outcomeOf(const MadeThumb& made) {
    Outcome outcome{made.info.kind,
                    made.info.width,
                    made.info.height,
                    made.info.pixelFormat,
                    made.info.failure,
                    0,
                    0,
                    {}};
    if (made.thumb) {
        const std::span<const uint8_t> bytes = made.thumb->pixelBlock();
        outcome.thumbWidth = made.thumb->width();
        outcome.thumbHeight = made.thumb->height();
        outcome.thumbBytes.assign(bytes.begin(), bytes.end());
    }
    return outcome;
}

std::vector<Outcome> oneThread(ThumbMaker& maker, DirFilesInfo& list) {
    std::vector<Outcome> outcomes;
    for (int i = 0; i < list.count(); ++i) {
        FileInfoItem& item = list.item(i);
        outcomes.push_back(outcomeOf(maker.examine(item.name)));
    }
    return outcomes;
}

// The same files through workers, from position first; in list order again.
std::vector<Outcome> threaded(unsigned threads, SpiHost* plugins, const ThumbMaker& maker,
                              const GraphicLoader& loader, const DirFilesInfo& list,
                              int32_t first) {
    std::mutex lock;
    std::mutex ready;
    std::condition_variable told;
    int finished = 0;
    ThumbWorkers workers(threads, plugins, lock, [&] {
        const std::lock_guard hold(ready);
        ++finished;
        told.notify_all();
    });
    std::vector<std::string> names;
    for (int i = 0; i < list.count(); ++i) {
        names.push_back(list.item(i).name);
    }
    workers.start(maker, loader, names, first);
    std::vector<Outcome> outcomes(names.size());
    std::vector<bool> seen(names.size(), false);
    for (size_t taken = 0; taken < names.size(); ++taken) {
        {
            std::unique_lock hold(ready);
            told.wait(hold, [&] { return finished > static_cast<int>(taken); });
        }
        std::optional<ThumbWorkers::Finished> done = workers.take();
        EXPECT_TRUE(done.has_value());
        if (!done) {
            break;
        }
        const auto position = static_cast<size_t>(done->position);
        EXPECT_FALSE(seen[position]) << "made twice: " << names[position];
        seen[position] = true;
        outcomes[position] = outcomeOf(done->made);
    }
    EXPECT_FALSE(workers.take().has_value());
    return outcomes;
}

class ThumbWorkersTest : public ::testing::Test {
  protected:
    ThumbWorkersTest() {
        spis.onSearch = spisSearch;
        spis.search(std::string(BUNDLED_PLUGIN_DIR) + "/*.spi");
        loader.doAnalyze = true;
    }

    DirFilesInfo listed() {
        DirFilesInfo list;
        list.setDir(tmp.path(""));
        list.sort(0);
        maker.dir = list.dir();
        return list;
    }

    TempDir tmp;
    Spis spis;
    GraphicLoader loader{&spis};
    ThumbMaker maker{loader};
};

// Our JPEG and BMP decoders, pictures through plug-ins, and files that fail in each way:
// every thumbnail and every record as one thread makes them, whatever the thread count.
TEST_F(ThumbWorkersTest, WorkersMakeTheBytesOfOneThread) {
    ASSERT_GE(spis.count(), 4);
    const std::vector<uint8_t> jpeg =
        fixtures::encodeJpeg(fixtures::photoLikePicture(400, 300), {.quality = 85});
    tmp.write("a-photo.jpg", jpeg);
    tmp.write("b-tall.jpg", fixtures::encodeJpeg(fixtures::gradientPicture(90, 260)));
    tmp.write("c-tiny.jpg", fixtures::encodeJpeg(fixtures::gradientPicture(3, 2)));
    BmpBuilder bmp;
    bmp.width = 150;
    bmp.height = -70;
    bmp.bitCount = 24;
    bmp.pixels.assign(static_cast<size_t>(152 * 3) * 70, 0x5a);
    for (size_t i = 0; i < bmp.pixels.size(); i += 7) {
        bmp.pixels[i] = static_cast<uint8_t>(i);
    }
    tmp.write("d-scan.bmp", bmp.file());
    tmp.write("e-drawing.png",
              test::png_source::encodePng({"rgb", PNG_COLOR_TYPE_RGB, 8, true, false}));
    tmp.write("f-anim.gif", test::gif_source::encodeGif({test::gif_source::GifFrame{}}));
    tmp.write("g-notes.txt", std::vector<uint8_t>(300, 'a'));
    tmp.write("h-cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 900));
    std::vector<uint8_t> png =
        test::png_source::encodePng({"grey", PNG_COLOR_TYPE_GRAY, 8, false, false});
    png.resize(png.size() / 2);
    tmp.write("i-cut.png", png);
    tmp.write("j-huge.bmp", declaredHugeBmp(18000));
    tmp.write("k-empty.jpg", std::vector<uint8_t>{});

    struct Choices {
        bool hiQuality;
        NkDibPixelFormat format;
        unsigned threads;
        int32_t first;
    };
    for (const Choices& c : {Choices{true, NkDibPixelFormat::pf24Bit, 3, 4},
                             Choices{false, NkDibPixelFormat::pf8BitHalftone, 2, 0},
                             Choices{true, NkDibPixelFormat::pf1BitHalftone, 4, 10}}) {
        SCOPED_TRACE(::testing::Message()
                     << "quality " << c.hiQuality << ", format " << static_cast<int>(c.format)
                     << ", threads " << c.threads);
        DirFilesInfo list = listed();
        maker.hiQuality = c.hiQuality;
        maker.thumbPixelFormat = c.format;
        const std::vector<Outcome> expected = oneThread(maker, list);
        ASSERT_EQ(expected.size(), 11u);
        // JPEG x3 (the cut one shows what it holds), BMP, PNG, GIF; the rest are plain files.
        std::vector<bool> pictures;
        for (const Outcome& outcome : expected) {
            pictures.push_back(outcome.thumbWidth > 0);
        }
        EXPECT_EQ(pictures, (std::vector<bool>{true, true, true, true, true, true, false, true,
                                               false, false, false}));
        EXPECT_EQ(threaded(c.threads, &spis, maker, loader, list, c.first), expected);
    }
}

// Tiny files that declare pictures of 8 MiB each (store and run-length work) with four
// workers and room for two: each job holds its share until its thumbnail is made, no more
// is ever taken than the budget holds, and every share comes back.
TEST_F(ThumbWorkersTest, AHostileFolderStaysWithinTheBudget) {
    constexpr uint64_t kShare = uint64_t{8} << 20;
    for (int i = 0; i < 12; ++i) {
        tmp.write("hostile" + std::to_string(i) + ".bmp", declaredHugeBmp(2048));
    }
    MemoryBudget budget(2 * kShare + kShare / 2);
    loader.budget = &budget;

    // A job keeps what its decode took; without a job the share ends with the decode.
    MemoryBudget::Reservation share;
    loader.jobShare = &share;
    NkDib picture;
    GraphicLoadInfo info;
    loader.loadFromFile(picture, tmp.path("hostile0.bmp"), true, info);
    EXPECT_TRUE(info.succeeded());
    EXPECT_EQ(share.bytes(), kShare);
    EXPECT_EQ(budget.available(), budget.capacity() - kShare);
    share = MemoryBudget::Reservation();
    loader.jobShare = nullptr;
    loader.loadFromFile(picture, tmp.path("hostile1.bmp"), true, info);
    EXPECT_EQ(budget.available(), budget.capacity());

    DirFilesInfo list = listed();
    const std::vector<Outcome> expected = oneThread(maker, list);
    EXPECT_EQ(threaded(4, &spis, maker, loader, list, 5), expected);
    EXPECT_GE(budget.peak(), kShare);
    EXPECT_LE(budget.peak(), budget.capacity());
    EXPECT_EQ(budget.available(), budget.capacity());
}

}  // namespace
}  // namespace ravinel
