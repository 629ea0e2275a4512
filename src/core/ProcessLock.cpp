#include "core/ProcessLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProcessLock {

namespace {

int operation(Kind kind, Wait wait)
{
    return (kind == Kind::Exclusive ? LOCK_EX : LOCK_SH) | (wait == Wait::No ? LOCK_NB : 0);
}

} // namespace

Lock take(const QString &path, int openFlags, Kind kind, Wait wait)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), openFlags | O_CLOEXEC, 0644);
    if (fd < 0)
        return {-1, Outcome::CannotOpen};
    if (!change(fd, kind, wait)) {
        ::close(fd);
        return {-1, Outcome::HeldElsewhere};
    }
    // Whoever held the lock before may have removed or replaced the file meanwhile: a lock on what
    // no longer bears the name guards nothing.
    struct stat locked
    {
    };
    struct stat named
    {
    };
    if (::fstat(fd, &locked) != 0 || ::stat(name.constData(), &named) != 0 ||
        locked.st_ino != named.st_ino || locked.st_dev != named.st_dev) {
        ::close(fd);
        return {-1, Outcome::Replaced};
    }
    return {fd, Outcome::Locked};
}

bool change(int descriptor, Kind kind, Wait wait)
{
    for (;;) {
        if (::flock(descriptor, operation(kind, wait)) == 0)
            return true;
        // A signal cut the wait short: wait on.
        if (errno != EINTR || wait == Wait::No)
            return false;
    }
}

} // namespace ProcessLock
