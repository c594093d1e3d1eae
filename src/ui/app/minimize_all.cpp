#include "app/minimize_all.h"

#include <QWidget>
#include <algorithm>

namespace ravinel {

namespace {

constexpr const char* kStateBeforeTray = "ravinelStateBeforeTray";

}  // namespace

void minimizeOrRestoreAll(const QList<QWidget*>& forms) {
    const bool anyShown = std::any_of(forms.begin(), forms.end(),
                                      [](const QWidget* form) { return !form->isMinimized(); });
    if (anyShown) {
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
            (*it)->setProperty(kStateBeforeTray, (*it)->isMaximized());
            (*it)->showMinimized();
        }
        return;
    }
    for (QWidget* form : forms) {
        if (form->property(kStateBeforeTray).toBool()) {
            form->showMaximized();
        } else {
            form->showNormal();
        }
    }
}

}  // namespace ravinel
