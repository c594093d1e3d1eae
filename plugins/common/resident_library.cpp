#include "resident_library.h"

#include <dlfcn.h>

namespace ravinel::spi {

void keepLibraryResident(const void* symbol) {
    Dl_info library{};
    if (dladdr(symbol, &library) != 0 && library.dli_fname != nullptr) {
        // Takes one more reference, never dropped, on the library already loaded.
        dlopen(library.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

}  // namespace ravinel::spi
