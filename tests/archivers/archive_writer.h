// Archives made at test time with libarchive's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravinel::test {

enum class WrittenKind { Zip, Tar, TarGzip, TarBzip2, SevenZip, Cpio, Gzip };

struct WrittenMember {
    std::string name;
    std::vector<std::uint8_t> data;
    std::int64_t modified = 0;  // seconds since 1970
};

std::vector<std::uint8_t> writeArchive(WrittenKind kind, const std::vector<WrittenMember>& members);

// The tar with its first header claiming a member of `size` bytes (an octal size field
// below 8 GiB), the data left as it is.
std::vector<std::uint8_t> claimFirstTarMemberSize(std::vector<std::uint8_t> tar,
                                                  std::uint64_t size);

}  // namespace ravinel::test
