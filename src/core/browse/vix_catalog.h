#pragma once

#include <string>

#include "codec/graphic_load_info.h"
#include "dib/nk_dib.h"

namespace ravinel {

// Read-only access to the thumbnail catalogs of the ViX viewer. Every call opens, scans
// and closes the catalog: nothing is cached. A catalog that cannot be opened or is
// malformed never throws; it is simply no match, or holds no thumbnail.

// The catalog belonging to dir (a folder path ending in "/"): the folder's own
// "_CATALOG.VIX" (name compared without case), else the first "*.VIX" file of homeDir
// (ending in "/"; empty: not searched) that records dir. Empty when there is none.
std::string findCatalog(const std::string& dir, const std::string& homeDir);

// True when catalogFile is a ViX catalog whose folder record is exactly dir, byte for byte.
bool catalogMatches(const std::string& dir, const std::string& catalogFile);

// Decodes the thumbnail of fileName (a name without folder, compared exactly) into
// target and sets info.kind to gkVix, with the entry's width, height and pixel format
// (width and height 0 when the entry gives no size before its thumbnail). Otherwise
// info.kind becomes gkNone, target is left alone and the other fields keep their values.
void readCatalogThumb(const std::string& catalogFile, const std::string& fileName, NkDib& target,
                      GraphicLoadInfo& info);

}  // namespace ravinel
