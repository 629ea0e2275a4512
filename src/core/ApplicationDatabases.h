#pragma once

#include <QString>

// Opens the application's fixed database files into the shared handles; throws AppError, also for
// a required file that is empty or lacks the program's tables.
void OpenApplicationDatabases();

// Makes the program's own Data folder, where companies are made, when it is missing.
bool MakeDataFolder();

// The program's short date format, set at every start. Linux has no system-wide short date
// setting, so it is the program's own.
void SetSystemShortDateFormat();
QString shortDateFormat();
