#include "common/ui_language.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/scoped_env.h"

namespace ravinel {
namespace {

using testing::ScopedEnv;

TEST(UiLanguage, EnvironmentThenSettingThenLocaleDecide) {
    struct Case {
        std::optional<std::string> env;
        std::string setting;
        QLocale::Language locale;
        UiLanguage expected;
    };
    const UiLanguage ja = UiLanguage::japanese;
    const UiLanguage en = UiLanguage::english;
    const Case cases[] = {
        {std::nullopt, "", QLocale::Japanese, ja},
        {std::nullopt, "", QLocale::German, en},
        {std::nullopt, "", QLocale::C, en},
        {std::nullopt, "en", QLocale::Japanese, en},
        {std::nullopt, "ja", QLocale::English, ja},
        {std::nullopt, "fr", QLocale::Japanese, ja},  // unknown: the locale decides
        {"en", "ja", QLocale::Japanese, en},
        {"ja", "en", QLocale::English, ja},
        {"ja_JP.UTF-8", "", QLocale::English, ja},
        {"", "en", QLocale::Japanese, en},  // empty or unknown: the setting decides
        {"xx", "", QLocale::Japanese, ja},
    };
    for (const Case& c : cases) {
        const ScopedEnv env("RAVINEL_LANG", c.env);
        EXPECT_EQ(chooseUiLanguage(c.setting, QLocale(c.locale)), c.expected)
            << c.env.value_or("(unset)") << " / " << c.setting << " / " << c.locale;
    }
}

}  // namespace
}  // namespace ravinel
