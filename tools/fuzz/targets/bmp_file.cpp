#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// A picture that loads must also write and read back: what the reader accepted is a
// consistent store.
void fuzzBmpFile(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    NkDib dib;
    try {
        dib.loadFromStream(data);
    } catch (const NkDibError&) {
        return;
    } catch (const OutOfResourcesError&) {
        return;
    }
    NkDib copy;
    copy.loadFromStream(dib.saveToStream());
}

}  // namespace ravinel::fuzz
