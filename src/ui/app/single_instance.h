#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime_folder.h"

class QLockFile;
class QLocalServer;
class QLocalSocket;

namespace ravinel {

// The folder of the lock and the hand-off socket (see findRuntimeFolder).
RuntimeFolder instanceFolder();
// The lock and the hand-off socket in it; empty when there is no safe folder.
QString instanceLockPath();
QString handoffServerName();

// The mark of the running instance: a lock file in the user's runtime folder, held until
// the process ends. A lock left behind by a crashed instance does not block a new start.
class InstanceLock {
  public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False only when another live instance holds the lock. When no lock can be made at
    // all (no safe runtime folder), the program still runs, alone or not, rather than never.
    bool tryLock();
    // Whether this process holds the lock.
    bool isHeld() const;

  private:
    std::unique_ptr<QLockFile> lock_;
};

// Sent by a second instance: hands the path to the running one and does not wait for it to
// be handled. Returns whether the running instance, run by this user, took the whole
// message. Needs neither the toolkit's application object nor a display.
bool handOffPath(const std::string& path);

// The running instance's end of the hand-off: each message (the text up to a zero byte or
// the end of the connection) from a process of this user reaches onExecuteMacro as lines;
// other users' connections are dropped unread.
class HandoffServer : public QObject {
    Q_OBJECT

  public:
    // Longer messages are dropped with their connection: a path is far shorter.
    static constexpr qsizetype maxMessageBytes = 64 * 1024;

    explicit HandoffServer(QObject* parent = nullptr);
    ~HandoffServer() override;

    // Starts listening. A socket left by a crashed instance is removed first; one that a
    // live server answers on is left alone and listen() fails, as it does without a safe
    // runtime folder.
    bool listen();

    std::function<void(const std::vector<std::string>& lines)> onExecuteMacro;

  private:
    void acceptConnections();
    void readFrom(QLocalSocket* socket);
    void readRestOf(QLocalSocket* socket);
    void finish(QLocalSocket* socket, const QByteArray& message);

    std::unique_ptr<QLocalServer> server_;
};

}  // namespace ravinel
