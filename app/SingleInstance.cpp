#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

namespace qn {

SingleInstance::SingleInstance(const ProgramFolder& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_lock(folder.dataFile(QStringLiteral(".qnweeknote.lock")))
{
    // A lock left by a process that died is recognised by its process id;
    // the age of a lock says nothing, the notebook may run for weeks.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const ProgramFolder& folder)
{
    const QByteArray hash = QCryptographicHash::hash(folder.root().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("qnweeknote-") + QString::fromLatin1(hash.left(20));
}

bool SingleInstance::acquire()
{
    if (m_lock.tryLock(0)) {
        acceptConnections();
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(ServerName(m_folder));
    if (socket.waitForConnected(2000)) {
        socket.write("show\n");
        m_reachedRunning = socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
    }
    return false;
}

void SingleInstance::acceptConnections()
{
    const QString name = ServerName(m_folder);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the folder's lock, so a socket of that name is a leftover.
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        return;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains("show"))
                    emit activationRequested();
            });
        }
    });
}

}  // namespace qn
