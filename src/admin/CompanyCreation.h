#pragma once

#include "core/AppError.h"
#include "core/Database.h"

#include <QChar>
#include <QDate>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Creating a company: the rules of the creation window's fields, the checks of its entries and the
// save that registers the company, makes its data folder and fills its new database.
namespace CompanyCreation {

// What the creation window holds when its save runs; texts are taken as they stand.
struct Entries
{
    QString companyName;
    QString address;
    QString address2;
    QString city;
    QString state;
    QString stateCode;
    QString phone;
    QString mobile;
    QString email;
    QString website;
    QString vatNo;
    QString gstNo;
    QString panNo;
    QString cstNo;
    QString dlNo1;
    QString dlNo2;
    QString dealsIn;
    QDate yearStart;
    QDate yearEnd;
    QString userName;
    QString password;
    QString dataRoot; // Path.Defaultpath as stored: a folder, or "Data" for the program's own
};

// A refused entry: the message and the control that takes the focus.
struct Refusal
{
    QString message;
    QString control;
};

inline const char *const RefusalTitle = "Don't Create Company";

// The first failing check, or nothing when the entries may be saved.
std::optional<Refusal> check(const Entries &entries);

// The financial year (1 April to 31 March) that holds the given day.
struct FinancialYear
{
    QDate start;
    QDate end;
};
FinancialYear proposedYear(const QDate &today);
// The last day of a year that starts on the given day: the day before the same date a year later.
QDate yearEndFor(const QDate &start);

// The state names the state box offers, in their order (two stand twice).
const QStringList &stateList();
// The GST code of a state name written exactly as the code table writes it; empty otherwise.
QString stateCode(const QString &stateName);
// The first list entry that begins with the text, letter case ignored; empty when none does.
QString completeState(const QString &text);

// First letter of each word upper case, the others lower case.
QString properCase(const QString &text);
// The PAN inside a GST number: its third to twelfth characters.
QString panFromGst(const QString &gstNo);
// What the mobile box may hold: digits only, at most ten.
const QRegularExpression &mobilePattern();

// The register's highest company number plus one (numbers are 64-bit).
qint64 proposeNumber(Database &common);
// From the proposal up, the first number whose data folder does not exist under the data root.
qint64 settleNumber(Database &common, const QString &dataRootFolder);

struct Created
{
    qint64 number = 0;
    QString dataFolder;
    std::shared_ptr<Database> database;
};

// Registers the company and makes its data folder and database from the template, whole or not at
// all: on any failure it throws and leaves no register row, folder or file behind, and after a crash
// at any moment the company is either complete and registered or nothing of it is listed. The new
// database is checked before success. On success CompanyDb and CompanyDataPath point at the new
// company.
Created create(const Entries &entries);

// The error box of a failed save.
QString failureText(const AppError &error);
// The message that ends a successful save.
QString closingMessage(const QString &userName, const QString &password);
inline const char *const ClosingTitle = "Company Created Sucessfully";

} // namespace CompanyCreation
