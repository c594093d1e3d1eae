#include "thumb_cache/shared_thumb_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <random>
#include <vector>

#include "platform/trusted_path.h"
#include "platform/user_folders.h"
#include "thumb_cache/file_uri.h"
#include "thumb_cache/thumb_cache_error.h"
#include "thumb_cache/thumb_png.h"

namespace ravinel {

namespace {

// No entry of 256 pixels comes near this; a larger file is not read at all.
constexpr off_t kMaxEntryBytes = 1 << 20;
constexpr int kFailSide = 16;

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

  private:
    int fd_;
};

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Opens the folder name under parent (a link is not followed) when it is a folder of the
// user's that others cannot write; creates it mode 0700 first when create is set.
Descriptor openOwnFolder(int parent, const std::string& name, const std::string& shownPath,
                         bool create, std::string& why) {
    if (create && mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) {
        why = systemError(shownPath);
        return Descriptor();
    }
    Descriptor folder(
        openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.isOpen()) {
        why = systemError(shownPath);
        return Descriptor();
    }
    struct stat status {};
    if (fstat(folder.get(), &status) != 0) {
        why = systemError(shownPath);
        return Descriptor();
    }
    why = distrustOf(shownPath, status, TrustedOwner::user);
    return why.empty() ? std::move(folder) : Descriptor();
}

// The folder of the entries, each step from the root on checked; closed when one fails.
Descriptor openEntryFolder(const std::filesystem::path& root, const std::vector<std::string>& steps,
                           bool create, std::string& why) {
    if (create) {
        std::error_code ignored;
        std::filesystem::create_directories(root.parent_path(), ignored);
    }
    Descriptor folder = openOwnFolder(AT_FDCWD, root.string(), root.string(), create, why);
    std::filesystem::path shown = root;
    for (const std::string& step : steps) {
        if (!folder.isOpen()) {
            break;
        }
        shown /= step;
        folder = openOwnFolder(folder.get(), step, shown.string(), create, why);
    }
    return folder;
}

std::optional<uint64_t> parseNumber(const std::map<std::string, std::string>& text,
                                    const std::string& key) {
    const auto found = text.find(key);
    if (found == text.end()) {
        return std::nullopt;
    }
    const std::string& value = found->second;
    uint64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
        return std::nullopt;
    }
    return number;
}

uint32_t sideFact(const std::map<std::string, std::string>& text, const std::string& key) {
    const auto side = parseNumber(text, key);
    return side && *side <= 0xFFFFFFFFu ? static_cast<uint32_t>(*side) : 0;
}

std::optional<std::vector<uint8_t>> readEntry(int folder, const std::string& name) {
    Descriptor entry(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!entry.isOpen() || fstat(entry.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > kMaxEntryBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(entry.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return std::nullopt;
        }
        done += static_cast<size_t>(got);
    }
    return bytes;
}

void writeAll(int fd, const std::vector<uint8_t>& bytes, const std::string& shownPath) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            throw ThumbCacheError(systemError(shownPath));
        }
        done += static_cast<size_t>(put);
    }
}

std::string temporaryName(const std::string& name) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return "." + name + "." + std::to_string(random() % 1000000000u) + ".tmp";
}

}  // namespace

int flavourSide(ThumbFlavour flavour) {
    return flavour == ThumbFlavour::large ? 256 : 128;
}

SharedThumbCache::SharedThumbCache(std::filesystem::path root, std::string application)
    : root_(std::move(root)), application_(std::move(application)) {}

SharedThumbCache SharedThumbCache::forUser() {
    return SharedThumbCache(xdgBaseFolder("XDG_CACHE_HOME", ".cache") / "thumbnails",
                            std::string("ravinel-") + RAVINEL_VERSION);
}

std::filesystem::path SharedThumbCache::folderOf(std::optional<ThumbFlavour> flavour) const {
    if (!flavour) {
        return root_ / "fail" / application_;
    }
    return root_ / (*flavour == ThumbFlavour::large ? "large" : "normal");
}

std::vector<std::string> SharedThumbCache::stepsTo(std::optional<ThumbFlavour> flavour) const {
    if (!flavour) {
        return {"fail", application_};
    }
    return {folderOf(flavour).filename().string()};
}

std::optional<CachedThumb> SharedThumbCache::read(const std::string& path,
                                                  std::optional<ThumbFlavour> flavour) const {
    struct stat source {};
    if (stat(path.c_str(), &source) != 0) {
        return std::nullopt;
    }
    std::string why;
    const Descriptor folder = openEntryFolder(root_, stepsTo(flavour), false, why);
    if (!folder.isOpen()) {
        return std::nullopt;
    }
    const std::string uri = fileUri(path);
    const auto bytes = readEntry(folder.get(), thumbnailFileName(uri));
    if (!bytes) {
        return std::nullopt;
    }
    auto entry = decodeThumbPng(*bytes, flavour ? flavourSide(*flavour) : kFailSide);
    if (!entry) {
        return std::nullopt;
    }
    const auto uriKey = entry->text.find("Thumb::URI");
    const auto mtime = parseNumber(entry->text, "Thumb::MTime");
    if (uriKey == entry->text.end() || uriKey->second != uri || !mtime || source.st_mtime < 0 ||
        *mtime != static_cast<uint64_t>(source.st_mtime)) {
        return std::nullopt;
    }
    CachedThumb thumb;
    thumb.picture = std::move(entry->picture);
    thumb.imageWidth = sideFact(entry->text, "Thumb::Image::Width");
    thumb.imageHeight = sideFact(entry->text, "Thumb::Image::Height");
    thumb.text = std::move(entry->text);
    return thumb;
}

std::optional<CachedThumb> SharedThumbCache::find(const std::string& path,
                                                  ThumbFlavour flavour) const {
    return read(path, flavour);
}

bool SharedThumbCache::hasFailure(const std::string& path) const {
    return read(path, std::nullopt).has_value();
}

void SharedThumbCache::write(const std::string& path, std::optional<ThumbFlavour> flavour,
                             const NkDib& picture, const ThumbFacts& facts) const {
    struct stat source {};
    if (stat(path.c_str(), &source) != 0) {
        throw ThumbCacheError(systemError(path));
    }
    const int side = flavour ? flavourSide(*flavour) : kFailSide;
    if (picture.width() < 1 || picture.height() < 1 || picture.width() > side ||
        picture.height() > side) {
        throw ThumbCacheError("thumbnail larger than its folder's size: " + path);
    }
    const std::string uri = fileUri(path);
    std::vector<std::pair<std::string, std::string>> text = {
        {"Thumb::URI", uri},
        {"Thumb::MTime", std::to_string(source.st_mtime)},
        {"Thumb::Size", std::to_string(source.st_size)},
    };
    if (!facts.mime.empty()) {
        text.emplace_back("Thumb::Mime", facts.mime);
    }
    if (facts.imageWidth != 0 && facts.imageHeight != 0) {
        text.emplace_back("Thumb::Image::Width", std::to_string(facts.imageWidth));
        text.emplace_back("Thumb::Image::Height", std::to_string(facts.imageHeight));
    }
    text.insert(text.end(), facts.extra.begin(), facts.extra.end());
    text.emplace_back("Software", "Ravinel");
    const std::vector<uint8_t> bytes = encodeThumbPng(picture, text);

    std::string why;
    const Descriptor folder = openEntryFolder(root_, stepsTo(flavour), true, why);
    if (!folder.isOpen()) {
        throw ThumbCacheError(why);
    }
    const std::string name = thumbnailFileName(uri);
    const std::string temporary = temporaryName(name);
    const std::string shown = (folderOf(flavour) / temporary).string();
    Descriptor out(openat(folder.get(), temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.isOpen()) {
        throw ThumbCacheError(systemError(shown));
    }
    try {
        if (fchmod(out.get(), 0600) != 0) {
            throw ThumbCacheError(systemError(shown));
        }
        writeAll(out.get(), bytes, shown);
        // The rename replaces whatever has the entry's name, a planted link included,
        // and never writes through it.
        if (renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
            throw ThumbCacheError(systemError((folderOf(flavour) / name).string()));
        }
    } catch (const ThumbCacheError&) {
        unlinkat(folder.get(), temporary.c_str(), 0);
        throw;
    }
}

void SharedThumbCache::store(const std::string& path, ThumbFlavour flavour, const NkDib& picture,
                             const ThumbFacts& facts) const {
    write(path, flavour, picture, facts);
}

void SharedThumbCache::storeFailure(const std::string& path) const {
    NkDib blank;
    blank.setBitCount(24);
    blank.setWidth(1);
    blank.setHeight(1);
    write(path, std::nullopt, blank, ThumbFacts{});
}

}  // namespace ravinel
