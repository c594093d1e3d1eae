#include "image/spis_search.h"

#include <strings.h>

#include <string>

#include "image/file_extension.h"

namespace ravinel {

void spisSearch(const Spi& spi, bool& accept) {
    const std::string name = withoutFolder(spi.fileName());
    accept = spi.isInSpi() && strcasecmp(name.c_str(), "ifmm.spi") != 0;
}

}  // namespace ravinel
