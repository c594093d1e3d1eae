#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// As with files: a packed DIB that loads writes back in a form that loads again.
void fuzzClipboardDib(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    NkDib dib;
    try {
        dib.loadFromClipboardFormat(data);
    } catch (const NkDibError&) {
        return;
    } catch (const OutOfResourcesError&) {
        return;
    }
    NkDib copy;
    copy.loadFromClipboardFormat(dib.saveToClipboardFormat());
}

}  // namespace ravinel::fuzz
