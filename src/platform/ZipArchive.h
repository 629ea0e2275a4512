#pragma once

#include <QString>
#include <QStringList>

// Zip archives, written and read in-process. Every failure is an AppError.
namespace ZipArchive {

// Writes a new archive holding the files under their own names, compressed. The archive is
// written beside its target and replaces a file of that name only once it is complete.
void create(const QString &archivePath, const QStringList &files);

// The names of the archive's entries, in their order.
QStringList entries(const QString &archivePath);

// Writes one entry of the archive to a file.
void extract(const QString &archivePath, const QString &entry, const QString &targetPath);

} // namespace ZipArchive
