#include <cstdint>
#include <stdexcept>

#include "command_line.h"
#include "commands.h"
#include "dib/nk_dib.h"
#include "process/resample/g_resize.h"

namespace ravinel::tool {

namespace {

void resizeByArea(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    const bool grows = width > src.width() || height > src.height();
    const bool shrinks = width < src.width() || height < src.height();
    if (grows && shrinks) {
        throw std::runtime_error(
            "the area method cannot reduce one side and enlarge the other; "
            "use --method stretch or halftone");
    }
    if (grows) {
        areaExpand(dest, src, height, width);
    } else {
        areaReduce(dest, src, height, width);
    }
}

}  // namespace

int runResize(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"no-color-profile"},
                         {"width", "height", "method", "max-side", "background"});
    if (cl.positional().size() != 2) {
        throw UsageError("resize takes IN and OUT.bmp");
    }
    const auto width = static_cast<uint16_t>(cl.requiredNumber("width", 1, 65535));
    const auto height = static_cast<uint16_t>(cl.requiredNumber("height", 1, 65535));
    const std::string method = cl.option("method", "area");
    if (method != "area" && method != "stretch" && method != "halftone") {
        throw UsageError("--method must be area, stretch or halftone");
    }

    NkDib src;
    loadForProcessing(src, cl.positional()[0], loaderChoices(cl));

    NkDib dest;
    if (method == "area") {
        resizeByArea(dest, src, height, width);
    } else if (method == "stretch") {
        stretchDrawResize(dest, src, height, width);
    } else {
        halftoneResize(dest, src, height, width);
    }
    dest.saveToFile(cl.positional()[1]);
    return 0;
}

}  // namespace ravinel::tool
