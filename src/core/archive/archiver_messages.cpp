#include <array>

#include "archive/archiver_error.h"

namespace ravinel {

const char* archiverMessagePattern(ArchiverMessage message) {
    static constexpr std::array<const char*, 13> kPatterns = {
        RAVINEL_TRANSLATABLE("ArchiverMessage", "書庫の形式を判別できません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage", "書庫の形式を特定できませんでした。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage", "%1 を扱うには %2 が 必要です。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage", "%1 に %2 のエントリが見つかりません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "UnZip%1 のエントリが DLL に見つかりませんでした。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "%1 書庫からの%2自己解凍書庫の作成には '%3' ファイルが必要です。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "この形式では書庫ファイルの作成をサポートしておりません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "この形式の書庫ではファイルの削除をサポートしておりません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "この形式の書庫では書庫の更新をサポートしておりません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage",
                             "この形式では自己解凍書庫の作成をサポートしておりません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage", "jso オプションが設定されていません。"),
        RAVINEL_TRANSLATABLE("ArchiverMessage", "この形式ではメモリ展開をサポートしておりません。"),
    };
    return textOf(kPatterns, message);
}

}  // namespace ravinel
