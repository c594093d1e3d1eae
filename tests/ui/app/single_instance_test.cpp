#include "app/single_instance.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QLocalSocket>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "tests/scoped_env.h"
#include "tests/temp_folder.h"
#include "tests/ui/app/event_wait.h"

namespace ravinel {
namespace {

using Lines = std::vector<std::string>;
using testing::ScopedEnv;

constexpr uid_t nobody = 65534;

// Each test gets its own runtime folder (mode 0700, as the desktop makes it).
class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_RUNTIME_DIR");
        hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime_.path().string()));
        server_.onExecuteMacro = [this](const Lines& lines) { received_.push_back(lines); };
    }
    void TearDown() override {
        if (hadRuntime_) {
            qputenv("XDG_RUNTIME_DIR", saved_);
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }

    // Sends raw bytes as a client that does not follow the rules would.
    static void sendRaw(const QByteArray& bytes) {
        QLocalSocket client;
        client.connectToServer(handoffServerName());
        ASSERT_TRUE(client.waitForConnected(5000));
        client.write(bytes);
        while (client.bytesToWrite() > 0 && client.waitForBytesWritten(5000)) {
        }
        client.disconnectFromServer();
    }

    bool waitForMessages(size_t count) {
        return testing::processEventsUntil([&] { return received_.size() >= count; });
    }

    testing::TempFolder runtime_;
    QByteArray saved_;
    bool hadRuntime_ = false;
    HandoffServer server_;
    std::vector<Lines> received_;
};

TEST_F(SingleInstanceTest, OnlyOneHolderOfTheLockUntilItGoes) {
    auto first = std::make_optional<InstanceLock>();
    ASSERT_TRUE(first->tryLock());
    EXPECT_TRUE(first->isHeld());

    InstanceLock second;
    EXPECT_FALSE(second.tryLock());
    EXPECT_FALSE(second.isHeld());

    first.reset();
    EXPECT_TRUE(second.tryLock());
}

TEST_F(SingleInstanceTest, LockOfACrashedInstanceDoesNotBlock) {
    // A real lock file, then its owner replaced by a process that has ended.
    QByteArray content;
    {
        InstanceLock crashed;
        ASSERT_TRUE(crashed.tryLock());
        QFile file(instanceLockPath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    }
    const pid_t dead = fork();
    ASSERT_GE(dead, 0);
    if (dead == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    content = QByteArray::number(dead) + content.mid(content.indexOf('\n'));
    {
        QFile file(instanceLockPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    InstanceLock next;
    EXPECT_TRUE(next.tryLock());
    InstanceLock another;
    EXPECT_FALSE(another.tryLock());
}

TEST_F(SingleInstanceTest, HandedOverPathsArriveAsMessages) {
    ASSERT_TRUE(server_.listen());
    EXPECT_TRUE(handOffPath("/home/user/pictures/a b.jpg"));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_[0], Lines{"/home/user/pictures/a b.jpg"});

    // Two more, one connection each; their order is the system's.
    EXPECT_TRUE(handOffPath("/tmp/one.png"));
    EXPECT_TRUE(handOffPath("/tmp/\xe5\x86\x99\xe7\x9c\x9f.bmp"));
    ASSERT_TRUE(waitForMessages(3));
    std::vector<Lines> later(received_.begin() + 1, received_.end());
    std::sort(later.begin(), later.end());
    EXPECT_EQ(later, (std::vector<Lines>{{"/tmp/one.png"}, {"/tmp/\xe5\x86\x99\xe7\x9c\x9f.bmp"}}));
}

TEST_F(SingleInstanceTest, HandoffNeedsNoEventLoop) {
    // A second instance hands over before it has an application object or event loop.
    ASSERT_TRUE(server_.listen());
    bool linked = false;
    std::thread second([&] { linked = handOffPath("/tmp/from another thread.gif"); });
    ASSERT_TRUE(waitForMessages(1));
    second.join();
    EXPECT_TRUE(linked);
    EXPECT_EQ(received_[0], Lines{"/tmp/from another thread.gif"});
}

TEST_F(SingleInstanceTest, MessageIsSplitIntoLinesAndKeptByteForByte) {
    ASSERT_TRUE(server_.listen());
    // A file name that is not UTF-8 is still a valid Linux path and must survive as is.
    sendRaw(QByteArray("/tmp/caf\xe9.jpg\r\nsecond line\n\0ignored after the end", 44));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_[0], (Lines{"/tmp/caf\xe9.jpg", "second line"}));
}

TEST_F(SingleInstanceTest, BadClientsDoNotStopTheServer) {
    ASSERT_TRUE(server_.listen());
    sendRaw(QByteArray());         // nothing at all
    sendRaw(QByteArray(1, '\0'));  // an empty message
    sendRaw(QByteArray(HandoffServer::maxMessageBytes + 1, 'x') + QByteArray(1, '\0'));
    sendRaw(QByteArray(2 * HandoffServer::maxMessageBytes, 'y'));  // huge, never ended
    sendRaw(QByteArray("/tmp/broken off"));                        // ends without its zero byte
    EXPECT_TRUE(handOffPath("/tmp/after.jpg"));

    ASSERT_TRUE(waitForMessages(2));
    testing::processEventsFor(100);
    std::sort(received_.begin(), received_.end());
    EXPECT_EQ(received_, (std::vector<Lines>{{"/tmp/after.jpg"}, {"/tmp/broken off"}}));
}

TEST_F(SingleInstanceTest, ServerGoingAwayDeliversNoHalfMessage) {
    auto server = std::make_unique<HandoffServer>();
    server->onExecuteMacro = [this](const Lines& lines) { received_.push_back(lines); };
    ASSERT_TRUE(server->listen());
    QLocalSocket client;
    client.connectToServer(handoffServerName());
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write("/tmp/half");
    ASSERT_TRUE(client.waitForBytesWritten(5000));
    testing::processEventsFor(50);

    server.reset();
    testing::processEventsFor(50);
    EXPECT_TRUE(received_.empty());
}

TEST_F(SingleInstanceTest, LongestAllowedMessageArrives) {
    ASSERT_TRUE(server_.listen());
    const std::string longest(HandoffServer::maxMessageBytes, 'p');
    EXPECT_TRUE(handOffPath(longest));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_[0], Lines{longest});
}

TEST_F(SingleInstanceTest, NoRunningInstanceMeansNoHandoff) {
    EXPECT_FALSE(handOffPath("/tmp/a.jpg"));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedInstanceIsReplaced) {
    // A bound socket file with nobody listening, as a killed instance leaves it.
    const std::string name = handoffServerName().toStdString();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(name.size(), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    EXPECT_FALSE(handOffPath("/tmp/lost.jpg"));

    ASSERT_TRUE(server_.listen());
    EXPECT_TRUE(handOffPath("/tmp/found.jpg"));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_[0], Lines{"/tmp/found.jpg"});
}

TEST_F(SingleInstanceTest, LiveServerIsNotTakenOver) {
    ASSERT_TRUE(server_.listen());
    HandoffServer intruder;
    std::vector<Lines> stolen;
    intruder.onExecuteMacro = [&](const Lines& lines) { stolen.push_back(lines); };
    EXPECT_FALSE(intruder.listen());

    EXPECT_TRUE(handOffPath("/tmp/mine.jpg"));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_[0], Lines{"/tmp/mine.jpg"});
    EXPECT_TRUE(stolen.empty());
}

TEST_F(SingleInstanceTest, OtherUsersAreNotHeard) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can act as another user";
    }
    ASSERT_TRUE(server_.listen());
    // The private folder keeps other users away; this one gets past it through a
    // descriptor, as if the folder had failed, and reaches a socket open to all.
    const std::string name = handoffServerName().toStdString();
    ASSERT_EQ(::chmod(name.c_str(), 0777), 0);
    const int socketFile = ::open(name.c_str(), O_PATH | O_CLOEXEC);
    ASSERT_GE(socketFile, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "/proc/self/fd/%d", socketFile);
    const char message[] = "/tmp/stolen.jpg";
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            _exit(2);
        }
        ::prctl(PR_SET_DUMPABLE, 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            _exit(3);
        }
        _exit(::send(fd, message, sizeof(message), MSG_NOSIGNAL) == sizeof(message) ? 0 : 4);
    }
    ::close(socketFile);
    int status = -1;
    ASSERT_TRUE(
        testing::processEventsUntil([&] { return ::waitpid(other, &status, WNOHANG) == other; }));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the other user's process did not get its message out";
    testing::processEventsFor(100);
    EXPECT_TRUE(received_.empty());

    EXPECT_TRUE(handOffPath("/tmp/mine.jpg"));
    ASSERT_TRUE(waitForMessages(1));
    EXPECT_EQ(received_, std::vector<Lines>{{"/tmp/mine.jpg"}});
}

// The lock and the socket go only into a folder of the user's alone. A folder that is
// open to others, another user's, or a link is never used, nor repaired: whoever made it
// may already listen or hold a lock there. Without a safe folder there is no lock or
// socket at all, and the program runs alone.
TEST(InstanceFolderTest, OnlyAFolderOfTheUsersAloneIsUsed) {
    testing::TempFolder temporary;
    const std::string base = temporary.path().string();
    const std::string runtime = base + "/run";
    const std::string state = base + "/state";
    const std::string own = state + "/ravinel";
    const ScopedEnv tmp("TMPDIR", base);  // any fallback to the temporary folder lands here
    const ScopedEnv home("HOME", base + "/home");
    const ScopedEnv stateHome("XDG_STATE_HOME", state);
    const uid_t user = geteuid();
    auto folder = [](const std::string& path, mode_t mode, uid_t owner) {
        std::filesystem::create_directories(path);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(::chown(path.c_str(), owner, static_cast<gid_t>(-1)), 0);
    };
    auto linkedFolder = [&](const std::string& path) {
        folder(base + "/real", 0700, user);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::create_directory_symlink(base + "/real", path);
    };
    if (user == 0) {
        // Where a fallback to the temporary folder would go, made by another user for all.
        for (const char* planted : {"/runtime-root", "/ravinel-0"}) {
            folder(base + planted, 0777, nobody);
        }
    }
    const std::string longRuntime = base + "/" + std::string(100, 'r');
    struct Case {
        const char* what;
        std::optional<std::string> runtimeFolder;  // $XDG_RUNTIME_DIR
        std::function<void()> prepare;
        std::string used;  // empty: none
        bool needsRoot = false;
    };
    const std::vector<Case> cases = {
        {"a private runtime folder", runtime, [&] { folder(runtime, 0700, user); }, runtime},
        {"a runtime folder open to others", runtime, [&] { folder(runtime, 0777, user); }, own},
        {"another user's runtime folder", runtime, [&] { folder(runtime, 0700, nobody); }, own,
         true},
        {"a link as runtime folder", runtime, [&] { linkedFolder(runtime); }, own},
        {"a runtime folder too long for a socket", longRuntime,
         [&] { folder(longRuntime, 0700, user); }, own},
        {"no runtime folder", std::nullopt, [] {}, own},
        {"a state folder open to others", std::nullopt, [&] { folder(own, 0777, user); }, ""},
        {"another user's state folder", std::nullopt, [&] { folder(own, 0700, nobody); }, "", true},
        {"a link as state folder", std::nullopt, [&] { linkedFolder(own); }, ""},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && user != 0) {
            continue;  // only root can give a folder away
        }
        for (const std::string& made : {runtime, longRuntime, state, base + "/real"}) {
            std::filesystem::remove_all(made);
        }
        c.prepare();
        const ScopedEnv runtimeDir("XDG_RUNTIME_DIR", c.runtimeFolder);
        struct stat before {};
        const bool ownExisted = ::lstat(own.c_str(), &before) == 0;

        InstanceLock lock;
        EXPECT_TRUE(lock.tryLock()) << c.what;
        if (c.used.empty()) {
            EXPECT_TRUE(instanceLockPath().isEmpty()) << c.what;
            EXPECT_TRUE(handoffServerName().isEmpty()) << c.what;
            EXPECT_FALSE(lock.isHeld()) << c.what;
            EXPECT_FALSE(instanceFolder().problem.empty()) << c.what;
        } else {
            EXPECT_EQ(instanceLockPath().toStdString(), c.used + "/Ravinel.lock") << c.what;
            EXPECT_EQ(handoffServerName().toStdString(), c.used + "/Ravinel.RVDDEServer") << c.what;
            EXPECT_TRUE(lock.isHeld()) << c.what;
        }
        struct stat after {};
        if (ownExisted) {
            ASSERT_EQ(::lstat(own.c_str(), &after), 0) << c.what;
            EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
            EXPECT_EQ(after.st_uid, before.st_uid) << c.what;
        } else if (c.used == own) {
            ASSERT_EQ(::lstat(own.c_str(), &after), 0) << c.what;
            EXPECT_EQ(after.st_mode & 07777, 0700u) << c.what;
        }
    }
}

}  // namespace
}  // namespace ravinel
