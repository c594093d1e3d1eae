#include "common/browser_status_texts.h"

namespace ravinel {

namespace {

QString remainingText(int remaining) {
    return QString::fromUtf8("未作成サムネイル数 ") + QString::number(remaining);
}

}  // namespace

QString fileCountText(int count) {
    return QString::fromUtf8("ファイル数 ") + QString::number(count);
}

QString remainingThumbsText(int count, int madeCount) {
    const int remaining = count - madeCount;
    return remaining < 1 ? browser_texts::kThumbsComplete : remainingText(remaining);
}

QString sortedThumbsText(int count) {
    return count > 0 ? remainingText(count) : browser_texts::kNoFiles;
}

}  // namespace ravinel
