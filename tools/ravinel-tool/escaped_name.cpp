#include "escaped_name.h"

#include "browse/utf8_text.h"

namespace ravinel::tool {

std::string escapedName(std::string_view name) {
    std::string escaped;
    for (const char c : displayName(name)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                escaped += "\\\\";
                continue;
            case '\a':
                escaped += "\\a";
                continue;
            case '\b':
                escaped += "\\b";
                continue;
            case '\f':
                escaped += "\\f";
                continue;
            case '\n':
                escaped += "\\n";
                continue;
            case '\r':
                escaped += "\\r";
                continue;
            case '\t':
                escaped += "\\t";
                continue;
            case '\v':
                escaped += "\\v";
                continue;
            default:
                break;
        }
        if (byte < 0x20 || byte == 0x7f) {
            escaped += '\\';
            escaped += static_cast<char>('0' + (byte >> 6));
            escaped += static_cast<char>('0' + ((byte >> 3) & 7));
            escaped += static_cast<char>('0' + (byte & 7));
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace ravinel::tool
