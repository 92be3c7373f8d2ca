#include "SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

const QByteArray Request = "raise\n";
const QByteArray Confirmation = "ok\n";

QString runtimeDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

} // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::lockPath()
{
    return QDir(runtimeDir()).filePath(QStringLiteral("orvella.lock"));
}

QString SingleInstance::socketPath()
{
    return QDir(runtimeDir()).filePath(QStringLiteral("orvella.socket"));
}

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    // A lock left by a crashed copy is recognised by its dead process and taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    // Whoever holds the lock owns the socket; one left by a crashed copy goes.
    QLocalServer::removeServer(socketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine())
                    return;
                if (client->readLine() == Request) {
                    if (m_handler)
                        m_handler();
                    client->write(Confirmation);
                    client->flush();
                }
            });
        }
    });
    // Without the socket the program still runs; a second start then only ends.
    m_server->listen(socketPath());
    return true;
}

void SingleInstance::onActivationRequest(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

bool SingleInstance::notifyRunning(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(Request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == Confirmation;
}
