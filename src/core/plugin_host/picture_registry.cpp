#include "plugin_host/picture_registry.h"

#include "codec/builtin_decoders.h"
#include "platform/file_extension.h"

namespace ravinel {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

PictureRegistry::PictureRegistry() {
    for (const BuiltinDecoder& decoder : builtinDecoders()) {
        for (const std::string& extension : decoder.extensions) {
            registerExtension(extension, PictureDecoder{&decoder}, decoder.description);
        }
    }
}

void PictureRegistry::registerExtension(const std::string& extension, PictureDecoder decoder,
                                        const std::string& description) {
    entries_.insert_or_assign(lowered(extension), Entry{decoder, description});
}

std::optional<PictureRegistry::Entry> PictureRegistry::decoderForFile(
    const std::string& fileName) const {
    const std::string ext = upperExtension(fileName);
    if (ext.size() < 2) {
        return std::nullopt;
    }
    return find(ext.substr(1));
}

std::optional<PictureRegistry::Entry> PictureRegistry::find(const std::string& extension) const {
    const auto it = entries_.find(lowered(extension));
    if (it == entries_.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace ravinel
