#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/decode_limits.h"
#include "codec/graphic_load_info.h"
#include "codec/picture_metadata.h"
#include "dib/nk_dib.h"

namespace ravinel {

// The loader option that puts a built-in decoder before the plug-ins.
enum class OwnDecoderFirst : uint8_t { inJpgFirst, inBmpFirst };

// How the loader asks a built-in decoder for a picture.
struct BuiltinDecodeRequest {
    // The shorter side a reduced decode keeps at least: 0 full size, negative the
    // smallest and fastest decode. A decoder that cannot reduce decodes in full.
    int32_t previewSize = 0;
    DecodeLimits limits;
};

// What a built-in decoder made of a file image: the size the image declares (not that of a
// reduced decode), the picture as stored, and what the image says of showing it. Without a picture
// the image holds nothing the decoder can decode (a JPEG without a baseline or progressive frame);
// the loader still reports the decoder's kind, with width 0, which ends its search.
struct BuiltinPicture {
    std::optional<NkDib> picture;
    int32_t width = 0;
    int32_t height = 0;
    PictureMetadata metadata;
};

// A decoder built into the program. The graphic loader tries it on the data it recognises
// and on the files of its trusted extension, each time in the order its option sets
// against the plug-ins; the plug-in host opens the files of its extensions with it.
struct BuiltinDecoder {
    // What a picture it loads reports.
    GraphicKind kind;
    // Starts the text of its failures, as in "JPEG: Premature end of data".
    const char* name;
    OwnDecoderFirst ownFirst;
    // True for data whose first bytes are its format's.
    bool (*recognizes)(std::span<const uint8_t> data);
    // Registered with the plug-in host, without the dot; of several decoders that recognise
    // the same data, the one with the file's extension reads them.
    std::vector<std::string> extensions;
    std::string description;
    // The one extension, without the dot, for which the loader's extension path tries it;
    // empty: files of its extensions go to the plug-in host alone.
    std::string trustedExtension;
    // The extension path leaves shorter files to the plug-ins alone.
    uint64_t minFileBytes;
    // A failure also clears the size that an earlier step recorded.
    bool failureClearsSize;
    // Decodes a file image for the loader. Throws PictureTooLargeError for a picture over
    // the limits, and its own errors for data it cannot read.
    BuiltinPicture (*decode)(std::span<const uint8_t> data, const BuiltinDecodeRequest& request);
    // Reads and decodes a file at full size for the plug-in host.
    BuiltinPicture (*openFile)(const std::string& path, const DecodeLimits& limits);
};

// Every built-in decoder, in the order they are tried on data.
const std::vector<BuiltinDecoder>& builtinDecoders();

// The built-in decoder for data: of those that recognise its first bytes, the one whose
// extensions include fileName's, else the first; null: none recognises them.
const BuiltinDecoder* builtinDecoderForContent(std::span<const uint8_t> data,
                                               const std::string& fileName);

// The built-in decoder whose trusted extension fileName has (compared ignoring case);
// null: none.
const BuiltinDecoder* builtinDecoderTrustedBy(const std::string& fileName);

// The picture of data at full size, decoded by the built-in decoder of kind chosen by
// fileName as for content. Throws GraphicLoadError when no built-in decoder reads kind or
// the decoder finds no picture, and what the decoder throws.
NkDib decodeBuiltin(GraphicKind kind, std::span<const uint8_t> data, const std::string& fileName,
                    const DecodeLimits& limits);

}  // namespace ravinel
