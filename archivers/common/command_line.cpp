#include "command_line.h"

#include <algorithm>
#include <optional>

namespace ravinel::archivers {

namespace {

struct Word {
    std::string text;
    bool quoted = false;
};

std::vector<Word> splitWords(const std::string& line) {
    std::vector<Word> words;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        Word word;
        if (line[at] == '"') {
            // An unclosed quote runs to the end of the line.
            const auto close = line.find('"', at + 1);
            const auto end = close == std::string::npos ? line.size() : close;
            word = {line.substr(at + 1, end - at - 1), true};
            at = close == std::string::npos ? end : end + 1;
        } else {
            const auto end = std::min(line.find_first_of(" \t", at), line.size());
            word = {line.substr(at, end - at), false};
            at = end;
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string unescapeZipName(const std::string& name) {
    std::string plain;
    for (std::size_t at = 0; at < name.size();) {
        if (name.compare(at, 3, "[[]") == 0) {
            plain += '[';
            at += 3;
        } else if (name.compare(at, 3, "[-]") == 0) {
            plain += '-';
            at += 3;
        } else {
            plain += name[at++];
        }
    }
    return plain;
}

}  // namespace

ExtractCommand parseExtractCommand(ModuleFormat format, const std::string& commandLine) {
    const std::vector<Word> words = splitWords(commandLine);
    std::optional<std::string> archiveFromSwitch;
    std::vector<std::string> operands;
    for (std::size_t at = 0; at < words.size(); ++at) {
        const Word& word = words[at];
        const bool isSwitch = !word.quoted && !word.text.empty() && word.text[0] == '-';
        if (!isSwitch) {
            operands.push_back(word.text);
            continue;
        }
        const bool takesValue =
            format == ModuleFormat::Tar && (word.text == "-f" || word.text == "-o");
        if (takesValue && at + 1 < words.size()) {
            ++at;
            if (word.text == "-f") {
                archiveFromSwitch = words[at].text;
            }
        }
    }
    ExtractCommand command;
    auto operand = operands.begin();
    if (archiveFromSwitch) {
        command.archivePath = *archiveFromSwitch;
    } else if (operand != operands.end()) {
        command.archivePath = *operand++;
    }
    for (; operand != operands.end(); ++operand) {
        std::string name = *operand;
        if (format == ModuleFormat::Zip) {
            name = unescapeZipName(name);
        }
        std::replace(name.begin(), name.end(), '\\', '/');
        command.memberNames.push_back(std::move(name));
    }
    if (format == ModuleFormat::Zip) {
        command.archivePath = unescapeZipName(command.archivePath);
    }
    return command;
}

}  // namespace ravinel::archivers
