#include "browse/link_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/file_bytes.h"

namespace ravinel {

namespace {

// Desktop entries are a few hundred bytes; anything larger is no link file of ours.
constexpr uint64_t kMaxDesktopFileBytes = 1 << 20;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A symbolic link's target; a relative target is joined to the link's folder, since
// the caller opens the result from its own working folder.
std::string symbolicLinkTarget(const std::string& path, off_t sizeHint) {
    std::vector<char> buffer(static_cast<size_t>(sizeHint > 0 ? sizeHint : 255) + 1);
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
        return {};  // unreadable, or the link changed while being read
    }
    std::string target(buffer.data(), static_cast<size_t>(length));
    const auto slash = path.rfind('/');
    if (target[0] == '/' || slash == std::string::npos) {
        return target;
    }
    return path.substr(0, slash + 1) + target;
}

// The escapes of a desktop entry's string values: \s \n \t \r \\.
std::string unescapedValue(std::string_view value) {
    std::string text;
    for (size_t k = 0; k < value.size(); ++k) {
        if (value[k] != '\\' || k + 1 == value.size()) {
            text += value[k];
            continue;
        }
        const char code = value[++k];
        text += code == 's'   ? ' '
                : code == 'n' ? '\n'
                : code == 't' ? '\t'
                : code == 'r' ? '\r'
                              : code;
    }
    return text;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A local file URL ("file:///p", "file://localhost/p") becomes its decoded path; other
// URLs stay as written.
std::string pathOfUrl(const std::string& url) {
    constexpr std::string_view kScheme = "file://";
    if (url.compare(0, kScheme.size(), kScheme) != 0) {
        return url;
    }
    const auto pathStart = url.find('/', kScheme.size());
    if (pathStart == std::string::npos) {
        return {};
    }
    std::string path;
    for (size_t k = pathStart; k < url.size(); ++k) {
        const int high = k + 2 < url.size() ? hexDigitValue(url[k + 1]) : -1;
        const int low = high >= 0 ? hexDigitValue(url[k + 2]) : -1;
        if (url[k] == '%' && low >= 0) {
            path += static_cast<char>(high * 16 + low);
            k += 2;
        } else {
            path += url[k];
        }
    }
    return path;
}

// The URL of a desktop entry of Type=Link, from its [Desktop Entry] group.
std::string desktopLinkTarget(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = readFileBytes(path, kMaxDesktopFileBytes);
    } catch (const FileReadError&) {
        return {};
    }
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string group;
    std::string type;
    std::string url;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view text = trimmed(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (text.empty() || text[0] == '#') {
            continue;
        }
        if (text.front() == '[' && text.back() == ']') {
            group = text.substr(1, text.size() - 2);
            continue;
        }
        const auto equals = text.find('=');
        if (group != "Desktop Entry" || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trimmed(text.substr(0, equals));
        const std::string value = unescapedValue(trimmed(text.substr(equals + 1)));
        if (key == "Type") {
            type = value;
        } else if (key == "URL") {
            url = value;
        }
    }
    return type == "Link" && !url.empty() ? pathOfUrl(url) : std::string();
}

bool hasDesktopExtension(const std::string& path) {
    constexpr std::string_view kExtension = ".desktop";
    return path.size() > kExtension.size() &&
           path.compare(path.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
}

}  // namespace

std::string getLinkTarget(const std::string& path) {
    struct stat status;
    if (path.empty() || lstat(path.c_str(), &status) != 0) {
        return {};
    }
    if (S_ISLNK(status.st_mode)) {
        return symbolicLinkTarget(path, status.st_size);
    }
    if (S_ISREG(status.st_mode) && hasDesktopExtension(path)) {
        return desktopLinkTarget(path);
    }
    return {};
}

}  // namespace ravinel
