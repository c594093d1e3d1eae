#include "codec/jpeg/jpeg_decoder.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// jpeglib.h needs the FILE and size_t declarations first.
#include <jpeglib.h>

#include "codec/graphic_load_error.h"
#include "color/icc_profile.h"
#include "platform/parallel_bands.h"

namespace ravinel {

namespace {

// libjpeg reports an error by calling error_exit, which must not return. It jumps back
// into the guarded step that called libjpeg; no C++ exception passes libjpeg's frames.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    cinfo->err->format_message(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (corrupt or missing data that libjpeg works around) are not printed.
void onJpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        ++cinfo->err->num_warnings;
    }
}

void onJpegOutput(j_common_ptr) {}

// A decompression object that is always destroyed, also after an error.
struct JpegSession {
    JpegSession() {
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onJpegError;
        errors.pub.emit_message = onJpegMessage;
        errors.pub.output_message = onJpegOutput;
    }
    ~JpegSession() { jpeg_destroy_decompress(&cinfo); }
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;

    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors{};
};

// Runs one libjpeg step. The step must hold no object with a destructor of its own
// while it calls libjpeg, since an error leaves it by longjmp.
template <typename Step>
void guarded(JpegSession& session, Step&& step) {
    if (setjmp(session.errors.jump) != 0) {
        throw GraphicLoadError(session.errors.message);
    }
    step();
}

// Adobe's CMYK JPEGs store the inks inverted (0 = full ink); others store them plainly.
void cmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted) {
    for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
    }
}

uint64_t roundedUp(uint64_t value, int multiple) {
    const auto step = static_cast<uint64_t>(multiple);
    return (value + step - 1) / step * step;
}

// The coefficients libjpeg keeps for the whole picture when it comes in several scans
// (progressive files): one block of 64 per 8 x 8 pixels of each component, whole MCUs.
uint64_t coefficientBytes(j_decompress_ptr cinfo) {
    if (jpeg_has_multiple_scans(cinfo) == FALSE) {
        return 0;
    }
    uint64_t bytes = 0;
    for (int i = 0; i < cinfo->num_components; ++i) {
        const jpeg_component_info& component = cinfo->comp_info[i];
        bytes += roundedUp(component.width_in_blocks, component.h_samp_factor) *
                 roundedUp(component.height_in_blocks, component.v_samp_factor) * sizeof(JBLOCK);
    }
    return bytes;
}

// The profile libjpeg put together from the saved APP2 markers; a damaged one (chunks
// missing or numbered twice) is none.
void takeIccProfile(JpegSession& session, std::vector<uint8_t>& profile) {
    JOCTET* bytes = nullptr;
    unsigned int length = 0;
    guarded(session, [&] { jpeg_read_icc_profile(&session.cinfo, &bytes, &length); });
    const std::unique_ptr<JOCTET, decltype(&std::free)> owned(bytes, &std::free);
    if (owned && length <= kMaxIccProfileBytes) {
        profile.assign(owned.get(), owned.get() + length);
    }
}

// The same output settings on every session of one picture, so that each band decodes
// its rows exactly as a single pass would.
void setOutput(jpeg_decompress_struct& cinfo, const JpegDecodeOptions& options, bool cmyk) {
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(options.scaleDenominator);
    cinfo.dct_method = options.fastestDct ? JDCT_IFAST : JDCT_ISLOW;
}

constexpr size_t kRowsPerRead = 16;

// Decodes rows [first, last) of a session whose output is set, into picture. Rows before
// first are skipped: libjpeg still decodes their entropy-coded data (the only way to the
// rows after them) but neither transforms nor converts them.
void decodeRows(JpegSession& session, NkDib& picture, JDIMENSION first, JDIMENSION last) {
    jpeg_decompress_struct& cinfo = session.cinfo;
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    const uint64_t width = cinfo.output_width;
    // Up to sixteen rows per call rather than one, so fewer calls into libjpeg. A colour
    // picture is decoded straight into its rows, a CMYK one through a block of ink rows.
    std::vector<uint8_t> cmykRows(cmyk ? width * 4 * kRowsPerRead : 0);
    std::array<JSAMPROW, kRowsPerRead> targets{};
    const bool inverted = cinfo.saw_Adobe_marker != 0;
    guarded(session, [&] {
        jpeg_start_decompress(&cinfo);
        if (first > 0 && jpeg_skip_scanlines(&cinfo, first) != first) {
            return;  // cannot happen with a memory source; guards against a loop
        }
        while (cinfo.output_scanline < last) {
            const auto row = static_cast<int>(cinfo.output_scanline);
            const auto rows = static_cast<JDIMENSION>(
                std::min<uint64_t>(kRowsPerRead, last - cinfo.output_scanline));
            for (JDIMENSION i = 0; i < rows; ++i) {
                targets[i] = cmyk ? cmykRows.data() + i * width * 4
                                  : picture.scanLine(row + static_cast<int>(i));
            }
            const JDIMENSION read = jpeg_read_scanlines(&cinfo, targets.data(), rows);
            if (read == 0) {
                break;  // cannot happen with a memory source; guards against a loop
            }
            if (cmyk) {
                for (JDIMENSION i = 0; i < read; ++i) {
                    cmykRowToBgr(targets[i], picture.scanLine(row + static_cast<int>(i)), width,
                                 inverted);
                }
            }
        }
        if (last == cinfo.output_height) {
            jpeg_finish_decompress(&cinfo);
        } else {
            jpeg_abort_decompress(&cinfo);
        }
    });
}

// Skipping a row costs about this share of decoding it (its entropy decoding; 0.7 for
// camera-like photos here, 0.8 for our noisy test photos), so the
// later bands, which skip the rows before them, get fewer rows.
constexpr double kSkipCost = 0.7;
// The bands repeat the entropy decoding of the rows above them, so they pay only on
// processors that would otherwise idle: on this 2-core machine at a load of 7.5 a split
// 24 MP decode took 1.45 times one pass. A count chosen by RAVINEL_THREADS (or a test)
// is taken as it stands.
bool processorsToSpare() {
    double load = 0;
    return processThreadsChosen() ||
           (getloadavg(&load, 1) == 1 && load < static_cast<double>(processThreads()) - 0.5);
}

// Fewer rows per band than this are not worth a session of their own.
constexpr JDIMENSION kMinBandRows = 256;

// Band k ends where its skipped and decoded rows together cost what band 0's rows do.
std::vector<JDIMENSION> bandEnds(JDIMENSION height, JDIMENSION rowGroup, size_t bands) {
    double total = 0;
    double share = 1;
    for (size_t k = 0; k < bands; ++k, share *= 1 - kSkipCost) {
        total += share;
    }
    std::vector<JDIMENSION> ends;
    double end = 0;
    share = 1;
    for (size_t k = 0; k + 1 < bands; ++k, share *= 1 - kSkipCost) {
        end += height * share / total;
        // Whole row groups, so a band starts where libjpeg starts a group of rows.
        ends.push_back(static_cast<JDIMENSION>(end) / rowGroup * rowGroup);
    }
    ends.push_back(height);
    return ends;
}

// A full-size picture of one scan is decoded in bands of rows, each by its own session on
// its own thread; the rows are libjpeg's whichever session decodes them. A picture of
// several scans (progressive) needs all of its data before its first row, so it is one band.
// CMYK pictures are one band too.
void decodeBands(std::span<const uint8_t> data, const JpegDecodeOptions& options,
                 JpegSession& first, NkDib& picture) {
    jpeg_decompress_struct& cinfo = first.cinfo;
    const JDIMENSION height = cinfo.output_height;
    const size_t longest = height / kMinBandRows;
    const size_t bands = std::min<size_t>(processThreads(), longest);
    // Reading CMYK rows after a skip crashed inside libjpeg-turbo 2.1.5; such files are rare.
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    if (bands <= 1 || cmyk || options.scaleDenominator != 1 ||
        jpeg_has_multiple_scans(&cinfo) != FALSE || !processorsToSpare()) {
        decodeRows(first, picture, 0, height);
        return;
    }
    const auto rowGroup =
        static_cast<JDIMENSION>(cinfo.max_v_samp_factor * cinfo.min_DCT_scaled_size);
    const std::vector<JDIMENSION> ends = bandEnds(height, std::max<JDIMENSION>(rowGroup, 1), bands);
    forEachBand(bands, 1, [&](size_t begin, size_t end) {
        for (size_t band = begin; band < end; ++band) {
            const JDIMENSION top = band == 0 ? 0 : ends[band - 1];
            if (band == 0) {
                decodeRows(first, picture, top, ends[band]);
                continue;
            }
            JpegSession session;
            guarded(session, [&] {
                jpeg_create_decompress(&session.cinfo);
                session.cinfo.mem->max_memory_to_use = static_cast<long>(kDisplayDecodeBytes);
                jpeg_mem_src(&session.cinfo, data.data(), static_cast<unsigned long>(data.size()));
                jpeg_read_header(&session.cinfo, TRUE);
            });
            setOutput(session.cinfo, options, false);
            decodeRows(session, picture, top, ends[band]);
        }
    });
}

}  // namespace

NkDib decodeJpeg(std::span<const uint8_t> data, const JpegDecodeOptions& options,
                 const DecodeLimits& limits, std::vector<uint8_t>* iccProfile) {
    JpegSession session;
    jpeg_decompress_struct& cinfo = session.cinfo;
    guarded(session, [&] {
        jpeg_create_decompress(&cinfo);
        // Bounds libjpeg's own buffers, whatever the pixel store may take.
        cinfo.mem->max_memory_to_use = static_cast<long>(kDisplayDecodeBytes);
        jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
        if (iccProfile != nullptr) {
            jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
        }
        jpeg_read_header(&cinfo, TRUE);
    });
    if (iccProfile != nullptr) {
        iccProfile->clear();
        takeIccProfile(session, *iccProfile);
    }
    limits.checkSides(cinfo.image_width, cinfo.image_height);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    setOutput(cinfo, options, cmyk);
    guarded(session, [&] { jpeg_calc_output_dimensions(&cinfo); });

    const uint64_t width = cinfo.output_width;
    const uint64_t height = cinfo.output_height;
    const uint64_t cmykBytes = cmyk ? width * 4 * kRowsPerRead : 0;
    const MemoryBudget::Reservation share =
        limits.admit(static_cast<int64_t>(width), static_cast<int64_t>(height), 24,
                     coefficientBytes(&cinfo) + cmykBytes);
    NkDib picture;
    picture.setBitCount(24);
    picture.setWidth(static_cast<int32_t>(width));
    picture.setHeight(static_cast<int32_t>(height));
    decodeBands(data, options, session, picture);
    return picture;
}

}  // namespace ravinel
