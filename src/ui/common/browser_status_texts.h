#pragma once

#include <QString>

namespace ravinel {

// The texts the browser window shows in its caption and status panels.
namespace browser_texts {

inline const QString kLoading = QString::fromUtf8("読み込み中");
inline const QString kReadingFiles = QString::fromUtf8("ファイル情報取得中");
inline const QString kSortingFiles = QString::fromUtf8("ファイル情報ソート中");
inline const QString kNoFiles = QString::fromUtf8("ファイルなし");
inline const QString kThumbsComplete = QString::fromUtf8("サムネイル作成完了");

}  // namespace browser_texts

// "ファイル数 " and the count.
QString fileCountText(int count);
// The thumbnail state: "未作成サムネイル数 " and the number still to make, or
// "サムネイル作成完了" once none is left.
QString remainingThumbsText(int count, int madeCount);
// Panel 1 once a folder is sorted for the thumbnail view: the number still to make, or
// "ファイルなし" for an empty folder.
QString sortedThumbsText(int count);

}  // namespace ravinel
