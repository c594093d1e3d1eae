#include "browse/shell_places.h"

#include <algorithm>
#include <array>

namespace ravinel {

namespace {

bool isUnder(std::string_view path, std::string_view folder) {
    return path == folder ||
           (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

// The folder names of rest that end with "/"; empty names (doubled slashes) are skipped.
std::vector<std::string> folderParts(std::string_view rest) {
    std::vector<std::string> parts;
    for (size_t slash = rest.find('/'); slash != std::string_view::npos; slash = rest.find('/')) {
        if (slash > 0) {
            parts.emplace_back(rest.substr(0, slash));
        }
        rest.remove_prefix(slash + 1);
    }
    return parts;
}

}  // namespace

std::string asFolderPath(std::string path) {
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string driveNodeText(const DriveEntry& drive) {
    std::string shown = drive.mountPath;
    if (shown.size() > 1 && shown.back() == '/') {
        shown.pop_back();
    }
    return drive.label.empty() ? shown : drive.label + " (" + shown + ")";
}

bool isBrowsableMount(std::string_view mountPath, std::string_view fileSystemType) {
    while (mountPath.size() > 1 && mountPath.back() == '/') {
        mountPath.remove_suffix(1);
    }
    if (mountPath == "/") {
        return true;
    }
    static constexpr std::array<std::string_view, 5> systemFolders = {"/proc", "/sys", "/dev",
                                                                      "/run", "/snap"};
    for (const std::string_view folder : systemFolders) {
        if (isUnder(mountPath, folder) && !isUnder(mountPath, "/run/media")) {
            return false;
        }
    }
    static constexpr std::array<std::string_view, 22> pseudoTypes = {
        "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "overlay",  "proc",     "pstore",  "rpc_pipefs",
        "securityfs", "squashfs",    "sysfs",    "tracefs"};
    return std::find(pseudoTypes.begin(), pseudoTypes.end(), fileSystemType) == pseudoTypes.end();
}

std::vector<DriveEntry> orderedDrives(std::vector<DriveEntry> drives) {
    std::erase_if(drives, [](const DriveEntry& drive) { return drive.mountPath.empty(); });
    for (DriveEntry& drive : drives) {
        drive.mountPath = asFolderPath(std::move(drive.mountPath));
    }
    std::stable_sort(drives.begin(), drives.end(), [](const DriveEntry& a, const DriveEntry& b) {
        return a.mountPath < b.mountPath;
    });
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const DriveEntry& a, const DriveEntry& b) {
                                 return a.mountPath == b.mountPath;
                             }),
                 drives.end());
    return drives;
}

bool startsWithIgnoringCase(const std::string& path, const std::string& prefix,
                            const NameCollation& collation) {
    if (prefix.empty() || path.size() < prefix.size()) {
        return false;
    }
    const std::string_view head(path.data(), prefix.size());
    return head == prefix || collation.compareIgnoringCase(head, prefix) == 0;
}

TreePathStart startOfTreePath(const std::string& path, const ShellPlaces& places,
                              const NameCollation& collation) {
    TreePathStart start;
    if (path.empty() || path.front() != '/') {
        return start;
    }
    size_t matched = 0;
    if (startsWithIgnoringCase(path, places.desktopPath, collation)) {
        start.root = TreePathStart::Root::desktop;
        matched = places.desktopPath.size();
    } else if (startsWithIgnoringCase(path, places.personalPath, collation)) {
        start.root = TreePathStart::Root::personal;
        matched = places.personalPath.size();
    } else {
        for (size_t i = 0; i < places.drives.size(); ++i) {
            const std::string& mountPath = places.drives[i].mountPath;
            if (mountPath.size() > matched && startsWithIgnoringCase(path, mountPath, collation)) {
                start.root = TreePathStart::Root::drive;
                start.drive = static_cast<int>(i);
                matched = mountPath.size();
            }
        }
        if (start.drive < 0) {
            return start;
        }
    }
    start.parts = folderParts(std::string_view(path).substr(matched));
    return start;
}

int matchFolderName(const std::vector<std::string>& names, std::string_view part,
                    const NameCollation& collation) {
    const auto exact = std::find(names.begin(), names.end(), part);
    if (exact != names.end()) {
        return static_cast<int>(exact - names.begin());
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (collation.compareIgnoringCase(names[i], part) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void sortFolderNames(std::vector<std::string>& names, const NameCollation& collation) {
    std::sort(names.begin(), names.end(), [&collation](const std::string& a, const std::string& b) {
        const int order = collation.compareIgnoringCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

}  // namespace ravinel
