#include "common/browser_status_texts.h"

#include <QCoreApplication>

namespace ravinel {

namespace {

QString remainingText(int remaining) {
    return QCoreApplication::translate("BrowserTexts", "未作成サムネイル数 %1").arg(remaining);
}

}  // namespace

namespace browser_texts {

QString loading() {
    return QCoreApplication::translate("BrowserTexts", "読み込み中");
}

QString readingFiles() {
    return QCoreApplication::translate("BrowserTexts", "ファイル情報取得中");
}

QString sortingFiles() {
    return QCoreApplication::translate("BrowserTexts", "ファイル情報ソート中");
}

}  // namespace browser_texts

QString fileCountText(int count) {
    return QCoreApplication::translate("BrowserTexts", "ファイル数 %1").arg(count);
}

QString remainingThumbsText(int count, int madeCount) {
    const int remaining = count - madeCount;
    return remaining < 1 ? QCoreApplication::translate("BrowserTexts", "サムネイル作成完了")
                         : remainingText(remaining);
}

QString sortedThumbsText(int count) {
    return count > 0 ? remainingText(count)
                     : QCoreApplication::translate("BrowserTexts", "ファイルなし");
}

}  // namespace ravinel
