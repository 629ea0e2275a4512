#pragma once

#include <QString>
#include <functional>

// Pushes what was written down to the disk itself. A file renamed to its final name before its
// data is synced can come back empty under that name after a power cut, and a rename is itself
// only lasting once its folder is synced.
namespace DiskSync {

// Syncs a file's data; returns 0, or the errno of the failure (a full disk can show only here).
int syncFile(const QString &path);

// Syncs a folder's names after a rename or a new file in it. Failures are passed over: some file
// systems cannot sync a folder, and the names are then as lasting as they can be.
void syncFolder(const QString &path);

// Test aid: sees every file and folder synced, in order; an empty function stops it.
void setObserverForTests(std::function<void(const QString &path)> observer);

} // namespace DiskSync
