#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/atomic_file_write.h"
#include "settings/settings.h"
#include "tests/temp_folder.h"

namespace ravinel {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

namespace fs = std::filesystem;

// Settings that differ from the defaults in every section, so that each save writes a
// file of its own.
Settings changedSettings(int variant) {
    Settings s;
    s.thumbForm.treeWidth = 200 + variant;
    s.thumbConf.vixHomeDir = "/home/user/catalogs/" + std::string(variant * 40, 'x');
    s.viewForm.sizeRate = 1.5 + variant;
    s.selectPage = variant;
    s.lastDir = "/home/user/ピクチャ/" + std::to_string(variant) + "/";
    return s;
}

// The text saveSettings writes for the settings, from a save into a folder of its own.
std::string savedText(Settings s) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    saveSettings(s, path);
    return readText(path);
}

std::vector<std::string> filesIn(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

int exitCodeOf(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a child's save ended with: 0 saved, 1 refused with FileWriteError, 2 another error.
int saveInChildWithFileSizeLimit(const Settings& settings, const std::string& path, rlim_t limit) {
    const pid_t child = fork();
    if (child == 0) {
        // The write then stops at the limit with EFBIG, as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit bytes{limit, limit};
        setrlimit(RLIMIT_FSIZE, &bytes);
        Settings copy = settings;
        try {
            saveSettings(copy, path);
            _exit(0);
        } catch (const FileWriteError&) {
            _exit(1);
        } catch (...) {
            _exit(2);
        }
    }
    return exitCodeOf(child);
}

TEST(SettingsDurability, WriteStoppedAtAnyByteKeepsTheOldFileAndSaysSo) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    const std::string old = savedText(changedSettings(1));
    const Settings next = changedSettings(2);
    const std::string expected = savedText(next);
    writeText(path, old);

    for (rlim_t limit = 0; limit <= expected.size(); ++limit) {
        const int result = saveInChildWithFileSizeLimit(next, path, limit);
        if (limit < expected.size()) {
            ASSERT_EQ(result, 1) << "stopped after " << limit << " bytes";
            ASSERT_EQ(readText(path), old) << "stopped after " << limit << " bytes";
        } else {
            ASSERT_EQ(result, 0);
            EXPECT_EQ(readText(path), expected);
        }
        ASSERT_EQ(filesIn(folder).size(), 1u) << "a temporary file is left";
    }
}

TEST(SettingsDurability, KillDuringSavesLeavesAWholeOldOrNewFile) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    const std::string old = savedText(changedSettings(0));
    const std::set<std::string> whole = {old, savedText(changedSettings(1)),
                                         savedText(changedSettings(2))};
    writeText(path, old);

    std::mt19937 random(11);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    std::set<std::string> seen;
    const int rounds = 40;
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            for (int variant = 1;; variant = 3 - variant) {
                Settings s = changedSettings(variant);
                saveSettings(s, path);
            }
        }
        // The first kill comes before any save can finish and the last after one has, so
        // that the kills meet both an old and a new file however loaded the machine is.
        if (round == rounds - 1) {
            for (int wait = 0; wait < 1000 && readText(path) == old; ++wait) {
                usleep(10000);
            }
        }
        usleep(round == 0 ? 0 : microseconds(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string text = readText(path);
        ASSERT_EQ(whole.count(text), 1u) << "round " << round << " left:\n" << text;
        seen.insert(text);
    }
    EXPECT_GE(seen.size(), 2u) << "the kills never met a finished save";

    // The temporaries killed writers left are cleared by the next save once they are old.
    for (const std::string& name : filesIn(folder)) {
        fs::last_write_time(folder.path() / name,
                            fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    Settings last = changedSettings(3);
    saveSettings(last, path);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"ravinel.ini"});
    EXPECT_EQ(loadSettings(path), last);
}

// A process that has ended, for its id.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

TEST(SettingsDurability, OnlyOldTemporariesOfEndedWritersAreRemoved) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::string ended = std::to_string(endedProcess());
    const std::string live = std::to_string(getpid());
    const std::vector<std::string> kept = {
        ".ravinel.ini.tmp-" + live + "-7",   // a writer that still runs
        ".ravinel.ini.tmp-" + ended + "-8",  // just written: maybe another machine's
        ".ravinel.ini.tmp-x-1",              // not a name of ours
        ".other.ini.tmp-" + ended + "-0",    // another file's
        ".ravinel.ini.tmp-" + ended,         // no counter
    };
    for (const std::string& name : kept) {
        writeText(folder.file(name), "kept");
        if (name != kept[1]) {
            fs::last_write_time(folder.file(name), longAgo);
        }
    }
    const std::string stale = ".ravinel.ini.tmp-" + ended + "-3";
    writeText(folder.file(stale), "[ThumbForm]\nMaxim");
    fs::last_write_time(folder.file(stale), longAgo);

    Settings s;
    saveSettings(s, path);
    EXPECT_FALSE(fs::exists(folder.file(stale)));
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(folder.file(name))) << name;
    }
}

}  // namespace
}  // namespace ravinel
