#include "admin/BackupRunMark.h"

#include "core/AppError.h"
#include "core/ProcessLock.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A backup's names end in "_", the day, "_", the hour and minute; only those are a backup's.
const QString Stamp = QStringLiteral("_[0-9]{2}_[0-9]{2,4}");

void clearDead(const QString &folder, const QRegularExpression &deadName)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (deadName.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

void clearDead(const QString &folder, const QString &endings)
{
    clearDead(folder, QRegularExpression(Stamp + QStringLiteral("\\.(?:%1)$").arg(endings)));
}

} // namespace

QString BackupRunMark::markName()
{
    return QStringLiteral(".backup-running");
}

BackupRunMark::BackupRunMark(const QString &tempFolder, const QString &archiveFolder)
{
    const bool taken = hold(archiveFolder, [&tempFolder, &archiveFolder] {
        // A copy that SQLite was writing when it was killed leaves its journal beside it, or in
        // WAL mode its log and shared memory.
        clearDead(tempFolder,
                  QStringLiteral("mdb\\.part|mdb\\.part-journal|mdb\\.part-wal|mdb\\.part-shm"));
        clearDead(archiveFolder, QStringLiteral("zip\\.part|lock"));
    });
    if (!taken)
        throw AppError(75, QStringLiteral("Path/File access error: %1")
                               .arg(QDir(archiveFolder).filePath(markName())));
}

BackupRunMark BackupRunMark::inBackupFolder(const QString &backupFolder, const QString &namePrefix)
{
    return BackupRunMark(BackupFolder{}, backupFolder, namePrefix);
}

BackupRunMark::BackupRunMark(BackupFolder, const QString &backupFolder, const QString &namePrefix)
{
    const QRegularExpression deadCopy(
        QStringLiteral("^%1%2\\.zip\\.part$").arg(QRegularExpression::escape(namePrefix), Stamp));
    if (hold(backupFolder, [&] {
            if (!namePrefix.isEmpty())
                clearDead(backupFolder, deadCopy);
        }))
        removeWhenLast_ = QDir(backupFolder).filePath(markName());
}

bool BackupRunMark::hold(const QString &folder, const std::function<void()> &clear)
{
    using namespace ProcessLock;
    const QString mark = QDir(folder).filePath(markName());
    for (;;) {
        const Lock alone = take(mark, O_RDWR | O_CREAT, Kind::Exclusive, Wait::No);
        if (alone.outcome == Outcome::Locked) {
            clear();
            descriptor_ = alone.descriptor;
            if (change(descriptor_, Kind::Shared, Wait::Yes))
                return true;
            ::close(descriptor_);
            descriptor_ = -1;
            continue;
        }
        if (alone.outcome == Outcome::CannotOpen)
            return false;
        const Lock shared = take(mark, O_RDWR | O_CREAT, Kind::Shared, Wait::Yes);
        if (shared.outcome == Outcome::Locked) {
            descriptor_ = shared.descriptor;
            return true;
        }
        if (shared.outcome == Outcome::CannotOpen)
            return false;
    }
}

BackupRunMark::~BackupRunMark()
{
    if (descriptor_ < 0)
        return;
    // Alone, the mark goes: a backup waiting for it finds the name replaced and makes it anew.
    if (!removeWhenLast_.isEmpty() &&
        ProcessLock::change(descriptor_, ProcessLock::Kind::Exclusive, ProcessLock::Wait::No))
        QFile::remove(removeWhenLast_);
    ::close(descriptor_);
}

QString BackupNameLock::lockName(const QString &name)
{
    return QLatin1Char('.') + name + QStringLiteral(".lock");
}

BackupNameLock::BackupNameLock(const QString &archiveFolder, const QString &name,
                               const std::function<void()> &waiting)
    : path_(QDir(archiveFolder).filePath(lockName(name)))
{
    using namespace ProcessLock;
    bool toldWaiting = false;
    for (;;) {
        Lock lock = take(path_, O_RDWR | O_CREAT, Kind::Exclusive, Wait::No);
        if (lock.outcome == Outcome::HeldElsewhere) {
            if (!toldWaiting && waiting)
                waiting();
            toldWaiting = true;
            lock = take(path_, O_RDWR | O_CREAT, Kind::Exclusive, Wait::Yes);
        }
        if (lock.outcome == Outcome::Locked) {
            descriptor_ = lock.descriptor;
            return;
        }
        if (lock.outcome == Outcome::CannotOpen)
            throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path_));
    }
}

BackupNameLock::~BackupNameLock()
{
    // Removed while still held: a backup waiting for it finds the name replaced and makes it anew.
    QFile::remove(path_);
    ::close(descriptor_);
}
