#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QLocalSocket>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

#include "tests/app/shell/event_wait.h"
#include "tests/app/temp_folder.h"

namespace ravinel {
namespace {

using Lines = std::vector<std::string>;

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

}  // namespace
}  // namespace ravinel
