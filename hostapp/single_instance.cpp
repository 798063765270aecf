#include "hostapp/single_instance.h"

#include <unistd.h>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace harbinet {

namespace {

constexpr quint32 kMagic = 0x48424E31;  // "HBN1": a hand-over message of this version
constexpr char kTaken = 1;              // the answer once the files are taken
// Far more than any list of paths; a peer sending more is not a harbinet and is cut off.
constexpr qint64 kMessageLimit = 4 << 20;
constexpr auto kStreamVersion = QDataStream::Qt_6_0;

QString DisplaySuffix() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    for (QChar& c : display)
        if (!c.isLetterOrNumber())
            c = '_';
    return display.isEmpty() ? QString() : "-" + display;
}

}  // namespace

TSingleInstance::TSingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

QString TSingleInstance::DefaultName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath("harbinet" + DisplaySuffix());
    return "harbinet-" + QString::number(::getuid()) + DisplaySuffix();
}

bool TSingleInstance::HandOver(const QStringList& files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kMagic << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    char answer = 0;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.getChar(&answer) && answer == kTaken;
}

bool TSingleInstance::Listen(QString& error) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    if (server_->listen(name_))
        return true;
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        // Nobody answered on it (HandOver comes first), so it is a leftover.
        QLocalServer::removeServer(name_);
        if (server_->listen(name_))
            return true;
    }
    error = server_->errorString();
    return false;
}

void TSingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    }
}

void TSingleInstance::Read(QLocalSocket* socket) {
    if (socket->bytesAvailable() > kMessageLimit) {
        socket->abort();
        return;
    }
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    quint32 magic = 0;
    QStringList files;
    in >> magic >> files;
    if (!in.commitTransaction())
        return;  // the rest is still on its way
    if (magic != kMagic) {
        socket->abort();
        return;
    }
    socket->putChar(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    emit FilesReceived(files);
}

}  // namespace harbinet
