#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace ravinel {

namespace {

constexpr char kLockName[] = "Ravinel.lock";
constexpr char kServerName[] = "Ravinel.RVDDEServer";
// How long a second start waits to connect to or write to the running instance.
constexpr timeval kClientTimeout{1, 0};
// A client that neither finishes nor goes away is dropped after this long.
constexpr int idleConnectionMs = 10000;

std::string inInstanceFolder(const char* name) {
    const std::string folder = instanceFolder().path;
    return folder.empty() ? std::string() : folder + "/" + name;
}

// Whether the process at the other end of a local socket runs as this user: a socket in
// a folder of the user's alone has no other peers, unless that folder was not.
bool peerIsThisUser(int socket) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

// A local socket descriptor, closed when it goes.
class SocketFd {
  public:
    SocketFd() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~SocketFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    SocketFd(const SocketFd&) = delete;
    SocketFd& operator=(const SocketFd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Connects to the hand-off server at name, run by this user; no toolkit, no event loop.
bool connectToServer(const SocketFd& socket, const std::string& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socket.get() < 0 || name.empty() || name.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    // Bounds both the connection to a server whose queue is full and each write.
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &kClientTimeout, sizeof(kClientTimeout));
    return ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
               0 &&
           peerIsThisUser(socket.get());
}

std::vector<std::string> splitMacroLines(const QByteArray& text) {
    std::vector<std::string> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            end = text.size();
        }
        qsizetype lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        lines.emplace_back(text.constData() + start, static_cast<size_t>(lineEnd - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

RuntimeFolder instanceFolder() {
    return findRuntimeFolder(kServerName);
}

QString instanceLockPath() {
    return QString::fromStdString(inInstanceFolder(kLockName));
}

QString handoffServerName() {
    return QString::fromStdString(inInstanceFolder(kServerName));
}

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock() {
    if (isHeld()) {
        return true;
    }
    const QString path = instanceLockPath();
    if (path.isEmpty()) {
        return true;
    }
    lock_ = std::make_unique<QLockFile>(path);
    // Held for the whole run, so age never makes it stale; a dead owner does.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        return true;
    }
    const bool heldByOther = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return !heldByOther;
}

bool InstanceLock::isHeld() const {
    return lock_ != nullptr && lock_->isLocked();
}

bool handOffPath(const std::string& path) {
    const SocketFd socket;
    if (!connectToServer(socket, inInstanceFolder(kServerName))) {
        return false;
    }
    // The path and its closing zero byte; the server takes the connection's end as well.
    std::string message = path;
    message.push_back('\0');
    size_t sent = 0;
    while (sent < message.size()) {
        const ssize_t written =
            ::send(socket.get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        sent += static_cast<size_t>(written);
    }
    return true;
}

HandoffServer::HandoffServer(QObject* parent)
    : QObject(parent), server_(std::make_unique<QLocalServer>()) {
    // No socket options: with them Qt renames its socket into place, silently replacing a
    // live server's; plain binding fails instead. The runtime folder is the user's alone.
    connect(server_.get(), &QLocalServer::newConnection, this, &HandoffServer::acceptConnections);
}

HandoffServer::~HandoffServer() = default;

bool HandoffServer::listen() {
    const QString name = handoffServerName();
    if (name.isEmpty()) {
        return false;
    }
    if (server_->listen(name)) {
        return true;
    }
    if (server_->serverError() != QAbstractSocket::AddressInUseError) {
        return false;
    }
    // The socket file is there: it is stale unless a server still answers on it.
    if (const SocketFd probe; connectToServer(probe, name.toStdString())) {
        return false;
    }
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void HandoffServer::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Ours, so that going away disconnects them before they are closed: a closing
        // socket must not deliver to a half-destroyed server.
        socket->setParent(this);
        if (!peerIsThisUser(static_cast<int>(socket->socketDescriptor()))) {
            // Another user's process must not open windows of ours.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // One byte past the limit is enough to tell an oversized message.
        socket->setReadBufferSize(maxMessageBytes + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { readRestOf(socket); });
        QTimer::singleShot(idleConnectionMs, socket, [this, socket] {
            if (socket->isOpen()) {
                finish(socket, {});
            }
        });
        // Data may have come with the connection itself.
        readFrom(socket);
    }
}

void HandoffServer::readFrom(QLocalSocket* socket) {
    const QByteArray received = socket->peek(socket->bytesAvailable());
    const qsizetype end = received.indexOf('\0');
    if (end >= 0) {
        finish(socket, end <= maxMessageBytes ? received.left(end) : QByteArray());
    } else if (received.size() > maxMessageBytes) {
        finish(socket, {});
    } else if (socket->state() == QLocalSocket::UnconnectedState) {
        finish(socket, received);
    }
}

void HandoffServer::readRestOf(QLocalSocket* socket) {
    if (socket->isOpen()) {
        // A client that went away without the closing zero byte still sent its message.
        const QByteArray received = socket->readAll();
        const qsizetype end = received.indexOf('\0');
        const QByteArray message = end >= 0 ? received.left(end) : received;
        finish(socket, message.size() <= maxMessageBytes ? message : QByteArray());
    }
}

void HandoffServer::finish(QLocalSocket* socket, const QByteArray& message) {
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
    // Called last: the handler may open windows and run a nested event loop.
    if (!message.isEmpty() && onExecuteMacro) {
        onExecuteMacro(splitMacroLines(message));
    }
}

}  // namespace ravinel
