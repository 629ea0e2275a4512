#include "core/DiskSync.h"

#include <QFile>
#include <QMutex>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace DiskSync {

namespace {

QMutex observerLock;
std::function<void(const QString &)> observer;

void observe(const QString &path)
{
    const QMutexLocker locker(&observerLock);
    if (observer)
        observer(path);
}

int syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    observe(path);
    return result;
}

} // namespace

int syncFile(const QString &path)
{
    return syncPath(path, O_RDONLY);
}

void syncFolder(const QString &path)
{
    syncPath(path, O_RDONLY | O_DIRECTORY);
}

void setObserverForTests(std::function<void(const QString &)> seen)
{
    const QMutexLocker locker(&observerLock);
    observer = std::move(seen);
}

} // namespace DiskSync
