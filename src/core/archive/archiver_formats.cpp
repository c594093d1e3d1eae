#include "archive/archiver_formats.h"

#include <array>
#include <functional>
#include <memory>

#include "platform/translatable.h"

namespace ravinel {

namespace {

enum DllSlot : size_t { kLha, kZip, kCab, kArj, kTar, kRar, kBga, kYz1, kSevenZip, kSlotCount };

// One module object per format for the whole process.
std::array<std::unique_ptr<ArchiverDll>, kSlotCount>& dllSlots() {
    static std::array<std::unique_ptr<ArchiverDll>, kSlotCount> slots;
    return slots;
}

std::unique_ptr<ArchiverDll> createDll(DllSlot slot) {
    switch (slot) {
        case kLha:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "LHA 形式書庫"), "UNLHA32.DLL", "Unlha");
        case kZip:
            return std::make_unique<ZipDll>();
        case kCab:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "CAB 形式書庫"), "CAB32.DLL", "Cab");
        case kArj:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "ARJ 形式書庫"), "UNARJ32J.DLL", "Unarj");
        case kTar:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "tar/tgz/taz/bz2 形式書庫"), "TAR32.DLL",
                "Tar");
        case kRar:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "RAR 形式書庫"), "UNRAR32.DLL", "Unrar");
        case kBga:
            return std::make_unique<ArchiverDll>(
                RAVINEL_TRANSLATABLE("ArchiverMessage", "BGA 形式書庫"), "BGA32.DLL", "Bga");
        case kYz1:
            return std::make_unique<Yz1Dll>();
        case kSevenZip:
        case kSlotCount:
            break;
    }
    return std::make_unique<ArchiverDll>(RAVINEL_TRANSLATABLE("ArchiverMessage", "7z 形式書庫"),
                                         "7-zip32.dll", "SevenZip");
}

ArchiverDll& loadSlot(DllSlot slot) {
    const std::scoped_lock hold(archiverLock());
    std::unique_ptr<ArchiverDll>& dll = dllSlots()[slot];
    if (!dll) {
        dll = createDll(slot);
    }
    dll->load();
    return *dll;
}

// Only where no thread uses the module any more (its object goes away).
void freeSlot(DllSlot slot) {
    const std::scoped_lock hold(archiverLock());
    dllSlots()[slot].reset();
}

}  // namespace

ArchiverDll& Lha32::loadDll() const {
    return loadSlot(kLha);
}
void Lha32::freeDll() const {
    freeSlot(kLha);
}
ArchiverDll& Arj32::loadDll() const {
    return loadSlot(kArj);
}
void Arj32::freeDll() const {
    freeSlot(kArj);
}
ArchiverDll& Zip32::loadDll() const {
    return loadSlot(kZip);
}
void Zip32::freeDll() const {
    freeSlot(kZip);
}
ArchiverDll& Tar32::loadDll() const {
    return loadSlot(kTar);
}
void Tar32::freeDll() const {
    freeSlot(kTar);
}
ArchiverDll& Rar32::loadDll() const {
    return loadSlot(kRar);
}
void Rar32::freeDll() const {
    freeSlot(kRar);
}
ArchiverDll& Cab32::loadDll() const {
    return loadSlot(kCab);
}
void Cab32::freeDll() const {
    freeSlot(kCab);
}
ArchiverDll& Bga32::loadDll() const {
    return loadSlot(kBga);
}
void Bga32::freeDll() const {
    freeSlot(kBga);
}
ArchiverDll& Yz1::loadDll() const {
    return loadSlot(kYz1);
}
void Yz1::freeDll() const {
    freeSlot(kYz1);
}
ArchiverDll& SevenZip32::loadDll() const {
    return loadSlot(kSevenZip);
}
void SevenZip32::freeDll() const {
    freeSlot(kSevenZip);
}

std::unique_ptr<Archiver> createArchiver(ArchiverType type) {
    switch (type) {
        case ArchiverType::atLha:
            return std::make_unique<Lha32>();
        case ArchiverType::atZip:
            return std::make_unique<Zip32>();
        case ArchiverType::atCab:
            return std::make_unique<Cab32>();
        case ArchiverType::atArj:
            return std::make_unique<Arj32>();
        case ArchiverType::atTar:
            return std::make_unique<Tar32>();
        case ArchiverType::atTgz:
            return std::make_unique<Tgz32>();
        case ArchiverType::atBZ2:
            return std::make_unique<Bz232>();
        case ArchiverType::atRar:
            return std::make_unique<Rar32>();
        case ArchiverType::atBga:
            return std::make_unique<Bga32>();
        case ArchiverType::atYz1:
            return std::make_unique<Yz1>();
        case ArchiverType::at7z:
            return std::make_unique<SevenZip32>();
        default:
            return nullptr;
    }
}

void freeAllArchiverDlls() {
    for (size_t slot = 0; slot < kSlotCount; ++slot) {
        freeSlot(static_cast<DllSlot>(slot));
    }
}

}  // namespace ravinel
