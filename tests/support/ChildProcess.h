#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A part of a test run in a fresh process of the test executable, so that the test can end it as a
// crash would (see core/CrashPoint.h) and then look at what it left on disk.
using ChildEntry = std::function<int(const QStringList &arguments)>;

// Registers an entry at namespace scope: `const bool registered = registerChildEntry("x", ...);`.
bool registerChildEntry(const QString &name, const ChildEntry &entry);

struct ChildEnd
{
    bool crashed = false; // ended by a signal
    int exitCode = 0;
    QString output; // standard output
    QString errors; // standard error
};

// Starts the entry with its arguments and waits for its end.
ChildEnd runChild(const QString &name, const QStringList &arguments);

// For TestMain: when this process was started for an entry, runs it and returns its exit code.
std::optional<int> runChildEntryIfAsked(int argc, char **argv);
