#include "browse/utf8_text.h"

namespace ravinel {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

std::size_t utf8CharLength(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) {
        return 0;
    }
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[offset + k]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    // The second byte's range excludes overlong forms, surrogates and code points past
    // U+10FFFF, as the Unicode table of well-formed sequences does.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 1;
    }
    if (text.size() - offset < length || at(1) < low || at(1) > high) {
        return 1;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!isContinuation(at(k))) {
            return 1;
        }
    }
    return length;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = utf8CharLength(text, offset);
        if (length == 1 && static_cast<unsigned char>(text[offset]) >= 0x80) {
            return false;
        }
        offset += length;
    }
    return true;
}

std::string displayName(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = utf8CharLength(text, offset);
        if (length == 1 && static_cast<unsigned char>(text[offset]) >= 0x80) {
            shown += "\xEF\xBF\xBD";
        } else {
            shown.append(text, offset, length);
        }
        offset += length;
    }
    return shown;
}

}  // namespace ravinel
