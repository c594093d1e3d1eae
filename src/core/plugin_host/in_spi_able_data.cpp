#include "plugin_host/in_spi_able_data.h"

#include <malloc.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

#include "codec/bmp/tolerant_bmp_reader.h"
#include "codec/graphic_load_error.h"
#include "color/icc_profile.h"
#include "platform/file_bytes.h"
#include "platform/file_extension.h"
#include "platform/regular_file.h"
#include "plugin_host/spi_picture_conversion.h"

namespace ravinel {

namespace {

// The header buffer: 2,048 bytes for the plug-in plus room for a MacBinary header.
constexpr size_t kMacBinaryBytes = 128;
constexpr size_t kHeaderBufferBytes = SPI_HEADER_BYTES + kMacBinaryBytes;

struct FreeBlock {
    void operator()(void* block) const { free(block); }
};
using PluginBlock = std::unique_ptr<void, FreeBlock>;

// The Windows MulDiv: rounded, -1 when dividing by zero.
int32_t mulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    const int64_t product = int64_t{number} * numerator;
    const int64_t half = (denominator < 0 ? -int64_t{denominator} : denominator) / 2;
    const int64_t rounded = (product < 0) == (denominator < 0) ? product + half : product - half;
    return static_cast<int32_t>(std::clamp<int64_t>(rounded / denominator, INT32_MIN, INT32_MAX));
}

// What a picture costs besides its 24-bit store: the plug-in's blocks and the file image
// they become. For a picture declared with 32 bits or more (alpha, or deep samples) they
// may be 32-bit, 8 bytes a pixel together, which also covers the store and its alpha
// beside the file image.
uint64_t workBytesOf(int32_t width, int32_t height, int16_t colorDepth) {
    if (colorDepth < 32) {
        return pixelStoreBytes(width, height, 24);
    }
    return pixelStoreBytes(width, height, 64) - pixelStoreBytes(width, height, 24);
}

// The picture of the two blocks a plug-in returned, which are freed here, and its alpha;
// none when it does not hold together.
std::optional<NkDib> pictureOfBlocks(SpiHandle bitmapInfo, SpiHandle bits,
                                     const DecodeLimits& limits, std::optional<NkDib>& alpha) {
    PluginBlock infoBlock(bitmapInfo);
    PluginBlock bitsBlock(bits);
    if (!infoBlock || !bitsBlock) {
        return std::nullopt;
    }
    try {
        const std::vector<uint8_t> file = bmpFileOfSpiPicture(infoBlock.get(), bitsBlock.get());
        infoBlock.reset();
        bitsBlock.reset();
        NkDib picture = readTolerantBmp(file, limits.withoutBudget());
        alpha = alphaOfSpiPicture(file);
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The delay of a frame the plug-in gives, when the host takes it.
std::optional<int32_t> frameDelayOf(const Spi::Exports& api, const char* buffer, intptr_t length,
                                    uint32_t flag, int32_t index) {
    int32_t delay = -1;
    if (api.getPictureFrameDelay(buffer, length, flag, index, &delay) != SPI_ALL_RIGHT ||
        delay < 0 || delay > SPI_MAX_FRAME_DELAY_MS) {
        return std::nullopt;
    }
    return delay;
}

// How many frames the plug-in's picture of the input has: 1 unless the plug-in has the
// frame entries and gives a count the host takes.
int32_t frameCountOf(const Spi::Exports& api, const char* buffer, intptr_t length, uint32_t flag) {
    int32_t count = 1;
    if (!api.hasFrames() ||
        api.getPictureFrameCount(buffer, length, flag, &count) != SPI_ALL_RIGHT || count < 1 ||
        count > SPI_MAX_FRAMES) {
        return 1;
    }
    return count;
}

}  // namespace

InSpiAbleData::InSpiAbleData(std::string fileName) : fileName_(std::move(fileName)) {}

std::optional<NkDib> InSpiAbleData::load(const std::vector<const Spi*>& candidates,
                                         const SpiDecodeOptions& options) {
    report(ProgressStage::Starting, 0, "Loading Graphic by Susie Plugin");
    infoValid_ = false;
    pictureInfo_ = {};
    metadata_ = {};
    refusal_.reset();
    report(ProgressStage::Running, 1, "Seeking enabled Susie Plugins");

    std::vector<uint8_t> header(kHeaderBufferBytes, 0);
    readHeader(header);
    std::vector<size_t> offsets{0};
    if (options.macBinary) {
        offsets.push_back(kMacBinaryBytes);
    }
    std::optional<NkDib> picture;
    for (const Spi* spi : candidates) {
        for (const size_t offset : offsets) {
            picture = tryCandidate(*spi, header, offset, options);
            if (picture) {
                break;
            }
        }
        if (picture) {
            break;
        }
    }
    report(ProgressStage::Ending, 100, "Loaded Graphic by Susie Plugin");
    // A picture refused for its size says so, rather than that no plug-in took it.
    if (!picture && refusal_) {
        throw *refusal_;
    }
    return picture;
}

std::optional<NkDib> InSpiAbleData::tryCandidate(const Spi& spi, std::span<const uint8_t> header,
                                                 size_t offset, const SpiDecodeOptions& options) {
    runningMessage_ = "Loading by [" + withoutFolder(spi.fileName()) + "]";
    report(ProgressStage::Running, 1, runningMessage_);
    const std::optional<PluginInput> input = inputAt(offset);
    if (!input) {
        return std::nullopt;
    }
    const Spi::Exports& api = spi.exports();
    if (api.isSupported(fileName_.c_str(), header.data() + offset) == 0) {
        return std::nullopt;
    }

    const DecodeLimits& limits = options.limits;
    if (api.setDecodeLimits != nullptr) {
        api.setDecodeLimits(limits.maxSide, static_cast<int64_t>(std::min<uint64_t>(
                                                limits.maxPixelBytes, INT64_MAX)));
    }
    SpiPictureInfo info{};
    infoValid_ = api.getPictureInfo(input->buffer, input->length, input->flag, &info) == 0;
    // Only the text handle of the record is the host's to release.
    PluginBlock text(info.hInfo);
    info.hInfo = nullptr;
    pictureInfo_ = info;

    // The declared size decides before the plug-in allocates anything, also for a plug-in
    // that does not know the limits. The share covers the plug-in's blocks and the file
    // image they become; the picture read from that image takes none of its own.
    MemoryBudget::Reservation share;
    const auto admitPicture = [&]() -> bool {
        if (!infoValid_) {
            return true;
        }
        try {
            share = limits.admit(info.width, info.height, 24,
                                 workBytesOf(info.width, info.height, info.colorDepth));
            return true;
        } catch (const PictureTooLargeError& refusal) {
            refusal_ = refusal;
            return false;
        }
    };
    // A preview is small whatever the picture's size (a camera's embedded JPEG): from a
    // plug-in that bounds its own blocks by the limits, only the picture's sides decide
    // before it, and the picture's memory only before the picture entry.
    const bool previewFirst =
        options.graphicPreview && api.getPreview != nullptr && api.setDecodeLimits != nullptr;
    if (previewFirst && infoValid_) {
        try {
            limits.checkSides(info.width, info.height);
        } catch (const PictureTooLargeError& refusal) {
            refusal_ = refusal;
            return std::nullopt;
        }
    } else if (!admitPicture()) {
        return std::nullopt;
    }

    const intptr_t state = reinterpret_cast<intptr_t>(this);
    auto decode = [&](decltype(api.getPicture) entry) -> std::optional<NkDib> {
        SpiHandle bitmapInfo = nullptr;
        SpiHandle bits = nullptr;
        lastPercent_ = 1;
        if (entry(input->buffer, input->length, input->flag, &bitmapInfo, &bits,
                  &InSpiAbleData::progressCallback, state) != 0) {
            // The handles of a failed call are not the host's.
            return std::nullopt;
        }
        return pictureOfBlocks(bitmapInfo, bits, limits, metadata_.alpha);
    };

    std::optional<NkDib> picture;
    // A plug-in without the preview entry simply has no preview to give.
    if (options.graphicPreview && api.getPreview != nullptr) {
        picture = decode(api.getPreview);
    }
    if (!picture && (!previewFirst || admitPicture())) {
        picture = decode(api.getPicture);
        // A preview stands still; only the picture's first frame starts a moving picture.
        if (picture) {
            metadata_.frameCount = frameCountOf(api, input->buffer, input->length, input->flag);
            // A moving picture without a delay for its first frame the host takes stands still.
            const std::optional<int32_t> delay =
                metadata_.frameCount > 1
                    ? frameDelayOf(api, input->buffer, input->length, input->flag, 0)
                    : std::nullopt;
            metadata_.delayMs = delay.value_or(0);
            if (!delay) {
                metadata_.frameCount = 1;
            }
        }
    }
    if (picture) {
        readMetadata(api, *input);
    }
    return picture;
}

std::optional<NkDib> InSpiAbleData::loadFrame(const std::vector<const Spi*>& candidates,
                                              const SpiDecodeOptions& options, int32_t index) {
    metadata_ = {};
    refusal_.reset();
    std::vector<uint8_t> header(kHeaderBufferBytes, 0);
    readHeader(header);
    for (const Spi* spi : candidates) {
        for (const size_t offset : {size_t{0}, kMacBinaryBytes}) {
            if (offset != 0 && !options.macBinary) {
                continue;
            }
            if (std::optional<NkDib> frame = tryFrame(*spi, header, offset, options, index)) {
                return frame;
            }
        }
    }
    if (refusal_) {
        throw *refusal_;
    }
    return std::nullopt;
}

std::optional<NkDib> InSpiAbleData::tryFrame(const Spi& spi, std::span<const uint8_t> header,
                                             size_t offset, const SpiDecodeOptions& options,
                                             int32_t index) {
    const std::optional<PluginInput> input = inputAt(offset);
    const Spi::Exports& api = spi.exports();
    if (!input || !api.hasFrames() ||
        api.isSupported(fileName_.c_str(), header.data() + offset) == 0) {
        return std::nullopt;
    }
    const DecodeLimits& limits = options.limits;
    if (api.setDecodeLimits != nullptr) {
        api.setDecodeLimits(limits.maxSide, static_cast<int64_t>(std::min<uint64_t>(
                                                limits.maxPixelBytes, INT64_MAX)));
    }
    const int32_t count = frameCountOf(api, input->buffer, input->length, input->flag);
    if (index < 0 || index >= count) {
        return std::nullopt;
    }
    SpiPictureInfo info{};
    const bool infoValid =
        api.getPictureInfo(input->buffer, input->length, input->flag, &info) == SPI_ALL_RIGHT;
    const PluginBlock text(info.hInfo);
    if (!infoValid) {
        return std::nullopt;
    }
    MemoryBudget::Reservation share;
    try {
        share = limits.admit(info.width, info.height, 24, workBytesOf(info.width, info.height, 32));
    } catch (const PictureTooLargeError& refusal) {
        refusal_ = refusal;
        return std::nullopt;
    }
    const std::optional<int32_t> delay =
        frameDelayOf(api, input->buffer, input->length, input->flag, index);
    if (!delay) {
        return std::nullopt;
    }
    SpiHandle bitmapInfo = nullptr;
    SpiHandle bits = nullptr;
    lastPercent_ = 1;
    if (api.getPictureFrame(input->buffer, input->length, input->flag, index, &bitmapInfo, &bits,
                            &InSpiAbleData::progressCallback,
                            reinterpret_cast<intptr_t>(this)) != SPI_ALL_RIGHT) {
        return std::nullopt;
    }
    std::optional<NkDib> frame = pictureOfBlocks(bitmapInfo, bits, limits, metadata_.alpha);
    // Every frame is a whole picture of the size the first has.
    if (!frame || frame->width() != info.width || frame->height() != info.height) {
        metadata_.alpha.reset();
        return std::nullopt;
    }
    readMetadata(api, *input);
    metadata_.frameCount = count;
    metadata_.delayMs = *delay;
    return frame;
}

void InSpiAbleData::readMetadata(const Spi::Exports& api, const PluginInput& input) {
    int32_t orientation = 1;
    if (api.getPictureOrientation != nullptr &&
        api.getPictureOrientation(input.buffer, input.length, input.flag, &orientation) ==
            SPI_ALL_RIGHT) {
        metadata_.orientation = dibOrientationOfTag(orientation);
    }
    SpiHandle profile = nullptr;
    intptr_t length = 0;
    if (api.getPictureIccProfile == nullptr ||
        api.getPictureIccProfile(input.buffer, input.length, input.flag, &profile, &length) !=
            SPI_ALL_RIGHT) {
        // The block of a failed call is not the host's.
        return;
    }
    const PluginBlock block(profile);
    // A length beyond the block the plug-in allocated is not read.
    if (block && length > 0 && static_cast<size_t>(length) <= kMaxIccProfileBytes &&
        static_cast<size_t>(length) <= malloc_usable_size(block.get())) {
        const auto* bytes = static_cast<const uint8_t*>(block.get());
        metadata_.iccProfile.assign(bytes, bytes + length);
    }
}

void InSpiAbleData::report(ProgressStage stage, int percent, const std::string& message) {
    if (onProgress) {
        onProgress(stage, percent, message);
    }
}

int32_t InSpiAbleData::progressCallback(int32_t done, int32_t total, intptr_t state) {
    try {
        auto* data = reinterpret_cast<InSpiAbleData*>(state);
        // Kept to 2..99 whatever the plug-in counts, and passed on only when it grows, so
        // that a plug-in calling back for every pixel, or back and forth, costs the
        // display at most 98 reports a call.
        const int percent =
            static_cast<int>(std::clamp<int64_t>(int64_t{mulDiv(done, 97, total)} + 2, 2, 99));
        if (percent > data->lastPercent_) {
            data->lastPercent_ = percent;
            data->report(ProgressStage::Running, percent, data->runningMessage_);
        }
    } catch (...) {
        // A failing progress display must not unwind through the plug-in.
    }
    return 0;
}

InSpiAbleFromFile::InSpiAbleFromFile(const std::string& fileName) : InSpiAbleData(fileName) {}

void InSpiAbleFromFile::readHeader(std::span<uint8_t> header) {
    const RegularFile file(fileName());
    if (!file.isOpen()) {
        throw FileReadError("cannot open " + fileName() + ": " + file.failureText());
    }
    if (file.readAt(header.data(), header.size(), 0) < 0) {
        throw FileReadError("cannot read " + fileName());
    }
}

std::optional<InSpiAbleData::PluginInput> InSpiAbleFromFile::inputAt(size_t offset) const {
    return PluginInput{fileName().c_str(), static_cast<intptr_t>(offset), SPI_INPUT_FILE};
}

InSpiAbleFromStream::InSpiAbleFromStream(std::span<const uint8_t> data, const std::string& name)
    : InSpiAbleData(name), data_(data) {}

void InSpiAbleFromStream::readHeader(std::span<uint8_t> header) {
    const size_t count = std::min(header.size(), data_.size());
    std::copy_n(data_.begin(), count, header.begin());
}

std::optional<InSpiAbleData::PluginInput> InSpiAbleFromStream::inputAt(size_t offset) const {
    if (offset >= data_.size()) {
        return std::nullopt;
    }
    return PluginInput{reinterpret_cast<const char*>(data_.data()) + offset,
                       static_cast<intptr_t>(data_.size() - offset), SPI_INPUT_MEMORY};
}

}  // namespace ravinel
