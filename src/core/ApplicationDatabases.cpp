#include "core/ApplicationDatabases.h"

#include "core/Module.h"

#include <QFileInfo>
#include <QLocale>

namespace {
QString &dateFormat()
{
    static QString format;
    return format;
}
} // namespace

void OpenApplicationDatabases()
{
    // In this order: a missing package database is reported before the sticker database is tried.
    Module::CommonDb = Database::open(Module::programPath(QStringLiteral("Companies12.mdb")));
    Module::PackageDb = Database::open(Module::programPath(QStringLiteral("Package.mdb")));
    Module::StickerDb = Database::open(Module::programPath(QStringLiteral("BarDb/dbCake.mdb")));
    const QString messaging = Module::programPath(QStringLiteral("wa/WaDB.mdb"));
    if (QFileInfo(messaging).isFile())
        Module::WhatsAppDb = Database::open(messaging);
}

void SetSystemShortDateFormat()
{
    // Month names must read English whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    dateFormat() = QStringLiteral("dd-MMM-yy");
}

QString shortDateFormat()
{
    return dateFormat();
}
