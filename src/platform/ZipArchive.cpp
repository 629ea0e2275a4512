#include "platform/ZipArchive.h"

#include "core/AppError.h"
#include "platform/FileWriting.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>

namespace {

constexpr int ArchiveErrorNumber = 75;

struct WriterDeleter
{
    void operator()(archive *a) const { archive_write_free(a); }
};
struct ReaderDeleter
{
    void operator()(archive *a) const { archive_read_free(a); }
};
struct EntryDeleter
{
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

// The archive's bytes go through FileWriting, so a full disk is reported as every other write is.
struct Sink
{
    QFile file;
    std::optional<AppError> error;
};

la_ssize_t writeToSink(archive *a, void *client, const void *buffer, size_t length)
{
    auto *sink = static_cast<Sink *>(client);
    try {
        FileWriting::writeAll(sink->file, static_cast<const char *>(buffer), qint64(length));
    } catch (const AppError &error) {
        // An exception must not cross libarchive's C frames: keep it for the caller.
        sink->error = error;
        archive_set_error(a, EIO, "%s", error.description().toUtf8().constData());
        return -1;
    }
    return la_ssize_t(length);
}

[[noreturn]] void failWith(archive *a, const QString &path, Sink *sink = nullptr)
{
    if (sink && sink->error)
        throw *sink->error;
    const char *reason = archive_error_string(a);
    throw AppError(ArchiveErrorNumber,
                   QStringLiteral("Path/File access error: %1 (%2)")
                       .arg(path, reason ? QString::fromUtf8(reason) : QStringLiteral("archive")));
}

void addFile(archive *a, const QString &file, const QString &archivePath, Sink &sink)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        throw AppError(53, QStringLiteral("File not found: %1").arg(file));
    const QFileInfo info(file);
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), info.fileName().toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), source.size());
    archive_entry_set_mtime(entry.get(), info.lastModified().toSecsSinceEpoch(), 0);
    if (archive_write_header(a, entry.get()) != ARCHIVE_OK)
        failWith(a, archivePath, &sink);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0)
            throw AppError(75, QStringLiteral("Path/File access error: %1").arg(file));
        if (got == 0)
            break;
        if (archive_write_data(a, buffer.constData(), size_t(got)) != got)
            failWith(a, archivePath, &sink);
    }
    if (archive_write_finish_entry(a) != ARCHIVE_OK)
        failWith(a, archivePath, &sink);
}

void writeArchive(const QString &part, const QString &archivePath, const QStringList &files)
{
    Sink sink;
    sink.file.setFileName(part);
    if (!sink.file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(75, QStringLiteral("Path/File access error: %1 (%2)")
                               .arg(archivePath, sink.file.errorString()));
    std::unique_ptr<archive, WriterDeleter> writer(archive_write_new());
    archive *a = writer.get();
    archive_write_set_format_zip(a);
    archive_write_zip_set_compression_deflate(a);
    // Zip writes whole blocks of this size; the last one is padded only for tapes, not here.
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open(a, &sink, nullptr, writeToSink, nullptr) != ARCHIVE_OK)
        failWith(a, archivePath, &sink);
    for (const QString &file : files)
        addFile(a, file, archivePath, sink);
    // Closing writes the central directory: the archive is complete only after it.
    if (archive_write_close(a) != ARCHIVE_OK)
        failWith(a, archivePath, &sink);
    if (!sink.file.flush())
        throw AppError(61, QStringLiteral("Disk full: %1").arg(archivePath));
    sink.file.close();
}

std::unique_ptr<archive, ReaderDeleter> openForReading(const QString &archivePath)
{
    std::unique_ptr<archive, ReaderDeleter> reader(archive_read_new());
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(archivePath).constData(),
                                   1 << 16) != ARCHIVE_OK)
        failWith(reader.get(), archivePath);
    return reader;
}

} // namespace

namespace ZipArchive {

void create(const QString &archivePath, const QStringList &files)
{
    const QString part = FileWriting::partName(archivePath);
    try {
        writeArchive(part, archivePath, files);
        FileWriting::replace(part, archivePath);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

QStringList entries(const QString &archivePath)
{
    auto reader = openForReading(archivePath);
    QStringList names;
    archive_entry *entry = nullptr;
    int rc;
    while ((rc = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        names << QString::fromUtf8(archive_entry_pathname_utf8(entry));
        archive_read_data_skip(reader.get());
    }
    if (rc != ARCHIVE_EOF)
        failWith(reader.get(), archivePath);
    return names;
}

void extract(const QString &archivePath, const QString &entryName, const QString &targetPath)
{
    auto reader = openForReading(archivePath);
    archive_entry *entry = nullptr;
    int rc;
    while ((rc = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        if (QString::fromUtf8(archive_entry_pathname_utf8(entry)) != entryName) {
            archive_read_data_skip(reader.get());
            continue;
        }
        QFile target(targetPath);
        if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw AppError(75, QStringLiteral("Path/File access error: %1").arg(targetPath));
        QByteArray buffer(1 << 16, Qt::Uninitialized);
        la_ssize_t got;
        while ((got = archive_read_data(reader.get(), buffer.data(), size_t(buffer.size()))) > 0)
            FileWriting::writeAll(target, buffer.constData(), got);
        if (got < 0)
            failWith(reader.get(), archivePath);
        return;
    }
    if (rc != ARCHIVE_EOF)
        failWith(reader.get(), archivePath);
    throw AppError(53, QStringLiteral("File not found: %1 in %2").arg(entryName, archivePath));
}

} // namespace ZipArchive
