#include "settings/ini_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace ravinel {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Digits of the given base that fill the whole text, as an unsigned value.
std::optional<uint64_t> parseDigits(std::string_view text, int base) {
    if (text.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string foldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = lowerAscii(c);
    }
    return folded;
}

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<uint32_t> parseHexDigits(std::string_view text) {
    const auto value = parseDigits(text, 16);
    if (!value || *value > std::numeric_limits<uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(*value);
}

std::optional<int32_t> parseIniInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int64_t value = 0;
    if (text.starts_with('$') ||
        (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X")))) {
        const auto hex = parseHexDigits(text.substr(text[0] == '$' ? 1 : 2));
        if (!hex) {
            return std::nullopt;
        }
        value = static_cast<int32_t>(*hex);  // all 32 bits: $FFFFFFFF is -1
    } else {
        // No second sign: from_chars of an unsigned type rejects it.
        const auto decimal = parseDigits(text, 10);
        const uint64_t limit = negative ? 2147483648u : 2147483647u;
        if (!decimal || *decimal > limit) {
            return std::nullopt;
        }
        value = static_cast<int64_t>(*decimal);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(negative ? -value : value));
}

std::optional<double> parseIniFloat(std::string_view text) {
    std::string copy(text);
    if (const size_t comma = copy.find(','); comma != std::string::npos) {
        copy[comma] = '.';
    }
    std::string_view digits = copy;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    // from_chars takes its own sign; one sign is enough.
    if (digits.empty() || digits[0] == '+' || digits[0] == '-') {
        return std::nullopt;
    }
    double value = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string formatIniFloat(double value) {
    char text[64];
    auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    (void)error;  // 64 characters always hold 15 digits, a sign and an exponent
    return std::string(text, end);
}

}  // namespace ravinel
