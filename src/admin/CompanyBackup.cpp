#include "admin/CompanyBackup.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Module.h"
#include "platform/FileWriting.h"
#include "platform/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace CompanyBackup {

namespace {

QString cleanFolder(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

bool holds(const QString &folder, const QString &path)
{
    return path == folder ||
           path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

// Copies the open company page by page through SQLite's backup, so a database in use is copied
// as one consistent state, never as a file caught in the middle of a write.
void copyDatabase(const QString &from, const QString &to)
{
    const QString part = FileWriting::partName(to);
    QFile::remove(part);
    try {
        {
            const auto source = Database::open(from);
            const auto target = Database::create(part);
            sqlite3_backup *backup =
                sqlite3_backup_init(target->handle(), "main", source->handle(), "main");
            if (!backup)
                throw AppError(sqlite3_errcode(target->handle()),
                               QString::fromUtf8(sqlite3_errmsg(target->handle())));
            int rc;
            do {
                rc = sqlite3_backup_step(backup, 256);
                // Another connection writing or holding a lock: wait a moment and go on.
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    sqlite3_sleep(20);
            } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE) {
                const int code = rc == SQLITE_FULL ? 61 : rc;
                throw AppError(code, rc == SQLITE_FULL ? QStringLiteral("Disk full: %1").arg(to)
                                                       : QString::fromUtf8(sqlite3_errstr(rc)));
            }
        }
        const auto copy = Database::open(part);
        const QString verdict = copy->scalar(QStringLiteral("PRAGMA integrity_check")).toString();
        if (verdict != QLatin1String("ok"))
            throw AppError(3049,
                           QStringLiteral("The copy of the database is damaged: %1").arg(verdict));
        FileWriting::replace(part, to);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

// A full disk is told by the folder the user knows and the file that did not fit, never by the
// temporary name being written.
template <typename Work> void naming(const QString &folderKind, const QString &target, Work work)
{
    try {
        work();
    } catch (const AppError &error) {
        if (error.number() != 61)
            throw;
        const QFileInfo file(target);
        throw AppError(61, QStringLiteral("Disk full: %1 %2 has no room for %3")
                               .arg(folderKind, file.absolutePath(), file.fileName()));
    }
}

} // namespace

QString timeStamp(const QDate &date, const QTime &time)
{
    return QStringLiteral("%1_%2%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(time.hour())
        .arg(time.minute());
}

QString baseName(const QString &companyName, const QString &stamp)
{
    QString name = companyName;
    name.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    return name + QLatin1Char('_') + stamp;
}

QChar programDrive(const QString &programFolder, const QMap<QChar, QString> &drives)
{
    const QString program = cleanFolder(programFolder);
    QChar found;
    int foundLength = -1;
    for (auto it = drives.cbegin(); it != drives.cend(); ++it) {
        const QString folder = cleanFolder(it.value());
        if (holds(folder, program) && folder.size() > foundLength) {
            found = it.key();
            foundLength = int(folder.size());
        }
    }
    return found;
}

bool takesBackups(QChar drive)
{
    return drive == QLatin1Char('D') || drive == QLatin1Char('E') || drive == QLatin1Char('F');
}

QString defaultBackupFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Backup/");
}

QString backupCopyPath(const QString &folderText, const QString &fileName)
{
    return folderText.endsWith(QLatin1Char('/')) ? folderText + fileName
                                                 : folderText + QLatin1Char('/') + fileName;
}

std::optional<Plan> plan(const Request &request)
{
    const QChar drive = programDrive(request.programFolder, request.drives);
    if (!takesBackups(drive))
        return std::nullopt;
    const QDir driveFolder(request.drives.value(drive));
    const QString name =
        baseName(request.companyName, timeStamp(request.now.date(), request.now.time()));
    Plan p;
    p.database = request.companyDataPath.trimmed().isEmpty()
                     ? QString()
                     : Module::companyDatabasePath(request.companyDataPath);
    p.tempFolder = driveFolder.filePath(QStringLiteral("Temp"));
    p.archiveFolder = driveFolder.filePath(QStringLiteral("AutoBKP"));
    p.plainCopy = p.tempFolder + QLatin1Char('/') + name + QStringLiteral(".mdb");
    p.archive = p.archiveFolder + QLatin1Char('/') + name + QStringLiteral(".zip");
    p.keepCopy = request.keepCopy;
    if (request.keepCopy && !request.backupFolder.trimmed().isEmpty()) {
        p.backupCopy = backupCopyPath(request.backupFolder, name + QStringLiteral(".zip"));
        p.makeBackupFolder = request.backupFolder == defaultBackupFolder(request.programFolder);
    }
    return p;
}

void run(const Plan &plan, const Progress &progress)
{
    const auto report = [&progress](Step step) {
        if (progress)
            progress(step);
    };
    if (plan.keepCopy && plan.backupCopy.isEmpty())
        throw AppError(76, QStringLiteral("Path not found: no backup folder is given"));
    report(Step::Folders);
    FileWriting::makeFolder(plan.tempFolder);
    FileWriting::makeFolder(plan.archiveFolder);
    if (plan.database.isEmpty())
        throw AppError(3024, QStringLiteral("Could not find file '%1': no company is open.")
                                 .arg(QLatin1String(Module::CompanyDatabaseName)));

    report(Step::PlainCopy);
    naming(QStringLiteral("the folder"), plan.plainCopy,
           [&plan] { copyDatabase(plan.database, plan.plainCopy); });

    report(Step::Archive);
    naming(QStringLiteral("the folder"), plan.archive,
           [&plan] { ZipArchive::create(plan.archive, {plan.plainCopy}); });

    if (!plan.keepCopy)
        return;
    report(Step::BackupCopy);
    if (plan.makeBackupFolder)
        FileWriting::makeFolder(QFileInfo(plan.backupCopy).absolutePath());
    naming(QStringLiteral("the backup folder"), plan.backupCopy,
           [&plan] { FileWriting::copy(plan.archive, plan.backupCopy); });
}

void recordTime(Database &common, const QDateTime &when)
{
    common.execute(QStringLiteral("UPDATE Path SET OD1 = ?"), {DateText::toIso(when)});
}

} // namespace CompanyBackup
