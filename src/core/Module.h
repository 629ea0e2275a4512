#pragma once

#include "core/Database.h"

#include <QString>
#include <memory>

// The program's shared state: the open database handles, the open company and the logged-in user.
namespace Module {

using DatabaseHandle = std::shared_ptr<Database>;

inline DatabaseHandle CommonDb;   // Companies12.mdb: company register, data root, staging table
inline DatabaseHandle PackageDb;  // Package.mdb: splash picture and links
inline DatabaseHandle StickerDb;  // BarDb/dbCake.mdb: book stickers
inline DatabaseHandle WhatsAppDb; // wa/WaDB.mdb, only when the file exists at start
inline DatabaseHandle CompanyDb;  // the open company's Vevezidora12.mdb

inline QString CompanyDataPath;
inline QString CurrentCompanyName;
inline QString CurrentCompanyCity;
inline QString CurrentCompanyEmail;
inline QString CurrentUserName;
inline QString CurrentUserPosition;
inline QString LoginPosition;
inline double SelectedRecordID = 0;

// The database behind a handle; a handle that is not open is error 91, as the program always said.
Database &open(const DatabaseHandle &handle);

// The folder that holds the executable; tests point it at a folder of their own.
QString programFolder();
void setProgramFolder(const QString &folder);
// A path below the program folder ("BarDb/dbCake.mdb").
QString programPath(const QString &relative);

// The name of a company's database file inside its data folder.
inline const char *const CompanyDatabaseName = "Vevezidora12.mdb";
QString companyDatabasePath(const QString &dataFolder);

// The data root below which company folders lie: Path.Defaultpath, where "Data" means the
// program's own Data folder and other relative paths are taken from the program folder.
QString dataRoot();
QString resolveDataRoot(const QString &stored);

// Clears every handle and value (tests start from nothing).
void reset();

} // namespace Module
