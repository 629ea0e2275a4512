#pragma once

#include <QString>

// The program's start: opens the application databases, sets the date format and shows the splash.
// Returns false when a required database could not be opened: the error was shown and the program
// must end without any window.
bool StartApplication();

// Opens the application's fixed database files into the shared handles; throws AppError.
void OpenApplicationDatabases();

// The program's short date format, set at every start. Linux has no system-wide short date
// setting, so it is the program's own.
void SetSystemShortDateFormat();
QString shortDateFormat();
