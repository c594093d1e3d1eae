#include "codec/graphic_loader.h"

#include "codec/exif/exif_orientation.h"
#include "codec/graphic_load_error.h"
#include "codec/graphic_signature.h"
#include "codec/jpeg/jpeg_decoder.h"
#include "codec/jpeg/jpeg_exif.h"
#include "codec/jpeg/jpeg_frame_walk.h"
#include "platform/byte_reader.h"
#include "tools/fuzz/targets/fuzz_targets.h"
#include "tools/fuzz/targets/scratch_folder.h"

namespace ravinel::fuzz {
namespace {

void walkAndDecodeJpeg(FuzzInput data) {
    JpegFrameSize frame;
    try {
        findJpegFrame(data, frame);
    } catch (const StreamReadError&) {
    }
    // Every scale and both transforms get their share of inputs.
    static constexpr int kScales[] = {1, 2, 4, 8};
    const JpegDecodeOptions options{kScales[data.size() % 4], data.size() % 8 >= 4};
    try {
        decodeJpeg(data, options);
    } catch (const GraphicLoadError&) {
    }
}

// The loader as the viewer runs it on a file, without plug-ins: it catches every
// decoding failure itself, so nothing may come out of it.
void loadAsFile(FuzzInput data) {
    const std::string path = writeScratchFile("picture.jpg", data);
    GraphicLoader loader(nullptr);
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    loader.previewSize = data.size() % 2 == 0 ? 0 : 160;
    NkDib target;
    GraphicLoadInfo info;
    loader.loadFromFile(target, path, data.size() % 2 != 0, info);
}

}  // namespace

void fuzzGraphicLoader(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    recognizeGraphicSignature(data);
    // The EXIF reader sees the data both as a JPEG and as EXIF itself.
    jpegExifOrientation(data);
    exifOrientation(data);
    walkAndDecodeJpeg(data);
    loadAsFile(data);
}

}  // namespace ravinel::fuzz
