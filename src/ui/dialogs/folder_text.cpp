#include "dialogs/folder_text.h"

namespace ravinel {

std::string folderWithSlash(const std::string& text) {
    if (text.empty() || text.back() == '/') {
        return text;
    }
    return text + "/";
}

}  // namespace ravinel
