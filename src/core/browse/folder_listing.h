#pragma once

#include <string>
#include <vector>

namespace ravinel {

// Whether a directory entry name is "." or "..", which no listing shows.
bool isDotOrDotDot(const char* name);

// Whether the entry name of the folder open as dirFd is a folder the tree lists: neither
// "." nor "..", and a folder after following a symbolic link (a dangling or looping link
// is none). Hidden folders count.
bool isListableFolder(int dirFd, const char* name);

// The listable folders inside the folder path (ending with "/"), in the order the file
// system gives. Empty when the folder cannot be listed or has vanished.
std::vector<std::string> listSubfolders(const std::string& path);

// Whether the folder path (ending with "/") holds a listable folder; stops at the first.
// False when it cannot be listed.
bool hasSubfolders(const std::string& path);

}  // namespace ravinel
