// Writes RAR 4 archives with stored members, for reading back through the module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravinel::test {

struct RarMember {
    std::string name;  // "/"-separated, written as from a Unix host
    std::vector<std::uint8_t> data;
    std::uint16_t dosDate = 0;
    std::uint16_t dosTime = 0;
};

// Marker block, archive header, one stored (method 0x30) file block per member and the
// end block, each header with its CRC16 (low half of the CRC32 from the type byte on).
std::vector<std::uint8_t> rarStored(const std::vector<RarMember>& members);

// CRC32 as ZIP and RAR use it (reflected polynomial 0xEDB88320).
std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size);

}  // namespace ravinel::test
