#include "core/CompanyFolders.h"

#include "core/AppError.h"
#include "core/CrashPoint.h"
#include "core/Database.h"
#include "core/DiskSync.h"
#include "core/ProcessLock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace CompanyFolders {

namespace {

// ".new-<token>" while it is filled, ".new-<token>-Data <n>" once its number is in the register's
// transaction. Hidden: neither the picker's walk nor the number search sees it.
const QRegularExpression &hiddenName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\.new-([0-9a-f]{32})(?:-Data ([0-9]+))?$"));
    return pattern;
}

QString hiddenPath(const QString &root, const QString &token, qint64 number)
{
    QString name = QStringLiteral(".new-") + token;
    if (number > 0)
        name += QLatin1Char('-') + folderName(number);
    return QDir(root).filePath(name);
}

bool entryExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A folder nobody holds is a crash's leftover; a recovery may have removed the folder between our
// open and our lock.
int lockFolder(const QString &path)
{
    return ProcessLock::take(path, O_RDONLY | O_DIRECTORY, ProcessLock::Kind::Exclusive,
                             ProcessLock::Wait::No)
        .descriptor;
}

bool registeredAt(Database &common, qint64 number, const QString &folder)
{
    const QVariant path =
        common.scalar(QStringLiteral("SELECT path FROM Company WHERE CompanyID = ?"), {number});
    return !path.isNull() && QDir::cleanPath(path.toString()) == QDir::cleanPath(folder);
}

// With the register's write lock held.
void recover(Database &common, const QString &root, const QStringList &candidates)
{
    for (const QString &name : candidates) {
        const QString path = QDir(root).filePath(name);
        const int lock = lockFolder(path);
        if (lock < 0)
            continue; // being filled by a running program
        const qint64 number = hiddenName().match(name).captured(2).toLongLong();
        const QString target = QDir(root).filePath(folderName(number));
        if (number > 0 && registeredAt(common, number, target) && !entryExists(target) &&
            QDir().rename(path, target))
            DiskSync::syncFolder(root);
        else
            QDir(path).removeRecursively();
        ::close(lock);
    }
}

QStringList leftovers(const QString &root)
{
    QStringList found;
    const QStringList names =
        QDir(root).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : names)
        if (hiddenName().match(name).hasMatch())
            found << name;
    return found;
}

} // namespace

QString folderName(qint64 number)
{
    return QStringLiteral("Data ") + QString::number(number);
}

qint64 proposeNumber(Database &common)
{
    const QVariant highest = common.scalar(QStringLiteral("SELECT Max(CompanyID) FROM Company"));
    const qint64 value = highest.isNull() ? 0 : highest.toLongLong();
    if (value == std::numeric_limits<qint64>::max())
        throw AppError(6,
                       QStringLiteral("Overflow: no company number is left after %1.").arg(value));
    return value + 1;
}

qint64 settleNumber(Database &common, const QString &root)
{
    const QDir folder(root);
    if (!folder.exists())
        throw AppError(76, QStringLiteral("Path not found: %1").arg(root));
    // A crash's leftover must neither keep a number nor lose a committed company.
    recover(common, root, leftovers(root));
    qint64 number = proposeNumber(common);
    while (entryExists(folder.filePath(folderName(number)))) {
        if (number == std::numeric_limits<qint64>::max())
            throw AppError(6, QStringLiteral("Overflow: no company number is left."));
        ++number;
    }
    return number;
}

NewFolder::NewFolder(const QString &root)
    : root_(root), token_(QUuid::createUuid().toString(QUuid::Id128))
{
    path_ = hiddenPath(root_, token_, 0);
    if (!QDir(root_).mkdir(QFileInfo(path_).fileName()))
        throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path_));
    lock_ = lockFolder(path_);
    if (lock_ < 0) {
        QDir(path_).removeRecursively();
        throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path_));
    }
    CrashPoint::reach("new folder made");
}

NewFolder::~NewFolder()
{
    if (!placed_)
        QDir(path_).removeRecursively();
    if (lock_ >= 0)
        ::close(lock_);
}

void NewFolder::reserve(qint64 number)
{
    const QString reserved = hiddenPath(root_, token_, number);
    if (!QDir().rename(path_, reserved))
        throw AppError(75, QStringLiteral("Path/File access error: %1").arg(reserved));
    path_ = reserved;
    number_ = number;
    CrashPoint::reach("new folder numbered");
}

QString NewFolder::place()
{
    const QString target = QDir(root_).filePath(folderName(number_));
    if (number_ <= 0 || entryExists(target) || !QDir().rename(path_, target))
        throw AppError(58, QStringLiteral("File already exists: %1").arg(target));
    placed_ = true;
    path_ = target;
    DiskSync::syncFolder(root_);
    CrashPoint::reach("new folder placed");
    return target;
}

void finishInterrupted(Database &common, const QString &root)
{
    if (leftovers(root).isEmpty())
        return;
    // One program at a time decides, and none settles a number meanwhile.
    Transaction lock(common);
    recover(common, root, leftovers(root));
}

} // namespace CompanyFolders
