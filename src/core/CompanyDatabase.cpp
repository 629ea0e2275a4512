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
#include <vector>

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

// What only makes reads quicker: every read is right without it.
struct SpeedObject
{
    QString table; // made where this table is
    QString name;
    QString sql;
    int columns = 0; // an index's: one of that name with other columns is made again
};

// The triggers that log the keys of a table's rows changed or removed. Rows added are found by
// their keys above those a list holds: a trigger on them would have every row of an import
// written twice, once more for the statement's own undo.
void addRowChangeTriggers(std::vector<SpeedObject> &objects, const QString &table,
                          const QString &key)
{
    const QString logged = QStringLiteral("INSERT INTO RowChange (TableName, RowKey) ");
    objects.push_back({table, table + QStringLiteral("Changed"),
                       QStringLiteral("CREATE TRIGGER %1Changed AFTER UPDATE ON %1 BEGIN %3VALUES "
                                      "('%1', NEW.%2); %3SELECT '%1', OLD.%2 WHERE OLD.%2 <> "
                                      "NEW.%2; END")
                           .arg(table, key, logged)});
    objects.push_back({table, table + QStringLiteral("Removed"),
                       QStringLiteral("CREATE TRIGGER %1Removed AFTER DELETE ON %1 BEGIN %3VALUES "
                                      "('%1', OLD.%2); END")
                           .arg(table, key, logged)});
}

const std::vector<SpeedObject> &speedObjects()
{
    static const std::vector<SpeedObject> objects = [] {
        std::vector<SpeedObject> all = {
            {QStringLiteral("Voucher"), QStringLiteral("VoucherTypeSrNo"),
             QStringLiteral("CREATE INDEX VoucherTypeSrNo ON Voucher (TransactionType, SrNo)"), 2},
            // The books that are out, with every column the pending list shows: the list reads
            // this small index instead of the whole catalogue.
            {QStringLiteral("Book"), QStringLiteral("BookPending"),
             QStringLiteral("CREATE INDEX BookPending ON Book (Status, AccessionNo, title, Author, "
                            "Subject, Publisher, Name, CardNo, IssueDate, RollNo, Edition, "
                            "IssueID) WHERE Status <> 'Available'"),
             12},
            // The search panels' typed beginnings. An earlier release copied the listed columns
            // into these two, which doubled every write of a book or a card.
            {QStringLiteral("Book"), QStringLiteral("BookTitle"),
             QStringLiteral("CREATE INDEX BookTitle ON Book (title)"), 1},
            {QStringLiteral("Card"), QStringLiteral("CardName"),
             QStringLiteral("CREATE INDEX CardName ON Card (Name)"), 1},
            // The keys of the books and cards written, which the search panels follow.
            {QStringLiteral("Book"), QStringLiteral("RowChange"),
             QStringLiteral("CREATE TABLE RowChange (Seq INTEGER PRIMARY KEY AUTOINCREMENT, "
                            "TableName TEXT COLLATE NOCASE, RowKey INTEGER)")},
            {QStringLiteral("Book"), QStringLiteral("RowChangeKept"),
             QStringLiteral("CREATE TRIGGER RowChangeKept AFTER INSERT ON RowChange WHEN NEW.Seq "
                            "% 1000 = 0 BEGIN DELETE FROM RowChange WHERE Seq <= NEW.Seq - 5000; "
                            "END")},
        };
        addRowChangeTriggers(all, QStringLiteral("Book"), QStringLiteral("BookID"));
        addRowChangeTriggers(all, QStringLiteral("Card"), QStringLiteral("CardID"));
        return all;
    }();
    return objects;
}

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

// The statements that make what only speeds reads up and the database lacks, or has in another
// form.
QStringList speedSteps(Database &db)
{
    QStringList steps;
    for (const SpeedObject &object : speedObjects()) {
        const QString &name = object.name;
        if (!db.hasTable(object.table))
            continue;
        if (object.columns == 0) {
            if (db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ?"),
                          {name})
                    .toInt() == 0)
                steps << object.sql;
            continue;
        }
        // The name is ours, never typed: PRAGMA takes no bound value.
        int columns = 0;
        for (Recordset rs = db.query(QStringLiteral("PRAGMA index_info(%1)").arg(name)); !rs.eof();
             rs.moveNext())
            ++columns;
        if (columns == object.columns)
            continue;
        if (columns > 0)
            steps << QStringLiteral("DROP INDEX %1").arg(name);
        steps << object.sql;
    }
    return steps;
}

// Makes what speeds reads up on a connection of its own, whose pages go when it closes, so that
// the company's own connection does not hold the whole catalogue read to build an index. While
// another program writes, nothing is made: the company opens without it, and a later opening
// makes it.
void addSpeedObjects(const QString &path)
{
    try {
        const auto own = Database::open(path);
        if (speedSteps(*own).isEmpty())
            return;
        Transaction transaction(*own, Transaction::Wait::Never);
        for (const QString &step : speedSteps(*own))
            own->execute(step);
        transaction.commit();
    } catch (const AppError &) {
        // Deliberately quiet: the reads are right without it, and whatever kept it from being
        // made now (a lock, a full disk) shows in the company's own work, if it lasts.
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
    addSpeedObjects(db.path());
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
