#include <string>

#include "codec/graphic_load_error.h"
#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "plugin_host/in_spi_able_data.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spis.h"
#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {
namespace {

// The bundled plug-ins, loaded once by the host's own search. The name given with the
// data puts the plug-in of its extension first; the others then get their turn too, as
// they do in the viewer.
Spis& bundledPlugins() {
    static Spis* host = [] {
        auto* spis = new Spis();
        spis->search(std::string(RAVINEL_MODULE_DIR) + "/*.spi");
        return spis;
    }();
    return *host;
}

void decodeThroughHost(FuzzInput data, const std::string& name) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    Spis& host = bundledPlugins();
    // Half of the inputs go through the reduced-picture entry first.
    host.graphicPreview = data.size() % 2 != 0;
    NkDib target;
    try {
        host.loadFromStreamWithName(target, data, name);
        // The frames after the first, through the entries of moving pictures.
        InSpiAbleFromStream frames(data, name);
        for (int32_t index = 1; index < 4; ++index) {
            frames.loadFrame(host.getSpis(SpiKind::inSpi, name), host.decodeOptions(), index);
        }
    } catch (const InvalidGraphicError&) {
    } catch (const GraphicLoadError&) {
    } catch (const SpiError&) {
    } catch (const NkDibError&) {
    } catch (const OutOfResourcesError&) {
    }
}

}  // namespace

void fuzzSpiIfgif(FuzzInput data) {
    decodeThroughHost(data, "picture.gif");
}
void fuzzSpiIfpng(FuzzInput data) {
    decodeThroughHost(data, "picture.png");
}
void fuzzSpiIftiff(FuzzInput data) {
    decodeThroughHost(data, "picture.tif");
}
void fuzzSpiIfwebp(FuzzInput data) {
    decodeThroughHost(data, "picture.webp");
}
void fuzzSpiIfraw(FuzzInput data) {
    decodeThroughHost(data, "picture.dng");
}

}  // namespace ravinel::fuzz
