#include "plugin_host/spis.h"

#include <fnmatch.h>
#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "codec/builtin_decoders.h"
#include "platform/file_extension.h"
#include "plugin_host/spi_bitmap.h"
#include "plugin_host/spi_error.h"

namespace ravinel {

namespace {

// The one host of the process.
const Spis* theSpis = nullptr;

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::vector<std::string> splitMasks(const std::string& filter) {
    std::vector<std::string> masks;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t end = std::min(filter.find(';', start), filter.size());
        if (end > start) {
            masks.push_back(filter.substr(start, end - start));
        }
        start = end + 1;
    }
    return masks;
}

// The names of the plug-in files in folder that match pattern: regular files (or links to
// them), hidden ones left out, sorted so that the order does not depend on the file system.
std::vector<std::string> matchingFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') {
            continue;
        }
        // Plug-in folders copied from Windows often name their files in capitals.
        if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) {
            continue;
        }
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

Spis::Spis() {
    if (theSpis != nullptr) {
        throw SpiDupCreateSpisError();
    }
    theSpis = this;
}

Spis::~Spis() {
    theSpis = nullptr;
}

void Spis::search(const std::string& mask) {
    const size_t slash = mask.rfind('/');
    if (slash != std::string::npos) {
        searchFolder(mask.substr(0, slash + 1), mask.substr(slash + 1));
        return;
    }
    for (const std::string& folder : spiSearchFolders(searchOptions)) {
        searchFolder(folder, mask);
    }
}

void Spis::searchFolder(const std::string& folder, const std::string& pattern) {
    for (const std::string& name : matchingFiles(folder, pattern)) {
        std::string path = folder + name;
        // Loaded plug-ins are known by their resolved path.
        std::error_code error;
        const std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (indexOfFileName(error ? path : resolved.string()) >= 0) {
            continue;
        }
        bool accept = true;
        if (onSearching) {
            onSearching(path, accept);
        }
        if (!accept) {
            continue;
        }
        std::unique_ptr<Spi> spi;
        try {
            spi = Spi::load(path);
        } catch (const SpiError& e) {
            // One broken or refused file must not cost the user the plug-ins after it.
            if (onLoadError) {
                onLoadError(e);
            }
            continue;
        }
        try {
            accept = true;
            if (onSearch) {
                onSearch(*spi, accept);
            }
            if (accept) {
                add(std::move(spi));
            }
        } catch (const std::exception&) {
            // A handler or the registration failed: the plug-in is dropped.
        }
    }
}

const Spi& Spis::item(int index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("plug-in index out of range");
    }
    return *items_[static_cast<size_t>(index)];
}

void Spis::add(std::unique_ptr<Spi> spi) {
    insert(count(), std::move(spi));
}

void Spis::insert(int index, std::unique_ptr<Spi> spi) {
    if (index < 0 || index > count()) {
        throw std::out_of_range("plug-in index out of range");
    }
    const Spi& added = *spi;
    items_.insert(items_.begin() + index, std::move(spi));
    if (added.isInSpi()) {
        registerPictures(added);
    }
}

void Spis::remove(int index) {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("plug-in index out of range");
    }
    items_.erase(items_.begin() + index);
}

void Spis::clear() {
    items_.clear();
}

int Spis::indexOfFileName(const std::string& fileName) const {
    for (int i = 0; i < count(); ++i) {
        if (sameIgnoringCase(items_[static_cast<size_t>(i)]->fileName(), fileName)) {
            return i;
        }
    }
    return -1;
}

// Registrations stay when a plug-in is removed: the extension then finds no plug-in and
// the load fails as for any picture no plug-in takes.
void Spis::registerPictures(const Spi& spi) {
    for (size_t i = 0; i < spi.filters().size(); ++i) {
        const std::string& description = spi.descriptions()[i];
        std::optional<PictureDecoder> decoder = PictureDecoder{};
        for (const std::string& mask : splitMasks(spi.filters()[i])) {
            const size_t dot = mask.find('.');
            const std::string extension = dot == std::string::npos ? mask : mask.substr(dot + 1);
            if (onPictureRegister) {
                onPictureRegister(spi, extension, description, decoder);
            }
            if (decoder) {
                pictures_.registerExtension(extension, *decoder, description);
            }
        }
    }
}

std::vector<const Spi*> Spis::getSpis(SpiKind kind, const std::string& fileName) const {
    const std::string fileExtension = upperExtension(fileName);
    std::vector<const Spi*> candidates;
    for (const auto& spi : items_) {
        if (spi->kind() != kind) {
            continue;
        }
        bool claims = false;
        for (const std::string& filter : spi->filters()) {
            for (const std::string& mask : splitMasks(filter)) {
                if (!fileExtension.empty() &&
                    sameIgnoringCase(upperExtension(mask), fileExtension)) {
                    claims = true;
                }
            }
        }
        if (claims) {
            candidates.insert(candidates.begin(), spi.get());
        } else {
            candidates.push_back(spi.get());
        }
    }
    return candidates;
}

PictureMetadata Spis::loadFile(NkDib& target, const std::string& fileName) {
    const std::optional<PictureRegistry::Entry> entry = pictures_.decoderForFile(fileName);
    if (!entry) {
        throw InvalidGraphicError("Unknown picture file extension (" + upperExtension(fileName) +
                                  ")");
    }
    if (entry->decoder.builtin != nullptr) {
        BuiltinPicture opened = entry->decoder.builtin->openFile(fileName, decodeLimits);
        target = std::move(*opened.picture);
        return std::move(opened.metadata);
    }
    SpiBitmap bitmap(*this);
    target = bitmap.loadFromFile(fileName);
    return bitmap.metadata();
}

PictureMetadata Spis::loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                             const std::string& name) {
    SpiBitmap bitmap(*this);
    target = bitmap.loadFromStreamWithName(data, name);
    return bitmap.metadata();
}

PictureMetadata Spis::loadFrame(NkDib& target, const std::string& fileName, int32_t index) {
    InSpiAbleFromFile data(fileName);
    std::optional<NkDib> frame =
        data.loadFrame(getSpis(SpiKind::inSpi, fileName), decodeOptions(), index);
    if (!frame) {
        throw InvalidGraphicError("Susie Plugins could not decode frame " + std::to_string(index));
    }
    target = std::move(*frame);
    return data.metadata();
}

}  // namespace ravinel
