#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel {

// The two sizes of shared thumbnails: the longer side at most 128 or 256 pixels.
enum class ThumbFlavour { normal, large };

int flavourSide(ThumbFlavour flavour);

// What a valid entry gives back: its picture (24 bit, fitted into the flavour's square
// unless the picture was smaller) and what it says of the picture it stands for.
struct CachedThumb {
    NkDib picture;
    uint32_t imageWidth = 0;                  // Thumb::Image::Width; 0 when the entry does not say
    uint32_t imageHeight = 0;                 // Thumb::Image::Height
    std::map<std::string, std::string> text;  // every key, "Thumb::Mime" among them
};

// What is written with a thumbnail besides the picture.
struct ThumbFacts {
    std::string mime;  // e.g. "image/jpeg"; empty: left out
    uint32_t imageWidth = 0;
    uint32_t imageHeight = 0;
    // Keys of this program's own, named "X-Ravinel::...".
    std::vector<std::pair<std::string, std::string>> extra;
};

// The thumbnails the programs of the desktop share: <root>/normal, <root>/large and
// <root>/fail/<application>, one PNG per file named after the MD5 of its URI. An entry
// counts only when its Thumb::URI and Thumb::MTime match the file as it is now. Entries
// are read only from folders of the user that others cannot write, only when they are
// regular files reached without a link and decode cleanly; anything else is ignored.
// Entries are written mode 0600 through a temporary file renamed into place, folders
// made mode 0700.
class SharedThumbCache {
  public:
    // root: the thumbnails folder; application: the fail folder's name, as "ravinel-0.1".
    SharedThumbCache(std::filesystem::path root, std::string application);

    // The user's cache: $XDG_CACHE_HOME/thumbnails, else ~/.cache/thumbnails, with the
    // fail folder of this version of the program.
    static SharedThumbCache forUser();

    // The valid entry of the file at the absolute path, in the flavour's folder. Never
    // throws.
    std::optional<CachedThumb> find(const std::string& path, ThumbFlavour flavour) const;
    // Whether this application recorded that the file, as it is now, is not a picture.
    bool hasFailure(const std::string& path) const;

    // Writes the file's entry: the picture must fit the flavour's square. Throws
    // ThumbCacheError when the file, the folders or the entry cannot be had or written.
    void store(const std::string& path, ThumbFlavour flavour, const NkDib& picture,
               const ThumbFacts& facts) const;
    // Records that the file, as it is now, is not a picture. Throws ThumbCacheError.
    void storeFailure(const std::string& path) const;

  private:
    std::filesystem::path folderOf(std::optional<ThumbFlavour> flavour) const;
    // The folders from the root to the flavour's entries, or the fail entries' (no flavour).
    std::vector<std::string> stepsTo(std::optional<ThumbFlavour> flavour) const;
    std::optional<CachedThumb> read(const std::string& path,
                                    std::optional<ThumbFlavour> flavour) const;
    void write(const std::string& path, std::optional<ThumbFlavour> flavour, const NkDib& picture,
               const ThumbFacts& facts) const;

    std::filesystem::path root_;
    std::string application_;
};

}  // namespace ravinel
