#pragma once

#include "core/AppError.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// One e-mail with one optional attachment, as the report window sends it.
struct MailMessage
{
    QString host;
    int port = 465;
    bool implicitTls = true; // TLS from the first byte (port 465)
    int connectTimeoutSeconds = 40;

    QString userName;
    QString password;
    QString fromName;
    QString fromAddress;
    QString toName;
    QString toAddress;
    QString subject;
    QString body;           // lines end in CR LF
    QString attachmentPath; // empty: no attachment

    // A message from the open company's sender account through its provider's server: host, the
    // sender as user and from-address, the password kept with the company, the company's name.
    static MailMessage fromCompany(const QString &host, const QString &sender);
};

// Sends mail. The program installs the SMTP transport at start; tests install their own or point
// it at a server of their own. The core library knows only this interface.
class MailTransport
{
public:
    virtual ~MailTransport() = default;
    // Sends the message; any failure is an AppError.
    virtual void send(const MailMessage &message) = 0;

    // The installed transport; until one is installed, one that fails every send.
    static MailTransport &current();
    static void install(std::unique_ptr<MailTransport> transport);

    // Sends through the installed transport on a thread of its own, so the calling thread goes on
    // while the network answers (or does not, for up to its time-outs); then calls done on the
    // calling thread with the failure, if there was one. done is called also when the window that
    // asked has gone meanwhile.
    using Done = std::function<void(const std::optional<AppError> &failure)>;
    static void sendBeside(const MailMessage &message, Done done);
};

// The mail providers the program can send through: the sender's address decides the server.
namespace MailProviders {

struct Provider
{
    QString domain; // "gmail.com"
    QString host;   // its SMTP server, port 465 with TLS
};

const QList<Provider> &table();
// The first provider whose "@" + domain the address contains (exact letter case), if any.
std::optional<Provider> forSender(const QString &address);
// The example address of the check messages.
QString exampleAddress();

} // namespace MailProviders
