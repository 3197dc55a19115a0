#include "ui/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>

namespace varnex::ui {

namespace {
const QByteArray kActivate = "activate\n";
const QByteArray kRaised = "raised\n";
const QByteArray kNoWindow = "nowindow\n";
}  // namespace

SingleInstance::SingleInstance(const QString& marker, QObject* parent) : QObject(parent) {
    QString name = marker + QLatin1Char('-') + QString::number(::getuid());
    serverName_ = name;
    lockPath_ = QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock"));
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

SingleInstance::Outcome SingleInstance::acquire() {
    {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(1000)) {
            socket.write(kActivate);
            socket.flush();
            QByteArray reply;
            while (!reply.endsWith('\n') && socket.waitForReadyRead(3000)) reply += socket.readAll();
            return reply == kRaised ? Outcome::Activated : Outcome::AlreadyRunning;
        }
    }
    lock_ = std::make_unique<QLockFile>(lockPath_);
    if (!lock_->tryLock(200)) {
        lock_.reset();
        return Outcome::AlreadyRunning;
    }
    // The lock is ours, so a socket left behind by a copy that crashed can go.
    QLocalServer::removeServer(serverName_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(serverName_);
    return Outcome::First;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) return;
            QByteArray request = socket->readLine();
            bool raised = request == kActivate && handler_ && handler_();
            socket->write(raised ? kRaised : kNoWindow);
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

}  // namespace varnex::ui
