#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <vector>

#include "app/app_hub.h"
#include "tests/temp_dir.h"
#include "viewer/image_window.h"

namespace ravinel::testing {

// Tests of windows: one hub for the whole test program (only one may exist), started
// before each test with the settings of a fresh start, pictures at their own size (the
// tests know the sizes) and no window manager (no frames).
class SharedHubTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        settingsFolder_ = new TempDir;
        hub_ = new AppHub(settingsFolder_->path("ravinel.ini"));
        hub_->onMessage = [](const QString& text) { messages_.push_back(text); };
    }
    static void TearDownTestSuite() {
        delete hub_;
        hub_ = nullptr;
        delete settingsFolder_;
        settingsFolder_ = nullptr;
    }

    // The context every window of the tests is made with.
    static AppHub& hub() { return *hub_; }

    void SetUp() override {
        hub().settings() = Settings{};
        hub().settings().viewForm.sizeMode = SizeMode::ownSize;
        hub().setBrowserShowing(false);
        hub().noteFrameExtents(0, 0, 0);
        messages_.clear();
    }

    // What the hub told the user since the test began, in place of message boxes.
    static const std::vector<QString>& messages() { return messages_; }

    // Every image window, also those the hub opened; windows closed before are freed.
    static std::vector<ImageWindow*> imageWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::vector<ImageWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<ImageWindow*>(widget)) {
                found.push_back(window);
            }
        }
        return found;
    }

  private:
    static inline TempDir* settingsFolder_ = nullptr;
    static inline AppHub* hub_ = nullptr;
    static inline std::vector<QString> messages_;
};

}  // namespace ravinel::testing
