#include "common/load_failure_message.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

// Every reason the loader records, as the box words it under the file's name.
TEST(LoadFailureMessage, EachReasonIsWordedWithItsDetail) {
    struct Case {
        LoadFailure failure;
        std::string detail;
        std::string contentFormat;
        uint16_t width;
        uint16_t height;
        const char* reason;
    };
    const Case cases[] = {
        {LoadFailure::notRecognized, "", "", 0, 0, "画像ファイルではありません"},
        {LoadFailure::noPluginTookIt, "Unknown picture file extension (.TXT)", "", 0, 0,
         "画像ファイルではありません"},
        {LoadFailure::fileSize, "3 bytes", "", 0, 0, "画像ファイルではありません"},
        {LoadFailure::noPluginTookIt, "Unknown picture file extension (.AVIF)", "AVIF", 0, 0,
         "AVIF 形式を読み込めるデコーダがありません"},
        {LoadFailure::contentMismatch, "PNG", "PNG", 0, 0,
         "ファイルの内容が拡張子と合いません。内容は PNG 形式です"},
        {LoadFailure::sideOverLimit, "Picture is too large (5120 x 2880)", "JPEG", 5120, 2880,
         "画像が大きすぎます（5120 x 2880）。\n開ける画像の長辺は 4096 ドットまでです。"
         "上限はオプションの「その他」ページで変更できます"},
        {LoadFailure::memoryOverLimit, "Picture is too large (18000 x 18000)", "BMP", 18000, 18000,
         "画像が大きすぎて、読み込みに使えるメモリ（256 MB）に収まりません（18000 x 18000）"},
        {LoadFailure::decoderError, "JPEG: Premature end of JPEG file", "JPEG", 0, 0,
         "画像データが壊れています\n（JPEG: Premature end of JPEG file）"},
        {LoadFailure::decoderError, "", "", 0, 0, "画像データが壊れています"},
        {LoadFailure::unreadableFile, "No such file or directory", "", 0, 0,
         "ファイルが見つからないか、読み込めません\n（No such file or directory）"},
    };
    for (const Case& c : cases) {
        GraphicLoadInfo info;
        info.failure = c.failure;
        info.failureDetail = c.detail;
        info.contentFormat = c.contentFormat;
        info.width = c.width;
        info.height = c.height;
        EXPECT_EQ(loadFailureMessage("/home/u/写真/a.jpg", info, 4096).toStdString(),
                  std::string("画像を開けません\n/home/u/写真/a.jpg\n\n") + c.reason)
            << c.detail;
    }
}

}  // namespace
}  // namespace ravinel
