#include "core/MailTransport.h"

#include "core/AppError.h"

namespace {

class NoTransport : public MailTransport
{
public:
    void send(const MailMessage &) override
    {
        throw AppError(429, QStringLiteral("No mail transport is installed"));
    }
};

std::unique_ptr<MailTransport> &installed()
{
    static std::unique_ptr<MailTransport> transport;
    return transport;
}

} // namespace

MailTransport &MailTransport::current()
{
    if (!installed())
        installed() = std::make_unique<NoTransport>();
    return *installed();
}

void MailTransport::install(std::unique_ptr<MailTransport> transport)
{
    installed() = std::move(transport);
}

namespace MailProviders {

const QList<Provider> &table()
{
    // Providers that take authenticated mail on port 465 with TLS from the first byte.
    static const QList<Provider> providers = {
        {QStringLiteral("gmail.com"), QStringLiteral("smtp.gmail.com")},
        {QStringLiteral("googlemail.com"), QStringLiteral("smtp.gmail.com")},
        {QStringLiteral("yahoo.com"), QStringLiteral("smtp.mail.yahoo.com")},
        {QStringLiteral("zoho.com"), QStringLiteral("smtp.zoho.com")},
    };
    return providers;
}

std::optional<Provider> forSender(const QString &address)
{
    for (const Provider &provider : table())
        if (address.contains(QLatin1Char('@') + provider.domain, Qt::CaseSensitive))
            return provider;
    return std::nullopt;
}

QString exampleAddress()
{
    return QStringLiteral("yourname@gmail.com");
}

} // namespace MailProviders
