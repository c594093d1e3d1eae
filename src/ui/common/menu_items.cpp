#include "common/menu_items.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace ravinel {

QAction* addMenuItem(QMenu* menu, const QString& caption) {
    return menu->addAction(caption);
}

QAction* addCheckItem(QMenu* menu, const QString& caption) {
    QAction* action = addMenuItem(menu, caption);
    action->setCheckable(true);
    return action;
}

QAction* addRadioItem(QMenu* menu, QActionGroup* group, const QString& caption) {
    QAction* action = addCheckItem(menu, caption);
    group->addAction(action);
    return action;
}

QActionGroup* exclusiveGroup(QObject* parent) {
    auto* group = new QActionGroup(parent);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    return group;
}

void tickOnly(QActionGroup* group, QAction* action) {
    // An exclusive group refuses to untick its last ticked item, so lift the rule meanwhile;
    // the tick itself is set under the rule, so the group knows which item holds it.
    const auto policy = group->exclusionPolicy();
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* item : group->actions()) {
        item->setChecked(false);
    }
    group->setExclusionPolicy(policy);
    if (action != nullptr) {
        action->setChecked(true);
    }
}

}  // namespace ravinel
