#pragma once

#include <QChar>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <functional>
#include <optional>

class Database;

// The backup of the open company's database: a checked copy in the drive's Temp folder, a zip
// archive of it in the drive's AutoBKP folder and, for a backup to keep, a copy of the archive in
// the chosen backup folder. Only a program on drive D, E or F takes backups.
namespace CompanyBackup {

// "dd_hm": day of month with two digits, then hour and minute without leading zeros
// (9:05 on the 7th is "07_95").
QString timeStamp(const QDate &date, const QTime &time);
// The company name with blanks and "/" made "_", then "_" and the stamp.
QString baseName(const QString &companyName, const QString &stamp);

// The letter whose folder holds the program folder (the nearest such folder), or a null QChar.
QChar programDrive(const QString &programFolder, const QMap<QChar, QString> &drives);
bool takesBackups(QChar drive);

// The default backup folder as the window proposes it.
QString defaultBackupFolder(const QString &programFolder);
// The backup folder's text, a "/" when it does not end with one, the name.
QString backupCopyPath(const QString &folderText, const QString &fileName);

struct Request
{
    QString programFolder;
    QMap<QChar, QString> drives;
    QString companyName;
    QString companyDataPath;
    bool keepCopy = true; // false: the e-mail backup, no copy into a backup folder
    QString backupFolder; // the backup folder as typed or chosen
    QDateTime now;
};

struct Plan
{
    QString database;      // the open company's file
    QString tempFolder;    // the drive's Temp folder
    QString archiveFolder; // the drive's AutoBKP folder
    QString plainCopy;
    QString archive;
    bool keepCopy = true;
    QString backupCopy;            // empty with keepCopy: no backup folder was given
    bool makeBackupFolder = false; // the default backup folder is made when missing
    QString namePrefix;            // the names' part before "_" and the time stamp
};

// What a backup requested now would write; nothing when the program's drive takes no backups.
std::optional<Plan> plan(const Request &request);

// Waiting: another backup writing the same names (the same company in the same minute) goes
// first; this one then writes over its files.
enum class Step { Folders, Waiting, PlainCopy, Archive, BackupCopy };
// Each step as it begins, and the copy of the database as it goes: percent is how much of the
// step is done, 0 to 100, or -1 where the step cannot tell (the check of the copy, the archive).
using Progress = std::function<void(Step step, int percent)>;

// Does the file work of a plan; any failure is an AppError and what was done before it stays.
// Safe on a thread of its own: it reads the company through a connection of its own. The copy of
// the database ends in a bounded time whatever other programs do with the file, and the
// half-written files of backups that died on the way are cleared first (BackupRunMark). A backup
// whose names another program is writing waits for it (BackupNameLock).
void run(const Plan &plan, const Progress &progress = {});

// Records the time of the last backup in Path.OD1 of the application database.
void recordTime(Database &common, const QDateTime &when);

} // namespace CompanyBackup
