#include "core/ApplicationDatabases.h"

#include "core/Module.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {
QString &dateFormat()
{
    static QString format;
    return format;
}

// Opens a required database and makes sure it is the program's and readable: an empty (0-byte)
// file opens as an empty database, and would fail only later, at the first window that reads it.
Module::DatabaseHandle openRequired(const QString &relative, const QStringList &tables)
{
    const QString path = Module::programPath(relative);
    Module::DatabaseHandle db = Database::open(path);
    for (const QString &table : tables) {
        if (!db->hasTable(table))
            throw AppError(3343, QStringLiteral("Unrecognized database format '%1': it holds no "
                                                "table %2.")
                                     .arg(path, table));
        // Reading a row reads the table's first page: a damaged file fails here, not later.
        try {
            db->query(QStringLiteral("SELECT * FROM [%1] LIMIT 1").arg(table));
        } catch (const AppError &error) {
            throw AppError(error.number(),
                           QStringLiteral("%1 (%2)").arg(error.description(), path));
        }
    }
    return db;
}
} // namespace

void OpenApplicationDatabases()
{
    // In this order: a missing package database is reported before the sticker database is tried.
    // Each handle is set only once its file has proved sound.
    Module::CommonDb = openRequired(
        QStringLiteral("Companies12.mdb"),
        {QStringLiteral("Company"), QStringLiteral("Path"), QStringLiteral("Printing")});
    Module::PackageDb = openRequired(QStringLiteral("Package.mdb"), {QStringLiteral("Develop")});
    Module::StickerDb = openRequired(QStringLiteral("BarDb/dbCake.mdb"), {QStringLiteral("Cake")});
    const QString messaging = Module::programPath(QStringLiteral("wa/WaDB.mdb"));
    if (QFileInfo(messaging).isFile())
        Module::WhatsAppDb = Database::open(messaging);
}

bool MakeDataFolder()
{
    return QDir().mkpath(Module::programPath(QStringLiteral("Data")));
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
