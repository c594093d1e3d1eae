#pragma once

#include <map>
#include <optional>
#include <string>

namespace ravinel {

// The decoders a file can be opened with by its extension.
// bmp is the tolerant BMP reader, dib the DIB class's strict one.
enum class PictureDecoderKind { spiBitmap, jpeg, bmp, dib };

// Which decoder opens a file of each extension. Extensions are kept without the dot and
// compared case-insensitively; a later registration of an extension replaces the earlier.
// Starts with our JPEG decoder for "jpeg" and "jpg", the tolerant BMP reader for "bmp" and
// the DIB class for "dib".
class PictureRegistry {
  public:
    struct Entry {
        PictureDecoderKind kind;
        std::string description;
    };

    PictureRegistry();

    void registerExtension(const std::string& extension, PictureDecoderKind kind,
                           const std::string& description);
    // The decoder for a file name's extension; none when the name has no registered one.
    std::optional<Entry> decoderForFile(const std::string& fileName) const;
    std::optional<Entry> find(const std::string& extension) const;

  private:
    std::map<std::string, Entry> entries_;
};

}  // namespace ravinel
