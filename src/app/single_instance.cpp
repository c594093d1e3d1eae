#include "app/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

namespace ravinel {

namespace {

constexpr int connectTimeoutMs = 1000;
// A client that neither finishes nor goes away is dropped after this long.
constexpr int idleConnectionMs = 10000;

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        // No runtime folder: a per-user name in the temporary folder still keeps users apart.
        folder = QDir::tempPath() + QStringLiteral("/ravinel-%1").arg(getuid());
        if (QDir().mkpath(folder)) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    return folder;
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

QString instanceLockPath() {
    return runtimeFolder() + QStringLiteral("/Ravinel.lock");
}

QString handoffServerName() {
    return runtimeFolder() + QStringLiteral("/Ravinel.RVDDEServer");
}

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock() {
    if (isHeld()) {
        return true;
    }
    lock_ = std::make_unique<QLockFile>(instanceLockPath());
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
    QLocalSocket socket;
    socket.connectToServer(handoffServerName());
    if (!socket.waitForConnected(connectTimeoutMs)) {
        return false;
    }
    QByteArray message(path.data(), static_cast<qsizetype>(path.size()));
    message.append('\0');
    socket.write(message);
    socket.flush();
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(connectTimeoutMs)) {
    }
    socket.disconnectFromServer();
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
    if (server_->listen(name)) {
        return true;
    }
    if (server_->serverError() != QAbstractSocket::AddressInUseError) {
        return false;
    }
    // The socket file is there: it is stale unless a server still answers on it.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(connectTimeoutMs)) {
        probe.abort();
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
