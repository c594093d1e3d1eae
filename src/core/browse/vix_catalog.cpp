#include "browse/vix_catalog.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "codec/jpeg/jpeg_decoder.h"
#include "platform/regular_file.h"

namespace ravinel {

namespace {

constexpr std::array<uint8_t, 4> kSignature = {0x56, 0x69, 0x58, 0x20};  // "ViX "
constexpr uint16_t kVersionMark = 0xFF00;
constexpr uint16_t kTagFolder = 0xFF02;
constexpr uint16_t kTagFileName = 0x0003;
constexpr uint16_t kTagPictureSize = 0x0009;
constexpr uint16_t kTagJpeg = 0x000D;
// Texts are read into an area of this many bytes, NUL included; longer ones never match.
constexpr uint32_t kMaxTextBytes = 261;
// The home folder may hold any number of catalogs; only this many are looked at.
constexpr size_t kMaxHomeCatalogs = 65000;
// A thumbnail whose record length does not fit the file is decoded from the rest of the
// file, but from no more than this.
constexpr uint64_t kMaxJpegBytes = uint64_t{16} << 20;
constexpr size_t kWindowBytes = 64 * 1024;

bool isMarker(uint16_t tag) {
    return tag == 0xFF01 || tag == 0x0001 || tag == 0x0002;
}

uint8_t pixelFormatOfBits(uint32_t bits) {
    switch (bits) {
        case 1:
            return 1;
        case 4:
            return 2;
        case 8:
            return 3;
        case 15:
            return 4;
        case 16:
            return 5;
        case 24:
            return 6;
        case 32:
            return 7;
        default:
            return 8;
    }
}

// A catalog file read front to back through a window of its bytes. Every read checks
// the end of the file; a failed read ends the scan.
class CatalogReader {
  public:
    explicit CatalogReader(const std::string& path) : file_(path) {
        if (!file_.isOpen()) {
            return;
        }
        size_ = file_.size();
        std::array<uint8_t, 4> signature{};
        uint16_t mark = 0;
        valid_ = size_ >= 8 && read(signature.data(), signature.size()) &&
                 signature == kSignature && readU16(mark) && mark == kVersionMark;
    }

    bool valid() const { return valid_; }
    uint64_t remaining() const { return size_ - pos_; }

    bool readU16(uint16_t& value) {
        uint8_t b[2];
        if (!read(b, 2)) {
            return false;
        }
        value = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool readU32(uint32_t& value) {
        uint8_t b[4];
        if (!read(b, 4)) {
            return false;
        }
        value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }
    bool skip(uint64_t length) {
        if (length > remaining()) {
            pos_ = size_;
            return false;
        }
        pos_ += length;
        return true;
    }
    // The text of a name or folder record: the bytes before the first NUL. None when the
    // payload is longer than the text area, has no NUL or runs past the end.
    std::optional<std::string> readText(uint32_t length) {
        if (length > kMaxTextBytes) {
            skip(length);
            return std::nullopt;
        }
        std::array<char, kMaxTextBytes> text{};
        if (!read(reinterpret_cast<uint8_t*>(text.data()), length)) {
            return std::nullopt;
        }
        const auto end = text.begin() + length;
        const auto nul = std::find(text.begin(), end, '\0');
        if (nul == end) {
            return std::nullopt;
        }
        return std::string(text.begin(), nul);
    }
    // The thumbnail's bytes: the payload when its length fits the file, else the rest of
    // the file (a JPEG stream ends itself).
    std::vector<uint8_t> readJpeg(uint32_t length) {
        uint64_t count = length;
        if (length == 0 || length > remaining()) {
            count = std::min(remaining(), kMaxJpegBytes);
        }
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        if (!read(bytes.data(), bytes.size())) {
            bytes.clear();
        }
        return bytes;
    }

  private:
    bool read(uint8_t* out, size_t count) {
        if (count > remaining()) {
            pos_ = size_;
            return false;
        }
        while (count > 0) {
            if (pos_ < windowStart_ || pos_ >= windowStart_ + window_.size()) {
                if (!fill()) {
                    pos_ = size_;
                    return false;
                }
            }
            const size_t offset = static_cast<size_t>(pos_ - windowStart_);
            const size_t part = std::min(count, window_.size() - offset);
            std::memcpy(out, window_.data() + offset, part);
            out += part;
            count -= part;
            pos_ += part;
        }
        return true;
    }
    bool fill() {
        window_.resize(static_cast<size_t>(std::min<uint64_t>(kWindowBytes, remaining())));
        windowStart_ = pos_;
        // A file cut short since the open ends the scan like a failed read.
        if (file_.readAt(window_.data(), window_.size(), pos_) !=
            static_cast<int64_t>(window_.size())) {
            window_.clear();
        }
        return !window_.empty();
    }

    RegularFile file_;
    bool valid_ = false;
    uint64_t size_ = 0;
    uint64_t pos_ = 0;
    uint64_t windowStart_ = 0;
    std::vector<uint8_t> window_;
};

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool hasVixExtension(const std::string& name) {
    return name.size() >= 4 && sameIgnoringAsciiCase(name.substr(name.size() - 4), ".VIX");
}

std::string withSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// The entry names of a folder in listing order, at most limit of them, that pass keep.
template <typename Keep>
std::vector<std::string> folderNames(const std::string& folder, size_t limit, Keep keep) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator() && names.size() < limit;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (keep(name)) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

// The folder's own catalog. File names on Linux keep their case, so "_catalog.vix" counts
// too; with several spellings the exact one, else the smallest name, wins.
std::string ownCatalog(const std::string& dir) {
    std::error_code error;
    const std::string exact = dir + "_CATALOG.VIX";
    if (std::filesystem::is_regular_file(exact, error)) {
        return exact;
    }
    std::vector<std::string> names = folderNames(dir, SIZE_MAX, [&](const std::string& name) {
        return sameIgnoringAsciiCase(name, "_CATALOG.VIX") &&
               std::filesystem::is_regular_file(dir + name, error);
    });
    if (names.empty()) {
        return {};
    }
    return dir + *std::min_element(names.begin(), names.end());
}

}  // namespace

std::string findCatalog(const std::string& dir, const std::string& homeDir) {
    if (dir.empty()) {
        return {};
    }
    std::string own = ownCatalog(dir);
    if (!own.empty()) {
        return own;
    }
    // An empty home folder means none was chosen, not the current folder.
    if (homeDir.empty()) {
        return {};
    }
    const std::string home = withSlash(homeDir);
    for (const std::string& name : folderNames(home, kMaxHomeCatalogs, hasVixExtension)) {
        if (catalogMatches(dir, home + name)) {
            return home + name;
        }
    }
    return {};
}

bool catalogMatches(const std::string& dir, const std::string& catalogFile) {
    CatalogReader reader(catalogFile);
    if (!reader.valid()) {
        return false;
    }
    uint16_t tag = 0;
    uint32_t length = 0;
    while (reader.readU16(tag) && !isMarker(tag) && reader.readU32(length)) {
        if (tag == kTagFolder) {
            const std::optional<std::string> folder = reader.readText(length);
            return folder && *folder == dir;
        }
        if (!reader.skip(length)) {
            return false;
        }
    }
    return false;
}

void readCatalogThumb(const std::string& catalogFile, const std::string& fileName, NkDib& target,
                      GraphicLoadInfo& info) {
    info.kind = GraphicKind::gkNone;
    CatalogReader reader(catalogFile);
    if (!reader.valid()) {
        return;
    }
    GraphicLoadInfo entry = info;
    bool found = false;
    uint16_t tag = 0;
    uint32_t length = 0;
    while (reader.remaining() >= 2 && reader.readU16(tag)) {
        if (isMarker(tag)) {
            continue;
        }
        if (!reader.readU32(length)) {
            return;
        }
        if (tag == kTagFileName) {
            if (found) {
                return;  // the entry ended without a thumbnail
            }
            const std::optional<std::string> name = reader.readText(length);
            found = name && *name == fileName;
            // The entry's size is unknown until its size record.
            entry.width = 0;
            entry.height = 0;
        } else if (tag == kTagPictureSize && found && length >= 12) {
            uint32_t width = 0;
            uint32_t height = 0;
            uint32_t bits = 0;
            if (!reader.readU32(width) || !reader.readU32(height) || !reader.readU32(bits) ||
                !reader.skip(length - 12)) {
                return;
            }
            entry.width = static_cast<uint16_t>(width);
            entry.height = static_cast<uint16_t>(height);
            entry.pixelFormat = pixelFormatOfBits(bits);
        } else if (tag == kTagJpeg && found) {
            try {
                target = decodeJpeg(reader.readJpeg(length), {});
            } catch (const std::exception&) {
                return;  // undecodable thumbnail: as if the file had no entry
            }
            entry.kind = GraphicKind::gkVix;
            info = entry;
            return;
        } else if (!reader.skip(length)) {
            return;
        }
    }
}

}  // namespace ravinel
