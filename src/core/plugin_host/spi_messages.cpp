#include <array>

#include "plugin_host/spi_error.h"

namespace ravinel {

const char* spiMessagePattern(SpiMessage message) {
    static constexpr std::array<const char*, 3> kPatterns = {
        RAVINEL_TRANSLATABLE("SpiMessage", "TSPIs は複数生成できません"),
        RAVINEL_TRANSLATABLE("SpiMessage", "%1:Susie Pluginがロードできませんでした"),
        RAVINEL_TRANSLATABLE("SpiMessage", "%1は[%2]では使えないSusie Plugin APIです"),
    };
    return textOf(kPatterns, message);
}

}  // namespace ravinel
