#include "settings/vr_ini_file.h"

#include <cstdio>

#include "platform/atomic_file_write.h"
#include "platform/regular_file.h"
#include "settings/color_names.h"
#include "settings/ini_text.h"

namespace ravinel {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

// Turns lines into sections and keys within the memory limit.
class VrIniFile::Reader {
  public:
    explicit Reader(VrIniFile& ini) : ini_(ini) {}

    void addLine(std::string_view line) {
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = trimBlanks(line);
        if (full_ || line.empty() || line[0] == ';' || line[0] == '#') {
            return;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = trimBlanks(line.substr(1, line.size() - 2));
            if (Section* s = ini_.findSection(name)) {
                current_ = s;  // a repeated section adds to the first
            } else if (take(name.size())) {
                current_ = &ini_.addSection(name);
            }
            return;
        }
        const size_t equals = line.find('=');
        if (current_ == nullptr || equals == std::string_view::npos) {
            return;
        }
        const std::string_view key = trimBlanks(line.substr(0, equals));
        const std::string_view value = trimBlanks(line.substr(equals + 1));
        std::string folded = foldCase(key);
        if (key.empty() || current_->index.contains(folded) || !take(key.size() + value.size())) {
            return;
        }
        current_->index.emplace(std::move(folded), current_->keys.size());
        current_->keys.emplace_back(std::string(key), std::string(value));
    }

  private:
    // Counts a line against the limit; false, and nothing more is taken, when it does
    // not fit.
    bool take(size_t textBytes) {
        if (stored_ + textBytes + kLineCost > kMaxStoredBytes) {
            full_ = true;
            return false;
        }
        stored_ += textBytes + kLineCost;
        return true;
    }

    VrIniFile& ini_;
    // Sections live in a vector that grows: current_ is only kept between lines, and
    // addSection is the only thing that grows it, right before current_ is set anew.
    Section* current_ = nullptr;
    size_t stored_ = 0;
    bool full_ = false;
};

VrIniFile::VrIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    load();
}

void VrIniFile::load() {
    // Only a regular file is read; a device or a folder counts as missing.
    const RegularFile file(fileName_);
    if (!file.isOpen()) {
        return;
    }
    Reader reader(*this);
    std::string line;
    bool lineTooLong = false;
    bool atStart = true;
    std::string chunk(64 * 1024, '\0');
    uint64_t offset = 0;
    for (int64_t n; (n = file.readAt(chunk.data(), chunk.size(), offset)) > 0;) {
        offset += static_cast<uint64_t>(n);
        std::string_view data(chunk.data(), static_cast<size_t>(n));
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
                reader.addLine(line);
            }
            line.clear();
            lineTooLong = false;
            data.remove_prefix(end + 1);
        }
    }
    if (!lineTooLong) {
        reader.addLine(line);
    }
}

VrIniFile::Section& VrIniFile::addSection(std::string_view name) {
    sectionIndex_.emplace(foldCase(name), sections_.size());
    sections_.push_back(Section{std::string(name), {}, {}});
    return sections_.back();
}

VrIniFile::Section* VrIniFile::findSection(std::string_view name) {
    const auto found = sectionIndex_.find(foldCase(name));
    return found != sectionIndex_.end() ? &sections_[found->second] : nullptr;
}

const VrIniFile::Section* VrIniFile::findSection(std::string_view name) const {
    return const_cast<VrIniFile*>(this)->findSection(name);
}

const std::string* VrIniFile::findValue(std::string_view ident) const {
    const Section* s = findSection(section_);
    if (s == nullptr) {
        return nullptr;
    }
    const auto found = s->index.find(foldCase(ident));
    return found != s->index.end() ? &s->keys[found->second].second : nullptr;
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
        s = &addSection(section_);
    }
    std::string folded = foldCase(ident);
    if (const auto found = s->index.find(folded); found != s->index.end()) {
        s->keys[found->second].second = value;
        return;
    }
    s->index.emplace(std::move(folded), s->keys.size());
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
    sectionIndex_.clear();
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
