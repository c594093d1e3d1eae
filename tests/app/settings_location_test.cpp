#include "app/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/app/temp_folder.h"

namespace ravinel {
namespace {

using testing::TempFolder;

// Sets or unsets an environment variable for one test and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        apply(value);
    }
    ~ScopedEnv() { apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsLocation, EnvironmentOverrideComesFirst) {
    TempFolder folder;
    const ScopedEnv ini("RAVINEL_INI", "/somewhere/test.ini");
    EXPECT_EQ(settingsFilePath(folder.file("ravinel")), "/somewhere/test.ini");
}

TEST(SettingsLocation, BesideAWritableExecutable) {
    TempFolder folder;
    const ScopedEnv ini("RAVINEL_INI", "");  // empty counts as unset
    EXPECT_EQ(settingsFilePath(folder.file("ravinel")), folder.file("ravinel.ini"));
}

TEST(SettingsLocation, ConfigFolderWhenTheProgramFolderIsNotWritable) {
    TempFolder folder;
    const ScopedEnv ini("RAVINEL_INI", std::nullopt);
    const std::string executable = folder.file("no-such-folder/ravinel");

    const ScopedEnv config("XDG_CONFIG_HOME", folder.file("config"));
    EXPECT_EQ(settingsFilePath(executable), folder.file("config/ravinel/ravinel.ini"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("config/ravinel")));

    const ScopedEnv home("HOME", folder.path().string());
    for (const std::optional<std::string>& ignored :
         {std::optional<std::string>(), std::optional<std::string>("relative")}) {
        const ScopedEnv unset("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(settingsFilePath(executable), folder.file(".config/ravinel/ravinel.ini"));
    }
}

}  // namespace
}  // namespace ravinel
