#include "common/load_failure_message.h"

#include <QCoreApplication>

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
    return info.failureDetail.empty()
               ? QString()
               : QCoreApplication::translate("LoadFailureMessage", "\n（%1）")
                     .arg(fromUtf8(info.failureDetail));
}

QString reasonText(const GraphicLoadInfo& info, int32_t maxSide) {
    switch (info.failure) {
        case LoadFailure::unreadableFile:
            return QCoreApplication::translate("LoadFailureMessage",
                                               "ファイルが見つからないか、読み込めません") +
                   detailLine(info);
        case LoadFailure::sideOverLimit:
            return QCoreApplication::translate(
                       "LoadFailureMessage",
                       "画像が大きすぎます（%1）。\n開ける画像の長辺は %2 "
                       "ドットまでです。上限はオプションの「その他」ページで変更できます")
                .arg(sizeText(info), QString::number(maxSide));
        case LoadFailure::memoryOverLimit:
            return QCoreApplication::translate(
                       "LoadFailureMessage",
                       "画像が大きすぎて、読み込みに使えるメモリ（%1 MB）に収まりません（%2）")
                .arg(QString::number(kDisplayDecodeBytes >> 20), sizeText(info));
        case LoadFailure::contentMismatch:
            return QCoreApplication::translate(
                       "LoadFailureMessage",
                       "ファイルの内容が拡張子と合いません。内容は %1 形式です")
                .arg(fromUtf8(info.failureDetail));
        case LoadFailure::decoderError:
            return QCoreApplication::translate("LoadFailureMessage", "画像データが壊れています") +
                   detailLine(info);
        default:
            break;
    }
    if (!info.contentFormat.empty()) {
        return QCoreApplication::translate("LoadFailureMessage",
                                           "%1 形式を読み込めるデコーダがありません")
            .arg(fromUtf8(info.contentFormat));
    }
    return QCoreApplication::translate("LoadFailureMessage", "画像ファイルではありません");
}

}  // namespace

QString loadFailureMessage(const std::string& fileName, const GraphicLoadInfo& info,
                           int32_t maxSide) {
    return QCoreApplication::translate("LoadFailureMessage", "画像を開けません\n%1\n\n%2")
        .arg(fromUtf8(fileName), reasonText(info, maxSide));
}

}  // namespace ravinel
