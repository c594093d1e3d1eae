#include "browse/user_locale.h"

#include <cstdlib>

namespace ravinel {

std::string userLocaleId(const char* categoryVariable) {
    std::string name;
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX") {
        return "";
    }
    return name;
}

}  // namespace ravinel
