#pragma once

#include <QString>

class QFile;

// Writing files so that a target is never left half-written: a copy goes to a temporary name beside
// the target and replaces it only when complete. Every failure is an AppError with the number the
// program has always shown for it (61 disk full, 75 path/file access error, 76 path not found).
namespace FileWriting {

// Makes the folder and its parents when missing.
void makeFolder(const QString &folder);

// Copies a file over the target, replacing a file of that name.
void copy(const QString &from, const QString &to);

// Writes the bytes to an open file; a short write is a failure.
void writeAll(QFile &file, const char *data, qint64 size);

// Moves a finished temporary file onto the target, replacing it.
void replace(const QString &finished, const QString &target);

// The temporary name beside a target while it is being written.
QString partName(const QString &target);

// Test aid: after that many more bytes every write fails as on a full disk; negative means no
// limit.
void setSpaceLeftForTests(qint64 bytes);

} // namespace FileWriting
