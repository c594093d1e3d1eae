#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "codec/decode_limits.h"
#include "codec/graphic_load_error.h"
#include "codec/picture_metadata.h"
#include "dib/nk_dib.h"

namespace ravinel {

// What the graphic loader needs of the Susie plug-in host. A load either fills the
// target with the picture as stored and returns what its plug-in says of showing it (how
// it stands, its colour profile, its alpha), or throws (no plug-in accepts the data, the plug-in
// fails); the loader catches every failure.
class SpiHost {
  public:
    virtual ~SpiHost() = default;

    virtual int pluginCount() const = 0;
    // True: the following loads use the plug-ins' reduced-picture entry.
    virtual void setGraphicPreview(bool preview) = 0;
    // What the following loads may cost; the plug-ins are told as well.
    virtual void setDecodeLimits(const DecodeLimits& limits) = 0;
    // Loads a file through the decoder registered for its extension.
    virtual PictureMetadata loadFile(NkDib& target, const std::string& fileName) = 0;
    // Loads a file image through the first plug-in that accepts it; name is the file's
    // name as the plug-ins see it.
    virtual PictureMetadata loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                                   const std::string& name) = 0;
    // Frame index of the moving picture in a file whose load reported more than one frame,
    // as stored; the record says how long it stays. A host without frames has none to give.
    virtual PictureMetadata loadFrame(NkDib& target, const std::string& fileName, int32_t index) {
        (void)target;
        throw GraphicLoadError("No frame " + std::to_string(index) + " of " + fileName);
    }
};

}  // namespace ravinel
