#pragma once

#include <QString>

namespace ravinel {

// The texts the browser window shows in its caption and status panels, in the language
// of the windows.
namespace browser_texts {

QString loading();
QString readingFiles();
QString sortingFiles();

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
