#include "admin/CompanyBackup.h"

#include "admin/BackupRunMark.h"
#include "core/AppError.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Module.h"
#include "platform/FileWriting.h"
#include "platform/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
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

// The company opened on a connection of the copy's own, with one read held until it goes: no
// program commits to the file meanwhile.
struct HeldRead
{
    explicit HeldRead(const QString &path)
    {
        try {
            db = Database::open(path);
            db->execute(QStringLiteral("BEGIN"));
            // The first read takes the lock: a writer in the middle of its commit is waited for as
            // long as any statement waits.
            db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        } catch (const AppError &error) {
            if (error.number() != SQLITE_BUSY && error.number() != SQLITE_LOCKED)
                throw;
            throw AppError(error.number(),
                           QStringLiteral("The database cannot be copied: another program keeps "
                                          "it locked. Try the backup again in a moment. (%1)")
                               .arg(path));
        }
    }
    ~HeldRead() { sqlite3_exec(db->handle(), "ROLLBACK", nullptr, nullptr, nullptr); }
    HeldRead(const HeldRead &) = delete;
    HeldRead &operator=(const HeldRead &) = delete;

    std::shared_ptr<Database> db;
};

using Copied = std::function<void(int percent)>;

void writeCopy(QFile &target, const char *data, qint64 size, const QString &to)
{
    if (target.write(data, size) != size)
        throw AppError(61, QStringLiteral("Disk full: %1 (%2)").arg(to, target.errorString()));
}

// The bytes of the file as they stand, read through SQLite's own handle on it: a descriptor of
// ours on the file, once closed, would drop every lock SQLite holds on it in this process.
void copyBytes(Database &source, const QString &part, const QString &to, const Copied &copied)
{
    QFile target(part);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(
            75, QStringLiteral("Path/File access error: %1 (%2)").arg(to, target.errorString()));
    sqlite3_file *file = nullptr;
    sqlite3_file_control(source.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file);
    sqlite3_int64 size = 0;
    int rc = file && file->pMethods ? file->pMethods->xFileSize(file, &size) : SQLITE_MISUSE;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    int shown = -1;
    for (sqlite3_int64 done = 0; rc == SQLITE_OK && done < size;) {
        const int length = int(std::min<sqlite3_int64>(buffer.size(), size - done));
        rc = file->pMethods->xRead(file, buffer.data(), length, done);
        if (rc != SQLITE_OK)
            break;
        writeCopy(target, buffer.constData(), length, to);
        done += length;
        const int percent = int(done * 100 / size);
        if (percent != shown && copied)
            copied(shown = percent);
    }
    if (rc != SQLITE_OK)
        throw AppError(rc, QStringLiteral("%1 (%2)").arg(QString::fromUtf8(sqlite3_errstr(rc)),
                                                         source.path()));
    if (!target.flush())
        throw AppError(61, QStringLiteral("Disk full: %1 (%2)").arg(to, target.errorString()));
}

// Every page in one step of SQLite's backup: for a file with a write-ahead log, whose last commits
// are not in the file itself. A reader there keeps no writer waiting.
void copyPages(Database &source, const QString &part, const QString &to)
{
    const auto target = Database::create(part);
    sqlite3_backup *backup = sqlite3_backup_init(target->handle(), "main", source.handle(), "main");
    if (!backup)
        throw AppError(sqlite3_errcode(target->handle()),
                       QString::fromUtf8(sqlite3_errmsg(target->handle())));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_FULL)
        throw AppError(61, QStringLiteral("Disk full: %1").arg(to));
    if (rc != SQLITE_DONE)
        throw AppError(rc, QString::fromUtf8(sqlite3_errstr(rc)));
}

// Copies the company while one read is held on it, so the copy is one state of the file whatever
// other programs commit meanwhile, and checks the copy. With the program's journal beside the file,
// the file alone holds every commit while a read is held, and its bytes are copied: another
// program's commit then waits only as long as a file copy takes. SQLite's backup would not do
// there: letting go of its read between steps it starts again after every commit of another
// program, and holding its read it keeps commits waiting while it decrypts and encrypts every page.
void copyDatabase(const QString &from, const QString &to, const Copied &copied)
{
    const QString part = FileWriting::partName(to);
    QFile::remove(part);
    try {
        {
            const HeldRead read(from);
            const QString journal =
                read.db->scalar(QStringLiteral("PRAGMA journal_mode")).toString();
            if (journal.compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
                copyPages(*read.db, part, to);
            else
                copyBytes(*read.db, part, to, copied);
        }
        // The check reads the copy alone, with no lock on the company; it cannot tell how far it
        // got.
        if (copied)
            copied(-1);
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

namespace {

QString safeName(const QString &companyName)
{
    QString name = companyName;
    return name.replace(QLatin1Char(' '), QLatin1Char('_'))
        .replace(QLatin1Char('/'), QLatin1Char('_'));
}

} // namespace

QString baseName(const QString &companyName, const QString &stamp)
{
    return safeName(companyName) + QLatin1Char('_') + stamp;
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
    p.namePrefix = safeName(request.companyName);
    p.keepCopy = request.keepCopy;
    if (request.keepCopy && !request.backupFolder.trimmed().isEmpty()) {
        p.backupCopy = backupCopyPath(request.backupFolder, name + QStringLiteral(".zip"));
        p.makeBackupFolder = request.backupFolder == defaultBackupFolder(request.programFolder);
    }
    return p;
}

void run(const Plan &plan, const Progress &progress)
{
    const auto report = [&progress](Step step, int percent = -1) {
        if (progress)
            progress(step, percent);
    };
    if (plan.keepCopy && plan.backupCopy.isEmpty())
        throw AppError(76, QStringLiteral("Path not found: no backup folder is given"));
    report(Step::Folders);
    FileWriting::makeFolder(plan.tempFolder);
    FileWriting::makeFolder(plan.archiveFolder);
    if (plan.database.isEmpty())
        throw AppError(3024, QStringLiteral("Could not find file '%1': no company is open.")
                                 .arg(QLatin1String(Module::CompanyDatabaseName)));
    const BackupRunMark running(plan.tempFolder, plan.archiveFolder);
    // Two programs backing up one company in one minute would write the same files at once.
    const BackupNameLock sameName(plan.archiveFolder, QFileInfo(plan.archive).completeBaseName(),
                                  [&report] { report(Step::Waiting); });

    report(Step::PlainCopy, 0);
    naming(QStringLiteral("the folder"), plan.plainCopy, [&plan, &report] {
        copyDatabase(plan.database, plan.plainCopy,
                     [&report](int percent) { report(Step::PlainCopy, percent); });
    });

    report(Step::Archive);
    naming(QStringLiteral("the folder"), plan.archive,
           [&plan] { ZipArchive::create(plan.archive, {plan.plainCopy}); });

    if (!plan.keepCopy)
        return;
    report(Step::BackupCopy);
    const QString backupFolder = QFileInfo(plan.backupCopy).absolutePath();
    if (plan.makeBackupFolder)
        FileWriting::makeFolder(backupFolder);
    const auto copying = BackupRunMark::inBackupFolder(backupFolder, plan.namePrefix);
    naming(QStringLiteral("the backup folder"), plan.backupCopy,
           [&plan] { FileWriting::copy(plan.archive, plan.backupCopy); });
}

void recordTime(Database &common, const QDateTime &when)
{
    common.execute(QStringLiteral("UPDATE Path SET OD1 = ?"), {DateText::toIso(when)});
}

} // namespace CompanyBackup
