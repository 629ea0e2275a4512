#pragma once

#include <QMutex>
#include <QSemaphore>
#include <QStringList>
#include <QThread>
#include <atomic>

// A plain SMTP server on 127.0.0.1 for the mail tests. It runs on its own thread, because the
// mail transport blocks the test's thread while it talks, and keeps what each session said.
class LocalSmtpServer : public QThread
{
public:
    struct Session
    {
        QStringList commands; // EHLO, AUTH, MAIL FROM, RCPT TO, ... as received
        QString authPlain;    // the decoded AUTH PLAIN answer
        QByteArray data;      // the message after DATA, dot-unstuffed
    };

    LocalSmtpServer();
    ~LocalSmtpServer() override;
    int port() const { return port_; }
    QList<Session> sessions() const;

protected:
    void run() override;

private:
    std::atomic<int> port_{0};
    std::atomic<bool> stop_{false};
    QSemaphore ready_;
    mutable QMutex mutex_;
    QList<Session> sessions_;
};
