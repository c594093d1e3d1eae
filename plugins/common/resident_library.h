// Format libraries that must not be unloaded with the plug-in that loaded them.
#pragma once

namespace ravinel::spi {

// Keeps the shared library holding symbol loaded until the process ends.
void keepLibraryResident(const void* symbol);

}  // namespace ravinel::spi
