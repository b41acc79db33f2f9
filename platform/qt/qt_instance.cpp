#include "platform/qt/qt_instance.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMetaObject>
#include <QPointer>

namespace vaelo::platform::qt {
namespace {

// What a later start says, and what the first one answers.
constexpr char kHello[] = "vaelo second start\n";
constexpr char kAnswer[] = "ok\n";

// Keeps a name to letters, digits and a few marks: the name becomes a file name.
std::string FileSafe(const std::string& name) {
    std::string out;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        out += plain ? c : '_';
    }
    return out.empty() ? std::string("vaelo") : out;
}

// Tells a running first instance of this start. True when one answered the connection.
bool TellFirst(const QString& path, int connectTimeoutMs, int answerTimeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(connectTimeoutMs)) return false;
    // Only a reader of this user counts: in a shared temporary folder another user could
    // listen on the name to keep this one from starting.
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                   &size) != 0 ||
        peer.uid != getuid())
        return false;
    socket.write(kHello);
    socket.waitForBytesWritten(answerTimeoutMs);
    // The answer only tells this start that the message was read; a first instance that is busy
    // still reads it later from the socket, so a missing answer changes nothing.
    if (socket.bytesAvailable() == 0) socket.waitForReadyRead(answerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

}  // namespace

QtInstance::QtInstance() = default;

QtInstance::~QtInstance() {
    if (server_) server_->close();  // removes the socket file
}

std::string QtInstance::SocketPath(const std::string& name) {
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QFileInfo(dir).isDir() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    const std::string file =
        FileSafe(name) + "-" + std::to_string(static_cast<unsigned long>(getuid()));
    return (QDir(dir).absolutePath() + "/" + QString::fromStdString(file)).toStdString();
}

bool QtInstance::Claim(const std::string& name, void (*onSecondStart)()) {
    const QString path = QString::fromStdString(SocketPath(name));
    // Starts that race for the name take turns; a lock left by a dead process is broken by
    // QLockFile itself, and a lock that cannot be had at all does not stop this start.
    QLockFile lock(path + ".lock");
    lock.tryLock(3000);

    if (TellFirst(path, connectTimeoutMs, answerTimeoutMs)) return false;

    // Nobody answers: whatever file holds the name was left by a reader that ended without
    // closing its socket.
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        // The name cannot be taken here (no such folder, no room): run without the lock rather
        // than refuse to start.
        return true;
    }
    onSecondStart_ = onSecondStart;
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [this, raw] {
        while (QLocalSocket* socket = raw->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, raw, socket] {
                if (!socket->canReadLine()) {
                    // A caller that never ends its line is not a reader; do not let it grow.
                    if (socket->bytesAvailable() > 64) socket->abort();
                    return;
                }
                const QByteArray line = socket->readLine(64);
                if (line != kHello) {
                    socket->abort();
                    return;
                }
                socket->write(kAnswer);
                socket->flush();
                // After the answer is on its way: the handling may run a modal dialog.
                void (*callback)() = onSecondStart_;
                if (callback)
                    QMetaObject::invokeMethod(
                        raw, [callback] { callback(); }, Qt::QueuedConnection);
            });
        }
    });
    server_ = std::move(server);
    return true;
}

}  // namespace vaelo::platform::qt
