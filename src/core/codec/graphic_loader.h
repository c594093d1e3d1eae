#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "codec/decode_limits.h"
#include "codec/graphic_load_info.h"
#include "codec/picture_metadata.h"
#include "codec/spi_host.h"
#include "color/color_converter.h"
#include "dib/alpha_composite.h"
#include "dib/nk_dib.h"

namespace ravinel {

struct BuiltinDecoder;

// Turns a picture file into a DIB: by a built-in decoder (builtin_decoders.h) or the
// plug-in host, recognising the format from the first bytes or trusting the extension as
// the options say, and trying a second decoder when the first yields nothing.
// One thread uses a loader at a time; the constructor from another loader makes one for
// another thread. Loaders without a plug-in host may read plain files on several threads at
// once; archives go through archiver modules the process shares, one call at a time.
class GraphicLoader {
  public:
    // The host is not owned; null means no plug-ins. Colours are converted to sRGB.
    explicit GraphicLoader(SpiHost* spis);
    // A loader that makes the choices of another (its options, target profile and budget)
    // through a host of its own: for another thread. The job share is not taken over.
    GraphicLoader(const GraphicLoader& choices, SpiHost* spis);

    // The profile that pictures with a profile of their own are converted to (the
    // display's); empty: sRGB. Set before loads start. Throws ColorProfileError, keeping
    // the previous target, for bytes that are no RGB profile.
    void setTargetProfile(std::span<const uint8_t> iccProfile);

    // True when other makes the same pixels of the same file as this one: every choice
    // and the colour target alike (the plug-in host is not compared).
    bool sameChoices(const GraphicLoader& other) const;

    // Loads fileName into target; preview asks for a reduced picture (thumbnails). Every
    // decoding failure is caught: the outcome is info alone (see
    // GraphicLoadInfo::succeeded). Pictures wider or taller than maxSide are reported as
    // not loaded: the decoders refuse them by their headers, before decoding, and the
    // own decoders leave their declared size in info. So is a picture whose pixel store
    // would pass 256 MiB for display or 64 MiB for a preview.
    void loadFromFile(NkDib& target, const std::string& fileName, bool preview,
                      GraphicLoadInfo& info);

    // Frame index (1 .. frameCount - 1 of the load's record) of the moving picture fileName
    // that loadFromFile loaded, stood upright, converted and composited as that picture
    // was; returns how long it stays, in milliseconds as stored. Throws GraphicLoadError
    // (PictureTooLargeError for one over the limits) when the frame cannot be had.
    int32_t loadFrame(NkDib& target, const std::string& fileName, int32_t index);

    // Loads memberName of the archive archiveName, recognised by its content; the
    // member's bare name goes to the plug-ins. Failures of the archive layer
    // (ArchiverError and its kin) reach the caller; decoding failures show in info.
    void loadFromArchive(NkDib& target, const std::string& archiveName,
                         const std::string& memberName, bool preview, GraphicLoadInfo& info);

    bool doAnalyze = false;   // recognise the format from the data before the extension
    bool useSpiPrev = false;  // a preview may use the plug-ins' reduced-picture entry
    bool inBmpFirst = false;  // own BMP reading before the plug-ins
    bool inJpgFirst = false;  // own JPEG decoding before the plug-ins
    // Turn pictures upright by their EXIF or TIFF orientation, before anything else sees
    // them; the record then reports the upright size.
    bool useOrientation = true;
    // What shows through pictures with alpha, composited once they stand upright.
    AlphaBackground alphaBackground;
    // Convert pictures with an embedded ICC profile to the target profile, right after
    // turning them upright.
    bool useColorProfile = true;
    // The largest side a picture may have (kMinSideLimit..kMaxSideLimit).
    int32_t maxSide = kMaxPictureSide;
    // Edge length a preview JPEG decode aims at; 0 no reduction, negative fastest.
    int32_t previewSize = 0;
    // The memory this loader's decodes share with other loaders' (threads making
    // thumbnails); not owned, null: none.
    MemoryBudget* budget = nullptr;
    // The share of the budget of the job the loads are part of (see DecodeLimits); not
    // owned, null: none.
    MemoryBudget::Reservation* jobShare = nullptr;

  private:
    class FileLoad;

    DecodeLimits limitsFor(bool preview) const;
    bool ownFirst(const BuiltinDecoder& decoder) const;

    void loadByContent(NkDib& target, FileLoad& file, bool preview, GraphicLoadInfo& info);
    void loadRecognized(NkDib& target, std::span<const uint8_t> data, const std::string& name,
                        bool preview, GraphicLoadInfo& info);
    void finish(const NkDib& target, GraphicLoadInfo& info) const;
    static void noteContent(std::span<const uint8_t> head, const std::string& name,
                            bool byExtension, GraphicLoadInfo& info);
    void loadByExtension(NkDib& target, FileLoad& file, bool preview, GraphicLoadInfo& info);
    void loadBuiltin(const BuiltinDecoder& decoder, NkDib& target, std::span<const uint8_t> data,
                     bool preview, GraphicLoadInfo& info) const;
    // Turns the picture (and its alpha) upright, converts its colours and composites its
    // alpha, in that order, before anything else sees it.
    void settle(NkDib& target, PictureMetadata metadata, bool preview, GraphicLoadInfo& info) const;
    void standUpright(NkDib& target, NkDib* alpha, DibOrientation orientation, bool preview,
                      GraphicLoadInfo& info) const;
    void loadSpiFile(NkDib& target, const std::string& fileName, bool preview,
                     GraphicLoadInfo& info);
    void loadSpiStream(NkDib& target, std::span<const uint8_t> data, const std::string& name,
                       bool preview, GraphicLoadInfo& info);
    void loadThroughSpis(NkDib& target, bool preview, GraphicLoadInfo& info,
                         const std::function<PictureMetadata(SpiHost&)>& load);

    SpiHost* spis_;
    // Shared by the loaders made from this one: it serves several threads at once.
    std::shared_ptr<const ColorConverter> colors_;
};

}  // namespace ravinel
