#include "common/dib_image.h"

#include <QList>
#include <QRgb>
#include <algorithm>
#include <cstring>
#include <memory>

namespace ravinel {

namespace {

// A DIB a QImage can read row by row: run-length coding expanded.
NkDib plainDib(const NkDib& dib) {
    NkDib plain(dib);
    if (dib.pixelFormat() == NkDibPixelFormat::pf4BitRle) {
        plain.setPixelFormat(NkDibPixelFormat::pf4Bit);
    } else if (dib.pixelFormat() == NkDibPixelFormat::pf8BitRle) {
        plain.setPixelFormat(NkDibPixelFormat::pf8Bit);
    }
    return plain;
}

QImage::Format imageFormat(int bitCount) {
    switch (bitCount) {
        case 1:
            return QImage::Format_Mono;
        case 24:
            return QImage::Format_BGR888;
        default:
            return QImage::Format_Indexed8;
    }
}

// Every index the pixels can hold gets a colour, so no index reads past the table.
QList<QRgb> colorTable(const NkDib& dib) {
    const qsizetype entries = dib.bitCount() == 1 ? 2 : 256;
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    const auto palette = dib.palette();
    const qsizetype used = std::min<qsizetype>(entries, static_cast<qsizetype>(palette.size()));
    for (qsizetype i = 0; i < used; ++i) {
        const RgbQuad& q = palette[static_cast<size_t>(i)];
        table[i] = qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return table;
}

void deleteDib(void* dib) {
    delete static_cast<NkDib*>(dib);
}

// The DIB's own rows, which already run top-down in QImage's layout (rows padded to 4
// bytes in both). The copy of the DIB shares its store and keeps it alive.
QImage sharedImage(const NkDib& dib) {
    auto keeper = std::make_unique<NkDib>(dib);
    QImage image(keeper->pixelBlock().data(), keeper->width(), keeper->height(),
                 static_cast<qsizetype>(keeper->stride()), imageFormat(keeper->bitCount()),
                 deleteDib, keeper.get());
    // QImage owns the clean-up only when the image was made.
    if (!image.isNull()) {
        keeper.release();
    }
    return image;
}

// 4-bit rows hold two pixels a byte, high nibble first; Indexed8 holds one.
void spreadNibbles(const uint8_t* source, uint8_t* target, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t pair = source[x / 2];
        target[x] =
            x % 2 == 0 ? static_cast<uint8_t>(pair >> 4) : static_cast<uint8_t>(pair & 0x0F);
    }
}

QImage copiedImage(const NkDib& dib) {
    QImage image(dib.width(), dib.height(), imageFormat(dib.bitCount()));
    if (image.isNull()) {
        return image;
    }
    const size_t rowBytes = std::min(dib.stride(), static_cast<size_t>(image.bytesPerLine()));
    for (int32_t y = 0; y < dib.height(); ++y) {
        if (dib.bitCount() == 4) {
            spreadNibbles(dib.constScanLine(y), image.scanLine(y), dib.width());
        } else {
            std::memcpy(image.scanLine(y), dib.constScanLine(y), rowBytes);
        }
    }
    return image;
}

}  // namespace

QImage dibToImage(const NkDib& dib) {
    const NkDib plain = plainDib(dib);
    QImage image =
        plain.isTopDown() && plain.bitCount() != 4 ? sharedImage(plain) : copiedImage(plain);
    if (!image.isNull() && plain.bitCount() != 24) {
        image.setColorTable(colorTable(plain));
    }
    return image;
}

}  // namespace ravinel
