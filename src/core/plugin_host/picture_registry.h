#pragma once

#include <map>
#include <optional>
#include <string>

namespace ravinel {

struct BuiltinDecoder;

// The decoder that opens the files of a registered extension: a built-in one, or without
// one the plug-ins.
struct PictureDecoder {
    const BuiltinDecoder* builtin = nullptr;

    bool operator==(const PictureDecoder&) const = default;
};

// Which decoder opens a file of each extension. Extensions are kept without the dot and
// compared case-insensitively; a later registration of an extension replaces the earlier.
// Starts with the extensions of the built-in decoders.
class PictureRegistry {
  public:
    struct Entry {
        PictureDecoder decoder;
        std::string description;
    };

    PictureRegistry();

    void registerExtension(const std::string& extension, PictureDecoder decoder,
                           const std::string& description);
    // The decoder for a file name's extension; none when the name has no registered one.
    std::optional<Entry> decoderForFile(const std::string& fileName) const;
    std::optional<Entry> find(const std::string& extension) const;

  private:
    std::map<std::string, Entry> entries_;
};

}  // namespace ravinel
