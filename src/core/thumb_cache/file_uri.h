#pragma once

#include <string>

namespace ravinel {

// The file URI of an absolute path: "file://" and the path with every byte outside the
// unreserved characters and the path's own punctuation (/ : @ & = + $ , ! ~ * ' ( ))
// written as %XX, upper-case hex, as desktop programs name files they share.
std::string fileUri(const std::string& absolutePath);

// The name of a shared thumbnail entry: the lower-case hex MD5 of the URI and ".png".
std::string thumbnailFileName(const std::string& uri);

}  // namespace ravinel
