#pragma once

#include <QString>

// Opens the application's fixed database files into the shared handles; throws AppError.
void OpenApplicationDatabases();

// The program's short date format, set at every start. Linux has no system-wide short date
// setting, so it is the program's own.
void SetSystemShortDateFormat();
QString shortDateFormat();
