#include "settings/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/scoped_env.h"
#include "tests/temp_folder.h"

namespace ravinel {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

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

// A folder that others can write could hold a planted link in place of the settings file.
TEST(SettingsLocation, ConfigFolderWhenOthersCanWriteTheProgramFolder) {
    TempFolder folder;
    const ScopedEnv ini("RAVINEL_INI", std::nullopt);
    const ScopedEnv config("XDG_CONFIG_HOME", folder.file("config"));
    const std::string program = folder.file("program");
    struct Case {
        const char* what;
        mode_t mode;
        uid_t owner;
        gid_t group;
    };
    const uid_t user = geteuid();
    const gid_t userGroup = getegid();
    constexpr uid_t nobody = 65534;
    for (const Case& c : {Case{"writable by others", 0707, user, userGroup},
                          Case{"sticky, writable by all", 01777, user, userGroup},
                          Case{"writable by a shared group", 0770, user, nobody},
                          Case{"another user's", 0755, nobody, userGroup}}) {
        if ((c.owner != user || c.group != userGroup) && user != 0) {
            continue;  // only root can give a folder away
        }
        std::filesystem::create_directory(program);
        ASSERT_EQ(::chown(program.c_str(), c.owner, c.group), 0) << c.what;
        ASSERT_EQ(::chmod(program.c_str(), c.mode), 0) << c.what;
        EXPECT_EQ(settingsFilePath(program + "/ravinel"), folder.file("config/ravinel/ravinel.ini"))
            << c.what;
        std::filesystem::remove(program);
    }
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
