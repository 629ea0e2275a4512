#include "platform/FileWriting.h"

#include "core/AppError.h"
#include "core/DiskSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace FileWriting {

namespace {

std::atomic<qint64> spaceLeft{-1};

[[noreturn]] void fail(const QFile &file, const QString &path)
{
    if (file.error() == QFileDevice::OpenError && !QFileInfo(path).absoluteDir().exists())
        throw AppError(76, QStringLiteral("Path not found: %1").arg(path));
    throw AppError(75,
                   QStringLiteral("Path/File access error: %1 (%2)").arg(path, file.errorString()));
}

} // namespace

void setSpaceLeftForTests(qint64 bytes)
{
    spaceLeft = bytes;
}

QString partName(const QString &target)
{
    return target + QStringLiteral(".part");
}

void makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw AppError(
            75, QStringLiteral("Path/File access error: cannot make the folder %1").arg(folder));
}

void writeAll(QFile &file, const char *data, qint64 size)
{
    qint64 left = spaceLeft.load();
    if (left >= 0) {
        if (size > left) {
            spaceLeft = 0;
            throw AppError(61, QStringLiteral("Disk full: %1").arg(file.fileName()));
        }
        spaceLeft = left - size;
    }
    if (file.write(data, size) != size) {
        // A short write sets no error: its text would only say "Unknown error".
        if (file.error() == QFileDevice::NoError)
            throw AppError(61, QStringLiteral("Disk full: %1").arg(file.fileName()));
        throw AppError(
            61, QStringLiteral("Disk full: %1 (%2)").arg(file.fileName(), file.errorString()));
    }
}

void replace(const QString &finished, const QString &target)
{
    // Synced before the rename, or a power cut can leave the final name on an empty file.
    if (const int error = DiskSync::syncFile(finished)) {
        if (error == ENOSPC || error == EDQUOT)
            throw AppError(61, QStringLiteral("Disk full: %1").arg(target));
        throw AppError(75, QStringLiteral("Path/File access error: cannot write %1 (%2)")
                               .arg(target, QString::fromLocal8Bit(std::strerror(error))));
    }
    // POSIX rename() replaces the target in one step; QFile::rename refuses an existing target.
    QString reason;
    if (QFileInfo(target).isDir())
        reason = QStringLiteral("a folder of that name is in the way");
    else if (std::rename(QFile::encodeName(finished).constData(),
                         QFile::encodeName(target).constData()) != 0)
        reason = QString::fromLocal8Bit(std::strerror(errno));
    if (!reason.isEmpty())
        throw AppError(
            75,
            QStringLiteral("Path/File access error: cannot replace %1 (%2)").arg(target, reason));
    DiskSync::syncFolder(QFileInfo(target).absolutePath());
}

void copy(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (!source.exists())
            throw AppError(53, QStringLiteral("File not found: %1").arg(from));
        fail(source, from);
    }
    const QString part = partName(to);
    QFile target(part);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(target, to);
    try {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (;;) {
            const qint64 got = source.read(buffer.data(), buffer.size());
            if (got < 0)
                fail(source, from);
            if (got == 0)
                break;
            writeAll(target, buffer.constData(), got);
        }
        if (!target.flush())
            throw AppError(61, QStringLiteral("Disk full: %1").arg(to));
        target.close();
        replace(part, to);
    } catch (...) {
        target.close();
        QFile::remove(part);
        throw;
    }
}

} // namespace FileWriting
