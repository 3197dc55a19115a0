#include "ui/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QUrl>

namespace varnex::ui {

namespace {
// A request is one line: "activate", or "open " and the file's UTF-8 path in base64 (a path may
// hold any byte but NUL, line breaks included).
const QByteArray kActivate = "activate\n";
const QByteArray kOpen = "open ";
const QByteArray kRaised = "raised\n";
const QByteArray kNoWindow = "nowindow\n";
/// Longest request a running copy reads: a path of 64 KiB in base64 and the command.
constexpr qint64 kMaxRequest = 100'000;
}  // namespace

QString fileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) continue;
        QUrl url(argument);
        QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        return QFileInfo(path).absoluteFilePath();
    }
    return QString();
}

SingleInstance::SingleInstance(const QString& marker, QObject* parent) : QObject(parent) {
    QString name = marker + QLatin1Char('-') + QString::number(::getuid());
    serverName_ = name;
    lockPath_ = QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock"));
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

SingleInstance::Outcome SingleInstance::acquire(const QString& file) {
    {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(1000)) {
            socket.write(file.isEmpty() ? kActivate : kOpen + file.toUtf8().toBase64() + '\n');
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
        socket->setReadBufferSize(kMaxRequest);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() >= kMaxRequest) socket->disconnectFromServer();
                return;
            }
            QByteArray request = socket->readLine(kMaxRequest);
            QString file;
            bool understood = request == kActivate;
            if (request.startsWith(kOpen) && request.endsWith('\n')) {
                QByteArray encoded = request.mid(kOpen.size()).chopped(1);
                auto decoded =
                    QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
                file = QString::fromUtf8(*decoded);
                understood = decoded && !file.isEmpty();
            }
            bool raised = understood && handler_ && handler_(file);
            socket->write(raised ? kRaised : kNoWindow);
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

}  // namespace varnex::ui
