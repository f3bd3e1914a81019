#include "app/single_instance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace app {

namespace {

// What a start sends: a version word and the files; the answer is one byte.
constexpr quint32 kHandOverVersion = 1;
constexpr char kTaken = 'k';
// A second start names a few files, not megabytes: anything larger is no hand-over.
constexpr qint64 kLargestMessage = 1 << 20;

} // namespace

QString defaultInstanceName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(QStringLiteral("jumpsuit-designer.socket"));
    return QStringLiteral("jumpsuit-designer-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool handOverToRunning(const QString& name, const QStringList& files, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    QByteArray message;
    {
        QDataStream out(&message, QIODevice::WriteOnly);
        out << kHandOverVersion << files;
    }
    QByteArray framed;
    {
        QDataStream out(&framed, QIODevice::WriteOnly);
        out << static_cast<quint32>(message.size());
    }
    framed += message;
    socket.write(framed);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

InstanceServer::InstanceServer(QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::onConnection);
}

bool InstanceServer::listen(const QString& name)
{
    if (m_server->listen(name))
        return true;
    // A socket left behind by a designer that did not end cleanly: no one
    // answered on it, or this start would have handed over.
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

void InstanceServer::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->bytesAvailable() < 4)
                return;
            QDataStream peek(socket->peek(4));
            quint32 size = 0;
            peek >> size;
            if (size > kLargestMessage) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < 4 + static_cast<qint64>(size))
                return;
            socket->read(4);
            QDataStream in(socket->read(size));
            quint32 version = 0;
            QStringList files;
            in >> version >> files;
            if (in.status() != QDataStream::Ok || version != kHandOverVersion) {
                socket->abort();
                return;
            }
            socket->putChar(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            emit filesHandedOver(files);
        });
    }
}

} // namespace app
