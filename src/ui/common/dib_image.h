#pragma once

#include <QImage>

#include "dib/nk_dib.h"

namespace ravinel {

// The picture of a DIB as a QImage for drawing and for the clipboard, rows top-down:
// 24 bits as BGR888, 1 bit as Mono, 4 and 8 bits as Indexed8 with the DIB's colours
// (indices past the DIB's palette show black). Run-length coded pictures are expanded
// first. A top-down DIB of 1, 8 or 24 bits is shared, not copied: the image keeps the
// DIB's store alive and the DIB can change freely afterwards. A null image when the
// memory for a copy cannot be had; throws NkDibError when run-length data are broken.
QImage dibToImage(const NkDib& dib);

}  // namespace ravinel
