#include "app/minimize_all.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace ravinel {
namespace {

TEST(MinimizeOrRestoreAll, MinimisesWhileAnyIsShownAndRestoresEachAsItWas) {
    QWidget normal;
    QWidget maximized;
    QWidget minimized;
    normal.show();
    maximized.showMaximized();
    minimized.showMinimized();
    const QList<QWidget*> forms{&normal, &maximized, &minimized};

    minimizeOrRestoreAll(forms);
    for (const QWidget* form : forms) {
        EXPECT_TRUE(form->isMinimized());
    }

    minimizeOrRestoreAll(forms);
    EXPECT_FALSE(normal.isMinimized());
    EXPECT_FALSE(normal.isMaximized());
    EXPECT_TRUE(maximized.isMaximized());
    EXPECT_FALSE(minimized.isMinimized()) << "a window minimised before comes back normal";
}

}  // namespace
}  // namespace ravinel
