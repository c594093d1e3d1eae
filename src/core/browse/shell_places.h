#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browse/name_collation.h"

namespace ravinel {

// A mounted volume as the folder tree shows it under the computer node.
struct DriveEntry {
    std::string label;      // the volume's name; may be empty
    std::string mountPath;  // where it is mounted, ending with "/"
};

// The places the folder tree is built on. Folder paths end with "/".
struct ShellPlaces {
    std::string desktopPath;
    std::string personalPath;        // the documents folder
    std::vector<DriveEntry> drives;  // in the order the tree shows them
};

// path ending with "/"; empty stays empty.
std::string asFolderPath(std::string path);

// The text of a drive node: "label (mount path)", or the mount path alone without label.
std::string driveNodeText(const DriveEntry& drive);

// Whether a mount point is one a user browses: the root and real file systems, not the
// kernel's and the system's own mounts (/proc, /sys, /dev, /run except /run/media, /snap)
// nor pseudo file systems.
bool isBrowsableMount(std::string_view mountPath, std::string_view fileSystemType);

// The drives in the order the tree shows them: sorted by mount path (so "/" first), each
// mount path once (the first entry wins), every mount path ending with "/"; entries
// without a mount path are dropped.
std::vector<DriveEntry> orderedDrives(std::vector<DriveEntry> drives);

// Where the tree starts looking for a path and what is left of it.
struct TreePathStart {
    enum class Root { computer, desktop, personal, drive };
    Root root = Root::computer;
    int drive = -1;                  // the drive's position in ShellPlaces::drives
    std::vector<std::string> parts;  // the folder names below the start, in order
};

// Splits path for the tree: a path below the desktop starts at the desktop node, else one
// below the documents folder at the documents node, else one below a mount path at the
// drive with the longest such mount path; prefixes match ignoring case. Anything else
// (empty, relative) starts at the computer node with no parts. The parts are the names
// that end with "/"; a last name without "/" (a file) and empty names are left out.
TreePathStart startOfTreePath(const std::string& path, const ShellPlaces& places,
                              const NameCollation& collation);

// Whether path begins with prefix, case ignored under collation.
bool startsWithIgnoringCase(const std::string& path, const std::string& prefix,
                            const NameCollation& collation);

// The position in names of the folder that part names: the first equal byte for byte,
// else the first equal ignoring case; -1 when none. A case-sensitive file system may
// hold both "Pics" and "pics"; the exact one wins.
int matchFolderName(const std::vector<std::string>& names, std::string_view part,
                    const NameCollation& collation);

// Sorts folder names alphabetically, case ignored; equal names by their bytes.
void sortFolderNames(std::vector<std::string>& names, const NameCollation& collation);

}  // namespace ravinel
