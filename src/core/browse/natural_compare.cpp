#include "browse/natural_compare.h"

#include <string_view>

#include "browse/utf8_text.h"

namespace ravinel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view digitRunAtOffset(std::string_view text, std::size_t offset) {
    std::size_t end = offset;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return text.substr(offset, end - offset);
}

}  // namespace

std::string digitRunAt(const std::string& text, int position) {
    if (position < 1) {
        return {};
    }
    std::size_t offset = 0;
    for (int character = 1; character < position && offset < text.size(); ++character) {
        offset += utf8CharLength(text, offset);
    }
    return offset < text.size() ? std::string(digitRunAtOffset(text, offset)) : std::string();
}

void zeroPadPair(std::string& a, std::string& b) {
    if (a.size() < b.size()) {
        a.insert(0, b.size() - a.size(), '0');
    } else if (b.size() < a.size()) {
        b.insert(0, a.size() - b.size(), '0');
    }
}

int naturalCompare(const std::string& a, const std::string& b, const NameCollation& collation) {
    if (a.empty() || b.empty()) {
        return a.empty() == b.empty() ? 0 : a.empty() ? -1 : 1;
    }
    // The walk counts characters (i, j) while the loop bound is the byte length, as the
    // design has it; once a name runs out of characters its tokens are empty. Byte
    // offsets follow the character positions so no step rescans from the start.
    std::size_t i = 1;
    std::size_t j = 1;
    std::size_t offsetA = 0;
    std::size_t offsetB = 0;
    int result = 0;
    std::string padA;
    std::string padB;
    while (i <= a.size() && j <= b.size()) {
        const std::string_view runA = digitRunAtOffset(a, offsetA);
        const std::string_view runB = digitRunAtOffset(b, offsetB);
        if (!runA.empty() && !runB.empty()) {
            i += runA.size();
            j += runB.size();
            offsetA += runA.size();
            offsetB += runB.size();
            if (runA.size() == runB.size()) {
                result = collation.compareWithCase(runA, runB);
            } else {
                padA = runA;
                padB = runB;
                zeroPadPair(padA, padB);
                result = collation.compareWithCase(padA, padB);
            }
        } else {
            const std::size_t lengthA = utf8CharLength(a, offsetA);
            const std::size_t lengthB = utf8CharLength(b, offsetB);
            result = collation.compareWithCase(std::string_view(a).substr(offsetA, lengthA),
                                               std::string_view(b).substr(offsetB, lengthB));
            offsetA += lengthA;
            offsetB += lengthB;
            ++i;
            ++j;
        }
        if (result != 0) {
            return result;
        }
    }
    return a.size() > b.size() ? 1 : a.size() < b.size() ? -1 : 0;
}

}  // namespace ravinel
