#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "settings/settings_records.h"

namespace ravinel {

// The settings file in memory: sections of key=value lines, read whole at creation and
// written whole by updateFile. Section and key names compare without regard to ASCII
// case. Every reader and writer works in the current section.
//
// Reading never fails: a missing or unreadable file is empty, and a line that is neither
// "[section]" nor "key=value" with a key is skipped, as are lines before the first
// section, lines of ";" or "#" comments and lines longer than kMaxLineBytes. A repeated
// section adds its new keys to the first one; of a repeated key the first counts.
class VrIniFile {
  public:
    static constexpr size_t kMaxLineBytes = 64 * 1024;
    // What one file may take in memory, each line counted with its text and
    // kLineCost; lines after the first that does not fit are ignored (a settings file is
    // a few kilobytes; this bounds what a hostile one can take).
    static constexpr size_t kMaxStoredBytes = 4 * 1024 * 1024;
    static constexpr size_t kLineCost = 64;

    explicit VrIniFile(std::string fileName);

    const std::string& section() const { return section_; }
    void setSection(std::string name) { section_ = std::move(name); }

    // A missing key, or a value that is not an integer, gives the default; a Boolean is
    // an integer, non-zero being true.
    bool readBool(std::string_view ident, bool defaultValue) const;
    int32_t readInteger(std::string_view ident, int32_t defaultValue) const;
    // Empty or non-numeric text gives the default.
    double readFloat(std::string_view ident, double defaultValue) const;
    std::string readString(std::string_view ident, const std::string& defaultValue) const;
    // A colour name, or hexadecimal digits with or without "$"; anything else, or a
    // value with any of the bits 26 to 30 set, gives the default.
    Color readColor(std::string_view ident, Color defaultValue) const;
    // The keys prefix + "Left", "Top", "Right", "Bottom", each with its own default.
    Rect readRect(std::string_view prefix, const Rect& defaultValue) const;

    void writeBool(std::string_view ident, bool value);
    void writeInteger(std::string_view ident, int32_t value);
    void writeFloat(std::string_view ident, double value);
    // A line break cannot be stored in a line: such a value is stored empty, so that it
    // reads back as nothing rather than as a cut-off text.
    void writeString(std::string_view ident, std::string_view value);
    // The colour's name, or "$" and eight upper-case hexadecimal digits.
    void writeColor(std::string_view ident, Color value);
    void writeRect(std::string_view prefix, const Rect& value);

    // Drops every section in memory.
    void clear();
    // Writes the whole file: each section line, its key lines, one empty line. The old
    // file stays whole until the new one is complete. Throws FileWriteError.
    void updateFile() const;

  private:
    // Keys in file order, found by their case-folded names.
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
        std::unordered_map<std::string, size_t> index;
    };
    class Reader;

    void load();
    Section& addSection(std::string_view name);
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    const std::string* findValue(std::string_view ident) const;

    std::string fileName_;
    std::string section_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;
};

}  // namespace ravinel
