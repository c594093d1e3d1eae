// The tray icon on a real X server of the test's own, with a stand-in notification area
// that appears only after the icon was made, and then restarts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/tray_icon.h"
#include "tests/ui/app/event_wait.h"
#include "tests/ui/app/tray/fake_tray.h"
#include "tests/ui/app/tray/x_server.h"

namespace ravinel::testing {
namespace {

// The test's X server; set by main before the tests run.
XServer* server = nullptr;

TEST(LateTray, IconDocksWhenTheNotificationAreaAppearsAndAgainWhenItRestarts) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    TrayIcon icon;
    icon.setVisible(true);
    EXPECT_FALSE(icon.isShown());

    auto tray = std::make_unique<FakeTray>(server->display());
    ASSERT_TRUE(processEventsUntil([&] { return tray->dockedWindow() != 0; }))
        << "the icon never asked the late notification area to dock it";
    EXPECT_TRUE(icon.isShown());

    tray.reset();  // the panel ends...
    ASSERT_TRUE(processEventsUntil([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }));
    EXPECT_FALSE(icon.isShown());
    tray = std::make_unique<FakeTray>(server->display());  // ...and starts again
    ASSERT_TRUE(processEventsUntil([&] { return tray->dockedWindow() != 0; }))
        << "the icon did not come back to the restarted notification area";
    EXPECT_TRUE(icon.isShown());

    // Hidden by the program, it stays away from a tray that starts later.
    icon.setVisible(false);
    tray.reset();
    ASSERT_TRUE(processEventsUntil([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }));
    tray = std::make_unique<FakeTray>(server->display());
    processEventsFor(500);
    EXPECT_EQ(tray->dockedWindow(), 0u);
}

}  // namespace
}  // namespace ravinel::testing

// The X server comes first: the application connects to it. Without Xvfb the test is
// skipped (exit status 77), except where CI is set, since CI installs it.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ravinel::testing::XServer server;
    if (server.display().empty()) {
        const char* ci = std::getenv("CI");
        std::fprintf(stderr, "late tray test: Xvfb could not be started\n");
        return ci != nullptr && *ci != '\0' ? 1 : 77;
    }
    ravinel::testing::server = &server;
    qputenv("DISPLAY", server.display().c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
