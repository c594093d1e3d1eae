#include "common/elided_file_name.h"

namespace ravinel {

QString elidedFileName(const QString& name, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(name) <= width) {
        return name;
    }
    const qsizetype dot = name.lastIndexOf('.');
    // A leading dot (a hidden file's name) starts no extension.
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString stem = name.left(name.size() - extension.size());
    const int stemWidth = width - metrics.horizontalAdvance(extension);
    const QString shortStem = metrics.elidedText(stem, Qt::ElideMiddle, stemWidth);
    if (extension.isEmpty() || stemWidth <= 0 || shortStem.isEmpty()) {
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    }
    return shortStem + extension;
}

}  // namespace ravinel
