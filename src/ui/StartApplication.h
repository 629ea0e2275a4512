#pragma once

// The program's start: opens the application databases, sets the date format and shows the splash.
// Returns false when a required database could not be opened: the error was shown and the program
// must end without any window.
bool StartApplication();
