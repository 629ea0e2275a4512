#include "core/CompanyDatabase.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/Module.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <cstdio>

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

namespace {

// unixODBC reads its file line by line and takes a line in brackets for a new section: a value with
// a line break or a bracket could plant a section and cut the real entry.
bool fitsOneLine(const QString &value)
{
    for (const QChar c : value) {
        if (c == QLatin1Char('[') || c == QLatin1Char(']') ||
            c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            return false;
    }
    return true;
}

// The path as one readable line, its line breaks shown as \n.
QString shown(const QString &value)
{
    QString text = value;
    return text.replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"));
}

} // namespace

void RegisterCompanyDataSource(const QString &folder)
{
    const QString path = Module::companyDatabasePath(folder);
    const QString file = dataSourceFile();
    if (!fitsOneLine(path))
        throw AppError(5,
                       QStringLiteral("The data source \"%1\" is not written: the path '%2' holds "
                                      "a line break or a square bracket, which would break the "
                                      "data source file '%3'.")
                           .arg(QLatin1String(DataSourceName), shown(path), file));

    // Keep every other section of the file as it stands; drop the old entry of our name.
    QStringList kept;
    QFile existing(file);
    if (existing.exists() && !existing.open(QIODevice::ReadOnly | QIODevice::Text))
        throw AppError(5, QStringLiteral("Cannot read the data source file '%1'; it is left as it "
                                         "is.")
                              .arg(file));
    if (existing.isOpen()) {
        bool ours = false;
        for (const QString &line : QString::fromUtf8(existing.readAll()).split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
                ours = trimmed.mid(1, trimmed.size() - 2)
                           .trimmed()
                           .compare(QLatin1String(DataSourceName), Qt::CaseInsensitive) == 0;
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
         << QStringLiteral("UID = Admin") << QStringLiteral("PWD = %1").arg(QLatin1String(Password))
         << QStringLiteral("DBQ = %1").arg(path) << QStringLiteral("OemToAnsi = No")
         << QStringLiteral("Database = %1").arg(path) << QString();

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        throw AppError(5, QStringLiteral("Cannot write the data source file '%1'.").arg(file));
    out.write(kept.join(QLatin1Char('\n')).toUtf8());
    if (!out.commit())
        throw AppError(5, QStringLiteral("Cannot write the data source file '%1'.").arg(file));
}

namespace {

// Indexes that only make reads quicker: every read is right without them.
struct SpeedIndex
{
    const char *table;
    const char *name;
    const char *sql;
    int columns; // an index of that name with other columns is made again
};

const SpeedIndex SpeedIndexes[] = {
    {"Voucher", "VoucherTypeSrNo",
     "CREATE INDEX VoucherTypeSrNo ON Voucher (TransactionType, SrNo)", 2},
    // The books that are out, with every column the pending list shows: the list reads this small
    // index instead of the whole catalogue.
    {"Book", "BookPending",
     "CREATE INDEX BookPending ON Book (Status, AccessionNo, title, Author, Subject, Publisher, "
     "Name, CardNo, IssueDate, RollNo, Edition, IssueID) WHERE Status <> 'Available'",
     12},
    // The search panels' typed beginnings. An earlier release copied the listed columns into
    // these two, which doubled every write of a book or a card.
    {"Book", "BookTitle", "CREATE INDEX BookTitle ON Book (title)", 1},
    {"Card", "CardName", "CREATE INDEX CardName ON Card (Name)", 1},
};

// The statements that bring the database up to the columns the program expects; none when it has
// them. A table that is missing altogether (DbInfo, FinancialYear) gets nothing.
QStringList columnSteps(Database &db)
{
    QStringList steps;
    const auto missing = [&steps](const QString &table, const QString &prefix, int last,
                                  const QString &type, QStringList present) {
        for (int i = 1; i <= last; ++i) {
            const QString column = prefix + QString::number(i);
            if (!present.contains(column, Qt::CaseInsensitive))
                steps << QStringLiteral("ALTER TABLE %1 ADD %2 %3").arg(table, column, type);
        }
    };
    QStringList warning;
    if (db.hasTable(QStringLiteral("Warning"))) {
        warning = db.columns(QStringLiteral("Warning"));
    } else {
        steps << QStringLiteral(
            "CREATE TABLE Warning(\"Event\" TEXT COLLATE NOCASE, Action TEXT COLLATE NOCASE, "
            "T1 TEXT COLLATE NOCASE, T2 TEXT COLLATE NOCASE, T3 TEXT COLLATE NOCASE, "
            "T4 TEXT COLLATE NOCASE, T5 TEXT COLLATE NOCASE)");
    }
    const QString text = QStringLiteral("TEXT COLLATE NOCASE");
    const QString real = QStringLiteral("REAL");
    missing(QStringLiteral("Warning"), QStringLiteral("OT"), 5, text, warning);
    if (db.hasTable(QStringLiteral("DbInfo")))
        missing(QStringLiteral("DbInfo"), QStringLiteral("ON"), 5, real,
                db.columns(QStringLiteral("DbInfo")));
    if (db.hasTable(QStringLiteral("FinancialYear"))) {
        const QStringList year = db.columns(QStringLiteral("FinancialYear"));
        missing(QStringLiteral("FinancialYear"), QStringLiteral("OT"), 10, text, year);
        missing(QStringLiteral("FinancialYear"), QStringLiteral("ON"), 5, real, year);
    }
    return steps;
}

// The statements that make the speed indexes the database lacks, or has with other columns.
QStringList indexSteps(Database &db)
{
    QStringList steps;
    for (const SpeedIndex &index : SpeedIndexes) {
        const QString name = QLatin1String(index.name);
        if (!db.hasTable(QLatin1String(index.table)))
            continue;
        // The name is ours, never typed: PRAGMA takes no bound value.
        int columns = 0;
        for (Recordset rs = db.query(QStringLiteral("PRAGMA index_info(%1)").arg(name)); !rs.eof();
             rs.moveNext())
            ++columns;
        if (columns == index.columns)
            continue;
        if (columns > 0)
            steps << QStringLiteral("DROP INDEX %1").arg(name);
        steps << QLatin1String(index.sql);
    }
    return steps;
}

// Makes the speed indexes on a connection of its own, whose pages go when it closes, so that
// the company's own connection does not hold the whole catalogue read to build them. While
// another program writes, nothing is made: the company opens without them, and a later opening
// makes them.
void addSpeedIndexes(const QString &path)
{
    try {
        const auto own = Database::open(path);
        if (indexSteps(*own).isEmpty())
            return;
        Transaction transaction(*own, Transaction::Wait::Never);
        for (const QString &step : indexSteps(*own))
            own->execute(step);
        transaction.commit();
    } catch (const AppError &) {
        // Deliberately quiet: the reads are right without the indexes, and whatever kept them
        // from being made now (a lock, a full disk) shows in the company's own work, if it lasts.
    }
}

} // namespace

void UpgradeDatabaseSchema(Database &db)
{
    // Looked at first: an up-to-date database is not written, so a lock held by another program
    // does not delay its opening.
    if (!columnSteps(db).isEmpty()) {
        // One transaction, one wait for a lock: the columns are added whole or not at all.
        Transaction transaction(db);
        for (const QString &step : columnSteps(db))
            db.execute(step);
        transaction.commit();
    }
    addSpeedIndexes(db.path());
}

bool tryRegisterCompanyDataSource(const QString &folder)
{
    try {
        RegisterCompanyDataSource(folder);
        return true;
    } catch (const AppError &error) {
        static QSet<QString> warned;
        if (!warned.contains(error.description())) {
            warned.insert(error.description());
            std::fprintf(stderr, "Warning: %s\n", error.description().toLocal8Bit().constData());
            std::fflush(stderr);
        }
        return false;
    }
}

} // namespace CompanyDatabase
