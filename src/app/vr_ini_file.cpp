#include "app/vr_ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/atomic_file_write.h"
#include "app/color_names.h"
#include "app/ini_text.h"

namespace ravinel {

namespace {

constexpr size_t kNoSection = static_cast<size_t>(-1);
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Closes the file on every way out of the reading.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path)
        // Non-blocking, so that a FIFO given as the file cannot stall the start.
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Only a regular file is read; a device or a folder counts as missing.
    bool isRegularFile() const {
        struct stat info {};
        return fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
    }
    // Bytes read into buffer; 0 at the end or on an error.
    size_t read(char* buffer, size_t size) const {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, size);
            if (n >= 0) {
                return static_cast<size_t>(n);
            }
            if (errno != EINTR) {
                return 0;
            }
        }
    }

  private:
    int fd_;
};

}  // namespace

VrIniFile::VrIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    load();
}

void VrIniFile::load() {
    const ReadOnlyFile file(fileName_);
    if (!file.isRegularFile()) {
        return;
    }
    size_t current = kNoSection;
    size_t stored = 0;
    std::string line;
    bool lineTooLong = false;
    bool atStart = true;
    std::string chunk(64 * 1024, '\0');
    for (size_t n; (n = file.read(chunk.data(), chunk.size())) > 0;) {
        std::string_view data(chunk.data(), n);
        if (atStart) {
            atStart = false;
            if (data.starts_with(kUtf8Bom)) {
                data.remove_prefix(kUtf8Bom.size());
            }
        }
        while (!data.empty()) {
            const size_t end = data.find('\n');
            const std::string_view piece = data.substr(0, end);
            if (!lineTooLong) {
                if (line.size() + piece.size() > kMaxLineBytes) {
                    lineTooLong = true;
                    line.clear();
                } else {
                    line.append(piece);
                }
            }
            if (end == std::string_view::npos) {
                break;
            }
            if (!lineTooLong) {
                addLine(line, current, stored);
            }
            line.clear();
            lineTooLong = false;
            data.remove_prefix(end + 1);
        }
    }
    if (!lineTooLong) {
        addLine(line, current, stored);
    }
}

void VrIniFile::addLine(std::string_view line, size_t& current, size_t& stored) {
    while (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    line = trimBlanks(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') {
        return;
    }
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        const std::string_view name = trimBlanks(line.substr(1, line.size() - 2));
        for (size_t i = 0; i < sections_.size(); ++i) {
            if (equalsIgnoringCase(sections_[i].name, name)) {
                current = i;  // a repeated section adds to the first
                return;
            }
        }
        if (stored + name.size() > kMaxStoredBytes) {
            current = kNoSection;
            return;
        }
        stored += name.size();
        sections_.push_back(Section{std::string(name), {}});
        current = sections_.size() - 1;
        return;
    }
    const size_t equals = line.find('=');
    if (current == kNoSection || equals == std::string_view::npos) {
        return;
    }
    const std::string_view key = trimBlanks(line.substr(0, equals));
    const std::string_view value = trimBlanks(line.substr(equals + 1));
    if (key.empty() || stored + key.size() + value.size() > kMaxStoredBytes) {
        return;
    }
    auto& keys = sections_[current].keys;
    for (const auto& entry : keys) {
        if (equalsIgnoringCase(entry.first, key)) {
            return;
        }
    }
    stored += key.size() + value.size();
    keys.emplace_back(std::string(key), std::string(value));
}

VrIniFile::Section* VrIniFile::findSection(std::string_view name) {
    for (auto& s : sections_) {
        if (equalsIgnoringCase(s.name, name)) {
            return &s;
        }
    }
    return nullptr;
}

const VrIniFile::Section* VrIniFile::findSection(std::string_view name) const {
    return const_cast<VrIniFile*>(this)->findSection(name);
}

const std::string* VrIniFile::findValue(std::string_view ident) const {
    const Section* s = findSection(section_);
    if (s == nullptr) {
        return nullptr;
    }
    for (const auto& [key, value] : s->keys) {
        if (equalsIgnoringCase(key, ident)) {
            return &value;
        }
    }
    return nullptr;
}

bool VrIniFile::readBool(std::string_view ident, bool defaultValue) const {
    return readInteger(ident, defaultValue ? 1 : 0) != 0;
}

int32_t VrIniFile::readInteger(std::string_view ident, int32_t defaultValue) const {
    const std::string* text = findValue(ident);
    if (text == nullptr) {
        return defaultValue;
    }
    return parseIniInteger(*text).value_or(defaultValue);
}

double VrIniFile::readFloat(std::string_view ident, double defaultValue) const {
    const std::string* text = findValue(ident);
    if (text == nullptr) {
        return defaultValue;
    }
    return parseIniFloat(*text).value_or(defaultValue);
}

std::string VrIniFile::readString(std::string_view ident, const std::string& defaultValue) const {
    const std::string* text = findValue(ident);
    return text != nullptr ? *text : defaultValue;
}

Color VrIniFile::readColor(std::string_view ident, Color defaultValue) const {
    const std::string stored = readString(ident, "");
    std::string_view text = stored;
    if (const auto named = colorFromName(text)) {
        return *named;
    }
    if (text.starts_with('$')) {
        text.remove_prefix(1);
    }
    const auto value = parseHexDigits(text);
    // These bits are set by no colour of the table and by no system colour.
    if (!value || (*value & 0x7C000000u) != 0) {
        return defaultValue;
    }
    return *value;
}

Rect VrIniFile::readRect(std::string_view prefix, const Rect& defaultValue) const {
    const std::string p(prefix);
    return Rect{readInteger(p + "Left", defaultValue.left),
                readInteger(p + "Top", defaultValue.top),
                readInteger(p + "Right", defaultValue.right),
                readInteger(p + "Bottom", defaultValue.bottom)};
}

void VrIniFile::writeBool(std::string_view ident, bool value) {
    writeString(ident, value ? "1" : "0");
}

void VrIniFile::writeInteger(std::string_view ident, int32_t value) {
    writeString(ident, std::to_string(value));
}

void VrIniFile::writeFloat(std::string_view ident, double value) {
    writeString(ident, formatIniFloat(value));
}

void VrIniFile::writeString(std::string_view ident, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        value = {};
    }
    Section* s = findSection(section_);
    if (s == nullptr) {
        sections_.push_back(Section{section_, {}});
        s = &sections_.back();
    }
    for (auto& [key, old] : s->keys) {
        if (equalsIgnoringCase(key, ident)) {
            old = value;
            return;
        }
    }
    s->keys.emplace_back(std::string(ident), std::string(value));
}

void VrIniFile::writeColor(std::string_view ident, Color value) {
    if (const auto name = colorName(value)) {
        writeString(ident, *name);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(value));
    writeString(ident, text);
}

void VrIniFile::writeRect(std::string_view prefix, const Rect& value) {
    const std::string p(prefix);
    writeInteger(p + "Left", value.left);
    writeInteger(p + "Top", value.top);
    writeInteger(p + "Right", value.right);
    writeInteger(p + "Bottom", value.bottom);
}

void VrIniFile::clear() {
    sections_.clear();
}

void VrIniFile::updateFile() const {
    std::string text;
    for (const auto& s : sections_) {
        text += "[" + s.name + "]\n";
        for (const auto& [key, value] : s.keys) {
            text += key + "=" + value + "\n";
        }
        text += "\n";
    }
    writeFileAtomically(fileName_, text);
}

}  // namespace ravinel
