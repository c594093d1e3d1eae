#include "browse/natural_compare.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// Input: two names separated by the first NUL byte (the second empty when there is
// none). Besides running clean, the order must be one a sort can use: each name equals
// itself and swapping the names turns the result round.
void fuzzNaturalCompare(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    const auto* text = reinterpret_cast<const char*>(data.data());
    const auto cut = std::find(data.begin(), data.end(), uint8_t{0}) - data.begin();
    const std::string a(text, static_cast<size_t>(cut));
    const std::string b = static_cast<size_t>(cut) < data.size()
                              ? std::string(text + cut + 1, data.size() - cut - 1)
                              : std::string();
    if (naturalCompare(a, a) != 0 || naturalCompare(b, b) != 0) {
        throw std::logic_error("a name does not equal itself");
    }
    if (naturalCompare(a, b) != -naturalCompare(b, a)) {
        throw std::logic_error("the order is not antisymmetric");
    }
    const int positions = static_cast<int>(std::min<size_t>(a.size() + 1, 64));
    for (int position = 0; position <= positions; ++position) {
        digitRunAt(a, position);
    }
}

}  // namespace ravinel::fuzz
