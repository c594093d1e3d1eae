#include "app/application_forms.h"

#include <QApplication>
#include <QWidget>

namespace ravinel {

QList<QWidget*> applicationForms() {
    QList<QWidget*> forms;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        // The tray icon's own helper window (on X11) is no form of ours.
        if ((type == Qt::Window || type == Qt::Dialog) && !widget->inherits("QSystemTrayIconSys")) {
            forms.append(widget);
        }
    }
    return forms;
}

}  // namespace ravinel
