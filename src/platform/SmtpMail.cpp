#include "platform/SmtpMail.h"

#include "core/AppError.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QUuid>
#include <curl/curl.h>
#include <memory>

namespace {

void ensureCurl()
{
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!ready)
        throw AppError(7, QStringLiteral("The mail library could not start"));
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// Refuses what would let a typed value add its own header lines.
void checkHeaderValue(const QString &what, const QString &value)
{
    if (hasLineBreak(value))
        throw AppError(5, QStringLiteral("The %1 holds a line break").arg(what));
}

QString rfc2822Date(const QDateTime &moment)
{
    const QLocale english(QLocale::English);
    const int offset = moment.offsetFromUtc() / 60;
    return english.toString(moment, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) +
           QStringLiteral("%1%2%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
               .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
}

// A worldwide unique identifier under the sender's domain, as mail servers and spam filters expect.
QString messageId(const QString &fromAddress)
{
    QString domain = fromAddress.section(QLatin1Char('@'), -1).trimmed();
    static const QRegularExpression plainDomain(QStringLiteral("^[A-Za-z0-9.-]+$"));
    if (!fromAddress.contains(QLatin1Char('@')) || !plainDomain.match(domain).hasMatch())
        domain = QStringLiteral("librarydesk.invalid");
    return QLatin1Char('<') + QUuid::createUuid().toString(QUuid::WithoutBraces) +
           QLatin1Char('@') + domain + QLatin1Char('>');
}

struct CurlDeleter
{
    void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_mime *mime) const { curl_mime_free(mime); }
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

using CurlList = std::unique_ptr<curl_slist, CurlDeleter>;

void append(CurlList &list, const QString &line)
{
    curl_slist *grown = curl_slist_append(list.get(), line.toUtf8().constData());
    if (!grown)
        throw AppError(7, QStringLiteral("Out of memory"));
    list.release();
    list.reset(grown);
}

} // namespace

QString SmtpMail::headerAddress(const QString &name, const QString &address)
{
    bool ascii = true;
    bool plain = true;
    for (const QChar c : name) {
        if (c.unicode() > 126 || c.unicode() < 32)
            ascii = false;
        else if (!c.isLetterOrNumber() && !QStringLiteral(" !#$%&'*+-/=?^_`{|}~").contains(c))
            plain = false;
    }
    QString shown = name;
    if (!ascii)
        shown = QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(name.toUtf8().toBase64()) +
                QStringLiteral("?=");
    else if (!plain)
        shown = QLatin1Char('"') +
                QString(name)
                    .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                    .replace(QLatin1Char('"'), QLatin1String("\\\"")) +
                QLatin1Char('"');
    return shown + QLatin1Char('<') + address + QLatin1Char('>');
}

void SmtpMail::send(const MailMessage &m)
{
    checkHeaderValue(QStringLiteral("sender's address"), m.fromAddress);
    checkHeaderValue(QStringLiteral("receiver's address"), m.toAddress);
    checkHeaderValue(QStringLiteral("sender's name"), m.fromName);
    checkHeaderValue(QStringLiteral("receiver's name"), m.toName);
    checkHeaderValue(QStringLiteral("subject"), m.subject);
    if (!m.attachmentPath.isEmpty() && !QFileInfo(m.attachmentPath).isFile())
        throw AppError(53, QStringLiteral("File not found: %1").arg(m.attachmentPath));
    ensureCurl();

    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        throw AppError(7, QStringLiteral("The mail library could not start"));
    CURL *c = curl.get();

    const QString url =
        redirect_
            ? QStringLiteral("smtp://%1:%2").arg(redirect_->host).arg(redirect_->port)
            : QStringLiteral("%1://%2:%3")
                  .arg(m.implicitTls ? QStringLiteral("smtps") : QStringLiteral("smtp"), m.host)
                  .arg(m.port);
    const QByteArray urlBytes = url.toUtf8();
    const QByteArray user = m.userName.toUtf8();
    const QByteArray password = m.password.toUtf8();
    const QByteArray from = ('<' + m.fromAddress + '>').toUtf8();
    char error[CURL_ERROR_SIZE] = {0};

    curl_easy_setopt(c, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(m.connectTimeoutSeconds));
    // A server that stops answering ends the attempt after the same time.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(m.connectTimeoutSeconds));
    if (!redirect_ && !m.implicitTls)
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));

    CurlList recipients;
    append(recipients, QLatin1Char('<') + m.toAddress + QLatin1Char('>'));
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());

    CurlList headers;
    append(headers, QStringLiteral("Date: ") + rfc2822Date(QDateTime::currentDateTime()));
    append(headers, QStringLiteral("Message-ID: ") + messageId(m.fromAddress));
    append(headers, QStringLiteral("To: ") + headerAddress(m.toName, m.toAddress));
    append(headers, QStringLiteral("From: ") + headerAddress(m.fromName, m.fromAddress));
    append(headers, QStringLiteral("Subject: ") + m.subject);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    std::unique_ptr<curl_mime, CurlDeleter> mime(curl_mime_init(c));
    curl_mimepart *text = curl_mime_addpart(mime.get());
    const QByteArray body = m.body.toUtf8();
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=utf-8");
    if (!m.attachmentPath.isEmpty()) {
        curl_mimepart *file = curl_mime_addpart(mime.get());
        const QByteArray path = QFileInfo(m.attachmentPath).absoluteFilePath().toLocal8Bit();
        const QByteArray name = QFileInfo(m.attachmentPath).fileName().toUtf8();
        curl_mime_filedata(file, path.constData());
        curl_mime_filename(file, name.constData());
        curl_mime_type(file, name.endsWith(".zip") ? "application/zip" : "application/pdf");
        curl_mime_encoder(file, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK)
        throw AppError(int(result), error[0] ? QString::fromUtf8(error)
                                             : QString::fromUtf8(curl_easy_strerror(result)));
}
