#pragma once

#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>

#include "dialogs/options_window.h"
#include "tests/ui/shared_hub_test.h"

namespace ravinel::testing {

// An options window made over the shared hub's settings, never run modally: the tests
// drive its controls directly and close it as its button would.
class OptionsTest : public SharedHubTest {
  protected:
    OptionsWindow& openOptions() {
        options_ = std::make_unique<OptionsWindow>(hub());
        return *options_;
    }

    template <typename Control>
    Control* control(const char* name) {
        auto* found = options_->findChild<Control*>(name);
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return found;
    }

    ThumbPanel& hubLook() { return hub().settings().thumbPanel; }

  private:
    std::unique_ptr<OptionsWindow> options_;
};

}  // namespace ravinel::testing
