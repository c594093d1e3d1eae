#include "tests/archivers/archive_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace ravinel::test {

namespace {

void chooseKind(archive* writer, WrittenKind kind) {
    switch (kind) {
        case WrittenKind::Zip:
            archive_write_set_format_zip(writer);
            break;
        case WrittenKind::Tar:
            archive_write_set_format_pax_restricted(writer);
            break;
        case WrittenKind::TarGzip:
            archive_write_set_format_pax_restricted(writer);
            archive_write_add_filter_gzip(writer);
            break;
        case WrittenKind::TarBzip2:
            archive_write_set_format_pax_restricted(writer);
            archive_write_add_filter_bzip2(writer);
            break;
        case WrittenKind::SevenZip:
            archive_write_set_format_7zip(writer);
            break;
        case WrittenKind::Cpio:
            archive_write_set_format_cpio_newc(writer);
            break;
        case WrittenKind::Gzip:
            archive_write_set_format_raw(writer);
            archive_write_add_filter_gzip(writer);
            break;
    }
}

}  // namespace

std::vector<std::uint8_t> writeArchive(WrittenKind kind,
                                       const std::vector<WrittenMember>& members) {
    std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(),
                                                                   archive_write_free);
    chooseKind(writer.get(), kind);
    std::vector<std::uint8_t> out(1 << 22);
    std::size_t used = 0;
    EXPECT_EQ(archive_write_open_memory(writer.get(), out.data(), out.size(), &used), ARCHIVE_OK);
    for (const WrittenMember& member : members) {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                            archive_entry_free);
        archive_entry_set_pathname(entry.get(), member.name.c_str());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.data.size()));
        archive_entry_set_mtime(entry.get(), member.modified, 0);
        EXPECT_EQ(archive_write_header(writer.get(), entry.get()), ARCHIVE_OK)
            << archive_error_string(writer.get());
        EXPECT_EQ(archive_write_data(writer.get(), member.data.data(), member.data.size()),
                  static_cast<la_ssize_t>(member.data.size()));
    }
    EXPECT_EQ(archive_write_close(writer.get()), ARCHIVE_OK) << archive_error_string(writer.get());
    out.resize(used);
    return out;
}

std::vector<std::uint8_t> claimFirstTarMemberSize(std::vector<std::uint8_t> tar,
                                                  std::uint64_t size) {
    constexpr size_t kSizeField = 124;
    constexpr size_t kChecksumField = 148;
    if (tar.size() < 512 || size >= (std::uint64_t{1} << 33)) {
        throw std::invalid_argument("no tar header, or a size beyond the octal field");
    }
    char field[12];
    std::snprintf(field, sizeof field, "%011llo", static_cast<unsigned long long>(size));
    std::copy(field, field + sizeof field, tar.begin() + kSizeField);
    // The checksum counts its own field as spaces.
    std::fill(tar.begin() + kChecksumField, tar.begin() + kChecksumField + 8, ' ');
    unsigned sum = 0;
    for (size_t i = 0; i < 512; ++i) {
        sum += tar[i];
    }
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%06o", sum);
    std::copy(checksum, checksum + 7, tar.begin() + kChecksumField);
    return tar;
}

}  // namespace ravinel::test
