#include "codec/graphic_loader.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "archive/archive_file.h"
#include "codec/builtin_decoders.h"
#include "codec/graphic_load_error.h"
#include "codec/picture_format.h"
#include "platform/file_bytes.h"
#include "platform/regular_file.h"

namespace ravinel {

namespace {

// Files analysed by content: at least the signature, at most 64 MiB plus a BMP's headers.
constexpr uint64_t kMinAnalyzedBytes = 10;
constexpr uint64_t kMaxAnalyzedBytes = 67'108'918;
// The own decoders read a file into memory; larger files are not theirs to decode.
constexpr uint64_t kMaxReadBytes = uint64_t{1} << 30;

uint16_t sideOf(int64_t pixels) {
    return static_cast<uint16_t>(std::clamp<int64_t>(pixels, 0, UINT16_MAX));
}

// A picture refused for its size is not loaded, as one decoded and then found too large
// was; the record keeps the size its header declares.
void recordRefusal(const PictureTooLargeError& refusal, GraphicLoadInfo& info) {
    info.kind = GraphicKind::gkNone;
    info.width = sideOf(refusal.width());
    info.height = sideOf(refusal.height());
    info.noteFailure(refusal.byMemory() ? LoadFailure::memoryOverLimit : LoadFailure::sideOverLimit,
                     refusal.what());
}

// The first bytes of a file; fewer, or none, when it is shorter or cannot be read.
std::vector<uint8_t> fileHead(const std::string& fileName) {
    std::vector<uint8_t> head(kPictureFormatHeadBytes);
    const RegularFile file(fileName);
    const int64_t got = file.isOpen() ? file.readAt(head.data(), head.size(), 0) : -1;
    head.resize(static_cast<size_t>(std::max<int64_t>(got, 0)));
    return head;
}

// A built-in decoder that took the data and failed on them, or could not read the file.
void recordDecoderError(const BuiltinDecoder& decoder, const std::exception& error,
                        GraphicLoadInfo& info) {
    info.noteFailure(LoadFailure::decoderError, std::string(decoder.name) + ": " + error.what());
    if (decoder.failureClearsSize) {
        info.width = 0;
        info.height = 0;
        info.kind = GraphicKind::gkNone;
    }
}

// Runs the own decoder and the plug-ins in the order asked, the second only when the
// first loaded nothing.
template <typename Own, typename Spi>
void tryInOrder(bool ownFirst, Own&& own, Spi&& spi, const GraphicLoadInfo& info) {
    if (ownFirst) {
        own();
        if (info.kind == GraphicKind::gkNone) {
            spi();
        }
    } else {
        spi();
        if (info.kind == GraphicKind::gkNone) {
            own();
        }
    }
}

}  // namespace

// The file of one load: its length and, read at most once, its bytes.
class GraphicLoader::FileLoad {
  public:
    explicit FileLoad(const std::string& name) : name_(name) {}

    const std::string& name() const { return name_; }
    uint64_t size() {
        if (!bytes_) {
            return fileByteSize(name_);
        }
        return bytes_->size();
    }
    std::span<const uint8_t> bytes() {
        if (!bytes_) {
            bytes_ = readFileBytes(name_, kMaxReadBytes);
        }
        return *bytes_;
    }

  private:
    std::string name_;
    std::optional<std::vector<uint8_t>> bytes_;
};

GraphicLoader::GraphicLoader(SpiHost* spis)
    : spis_(spis), colors_(std::make_shared<const ColorConverter>()) {}

GraphicLoader::GraphicLoader(const GraphicLoader& choices, SpiHost* spis)
    : doAnalyze(choices.doAnalyze),
      useSpiPrev(choices.useSpiPrev),
      inBmpFirst(choices.inBmpFirst),
      inJpgFirst(choices.inJpgFirst),
      useOrientation(choices.useOrientation),
      alphaBackground(choices.alphaBackground),
      useColorProfile(choices.useColorProfile),
      maxSide(choices.maxSide),
      previewSize(choices.previewSize),
      budget(choices.budget),
      spis_(spis),
      colors_(choices.colors_) {}

void GraphicLoader::setTargetProfile(std::span<const uint8_t> iccProfile) {
    colors_ = iccProfile.empty() ? std::make_shared<const ColorConverter>()
                                 : std::make_shared<const ColorConverter>(iccProfile);
}

bool GraphicLoader::sameChoices(const GraphicLoader& other) const {
    return doAnalyze == other.doAnalyze && useSpiPrev == other.useSpiPrev &&
           inBmpFirst == other.inBmpFirst && inJpgFirst == other.inJpgFirst &&
           useOrientation == other.useOrientation && alphaBackground == other.alphaBackground &&
           useColorProfile == other.useColorProfile && maxSide == other.maxSide &&
           previewSize == other.previewSize && budget == other.budget && colors_ == other.colors_;
}

void GraphicLoader::loadFromFile(NkDib& target, const std::string& fileName, bool preview,
                                 GraphicLoadInfo& info) {
    info = GraphicLoadInfo{};
    {
        // Only the reason: the steps below meet the same failure and record nothing more.
        const RegularFile probe(fileName);
        if (!probe.isOpen()) {
            info.noteFailure(LoadFailure::unreadableFile, probe.failureText());
        }
    }
    FileLoad file(fileName);
    if (doAnalyze) {
        loadByContent(target, file, preview, info);
        if (info.kind == GraphicKind::gkNone) {
            loadByExtension(target, file, preview, info);
        }
    } else {
        loadByExtension(target, file, preview, info);
    }
    finish(target, info);
    if (!info.succeeded()) {
        noteContent(fileHead(fileName), fileName, !doAnalyze, info);
    }
}

// What the content is tells why nothing read it: a format no decoder at hand reads, or,
// when the extension chose the decoders, one the extension does not name. Failures that
// say more (a damaged picture of the extension's format, its size, the file) stay.
void GraphicLoader::noteContent(std::span<const uint8_t> head, const std::string& name,
                                bool byExtension, GraphicLoadInfo& info) {
    const PictureFormat format = pictureFormatOf(head, name);
    info.contentFormat = format.name;
    if (!format.name.empty() && !format.extensionMatches && byExtension &&
        info.failure < LoadFailure::contentMismatch) {
        info.failure = LoadFailure::contentMismatch;
        info.failureDetail = format.name;
    }
}

DecodeLimits GraphicLoader::limitsFor(bool preview) const {
    return {maxSide, preview ? kThumbnailDecodeBytes : kDisplayDecodeBytes, budget, jobShare};
}

bool GraphicLoader::ownFirst(const BuiltinDecoder& decoder) const {
    switch (decoder.ownFirst) {
        case OwnDecoderFirst::inJpgFirst:
            return inJpgFirst;
        case OwnDecoderFirst::inBmpFirst:
            return inBmpFirst;
    }
    return false;
}

void GraphicLoader::finish(const NkDib& target, GraphicLoadInfo& info) const {
    if (info.width > maxSide || info.height > maxSide) {
        info.kind = GraphicKind::gkNone;
        info.noteFailure(LoadFailure::sideOverLimit, "Picture is too large (" +
                                                         std::to_string(info.width) + " x " +
                                                         std::to_string(info.height) + ")");
    }
    info.pixelFormat = framePixelFormatOf(target);
    if (info.succeeded()) {
        info.failure = LoadFailure::none;
        info.failureDetail.clear();
    } else {
        info.noteFailure(LoadFailure::notRecognized, "");
    }
}

int32_t GraphicLoader::loadFrame(NkDib& target, const std::string& fileName, int32_t index) {
    if (spis_ == nullptr) {
        throw GraphicLoadError("No plug-ins to give frames");
    }
    spis_->setGraphicPreview(false);
    spis_->setDecodeLimits(limitsFor(false));
    PictureMetadata metadata;
    try {
        metadata = spis_->loadFrame(target, fileName, index);
    } catch (const GraphicLoadError&) {
        throw;
    } catch (const std::exception& error) {
        // The host's own failures (no plug-in gives the frame) are the loader's here.
        throw GraphicLoadError(error.what());
    }
    const int32_t delay = metadata.delayMs;
    GraphicLoadInfo info;
    info.kind = GraphicKind::gkSusie;
    settle(target, std::move(metadata), false, info);
    return delay;
}

void GraphicLoader::loadFromArchive(NkDib& target, const std::string& archiveName,
                                    const std::string& memberName, bool preview,
                                    GraphicLoadInfo& info) {
    info = GraphicLoadInfo{};
    ArchiveFile archive;
    archive.setFileName(archiveName);
    setViewingSwitches(archive.options);

    // Zeroed by calloc, whose fresh pages become resident only where the member writes:
    // a small member does not cost the whole limit in memory and clearing time.
    const std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(std::calloc(kMaxAnalyzedBytes, 1)), &std::free);
    if (!buffer) {
        throw std::bad_alloc();
    }
    uint32_t written = static_cast<uint32_t>(kMaxAnalyzedBytes);
    if (archive.extractMem(nullptr, nullptr, memberName, buffer.get(),
                           static_cast<uint32_t>(kMaxAnalyzedBytes), &written) != 0) {
        info.noteFailure(LoadFailure::unreadableFile, "the archiver could not extract it");
    } else {
        // The member's own length, so a BMP's size field matches; a module that does
        // not report it leaves the whole buffer.
        const std::span<const uint8_t> member(buffer.get(),
                                              std::min<size_t>(written, kMaxAnalyzedBytes));
        if (member.size() >= kMinAnalyzedBytes) {
            const size_t cut = memberName.find_last_of("/\\");
            const std::string bareName =
                cut == std::string::npos ? memberName : memberName.substr(cut + 1);
            loadRecognized(target, member, bareName, preview, info);
        }
    }
    finish(target, info);
    if (!info.succeeded()) {
        noteContent(std::span<const uint8_t>(buffer.get(), kPictureFormatHeadBytes), memberName,
                    false, info);
    }
}

void GraphicLoader::loadByContent(NkDib& target, FileLoad& file, bool preview,
                                  GraphicLoadInfo& info) {
    try {
        const uint64_t size = file.size();
        if (size < kMinAnalyzedBytes || size > kMaxAnalyzedBytes) {
            info.noteFailure(LoadFailure::fileSize, std::to_string(size) + " bytes");
            return;
        }
        loadRecognized(target, file.bytes(), file.name(), preview, info);
    } catch (const std::exception& error) {
        // The file could not be read: the record keeps what was reached.
        info.noteFailure(LoadFailure::unreadableFile, error.what());
    }
}

void GraphicLoader::loadRecognized(NkDib& target, std::span<const uint8_t> data,
                                   const std::string& name, bool preview, GraphicLoadInfo& info) {
    auto spiStream = [&] { loadSpiStream(target, data, name, preview, info); };
    const BuiltinDecoder* decoder = builtinDecoderForContent(data, name);
    if (decoder == nullptr) {
        spiStream();
        return;
    }
    tryInOrder(
        ownFirst(*decoder), [&] { loadBuiltin(*decoder, target, data, preview, info); }, spiStream,
        info);
}

void GraphicLoader::loadByExtension(NkDib& target, FileLoad& file, bool preview,
                                    GraphicLoadInfo& info) {
    auto spiFile = [&] { loadSpiFile(target, file.name(), preview, info); };
    const BuiltinDecoder* decoder = builtinDecoderTrustedBy(file.name());
    if (decoder == nullptr) {
        spiFile();
        return;
    }
    auto builtinFromFile = [&] {
        try {
            if (file.size() < decoder->minFileBytes) {
                return;
            }
            loadBuiltin(*decoder, target, file.bytes(), preview, info);
        } catch (const std::exception& error) {
            recordDecoderError(*decoder, error, info);
        }
    };
    tryInOrder(ownFirst(*decoder), builtinFromFile, spiFile, info);
}

// Reports the size the data declare; a decoder that finds nothing to decode reports its
// kind with width 0, which ends the search for a decoder.
void GraphicLoader::loadBuiltin(const BuiltinDecoder& decoder, NkDib& target,
                                std::span<const uint8_t> data, bool preview,
                                GraphicLoadInfo& info) const {
    try {
        BuiltinPicture decoded =
            decoder.decode(data, {preview ? previewSize : 0, limitsFor(preview)});
        info.kind = decoder.kind;
        info.width = sideOf(decoded.width);
        info.height = sideOf(decoded.height);
        if (decoded.picture) {
            target = std::move(*decoded.picture);
            settle(target, std::move(decoded.metadata), preview, info);
        }
    } catch (const PictureTooLargeError& refusal) {
        recordRefusal(refusal, info);
    } catch (const std::exception& error) {
        recordDecoderError(decoder, error, info);
    }
}

// Before anything else sees the picture: upright, then in the target's colours.
void GraphicLoader::settle(NkDib& target, PictureMetadata metadata, bool preview,
                           GraphicLoadInfo& info) const {
    NkDib* alpha = metadata.alpha ? &*metadata.alpha : nullptr;
    standUpright(target, alpha, metadata.orientation, preview, info);
    if (useColorProfile) {
        colors_->convert(target, metadata.iccProfile);
    }
    // The background is in the display's colours already: it goes on after conversion.
    if (alpha != nullptr) {
        compositeOverBackground(target, *alpha, alphaBackground);
    }
}

// The turned copy takes its share of the budget while the stored picture still exists;
// the record reports the upright size. The alpha, if any, turns with the picture.
void GraphicLoader::standUpright(NkDib& target, NkDib* alpha, DibOrientation orientation,
                                 bool preview, GraphicLoadInfo& info) const {
    if (!useOrientation || orientation == DibOrientation::topLeft) {
        return;
    }
    const MemoryBudget::Reservation share = limitsFor(preview).admit(
        target.width(), target.height(), target.bitCount(),
        alpha != nullptr ? pixelStoreBytes(alpha->width(), alpha->height(), 8) : 0);
    target = turnedUpright(target, orientation);
    if (alpha != nullptr) {
        *alpha = turnedUpright(*alpha, orientation);
    }
    // A plug-in preview does not know the picture's size (width 1, no height).
    if (swapsSides(orientation) && info.kind != GraphicKind::gkSusiePreview) {
        std::swap(info.width, info.height);
    }
}

void GraphicLoader::loadSpiFile(NkDib& target, const std::string& fileName, bool preview,
                                GraphicLoadInfo& info) {
    loadThroughSpis(target, preview, info,
                    [&](SpiHost& spis) { return spis.loadFile(target, fileName); });
}

void GraphicLoader::loadSpiStream(NkDib& target, std::span<const uint8_t> data,
                                  const std::string& name, bool preview, GraphicLoadInfo& info) {
    loadThroughSpis(target, preview, info,
                    [&](SpiHost& spis) { return spis.loadFromStreamWithName(target, data, name); });
}

// A preview through the plug-ins' reduced-picture entry reports width 1 and no height:
// the picture's own size is not known then. A picture with alpha is composited over the
// background once upright, so that the checkerboard starts at the corner the user sees;
// in place, so it costs no copy; from then on it is an ordinary 24-bit picture.
void GraphicLoader::loadThroughSpis(NkDib& target, bool preview, GraphicLoadInfo& info,
                                    const std::function<PictureMetadata(SpiHost&)>& load) {
    if (spis_ == nullptr || spis_->pluginCount() <= 0) {
        info.noteFailure(LoadFailure::noPluginTookIt, "no plug-ins");
        return;
    }
    const bool previewMode = preview && useSpiPrev;
    try {
        spis_->setGraphicPreview(previewMode);
        spis_->setDecodeLimits(limitsFor(preview));
        PictureMetadata metadata = load(*spis_);
        info.frameCount = previewMode ? 1 : metadata.frameCount;
        info.firstDelayMs = metadata.delayMs;
        if (previewMode) {
            info.kind = GraphicKind::gkSusiePreview;
            info.width = 1;
        } else {
            info.kind = GraphicKind::gkSusie;
            info.width = sideOf(target.width());
            info.height = sideOf(target.height());
        }
        settle(target, std::move(metadata), preview, info);
    } catch (const PictureTooLargeError& refusal) {
        recordRefusal(refusal, info);
    } catch (const std::exception& error) {
        info.noteFailure(LoadFailure::noPluginTookIt, error.what());
    }
}

}  // namespace ravinel
