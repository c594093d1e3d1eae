#include "browse/user_locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace ravinel {
namespace {

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
  public:
    LocaleEnvironment() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(name);
        }
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
    }

  private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_TIME", "LC_COLLATE", "LANG"};
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(UserLocale, PrecedenceAndCleanup) {
    LocaleEnvironment environment;
    EXPECT_EQ(userLocaleId("LC_TIME"), "");
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(userLocaleId("LC_TIME"), "de_DE");
    setenv("LC_TIME", "fi_FI@euro", 1);
    EXPECT_EQ(userLocaleId("LC_TIME"), "fi_FI");
    EXPECT_EQ(userLocaleId("LC_COLLATE"), "de_DE");
    setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(userLocaleId("LC_TIME"), "");
    setenv("LC_ALL", "POSIX", 1);
    EXPECT_EQ(userLocaleId("LC_COLLATE"), "");
}

}  // namespace
}  // namespace ravinel
