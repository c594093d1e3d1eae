// The command lines that extract members into memory, one rule set per format.
#include <string>

#include "archive/archiver_error.h"
#include "archive/archiver_formats.h"

namespace ravinel {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// "-" + name, or the name alone when it starts with a space.
std::string switchWord(const std::string& name) {
    return name.starts_with(' ') ? name : "-" + name;
}

void appendText(std::string& line, const std::string& text) {
    if (!text.empty()) {
        line += " " + text;
    }
}

// Archive path, member names and the user's file list.
std::string withNames(std::string line, const std::string& archivePath,
                      const std::vector<std::string>& members, const ArchiverOptions& options) {
    line += " " + quoted(archivePath);
    for (const std::string& member : members) {
        line += " " + quoted(member);
    }
    appendText(line, options.userFileList);
    return line;
}

// The pattern syntax of the ZIP module: "[" starts a class and a leading "-" a switch.
std::string zipEscaped(const std::string& name) {
    std::string out;
    for (const char c : name) {
        if (c == '\\') {
            out += '/';
        } else if (c == '[') {
            out += "[[]";
        } else {
            out += c;
        }
    }
    if (out.starts_with('-')) {
        out = "[-]" + out.substr(1);
    }
    return out;
}

}  // namespace

std::string Lha32::extractMemCommandLine(const std::string& archivePath,
                                         const std::vector<std::string>& members,
                                         const ArchiverOptions& options, bool ownerWindow) const {
    if (options.number("jso") == -1) {
        throw ArchiverError(ArchiverMessage::jsoOptionMissing);
    }
    std::string line = " -+";
    for (const ArchiverSwitch& sw : kArchiverSwitches) {
        if (sw.kind == ArchiverSwitchKind::number) {
            const int value =
                (ownerWindow && std::string_view(sw.name) == "n") ? 1 : options.numberAt(sw.slot);
            if (value != -1) {
                line += " " + switchWord(sw.name) + std::to_string(value);
            }
        } else if (sw.kind == ArchiverSwitchKind::text && !options.textAt(sw.slot).empty()) {
            line += " " + switchWord(sw.name) + quoted(options.textAt(sw.slot));
        }
    }
    appendText(line, options.userOptions);
    return withNames(line, archivePath, members, options);
}

std::string Zip32::extractMemCommandLine(const std::string& archivePath,
                                         const std::vector<std::string>& members,
                                         const ArchiverOptions& options, bool ownerWindow) const {
    std::string line;
    if (options.number("c") == 1) {
        line += " -o";
    }
    if (options.number("n") > 0 || ownerWindow) {
        line += " --i";
    }
    if (options.number("x") == 0) {
        line += " -j";
    }
    appendText(line, options.userOptions);
    std::vector<std::string> escaped;
    for (const std::string& member : members) {
        escaped.push_back(zipEscaped(member));
    }
    return withNames(line, zipEscaped(archivePath), escaped, options);
}

std::string Tar32::compressionSwitch(const ArchiverOptions&) const {
    return {};
}

std::string Tgz32::compressionSwitch(const ArchiverOptions& options) const {
    const int8_t level = options.number("jm");
    return level >= 1 ? " -z" + std::to_string(level) : " -z";
}

std::string Bz232::compressionSwitch(const ArchiverOptions& options) const {
    const int8_t level = options.number("jm");
    return level >= 1 ? " -B" + std::to_string(level) : " -B";
}

std::string Tar32::extractMemCommandLine(const std::string& archivePath,
                                         const std::vector<std::string>& members,
                                         const ArchiverOptions& options, bool ownerWindow) const {
    std::string line;
    if (options.number("a") > 0) {
        line += " -AH";
    } else if (options.number("a") == 0) {
        line += " -I";
    }
    if (!ownerWindow && options.number("n") > 0) {
        line += " --display-dialog=0";
    }
    if (options.number("o") > 0) {
        line += " -g";
    }
    if (options.number("p") != -1) {
        line += " -check-all-path=" + std::to_string(options.number("p"));
    }
    if (options.number("x") != -1) {
        line += " -use-directory=" + std::to_string(options.number("x"));
    }
    line += compressionSwitch(options);
    appendText(line, options.userOptions);
    line += " -f " + quoted(archivePath);
    for (const std::string& member : members) {
        line += " " + quoted(member);
    }
    appendText(line, options.userFileList);
    return line;
}

std::string Rar32::extractMemCommandLine(const std::string& archivePath,
                                         const std::vector<std::string>& members,
                                         const ArchiverOptions& options, bool) const {
    std::string line;
    if (options.number("c") < 1) {
        line += " -u";
    }
    if (options.number("m") > 0) {
        line += " -y";
    }
    if (options.number("p") > 0) {
        line += " -s";
    }
    appendText(line, options.userOptions);
    return withNames(line, archivePath, members, options);
}

std::string Cab32::extractMemCommandLine(const std::string& archivePath,
                                         const std::vector<std::string>& members,
                                         const ArchiverOptions& options, bool ownerWindow) const {
    std::string line;
    if (options.number("c") == 1) {
        line += " -o";
    }
    if (options.number("n") > 0 || ownerWindow) {
        line += " -i";
    }
    if (options.number("r") > 0) {
        line += " -r";
    }
    if (!options.text("w").empty()) {
        line += " -h" + quoted(options.text("w") + "\\");
    }
    if (options.number("x") == 0) {
        line += " -j";
    }
    if (options.number("ji") > 0) {
        line += " -q";
    }
    appendText(line, options.userOptions);
    return withNames(line, archivePath, members, options);
}

std::string NoMemoryExtraction::extractMemCommandLine(const std::string&,
                                                      const std::vector<std::string>&,
                                                      const ArchiverOptions&, bool) const {
    throw ArchiverError(ArchiverMessage::memoryExtractNotSupported);
}

}  // namespace ravinel
