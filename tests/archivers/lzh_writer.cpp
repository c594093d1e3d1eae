#include "tests/archivers/lzh_writer.h"

#include <ctime>

namespace ravinel::test {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t crc16(const std::uint8_t* data, std::size_t size) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::uint32_t dosDateTime(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    const std::uint32_t date = static_cast<std::uint32_t>(((utc.tm_year - 80) << 9) |
                                                          ((utc.tm_mon + 1) << 5) | utc.tm_mday);
    const std::uint32_t clock =
        static_cast<std::uint32_t>((utc.tm_hour << 11) | (utc.tm_min << 5) | (utc.tm_sec / 2));
    return date << 16 | clock;
}

}  // namespace

Bytes lzhLevel0(const std::vector<LzhMember>& members) {
    Bytes out;
    for (const LzhMember& member : members) {
        Bytes header;
        putText(header, "-lh0-");
        put32(header, static_cast<std::uint32_t>(member.data.size()));
        put32(header, static_cast<std::uint32_t>(member.data.size()));
        put32(header, dosDateTime(member.modified));
        header.push_back(0x20);
        header.push_back(0);
        header.push_back(static_cast<std::uint8_t>(member.name.size()));
        putText(header, member.name);
        put16(header, crc16(member.data.data(), member.data.size()));
        std::uint8_t sum = 0;
        for (std::uint8_t byte : header) {
            sum = static_cast<std::uint8_t>(sum + byte);
        }
        out.push_back(static_cast<std::uint8_t>(header.size()));
        out.push_back(sum);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), member.data.begin(), member.data.end());
    }
    out.push_back(0);
    return out;
}

Bytes lzhLevel2(const std::vector<LzhMember>& members) {
    Bytes out;
    for (const LzhMember& member : members) {
        Bytes header;
        put16(header, 0);  // total size, set below
        putText(header, "-lh0-");
        put32(header, static_cast<std::uint32_t>(member.data.size()));
        put32(header, static_cast<std::uint32_t>(member.data.size()));
        put32(header, static_cast<std::uint32_t>(member.modified));
        header.push_back(0x20);
        header.push_back(2);
        put16(header, crc16(member.data.data(), member.data.size()));
        header.push_back('U');
        put16(header, 5);  // the header-CRC extension: type, CRC, next size
        header.push_back(0x00);
        const std::size_t crcAt = header.size();
        put16(header, 0);
        put16(header, static_cast<std::uint32_t>(3 + member.name.size()));
        header.push_back(0x01);
        putText(header, member.name);
        put16(header, 0);
        header[0] = static_cast<std::uint8_t>(header.size());
        header[1] = static_cast<std::uint8_t>(header.size() >> 8);
        const std::uint16_t headerCrc = crc16(header.data(), header.size());
        header[crcAt] = static_cast<std::uint8_t>(headerCrc);
        header[crcAt + 1] = static_cast<std::uint8_t>(headerCrc >> 8);
        out.insert(out.end(), header.begin(), header.end());
        out.insert(out.end(), member.data.begin(), member.data.end());
    }
    out.push_back(0);
    return out;
}

}  // namespace ravinel::test
