#include "image/spis_search.h"

#include <strings.h>

#include <string>

namespace ravinel {

void spisSearch(const Spi& spi, bool& accept) {
    const std::string& path = spi.fileName();
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    accept = spi.isInSpi() && strcasecmp(name.c_str(), "ifmm.spi") != 0;
}

}  // namespace ravinel
