#include "core/MailTransport.h"

#include "core/AppError.h"
#include "core/Module.h"

#include <QCoreApplication>
#include <QThread>

namespace {

class NoTransport : public MailTransport
{
public:
    void send(const MailMessage &) override
    {
        throw AppError(429, QStringLiteral("No mail transport is installed"));
    }
};

// Shared, so a send running beside the window keeps its transport while a new one is installed.
std::shared_ptr<MailTransport> &installed()
{
    static std::shared_ptr<MailTransport> transport;
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

void MailTransport::sendBeside(const MailMessage &message, Done done)
{
    current();
    std::shared_ptr<MailTransport> transport = installed();
    auto failure = std::make_shared<std::optional<AppError>>();
    QThread *thread = QThread::create([transport, message, failure] {
        try {
            transport->send(message);
        } catch (const AppError &error) {
            *failure = error;
        } catch (const std::exception &error) {
            *failure = AppError(-1, QString::fromLocal8Bit(error.what()));
        }
    });
    // The answer comes back on the thread of the application object, the window's thread.
    QObject::connect(thread, &QThread::finished, QCoreApplication::instance(),
                     [thread, failure, done = std::move(done)] {
                         thread->deleteLater();
                         done(*failure);
                     });
    thread->start();
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

MailMessage MailMessage::fromCompany(const QString &host, const QString &sender)
{
    MailMessage mail;
    mail.host = host;
    mail.userName = sender;
    mail.password = Module::open(Module::CompanyDb)
                        .scalar(QStringLiteral("SELECT OT4 FROM Company LIMIT 1"))
                        .toString();
    mail.fromName = Module::CurrentCompanyName;
    mail.fromAddress = sender;
    return mail;
}
