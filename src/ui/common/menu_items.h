#pragma once

class QAction;
class QActionGroup;
class QMenu;
class QObject;
class QString;

namespace ravinel {

// Building blocks of the windows' popup menus. Captions are shown as given.
QAction* addMenuItem(QMenu* menu, const QString& caption);
// An item that carries a tick of its own.
QAction* addCheckItem(QMenu* menu, const QString& caption);
// A tick item of group, whose items exclude each other.
QAction* addRadioItem(QMenu* menu, QActionGroup* group, const QString& caption);
QActionGroup* exclusiveGroup(QObject* parent);
// Ticks one action of an exclusive group, or none when action is null.
void tickOnly(QActionGroup* group, QAction* action);

}  // namespace ravinel
