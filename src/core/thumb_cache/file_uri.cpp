#include "thumb_cache/file_uri.h"

#include <md5.h>

#include <cstdint>
#include <string_view>

namespace ravinel {

namespace {

bool keptAsIs(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("-_.!~*'()/:@&=+$,").find(static_cast<char>(c)) !=
           std::string_view::npos;
}

}  // namespace

std::string fileUri(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    uri.reserve(uri.size() + absolutePath.size());
    for (const char ch : absolutePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptAsIs(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::string thumbnailFileName(const std::string& uri) {
    char digest[MD5_DIGEST_STRING_LENGTH];
    MD5Data(reinterpret_cast<const uint8_t*>(uri.data()), uri.size(), digest);
    return std::string(digest) + ".png";
}

}  // namespace ravinel
