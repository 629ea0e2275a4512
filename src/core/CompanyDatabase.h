#pragma once

#include <QString>

class Database;

// What happens to a company database each time it is opened.
namespace CompanyDatabase {

// Records the data source "Vantrel 10" for the company database in the given folder, as a user data
// source in unixODBC's format ($ODBCINI, else ~/.odbc.ini), replacing an earlier entry of that name
// and keeping every other entry as it is. A path with a line break or a square bracket is refused,
// and so is a file that cannot be read; both leave the file as it is. Throws AppError.
void RegisterCompanyDataSource(const QString &folder);
// The same for an opening, which the entry must never stop (nothing on this platform reads it): a
// failure is written once to standard error. Whether the entry was written.
bool tryRegisterCompanyDataSource(const QString &folder);
QString dataSourceFile();

// Brings the company database up to the columns the program expects, in one transaction and only
// when something is missing; a failure (a lock held too long by another program, a read-only file)
// is an AppError and leaves the database as it was.
void UpgradeDatabaseSchema(Database &db);

} // namespace CompanyDatabase
