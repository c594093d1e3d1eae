#pragma once

#include <string>

namespace ravinel {

// What a path given at start or handed over by another instance names.
struct LaunchTarget {
    enum class Kind { none, folder, file, missing };
    Kind kind = Kind::none;
    std::string path;     // absolute; a folder ends with "/"
    std::string lastDir;  // the folder the browser opens on afterwards
};

// Classifies argument (relative paths are taken from the current folder, so that the
// running instance, which has a folder of its own, gets what the user meant). An empty
// argument is none.
LaunchTarget launchTarget(const std::string& argument);

// The folder part of a path: everything up to and including the last "/".
std::string folderPart(const std::string& path);
// The name part of a path: everything after the last "/".
std::string namePart(const std::string& path);

}  // namespace ravinel
