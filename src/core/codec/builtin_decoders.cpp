#include "codec/builtin_decoders.h"

#include <algorithm>
#include <utility>

#include "codec/bmp/tolerant_bmp_reader.h"
#include "codec/graphic_load_error.h"
#include "codec/graphic_signature.h"
#include "codec/jpeg/jpeg_decoder.h"
#include "codec/jpeg/jpeg_exif.h"
#include "codec/jpeg/jpeg_frame_walk.h"
#include "platform/file_bytes.h"
#include "platform/file_extension.h"

namespace ravinel {

namespace {

// Files larger than a pixel store can hold are not read into memory for our decoders.
constexpr uint64_t kMaxDecodedFileBytes = uint64_t{1} << 30;
// The JPEG step of the extension path leaves shorter files alone.
constexpr uint64_t kMinJpegFileBytes = 32;

bool recognizesJpeg(std::span<const uint8_t> data) {
    const GraphicKind kind = recognizeGraphicSignature(data);
    return kind == GraphicKind::gkJpeg || kind == GraphicKind::gkExif;
}

bool recognizesBmp(std::span<const uint8_t> data) {
    return recognizeGraphicSignature(data) == GraphicKind::gkBmp;
}

// The strongest reduction libjpeg offers that keeps the shorter side at least the
// preview size; a negative preview size asks for the smallest, fastest decode.
JpegDecodeOptions jpegOptionsFor(int32_t previewSize, const JpegFrameSize& frame) {
    if (previewSize == 0) {
        return {};
    }
    if (previewSize < 0) {
        return {8, true};
    }
    const int32_t ratio = std::min(frame.width, frame.height) / previewSize;
    if (ratio >= 8) {
        return {8, false};
    }
    if (ratio >= 4) {
        return {4, false};
    }
    return {ratio >= 2 ? 2 : 1, false};
}

// Finds the frame by walking the segment headers, so that a preview decodes reduced
// inside libjpeg; only baseline and progressive frames are decoded.
BuiltinPicture decodeJpegPicture(std::span<const uint8_t> data,
                                 const BuiltinDecodeRequest& request) {
    JpegFrameSize frame;
    BuiltinPicture decoded;
    if (findJpegFrame(data, frame)) {
        decoded.picture = decodeJpeg(data, jpegOptionsFor(request.previewSize, frame),
                                     request.limits, &decoded.metadata.iccProfile);
    }
    decoded.width = frame.width;
    decoded.height = frame.height;
    decoded.metadata.orientation = dibOrientationOfTag(jpegExifOrientation(data));
    return decoded;
}

BuiltinPicture pictureOfItsOwnSize(NkDib picture) {
    const int32_t width = picture.width();
    const int32_t height = picture.height();
    return {std::move(picture), width, height, {}};
}

BuiltinPicture openJpegFile(const std::string& path, const DecodeLimits& limits) {
    const std::vector<uint8_t> data = readFileBytes(path, kMaxDecodedFileBytes);
    std::vector<uint8_t> iccProfile;
    BuiltinPicture decoded = pictureOfItsOwnSize(decodeJpeg(data, {}, limits, &iccProfile));
    decoded.metadata.orientation = dibOrientationOfTag(jpegExifOrientation(data));
    decoded.metadata.iccProfile = std::move(iccProfile);
    return decoded;
}

BuiltinPicture decodeTolerantBmp(std::span<const uint8_t> data,
                                 const BuiltinDecodeRequest& request) {
    return pictureOfItsOwnSize(readTolerantBmp(data, request.limits));
}

BuiltinPicture openTolerantBmpFile(const std::string& path, const DecodeLimits& limits) {
    return pictureOfItsOwnSize(readTolerantBmp(readFileBytes(path, kMaxDecodedFileBytes), limits));
}

// The DIB class's strict reader keeps its own rules and messages, and copies no more than
// the file holds.
BuiltinPicture decodeStrictDib(std::span<const uint8_t> data, const BuiltinDecodeRequest&) {
    NkDib picture;
    picture.loadFromStream(data);
    return pictureOfItsOwnSize(std::move(picture));
}

BuiltinPicture openStrictDibFile(const std::string& path, const DecodeLimits&) {
    NkDib picture;
    picture.loadFromFile(path);
    return pictureOfItsOwnSize(std::move(picture));
}

bool hasExtension(const std::string& fileName, const std::string& extension) {
    return !extension.empty() && upperExtension(fileName) == upperExtension("." + extension);
}

// Of the decoders that pass test, the one with fileName's extension, else the first.
template <typename Test>
const BuiltinDecoder* chooseByName(const std::string& fileName, Test&& test) {
    const BuiltinDecoder* first = nullptr;
    for (const BuiltinDecoder& decoder : builtinDecoders()) {
        if (!test(decoder)) {
            continue;
        }
        if (std::any_of(decoder.extensions.begin(), decoder.extensions.end(),
                        [&](const std::string& e) { return hasExtension(fileName, e); })) {
            return &decoder;
        }
        if (first == nullptr) {
            first = &decoder;
        }
    }
    return first;
}

}  // namespace

const std::vector<BuiltinDecoder>& builtinDecoders() {
    static const std::vector<BuiltinDecoder> decoders = {
        {
            .kind = GraphicKind::gkJpeg,
            .name = "JPEG",
            .ownFirst = OwnDecoderFirst::inJpgFirst,
            .recognizes = recognizesJpeg,
            .extensions = {"jpeg", "jpg"},
            .description = "JPEG Image File",
            .trustedExtension = "jpg",
            .minFileBytes = kMinJpegFileBytes,
            .failureClearsSize = true,
            .decode = decodeJpegPicture,
            .openFile = openJpegFile,
        },
        {
            .kind = GraphicKind::gkBmp,
            .name = "BMP",
            .ownFirst = OwnDecoderFirst::inBmpFirst,
            .recognizes = recognizesBmp,
            .extensions = {"bmp"},
            .description = "Bitmaps",
            .trustedExtension = "bmp",
            .minFileBytes = 0,
            .failureClearsSize = false,
            .decode = decodeTolerantBmp,
            .openFile = openTolerantBmpFile,
        },
        {
            .kind = GraphicKind::gkBmp,
            .name = "BMP",
            .ownFirst = OwnDecoderFirst::inBmpFirst,
            .recognizes = recognizesBmp,
            .extensions = {"dib"},
            .description = "Device Independent Bitmap",
            .trustedExtension = "",
            .minFileBytes = 0,
            .failureClearsSize = false,
            .decode = decodeStrictDib,
            .openFile = openStrictDibFile,
        },
    };
    return decoders;
}

const BuiltinDecoder* builtinDecoderForContent(std::span<const uint8_t> data,
                                               const std::string& fileName) {
    return chooseByName(fileName,
                        [&](const BuiltinDecoder& decoder) { return decoder.recognizes(data); });
}

const BuiltinDecoder* builtinDecoderTrustedBy(const std::string& fileName) {
    for (const BuiltinDecoder& decoder : builtinDecoders()) {
        if (hasExtension(fileName, decoder.trustedExtension)) {
            return &decoder;
        }
    }
    return nullptr;
}

NkDib decodeBuiltin(GraphicKind kind, std::span<const uint8_t> data, const std::string& fileName,
                    const DecodeLimits& limits) {
    const BuiltinDecoder* decoder =
        chooseByName(fileName, [&](const BuiltinDecoder& d) { return d.kind == kind; });
    if (decoder == nullptr) {
        throw GraphicLoadError("No built-in decoder for this kind of picture");
    }
    BuiltinPicture decoded = decoder->decode(data, {0, limits});
    if (!decoded.picture) {
        throw GraphicLoadError(std::string(decoder->name) + ": no picture to decode");
    }
    return std::move(*decoded.picture);
}

}  // namespace ravinel
