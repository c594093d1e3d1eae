#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "browser/browser_status_bar.h"
#include "browser/browser_window.h"
#include "common/idle_dispatcher.h"
#include "platform/parallel_bands.h"
#include "tests/temp_dir.h"
#include "tests/ui/delete_windows.h"
#include "tests/ui/shared_hub_test.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"
#include "viewer/image_window.h"

namespace ravinel::testing {

inline std::string numberedName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%03d.jpg", i);
    return name;
}

// A hub for the whole test program and a fresh folder per test; browser windows opened
// on that folder the way the hub opens them. Thumbnails are made in the idle steps
// themselves, one file a step, unless a test asks for workers.
class BrowserTest : public SharedHubTest {
  protected:
    void SetUp() override {
        SharedHubTest::SetUp();
        hub().settings().lastDir = folder();
        threadsBefore_ = processThreads();
        setProcessThreads(1);
    }

    void TearDown() override {
        deleteBrowserAndImageWindows();
        setProcessThreads(threadsBefore_);
    }

    std::string folder() const { return folder_.path(""); }

    void writeJpegs(int count, int width = 16, int height = 12) const {
        const std::vector<uint8_t> jpeg =
            fixtures::encodeJpeg(fixtures::gradientPicture(width, height));
        for (int i = 0; i < count; ++i) {
            folder_.write(numberedName(i), jpeg);
        }
    }
    void writeBytes(const std::string& name, size_t size) const {
        folder_.write(name, std::vector<uint8_t>(size, 'x'));
    }

    // A browser the way the hub's openBrowser makes it, shown.
    BrowserWindow* openBrowser() {
        hub().setBrowserShowing(true);
        auto* browser = new BrowserWindow(hub());
        browser->show();
        return browser;
    }

    static QString panel(const BrowserWindow* browser, int k) {
        return browser->statusBar().text(k);
    }
    static const DirFilesInfo& sharedList() { return hub().dirFilesInfo(); }
    static std::vector<std::string> listedNames() {
        std::vector<std::string> names;
        for (int i = 0; i < sharedList().count(); ++i) {
            names.push_back(sharedList().item(i).name);
        }
        return names;
    }
    TempDir folder_;
    unsigned threadsBefore_ = 1;
};

}  // namespace ravinel::testing
