#pragma once

class QAction;
class QActionGroup;
class QMenu;
class QObject;

namespace ravinel {

// Building blocks of the windows' popup menus. Captions are UTF-8.
QAction* addMenuItem(QMenu* menu, const char* caption);
// An item that carries a tick of its own.
QAction* addCheckItem(QMenu* menu, const char* caption);
// A tick item of group, whose items exclude each other.
QAction* addRadioItem(QMenu* menu, QActionGroup* group, const char* caption);
QActionGroup* exclusiveGroup(QObject* parent);
// Ticks one action of an exclusive group, or none when action is null.
void tickOnly(QActionGroup* group, QAction* action);

}  // namespace ravinel
