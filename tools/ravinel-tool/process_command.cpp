#include <iostream>

#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "dib/nk_dib.h"
#include "process/pipeline/filter_set.h"
#include "process/pipeline/g_process.h"

namespace ravinel::tool {

int runProcess(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"dither", "3dnow", "verbose", "no-color-profile"},
                         {"width", "height", "reduct", "expand", "color", "flt-reduct",
                          "flt-expand", "flt-ogsize", "max-side", "background"});
    if (cl.positional().size() != 2) {
        throw UsageError("process takes IN and OUT.bmp");
    }
    GProcess process;
    process.destWidth = static_cast<uint16_t>(cl.requiredNumber("width", 1, 65535));
    process.destHeight = static_cast<uint16_t>(cl.requiredNumber("height", 1, 65535));
    GProcessSettings& settings = process.settings;
    settings.reductMode = modeOfIndex<ResizeMethod>(cl.number("reduct", 2, 0, 255));
    settings.expandMode = modeOfIndex<ResizeMethod>(cl.number("expand", 2, 0, 255));
    settings.colorMode = modeOfIndex<ColorMode>(cl.number("color", 0, 0, 255));
    settings.fltInReduct = filterSetFromText(cl.option("flt-reduct", "0000"));
    settings.fltInExpand = filterSetFromText(cl.option("flt-expand", "0000"));
    settings.fltInOgsize = filterSetFromText(cl.option("flt-ogsize", "0000"));
    settings.dither = cl.flag("dither");
    settings.use3DNow = cl.flag("3dnow");
    if (cl.flag("verbose")) {
        process.onProgress = [](ProcessStage stage) {
            std::cerr << processStageText(stage) << "\n";
        };
    }

    loadForProcessing(process.source, cl.positional()[0], loaderChoices(cl));
    process.execute();
    process.dest.saveToFile(cl.positional()[1]);
    return 0;
}

}  // namespace ravinel::tool
