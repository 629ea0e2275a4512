#pragma once

#include <QString>

// A lock that ends with the process holding it, however the process ends (a crash, a kill): what
// a dead process was writing is told from what a living one still writes by whether anybody holds
// its lock. flock locks, which SQLite's own fcntl locks on the same file neither see nor drop.
namespace ProcessLock {

enum class Kind { Exclusive, Shared };
enum class Wait { No, Yes };

enum class Outcome {
    Locked,
    HeldElsewhere, // another process holds a lock that excludes this one (only without waiting)
    Replaced,      // the path was removed or named another file by the time the lock was taken
    CannotOpen,
};

struct Lock
{
    int descriptor = -1; // held until closed; -1 unless Locked
    Outcome outcome = Outcome::CannotOpen;
};

// Opens the path with the open(2) flags and locks what it opened.
Lock take(const QString &path, int openFlags, Kind kind, Wait wait);

// Changes the kind of a lock held on the descriptor; false when that failed. The change is not
// one step: another process may take the lock in between.
bool change(int descriptor, Kind kind, Wait wait);

} // namespace ProcessLock
