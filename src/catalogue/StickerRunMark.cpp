#include "catalogue/StickerRunMark.h"

#include "core/AppError.h"
#include "core/ProcessLock.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString &path)
{
    throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path));
}

// The list locked by this process; a run that ended unlinks its list, so a lock taken on a name
// that meanwhile points elsewhere is tried again.
int lockMark(const QString &path)
{
    for (;;) {
        const ProcessLock::Lock lock = ProcessLock::take(
            path, O_RDWR | O_CREAT, ProcessLock::Kind::Exclusive, ProcessLock::Wait::Yes);
        if (lock.outcome == ProcessLock::Outcome::CannotOpen)
            fail(path);
        if (lock.outcome == ProcessLock::Outcome::Locked)
            return lock.descriptor;
    }
}

QByteArray readAll(int fd)
{
    QByteArray content;
    char buffer[1 << 14];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return content;
        content.append(buffer, got);
    }
}

void clearDeadRun(const QDir &folder, const QByteArray &list)
{
    for (const QString &name : QString::fromUtf8(list).split(QLatin1Char('\n'))) {
        // Only pictures inside the folder; a name cut short by the crash is no picture's.
        if (!name.endsWith(QLatin1String(".jpg")) || name.contains(QLatin1Char('/')))
            continue;
        QFile::remove(folder.filePath(name));
    }
}

} // namespace

QString StickerRunMark::markName()
{
    return QStringLiteral(".sticker-run");
}

StickerRunMark::StickerRunMark(const QString &folder, const QStringList &pictureNames)
    : markPath_(QDir(folder).filePath(markName())), fd_(lockMark(markPath_))
{
    clearDeadRun(QDir(folder), readAll(fd_));
    const QByteArray list = pictureNames.join(QLatin1Char('\n')).toUtf8();
    if (::ftruncate(fd_, 0) != 0 ||
        ::pwrite(fd_, list.constData(), size_t(list.size()), 0) != ssize_t(list.size())) {
        ::close(fd_);
        fd_ = -1;
        fail(markPath_);
    }
}

StickerRunMark::~StickerRunMark()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void StickerRunMark::finish()
{
    if (fd_ < 0)
        return;
    QFile::remove(markPath_);
    ::close(fd_);
    fd_ = -1;
}
