#include "admin/CompanyCreation.h"

#include "core/CompanyFolders.h"
#include "core/CrashPoint.h"
#include "core/DateText.h"
#include "core/Module.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace CompanyCreation {

std::optional<Refusal> check(const Entries &entries)
{
    // A text of blanks passes: only the empty text is missing.
    if (entries.companyName.isEmpty())
        return Refusal{QStringLiteral("Pls Enter CompanyName First"),
                       QStringLiteral("txtCompanyName")};
    if (entries.state.isEmpty())
        return Refusal{QStringLiteral("Pls Enter State Name"), QStringLiteral("txtState")};
    if (entries.stateCode.isEmpty())
        return Refusal{QStringLiteral("Pls Enter Proper State Name"),
                       QStringLiteral("txtstatecode")};
    if (entries.mobile.isEmpty())
        return Refusal{QStringLiteral("Pls Enter Mobile No."), QStringLiteral("txtMobile")};
    if (entries.mobile.size() != 10)
        return Refusal{QStringLiteral("Pls Enter 10 Digit Mobile No."),
                       QStringLiteral("txtMobile")};
    // A year that ends before it starts would hold no day: the registers could show nothing.
    if (entries.yearEnd < entries.yearStart)
        return Refusal{QStringLiteral("Pls Enter a Closing Date on or after the Starting Date"),
                       QStringLiteral("DTPicker2")};
    return std::nullopt;
}

QDate yearEndFor(const QDate &start)
{
    return start.addYears(1).addDays(-1);
}

FinancialYear proposedYear(const QDate &today)
{
    const QDate start(today.month() >= 4 ? today.year() : today.year() - 1, 4, 1);
    return {start, yearEndFor(start)};
}

const QStringList &stateList()
{
    static const QStringList states = {"Jammu & Kashmir",
                                       "Andaman & Nicobar Islands",
                                       "Andhra Pradesh",
                                       "Arunachal Pradesh",
                                       "Assam",
                                       "Bihar",
                                       "Chandigarh",
                                       "Chhattisgarh",
                                       "Dadra & Nagar Haveli",
                                       "Daman & Diu",
                                       "Delhi",
                                       "Goa",
                                       "Gujarat",
                                       "Haryana",
                                       "Himachal Pradesh",
                                       "Jammu & Kashmir",
                                       "Jharkhand",
                                       "Karnataka",
                                       "Kerala",
                                       "Lakshdweep",
                                       "Madhya Pradesh",
                                       "Maharashtra",
                                       "Manipur",
                                       "Meghalaya",
                                       "Mizoram",
                                       "Nagaland",
                                       "Odisha",
                                       "Other Territory",
                                       "Pondicherry",
                                       "Punjab",
                                       "Rajasthan",
                                       "Sikkim",
                                       "Tamil Nadu",
                                       "Telengana",
                                       "Tripura",
                                       "Uttar Pradesh",
                                       "Uttarakhand",
                                       "West Bengal",
                                       "Andrapradesh(New)",
                                       "Telengana"};
    return states;
}

QString stateCode(const QString &stateName)
{
    // Every name of the state list has its code; the old table's spellings ("Karnatka",
    // "Tamilnadu", ...) still find theirs when typed.
    static const QHash<QString, QString> codes = {
        {"Jammu & Kashmir", "01"},
        {"Chhattisgarh", "22"},
        {"Dadra & Nagar Haveli", "26"},
        {"Daman & Diu", "25"},
        {"Karnataka", "29"},
        {"Lakshdweep", "31"},
        {"Odisha", "21"},
        {"Other Territory", "97"},
        {"Pondicherry", "34"},
        {"Sikkim", "11"},
        {"Tamil Nadu", "33"},
        {"Uttar Pradesh", "09"},
        {"Andrapradesh(New)", "37"},
        {"Jammu and Kashmir", "01"},
        {"Himachal Pradesh", "02"},
        {"Punjab", "03"},
        {"Chandigarh", "04"},
        {"Uttarakhand", "05"},
        {"Haryana", "06"},
        {"Delhi", "07"},
        {"Rajasthan", "08"},
        {"Utter Pradesh", "09"},
        {"Bihar", "10"},
        {"Sikkam", "11"},
        {"Arunachal Pradesh", "12"},
        {"Nagaland", "13"},
        {"Manipur", "14"},
        {"Mizoram", "15"},
        {"Tripura", "16"},
        {"Meghalaya", "17"},
        {"Assam", "18"},
        {"West Bengal", "19"},
        {"Jharkhand", "20"},
        {"Orissa", "21"},
        {"Chhatisgarh", "22"},
        {"Madhya Pradesh", "23"},
        {"Gujarat", "24"},
        {"Daman and Diu", "25"},
        {"Dadra and Nagar Haveli", "26"},
        {"Maharashtra", "27"},
        {"Andhra Pradesh", "37"},
        {"Karnatka", "29"},
        {"Goa", "30"},
        {"Lakshadeep", "31"},
        {"Kerala", "32"},
        {"Tamilnadu", "33"},
        {"Puducherry", "34"},
        {"Andaman & Nicobar Islands", "35"},
        {"Telengana", "36"},
    };
    return codes.value(stateName);
}

QString completeState(const QString &text)
{
    const QString wanted = text.toUpper();
    for (const QString &state : stateList())
        if (state.left(text.size()).toUpper() == wanted)
            return state;
    return QString();
}

QString properCase(const QString &text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar &c : result) {
        if (c.isSpace()) {
            wordStart = true;
        } else {
            if (wordStart)
                c = c.toUpper();
            wordStart = false;
        }
    }
    return result;
}

QString panFromGst(const QString &gstNo)
{
    return gstNo.size() < 3 ? QString() : gstNo.mid(2, 10);
}

const QRegularExpression &mobilePattern()
{
    static const QRegularExpression digits(QStringLiteral("[0-9]{0,10}"));
    return digits;
}

qint64 proposeNumber(Database &common)
{
    return CompanyFolders::proposeNumber(common);
}

qint64 settleNumber(Database &common, const QString &dataRootFolder)
{
    return CompanyFolders::settleNumber(common, dataRootFolder);
}

namespace {

void addRegisterRow(Database &common, qint64 number, const Entries &e, const QString &folder)
{
    common.execute(QStringLiteral("INSERT INTO Company (CompanyID, CompanyName, DealsIn, Address, "
                                  "Address2, city, phone, mobile, email, Website, TINNo, CSTNo, "
                                  "ITPan, path, StartDate, EndDate) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {number, e.companyName, e.dealsIn, e.address, e.address2, e.city, e.phone,
                    e.mobile, e.email, e.website, e.vatNo, e.cstNo, e.panNo, folder,
                    DateText::toIso(e.yearStart), DateText::toIso(e.yearEnd)});
}

void fillCompanyDatabase(Database &db, const Entries &e)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM FinancialYear"));
    db.execute(QStringLiteral("DELETE FROM Company"));
    db.execute(QStringLiteral("INSERT INTO FinancialYear (StartDate, EndDate) VALUES (?, ?)"),
               {DateText::toShort(e.yearStart), DateText::toShort(e.yearEnd)});
    db.execute(QStringLiteral("INSERT INTO Company (CompanyName, DealsIn, Address, Address2, city, "
                              "phone, mobile, email, Website, TINNo, CSTNo, ITPan, DLNo1, DLNo2, "
                              "SubName, EnableSED, DutyType) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {e.companyName, e.dealsIn, e.address, e.address2, e.city, e.phone, e.mobile, e.email,
                e.website, e.vatNo, e.cstNo, e.panNo, e.dlNo1, e.dlNo2, e.stateCode, e.state,
                e.gstNo});
    db.execute(QStringLiteral("INSERT INTO Users (UserID, UserName, UserFullName, UserPosition, "
                              "Password) VALUES (2, ?, ?, 'SUPER USER', ?)"),
               {e.userName, e.userName, e.password});
    db.execute(QStringLiteral("UPDATE Account SET State = ?, OT23 = ? WHERE AccountID IN (1)"),
               {e.state, e.stateCode});
    transaction.commit();
}

// A damaged page of the template is copied with it and would only show once a window reads it.
void checkDatabase(Database &db)
{
    QStringList problems;
    try {
        for (Recordset rs = db.query(QStringLiteral("PRAGMA quick_check")); !rs.eof();
             rs.moveNext())
            problems << rs.displayText(0);
    } catch (const AppError &error) {
        problems = QStringList{error.description()};
    }
    if (problems != QStringList{QStringLiteral("ok")})
        throw AppError(3049,
                       QStringLiteral("Cannot open database '%1'. The file may be corrupt: %2")
                           .arg(db.path(), problems.join(QStringLiteral("; "))));
}

// The template copied into the hidden folder, filled and checked; closed again.
void makeDatabase(const QString &databaseFile, const Entries &entries)
{
    const QString templateFile = Module::programPath(QStringLiteral("DB/Vevezidora12_Backup.mdb"));
    if (!QFileInfo::exists(templateFile))
        throw AppError(53, QStringLiteral("File not found: %1").arg(templateFile));
    if (!QFile::copy(templateFile, databaseFile))
        throw AppError(75, QStringLiteral("Path/File access error: %1").arg(databaseFile));
    CrashPoint::reach("template copied");
    std::shared_ptr<Database> database = Database::open(databaseFile);
    fillCompanyDatabase(*database, entries);
    checkDatabase(*database);
    CrashPoint::reach("database checked");
}

} // namespace

Created create(const Entries &entries)
{
    if (!Module::CommonDb)
        throw AppError(91, QStringLiteral("The application database is not open."));
    Database &common = *Module::CommonDb;
    const QString root = Module::resolveDataRoot(entries.dataRoot);
    if (!QFileInfo(root).isDir())
        throw AppError(76, QStringLiteral("Path not found: %1").arg(root));
    // What a crash left of an earlier creation goes first, even when this one fails.
    CompanyFolders::finishInterrupted(common, root);

    // The slow part runs before the register is locked, in a folder that nothing lists.
    CompanyFolders::NewFolder folder(root);
    makeDatabase(Module::companyDatabasePath(folder.path()), entries);

    Created created;
    {
        Transaction registerRow(common);
        created.number = CompanyFolders::settleNumber(common, root);
        created.dataFolder = QDir(root).filePath(CompanyFolders::folderName(created.number));
        addRegisterRow(common, created.number, entries, created.dataFolder);
        folder.reserve(created.number);
        registerRow.commit();
    }
    try {
        folder.place();
    } catch (const AppError &) {
        // Nothing lists the company: its register row goes too.
        Transaction undo(common);
        common.execute(QStringLiteral("DELETE FROM Company WHERE CompanyID = ?"), {created.number});
        undo.commit();
        throw;
    }

    created.database = Database::open(Module::companyDatabasePath(created.dataFolder));
    Module::CompanyDb = created.database;
    Module::CompanyDataPath = created.dataFolder;
    return created;
}

QString failureText(const AppError &error)
{
    return error.boxText() + QStringLiteral(" \r\n\rPlease Contact Your Programvendor");
}

QString closingMessage(const QString &userName, const QString &password)
{
    return QStringLiteral("New Company has been sucessfully created\r\r"
                          "The screen that follows asks you to log in to the new company.\r\r"
                          "By Default Username = ") +
           userName + QStringLiteral("   Password = ") + password + QStringLiteral(" is given");
}

} // namespace CompanyCreation
