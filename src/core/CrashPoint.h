#pragma once

#include <QString>
#include <QStringList>

// Test hook: ends the process where it stands, as a crash or a kill would (no destructor runs, no
// transaction rolls back, no file is closed), when it reaches the armed point. Saves that change
// more than one file name their steps; every commit passes "commit" before and "committed" after.
// Nothing is armed unless a test arms it.
namespace CrashPoint {

// Ends the process at the occurrence-th time the named point is reached from now on.
void arm(const QString &name, int occurrence = 1);
void disarm();

// Records every point reached from now on, in order, so a test can crash at each in turn.
void startTrace();
QStringList trace();

void reach(const char *name);

} // namespace CrashPoint
