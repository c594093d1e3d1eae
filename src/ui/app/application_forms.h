#pragma once

#include <QList>

class QWidget;

namespace ravinel {

// The program's windows (image, browser, archive and options windows, message boxes),
// shown or hidden, in the toolkit's order: top-level widgets less menus, tool tips and
// other popups.
QList<QWidget*> applicationForms();

}  // namespace ravinel
