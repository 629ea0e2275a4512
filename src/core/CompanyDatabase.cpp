#include "core/CompanyDatabase.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/Module.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace CompanyDatabase {

namespace {

const char *const DataSourceName = "Vantrel 10";
const char *const Password = "quietmaple";

} // namespace

QString dataSourceFile()
{
    const QString configured = qEnvironmentVariable("ODBCINI");
    return configured.isEmpty() ? QDir::home().filePath(QStringLiteral(".odbc.ini")) : configured;
}

void RegisterCompanyDataSource(const QString &folder)
{
    const QString path = Module::companyDatabasePath(folder);
    const QString file = dataSourceFile();

    // Keep every other section of the file as it stands; drop the old entry of our name.
    QStringList kept;
    QFile existing(file);
    if (existing.open(QIODevice::ReadOnly | QIODevice::Text)) {
        bool ours = false;
        for (const QString &line : QString::fromUtf8(existing.readAll()).split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
                ours = trimmed.mid(1, trimmed.size() - 2).trimmed().compare(QLatin1String(DataSourceName), Qt::CaseInsensitive) == 0;
            if (!ours)
                kept << line;
        }
        while (!kept.isEmpty() && kept.last().trimmed().isEmpty())
            kept.removeLast();
    }
    if (!kept.isEmpty())
        kept << QString();
    kept << QStringLiteral("[%1]").arg(QLatin1String(DataSourceName))
         << QStringLiteral("Driver = Microsoft Access Driver (*.mdb)")
         << QStringLiteral("UID = Admin")
         << QStringLiteral("PWD = %1").arg(QLatin1String(Password))
         << QStringLiteral("DBQ = %1").arg(path)
         << QStringLiteral("OemToAnsi = No")
         << QStringLiteral("Database = %1").arg(path) << QString();

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        throw AppError(5, QStringLiteral("Cannot write the data source file '%1'.").arg(file));
    out.write(kept.join(QLatin1Char('\n')).toUtf8());
    if (!out.commit())
        throw AppError(5, QStringLiteral("Cannot write the data source file '%1'.").arg(file));
}

namespace {

// The books that are out, with every column the pending list shows: the list reads this small
// index instead of the whole catalogue.
const char *const BookPendingIndex =
    "CREATE INDEX IF NOT EXISTS BookPending ON Book (Status, AccessionNo, title, Author, Subject, "
    "Publisher, Name, CardNo, IssueDate, RollNo, Edition, IssueID) WHERE Status <> 'Available'";

} // namespace

void UpgradeDatabaseSchema(Database &db)
{
    // The engine adds one column per statement, so each column is its own step.
    QStringList steps;
    steps << QStringLiteral("CREATE TABLE Warning(\"Event\" TEXT COLLATE NOCASE, Action TEXT COLLATE NOCASE, "
                            "T1 TEXT COLLATE NOCASE, T2 TEXT COLLATE NOCASE, T3 TEXT COLLATE NOCASE, "
                            "T4 TEXT COLLATE NOCASE, T5 TEXT COLLATE NOCASE)");
    for (int i = 1; i <= 5; ++i)
        steps << QStringLiteral("ALTER TABLE Warning ADD OT%1 TEXT COLLATE NOCASE").arg(i);
    for (int i = 1; i <= 5; ++i)
        steps << QStringLiteral("ALTER TABLE DbInfo ADD ON%1 REAL").arg(i);
    for (int i = 1; i <= 10; ++i)
        steps << QStringLiteral("ALTER TABLE FinancialYear ADD OT%1 TEXT COLLATE NOCASE").arg(i);
    for (int i = 1; i <= 5; ++i)
        steps << QStringLiteral("ALTER TABLE FinancialYear ADD ON%1 REAL").arg(i);
    // Indexes the circulation windows need on a large library (company.sql has them too).
    steps << QStringLiteral("CREATE INDEX IF NOT EXISTS VoucherTypeSrNo ON Voucher "
                            "(TransactionType, SrNO)");
    steps << QString::fromLatin1(BookPendingIndex);
    for (const QString &step : steps) {
        try {
            db.execute(step);
        } catch (const AppError &) {
            // Expected on a database that has the table or column already.
        }
    }
}

} // namespace CompanyDatabase
