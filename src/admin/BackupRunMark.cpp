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
void clearDead(const QString &folder, const QString &endings)
{
    const QRegularExpression partName(
        QStringLiteral("_[0-9]{2}_[0-9]{2,4}\\.(?:%1)$").arg(endings));
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (partName.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

} // namespace

QString BackupRunMark::markName()
{
    return QStringLiteral(".backup-running");
}

BackupRunMark::BackupRunMark(const QString &tempFolder, const QString &archiveFolder)
{
    using namespace ProcessLock;
    const QString mark = QDir(archiveFolder).filePath(markName());
    for (;;) {
        const Lock alone = take(mark, O_RDWR | O_CREAT, Kind::Exclusive, Wait::No);
        if (alone.outcome == Outcome::Locked) {
            // A copy that SQLite was writing when it was killed leaves its journal beside it.
            clearDead(tempFolder, QStringLiteral("mdb\\.part|mdb\\.part-journal"));
            clearDead(archiveFolder, QStringLiteral("zip\\.part"));
            descriptor_ = alone.descriptor;
            if (change(descriptor_, Kind::Shared, Wait::Yes))
                return;
            ::close(descriptor_);
            descriptor_ = -1;
            continue;
        }
        if (alone.outcome == Outcome::CannotOpen)
            break;
        const Lock shared = take(mark, O_RDWR | O_CREAT, Kind::Shared, Wait::Yes);
        if (shared.outcome == Outcome::Locked) {
            descriptor_ = shared.descriptor;
            return;
        }
        if (shared.outcome == Outcome::CannotOpen)
            break;
    }
    throw AppError(75, QStringLiteral("Path/File access error: %1").arg(mark));
}

BackupRunMark::~BackupRunMark()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}
