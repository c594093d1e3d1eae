#include "common/load_failure_message.h"

#include "codec/decode_limits.h"

namespace ravinel {

namespace {

QString sizeText(const GraphicLoadInfo& info) {
    return QString::number(info.width) + " x " + QString::number(info.height);
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A detail the loader recorded, in brackets on a line of its own; nothing without one.
QString detailLine(const GraphicLoadInfo& info) {
    return info.failureDetail.empty() ? QString() : "\n（" + fromUtf8(info.failureDetail) + "）";
}

QString reasonText(const GraphicLoadInfo& info, int32_t maxSide) {
    switch (info.failure) {
        case LoadFailure::unreadableFile:
            return "ファイルが見つからないか、読み込めません" + detailLine(info);
        case LoadFailure::sideOverLimit:
            return "画像が大きすぎます（" + sizeText(info) + "）。\n開ける画像の長辺は " +
                   QString::number(maxSide) +
                   " ドットまでです。上限はオプションの「その他」ページで変更できます";
        case LoadFailure::memoryOverLimit:
            return "画像が大きすぎて、読み込みに使えるメモリ（" +
                   QString::number(kDisplayDecodeBytes >> 20) + " MB）に収まりません（" +
                   sizeText(info) + "）";
        case LoadFailure::contentMismatch:
            return "ファイルの内容が拡張子と合いません。内容は " + fromUtf8(info.failureDetail) +
                   " 形式です";
        case LoadFailure::decoderError:
            return "画像データが壊れています" + detailLine(info);
        default:
            break;
    }
    if (!info.contentFormat.empty()) {
        return fromUtf8(info.contentFormat) + " 形式を読み込めるデコーダがありません";
    }
    return "画像ファイルではありません";
}

}  // namespace

QString loadFailureMessage(const std::string& fileName, const GraphicLoadInfo& info,
                           int32_t maxSide) {
    return "画像を開けません\n" + fromUtf8(fileName) + "\n\n" + reasonText(info, maxSide);
}

}  // namespace ravinel
