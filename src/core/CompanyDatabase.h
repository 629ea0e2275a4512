#pragma once

#include <QString>

class Database;

// What happens to a company database each time it is opened.
namespace CompanyDatabase {

// Records the data source "Vantrel 10" for the company database in the given folder, as a user data
// source in unixODBC's format ($ODBCINI, else ~/.odbc.ini), replacing an earlier entry of that name.
void RegisterCompanyDataSource(const QString &folder);
QString dataSourceFile();

// Brings the company database up to the columns the program expects; every step that fails (the
// table or column is there already) is passed silently.
void UpgradeDatabaseSchema(Database &db);

} // namespace CompanyDatabase
