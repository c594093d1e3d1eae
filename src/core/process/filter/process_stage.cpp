#include "process/filter/process_stage.h"

#include <array>

#include "platform/translatable.h"

namespace ravinel {

const char* processStageText(ProcessStage stage) {
    static constexpr std::array<const char*, 9> kTexts = {
        "",
        RAVINEL_TRANSLATABLE("ProcessStage", "リサイズ中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "カラー深度変更中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "弱ノイズ除去処理中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "輝度ノーマライズ処理中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "シャープ処理中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "輝度範囲取得中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "輝度調整処理中"),
        RAVINEL_TRANSLATABLE("ProcessStage", "条件付平均化処理中"),
    };
    return textOf(kTexts, stage);
}

}  // namespace ravinel
