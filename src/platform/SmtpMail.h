#pragma once

#include "core/MailTransport.h"

// Mail through SMTP with libcurl: TLS from the first byte on port 465, login with the sender's
// user name and password, the attachment as a base64 MIME part.
class SmtpMail : public MailTransport
{
public:
    // Tests send to a server of their own: plain SMTP on the given host and port, whatever
    // server the message names.
    struct Redirect
    {
        QString host;
        int port = 0;
    };

    SmtpMail() = default;
    explicit SmtpMail(Redirect redirect) : redirect_(std::move(redirect)) {}

    void send(const MailMessage &message) override;

    // "Name<address>" as a header writes it: the name quoted or encoded when it needs to be.
    static QString headerAddress(const QString &name, const QString &address);

private:
    std::optional<Redirect> redirect_;
};
