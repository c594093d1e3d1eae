/*
 * Ravinel plug-in SDK: the Susie plug-in interface as Ravinel hosts it on Linux.
 *
 * A plug-in is a shared object named *.spi that exports the functions below with C
 * linkage. Ravinel looks for plug-ins in $SUSIE_PLUGIN_DIR, in the folder of its
 * executable, in /usr/local/lib/ravinel/plugins and in /usr/lib/ravinel/plugins.
 *
 * Sizes are fixed-width on every platform: what Windows declares as "long" is int32_t
 * here (a Linux long has 64 bits). Lengths and the user data of the progress callback
 * hold a pointer, so they are intptr_t. Plug-ins may be written in C or C++.
 *
 * Memory: a plug-in returns pictures and text in blocks it allocates with malloc();
 * the host releases them with free(). SpiHandle is such a block's address.
 *
 * Return values of the functions that return SPI_ codes: SPI_ALL_RIGHT (0) on success.
 */
#ifndef RAVINEL_SPI_H
#define RAVINEL_SPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define SPI_EXPORT __attribute__((visibility("default")))
#define SPI_PACKED __attribute__((packed))
#else
#define SPI_EXPORT
#define SPI_PACKED
#endif

/* A block allocated by the plug-in with malloc() and freed by the host with free(). */
typedef void* SpiHandle;

/* Result codes. */
enum {
    SPI_NO_FUNCTION = -1, /* the function is not implemented */
    SPI_ALL_RIGHT = 0,    /* success */
    SPI_ABORT = 1,        /* the progress callback asked to stop */
    SPI_NOT_SUPPORT = 2,  /* unknown format */
    SPI_OUT_OF_ORDER = 3, /* the data are broken */
    SPI_NO_MEMORY = 4,    /* memory could not be allocated */
    SPI_MEMORY_ERROR = 5, /* memory error */
    SPI_FILE_READ_ERROR = 6,
    SPI_WINDOW_ERROR = 7, /* reserved */
    SPI_OTHER_ERROR = 8   /* internal error */
};

/* Where the picture comes from, the "flag" argument (only its low bits count). */
enum {
    SPI_INPUT_FILE = 0,  /* buf is a NUL-terminated file name, len the offset in the file */
    SPI_INPUT_MEMORY = 1 /* buf points at the data, len is the number of bytes */
};

/* The header buffer given to IsSupported: the first 2048 bytes of the data (zero-filled
 * past its end). */
enum { SPI_HEADER_BYTES = 2048 };

/* Picture information (GetPictureInfo), packed: 22 bytes and a handle. */
typedef struct SPI_PACKED SpiPictureInfo {
    int32_t left, top;     /* position of the picture when it is drawn */
    int32_t width, height; /* size in pixels */
    uint16_t x_density;    /* pixel density, horizontal */
    uint16_t y_density;    /* pixel density, vertical */
    int16_t colorDepth;    /* bits per pixel */
    SpiHandle hInfo;       /* text information (malloc'd, NUL-terminated), or NULL */
} SpiPictureInfo;

/* An archive member (GetArchiveInfo, GetFileInfo of "00AM" plug-ins), packed. */
typedef struct SPI_PACKED SpiFileInfo {
    unsigned char method[8]; /* compression method */
    uint32_t position;       /* position of the member in the archive */
    uint32_t compsize;       /* compressed size */
    uint32_t filesize;       /* original size */
    int64_t timestamp;       /* modification time, seconds since 1970 (UTC) */
    char path[200];          /* folder inside the archive, "/"-separated */
    char filename[200];      /* name */
    uint32_t crc;
} SpiFileInfo;

/* The layout of the picture a plug-in returns: pHBInfo receives a block holding a
 * BITMAPINFOHEADER followed by the colour table (biClrUsed entries, or 2^biBitCount
 * when biClrUsed is 0 and biBitCount <= 8); pHBm receives the pixel rows, bottom row
 * first, each padded to a multiple of 4 bytes. A 32-bit picture with this header (biSize
 * 40, biCompression SPI_BI_RGB) has no alpha: its fourth byte is ignored. */
typedef struct SPI_PACKED SpiBitmapInfoHeader {
    uint32_t biSize; /* 40, or 108 or 124 as the start of the headers below */
    int32_t biWidth;
    int32_t biHeight;       /* positive: rows stored bottom-up */
    uint16_t biPlanes;      /* 1 */
    uint16_t biBitCount;    /* 1, 4, 8, 24 or 32 */
    uint32_t biCompression; /* SPI_BI_RGB, or SPI_BI_BITFIELDS in a BITMAPV4/V5 header */
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} SpiBitmapInfoHeader;

enum { SPI_BI_RGB = 0, SPI_BI_BITFIELDS = 3 };

/* A picture with transparency: a BITMAPV5HEADER (biSize 124; the 108-byte BITMAPV4HEADER,
 * its first part, is accepted too), biBitCount 32, biCompression SPI_BI_BITFIELDS, no
 * colour table, and exactly the masks below: each pixel is blue, green, red, alpha in
 * that byte order, alpha straight (not premultiplied), 0 transparent to 255 opaque. An
 * alpha mask of 0 declares no alpha. The host refuses other masks. The fields after the
 * masks are not read; leave them 0. */
typedef struct SPI_PACKED SpiBitmapV5Header {
    SpiBitmapInfoHeader info;
    uint32_t redMask;   /* 0x00FF0000 */
    uint32_t greenMask; /* 0x0000FF00 */
    uint32_t blueMask;  /* 0x000000FF */
    uint32_t alphaMask; /* 0xFF000000, or 0 for none */
    uint32_t csType;
    int32_t endpoints[9];
    uint32_t gammaRed, gammaGreen, gammaBlue;
    uint32_t intent, profileData, profileSize, reserved;
} SpiBitmapV5Header;

typedef struct SpiRgbQuad {
    uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
} SpiRgbQuad;

/* Progress: num out of denom is done; return non-zero to ask the plug-in to stop. The
 * plug-in passes lData through unchanged. */
typedef int32_t (*SpiProgressCallback)(int32_t num, int32_t denom, intptr_t lData);

/* --- Exports of every plug-in ------------------------------------------------------ */

/* Copies information text infono into buf (at most buflen bytes with the NUL) and
 * returns its length, 0 when there is no such entry. Entry 0: the API version ("00IN"
 * picture input, "00AM" archive); 1: the plug-in's name; 2, 4, ...: file masks
 * ("*.png", or several joined by ";"); 3, 5, ...: the description of the mask before. */
SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen);

/* Non-zero when the plug-in can read the data whose first SPI_HEADER_BYTES bytes are
 * at header; filename is the file's name (a bare name for data from memory). */
SPI_EXPORT int32_t IsSupported(const char* filename, const void* header);

/* --- Exports of picture plug-ins ("00IN") ---------------------------------------- */

SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag,
                                  SpiPictureInfo* info);
/* Decodes the picture; on success *pHBInfo and *pHBm hold malloc'd blocks as above. On
 * failure it returns an error code and leaves both handles NULL. */
SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                              SpiHandle* pHBm, SpiProgressCallback progress, intptr_t lData);
/* The same for a reduced picture (a thumbnail stored in the file); optional. A file
 * without one gives an error code (SPI_NO_FUNCTION) and NULL handles: the host then calls
 * GetPicture. */
SPI_EXPORT int32_t GetPreview(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                              SpiHandle* pHBm, SpiProgressCallback progress, intptr_t lData);

/* What the pictures of the following calls on this thread may cost; optional. maxSide is
 * the longest side in pixels, maxPixelBytes the largest buffer of pixels the plug-in may
 * allocate for one picture. A plug-in refuses a picture over either before allocating
 * its pixels (SPI_OUT_OF_ORDER for a side, SPI_NO_MEMORY for the bytes). The host calls
 * it before GetPictureInfo; a plug-in without it is still used, and the host then judges
 * by the size GetPictureInfo reports. Returns SPI_ALL_RIGHT. */
SPI_EXPORT int32_t SetDecodeLimits(int32_t maxSide, int64_t maxPixelBytes);

/* How the rows of the picture that GetPicture and GetPreview return for the same input
 * stand, as the EXIF and TIFF orientation tags number it: 1 upright, 2 mirrored left to
 * right, 3 half a turn, 4 mirrored top to bottom, 5 mirrored along the main diagonal, 6 a
 * quarter turn clockwise to stand upright, 7 mirrored along the other diagonal, 8 a
 * quarter turn anticlockwise to stand upright; optional. A plug-in that exports it returns
 * its pictures as stored and leaves turning them to the host, which calls it after a
 * picture was decoded; it writes *orientation (1 when the data say nothing) and returns
 * SPI_ALL_RIGHT. The pictures of a plug-in without it are shown as it returns them. */
SPI_EXPORT int32_t GetPictureOrientation(const char* buf, intptr_t len, uint32_t flag,
                                         int32_t* orientation);

/* The ICC profile that the colours of the picture GetPicture and GetPreview return for the
 * same input are in; optional. A plug-in that exports it returns the colours as stored and
 * leaves converting them to the host, which calls it after a picture was decoded. It
 * returns SPI_ALL_RIGHT with *profile a malloc'd block of *profileLength bytes, or NULL
 * and 0 when the data embed no profile. The host converts pictures whose profile is an
 * RGB profile (a grey one for grey pictures) to the display's colours; profiles over
 * SPI_MAX_ICC_PROFILE_BYTES, damaged ones and those of other colour spaces leave the
 * picture as it is, and so do the pictures of a plug-in without it. */
enum { SPI_MAX_ICC_PROFILE_BYTES = 4 << 20 };
SPI_EXPORT int32_t GetPictureIccProfile(const char* buf, intptr_t len, uint32_t flag,
                                        SpiHandle* profile, intptr_t* profileLength);

/* Moving pictures (an animated GIF, PNG or WebP); optional, all three or none. Frames are
 * numbered from 0; frame 0 is the picture GetPicture returns for the same input (its pixel
 * format may differ). A plug-in without them, or one that reports a count of 1, gives
 * still pictures.
 *
 * GetPictureFrameCount writes the number of frames (1 for a still picture) into *count. A
 * plug-in may stop counting past SPI_MAX_FRAMES: the host takes a larger count, or one below
 * 1, as a still picture.
 *
 * GetPictureFrame returns frame index as a whole picture of the size GetPicture's has, in
 * the same blocks and layouts (a 32-bit picture with straight alpha in a V5 header
 * included): what the frame shows once the frames before it were drawn and disposed of as
 * the format says. It honours SetDecodeLimits as GetPicture does. An index outside 0 ..
 * count - 1 fails with SPI_OUT_OF_ORDER and NULL handles. Plug-ins are asked for the frames
 * in order, and may keep what they decoded for the next call on the same thread and input.
 *
 * GetPictureFrameDelay writes how long frame index stays, in milliseconds as the file gives
 * it (0 when it gives none), into *delayMs. The host shows a delay under 20 ms as 100 ms,
 * as browsers do, and takes one over SPI_MAX_FRAME_DELAY_MS, or below 0, as broken. */
enum { SPI_MAX_FRAMES = 100000, SPI_MAX_FRAME_DELAY_MS = 3600000 };
SPI_EXPORT int32_t GetPictureFrameCount(const char* buf, intptr_t len, uint32_t flag,
                                        int32_t* count);
SPI_EXPORT int32_t GetPictureFrame(const char* buf, intptr_t len, uint32_t flag, int32_t index,
                                   SpiHandle* pHBInfo, SpiHandle* pHBm,
                                   SpiProgressCallback progress, intptr_t lData);
SPI_EXPORT int32_t GetPictureFrameDelay(const char* buf, intptr_t len, uint32_t flag, int32_t index,
                                        int32_t* delayMs);

/* --- Exports of archive plug-ins ("00AM"); Ravinel looks them up, never calls them -- */

SPI_EXPORT int32_t GetArchiveInfo(const char* buf, intptr_t len, uint32_t flag, SpiHandle* lphInf);
SPI_EXPORT int32_t GetFileInfo(const char* buf, intptr_t len, const char* filename, uint32_t flag,
                               SpiFileInfo* lpInfo);
SPI_EXPORT int32_t GetFile(const char* src, intptr_t len, char* dest, uint32_t flag,
                           SpiProgressCallback progress, intptr_t lData);

/* Optional settings dialog; Ravinel never calls it. */
SPI_EXPORT int32_t ConfigurationDlg(void* parent, int32_t fnc);

#ifdef __cplusplus
}
#endif

#endif /* RAVINEL_SPI_H */
