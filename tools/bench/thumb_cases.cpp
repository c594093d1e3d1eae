#include <memory>
#include <string>
#include <vector>

#include "bench_case.h"
#include "browse/file_info_item.h"
#include "browse/thumb_maker.h"
#include "codec/graphic_loader.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel::bench {
namespace {

constexpr int kFiles = 200;
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// A folder of kFiles copies of one photograph-like JPEG, written when a case first runs
// so that runs of other cases need not write it.
class JpegFolder {
  public:
    std::string path() {
        if (!folder_) {
            folder_ = std::make_unique<testing::TempDir>();
            const std::vector<uint8_t> jpeg =
                fixtures::encodeJpeg(fixtures::photoLikePicture(kWidth, kHeight), {.quality = 90});
            for (int i = 0; i < kFiles; ++i) {
                folder_->write("photo" + std::to_string(i) + ".jpg", jpeg);
            }
        }
        return folder_->path("");
    }

  private:
    std::unique_ptr<testing::TempDir> folder_;
};

// Examines every file of the folder as the thumbnail view does with default settings.
BenchCase folderCase(std::shared_ptr<JpegFolder> folder, bool high) {
    BenchCase benchCase;
    benchCase.name = "thumbnails of " + std::to_string(kFiles) + " JPEG " + std::to_string(kWidth) +
                     "x" + std::to_string(kHeight) + (high ? " high" : " low");
    benchCase.sourceMegapixels = kFiles * kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.prepare = [folder] { folder->path(); };
    benchCase.run = [folder, high] {
        GraphicLoader loader(nullptr);
        loader.doAnalyze = true;
        loader.inJpgFirst = true;
        loader.inBmpFirst = true;
        ThumbMaker maker(loader);
        maker.dir = folder->path();
        maker.hiQuality = high;
        for (int i = 0; i < kFiles; ++i) {
            FileInfoItem item;
            item.name = "photo" + std::to_string(i) + ".jpg";
            maker.examineFile(item);
        }
    };
    return benchCase;
}

}  // namespace

void addThumbCases(std::vector<BenchCase>& cases) {
    auto folder = std::make_shared<JpegFolder>();
    cases.push_back(folderCase(folder, true));
    cases.push_back(folderCase(folder, false));
}

}  // namespace ravinel::bench
