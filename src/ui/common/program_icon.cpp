#include "common/program_icon.h"

#include <QString>

namespace ravinel {

QIcon programIcon() {
    return QIcon(QStringLiteral(":/ravinel.svg"));
}

}  // namespace ravinel
