#pragma once
// A tiny HTTP server inside the test process: serves fixed bodies by path,
// 404 for anything else. Runs on the test's own event loop.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

namespace qn::testing {

class LocalHttpServer : public QObject {
public:
    LocalHttpServer()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    void setFile(const QString& path, const QByteArray& body) { files_[path] = body; }
    void removeFile(const QString& path) { files_.remove(path); }
    QString urlPattern() const { return QStringLiteral("http://127.0.0.1:%1/{year}.json").arg(server_.serverPort()); }
    int requests() const { return requests_; }

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests_;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        pending_.remove(socket);
        const bool found = files_.contains(path);
        const QByteArray body = found ? files_.value(path) : QByteArray("not found");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                      + QByteArray("Content-Type: application/json\r\nConnection: close\r\nContent-Length: ")
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QString, QByteArray> files_;
    QHash<QTcpSocket*, QByteArray> pending_;
    int requests_ = 0;
};

}  // namespace qn::testing
