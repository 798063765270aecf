#include "hostapp/single_instance.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

namespace harbinet {

namespace {

// A hand-over message: this magic and the payload's length (both 32-bit, big-endian), then the
// paths in UTF-8, each ended by a zero byte (which no path holds).
constexpr quint32 kMagic = 0x48424E31;  // "HBN1"
constexpr qint64 kHeaderSize = 8;
// Far more than any list of paths; a peer announcing more is not a harbinet and is cut off.
constexpr quint32 kPayloadLimit = 4 << 20;
constexpr char kTaken = 1;  // the answer once the files are taken

QByteArray Message(const QStringList& files) {
    QByteArray payload;
    for (const QString& file : files)
        payload += file.toUtf8() + '\0';
    QByteArray header(kHeaderSize, '\0');
    qToBigEndian(kMagic, header.data());
    qToBigEndian(quint32(payload.size()), header.data() + 4);
    return header + payload;
}

QStringList FilesOf(const QByteArray& payload) {
    QStringList files;
    for (const QByteArray& path : payload.split('\0'))
        if (!path.isEmpty())
            files << QString::fromUtf8(path);
    return files;
}

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
    socket.write(Message(files));
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
    if (socket->bytesAvailable() < kHeaderSize)
        return;  // the rest is still on its way
    const QByteArray header = socket->peek(kHeaderSize);
    const quint32 length = qFromBigEndian<quint32>(header.constData() + 4);
    if (qFromBigEndian<quint32>(header.constData()) != kMagic || length > kPayloadLimit) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kHeaderSize + length)
        return;
    socket->skip(kHeaderSize);
    const QStringList files = FilesOf(socket->read(length));
    socket->putChar(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    emit FilesReceived(files);
}

}  // namespace harbinet
