#include "LocalSmtpServer.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

QByteArray readLine(QTcpSocket &socket)
{
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(5000))
            return QByteArray();
    return socket.readLine();
}

} // namespace

LocalSmtpServer::LocalSmtpServer()
{
    start();
    ready_.acquire();
}

LocalSmtpServer::~LocalSmtpServer()
{
    stop_ = true;
    wait();
}

QList<LocalSmtpServer::Session> LocalSmtpServer::sessions() const
{
    QMutexLocker lock(&mutex_);
    return sessions_;
}

void LocalSmtpServer::run()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    port_ = server.serverPort();
    ready_.release();
    while (!stop_) {
        if (!server.waitForNewConnection(50))
            continue;
        QTcpSocket *socket = server.nextPendingConnection();
        Session session;
        bool recorded = false;
        socket->write("220 localhost ESMTP test\r\n");
        socket->waitForBytesWritten(1000);
        for (;;) {
            const QByteArray line = readLine(*socket).trimmed();
            if (line.isEmpty() && socket->state() != QAbstractSocket::ConnectedState)
                break;
            session.commands << QString::fromUtf8(line);
            const QByteArray verb = line.left(4).toUpper();
            if (verb == "EHLO") {
                socket->write("250-localhost\r\n250-AUTH PLAIN LOGIN\r\n250 8BITMIME\r\n");
            } else if (verb == "AUTH") {
                const QList<QByteArray> parts = line.split(' ');
                QByteArray answer = parts.size() > 2 ? parts[2] : QByteArray();
                if (answer.isEmpty()) {
                    socket->write("334 \r\n");
                    socket->waitForBytesWritten(1000);
                    answer = readLine(*socket).trimmed();
                }
                session.authPlain = QString::fromUtf8(QByteArray::fromBase64(answer));
                socket->write("235 2.7.0 Authentication successful\r\n");
            } else if (verb == "DATA") {
                socket->write("354 End data with <CR><LF>.<CR><LF>\r\n");
                socket->waitForBytesWritten(1000);
                for (;;) {
                    const QByteArray dataLine = readLine(*socket);
                    if (dataLine == ".\r\n" || dataLine.isEmpty())
                        break;
                    session.data += dataLine.startsWith("..") ? dataLine.mid(1) : dataLine;
                }
                socket->write("250 OK queued\r\n");
            } else if (verb == "QUIT") {
                // Kept before the answer, so the sender sees it once it has its reply.
                QMutexLocker lock(&mutex_);
                sessions_ << session;
                recorded = true;
                socket->write("221 Bye\r\n");
                socket->waitForBytesWritten(1000);
                break;
            } else {
                socket->write("250 OK\r\n");
            }
            socket->waitForBytesWritten(1000);
        }
        socket->disconnectFromHost();
        delete socket;
        if (!recorded) {
            QMutexLocker lock(&mutex_);
            sessions_ << session;
        }
    }
}
