#include "tests/archivers/integration/rar_writer.h"

#include <array>

namespace ravinel::test {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Appends a block whose header (type byte on) is body, preceded by its CRC16.
void putBlock(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& body) {
    put16(out, crc32Of(body.data(), body.size()) & 0xFFFF);
    out.insert(out.end(), body.begin(), body.end());
}

// Type, flags and the header's full size (CRC field included).
std::vector<std::uint8_t> headerStart(std::uint8_t type, std::uint16_t flags, std::size_t size) {
    std::vector<std::uint8_t> body{type};
    put16(body, flags);
    put16(body, static_cast<std::uint32_t>(size));
    return body;
}

}  // namespace

std::uint32_t crc32Of(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

std::vector<std::uint8_t> rarStored(const std::vector<RarMember>& members) {
    constexpr std::uint16_t kLongBlock = 0x8000;  // the data size follows the header
    constexpr std::uint8_t kHostUnix = 3;
    constexpr std::uint8_t kStored = 0x30;
    std::vector<std::uint8_t> out = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};

    std::vector<std::uint8_t> archive = headerStart(0x73, 0, 13);
    put16(archive, 0);
    put32(archive, 0);
    putBlock(out, archive);

    for (const RarMember& member : members) {
        const auto size = static_cast<std::uint32_t>(member.data.size());
        std::vector<std::uint8_t> file = headerStart(0x74, kLongBlock, 32 + member.name.size());
        put32(file, size);  // packed
        put32(file, size);  // unpacked
        file.push_back(kHostUnix);
        put32(file, crc32Of(member.data.data(), member.data.size()));
        put16(file, member.dosTime);
        put16(file, member.dosDate);
        file.push_back(20);  // version needed: 2.0
        file.push_back(kStored);
        put16(file, static_cast<std::uint32_t>(member.name.size()));
        put32(file, 0100644);  // a regular file's mode
        file.insert(file.end(), member.name.begin(), member.name.end());
        putBlock(out, file);
        out.insert(out.end(), member.data.begin(), member.data.end());
    }

    putBlock(out, headerStart(0x7B, 0x4000, 7));
    return out;
}

}  // namespace ravinel::test
