#pragma once

#include <gtest/gtest.h>

#include <string>

namespace ravinel::testing {

// Runs action and checks that it throws Error with exactly the message.
template <typename Error, typename Action>
void expectError(Action&& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "expected an exception with message: " << message;
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

}  // namespace ravinel::testing
