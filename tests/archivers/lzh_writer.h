// Writes LZH archives with stored (-lh0-) members, for reading back through the module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravinel::test {

struct LzhMember {
    std::string name;
    std::vector<std::uint8_t> data;
    std::int64_t modified = 0;  // seconds since 1970 (level 2), as UTC
};

// Level 0: DOS date and time fields (written from the time as UTC fields).
std::vector<std::uint8_t> lzhLevel0(const std::vector<LzhMember>& members);
// Level 2: Unix time and extension headers, with the header's CRC.
std::vector<std::uint8_t> lzhLevel2(const std::vector<LzhMember>& members);

}  // namespace ravinel::test
