#pragma once

#include <gtest/gtest.h>

#include "app/form_rv_main.h"
#include "tests/image/temp_dir.h"

namespace ravinel::testing {

// Tests of windows: one hub for the whole test program (only one may exist), started
// before each test with the settings of a fresh start, pictures at their own size (the
// tests know the sizes) and no window manager (no frames).
class SharedHubTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        settingsFolder_ = new TempDir;
        hub_ = new FormRvMain(settingsFolder_->path("ravinel.ini"));
    }
    static void TearDownTestSuite() {
        delete hub_;
        hub_ = nullptr;
        delete settingsFolder_;
        settingsFolder_ = nullptr;
    }

    void SetUp() override {
        ASSERT_EQ(formRvMain, hub_);
        formRvMain->settings() = Settings{};
        formRvMain->settings().viewForm.sizeMode = 0;
        formRvMain->browserShowing = false;
        formRvMain->noteFrameExtents(0, 0, 0);
    }

  private:
    static inline TempDir* settingsFolder_ = nullptr;
    static inline FormRvMain* hub_ = nullptr;
};

}  // namespace ravinel::testing
