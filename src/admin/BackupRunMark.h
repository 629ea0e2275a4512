#pragma once

#include <QString>
#include <functional>

// The trace backups leave in a folder while they write there: each holds the folder's hidden mark,
// shared, from before its first file there to its end. A backup that finds nobody holding the mark
// takes it alone for a moment and clears the half-written files that backups killed on the way
// left; while another backup runs, its files are left alone and a later backup clears what died.
class BackupRunMark
{
public:
    // The mark of a drive's backups, in its AutoBKP folder: it clears the copies "<name>.mdb.part"
    // in Temp with the journal, log and shared-memory files SQLite kept beside them, and the
    // archives "<name>.zip.part" and name locks (BackupNameLock) in AutoBKP. Both folders exist;
    // an AppError when the mark cannot be made.
    BackupRunMark(const QString &tempFolder, const QString &archiveFolder);
    // The mark of the folder the archive is copied into, for as long as it is copied: it clears
    // the copies "<prefix>_<stamp>.zip.part" there, the names of one company's backups (a folder
    // the user chose may hold other programs' ".part" files). A folder that cannot take the mark is
    // left alone: the copy tells what is wrong with it. The last backup out removes the mark, so
    // it stays in no folder of the user's.
    static BackupRunMark inBackupFolder(const QString &backupFolder, const QString &namePrefix);
    ~BackupRunMark();
    BackupRunMark(const BackupRunMark &) = delete;
    BackupRunMark &operator=(const BackupRunMark &) = delete;

    // The mark's name in a folder; hidden, so no archive list shows it.
    static QString markName();

private:
    struct BackupFolder
    {
    };
    BackupRunMark(BackupFolder, const QString &backupFolder, const QString &namePrefix);
    // Takes the mark in the folder, alone first to clear the dead files, then shared; false when
    // the mark cannot be made.
    bool hold(const QString &folder, const std::function<void()> &clear);

    int descriptor_ = -1;
    QString removeWhenLast_;
};

// Backups that write the same names (one company in the same minute, from two programs) one after
// the other: each holds the hidden lock of its name in AutoBKP alone, from before its first file to
// its end; a second one waits for the first and then writes over its files, as a backup of the
// same name later on would. Taken while the drive's BackupRunMark is held, so a lock that nobody
// holds while the mark is held alone is a dead one.
class BackupNameLock
{
public:
    // waiting runs once, before the wait, when another backup of that name is writing. An AppError
    // when the lock cannot be made.
    BackupNameLock(const QString &archiveFolder, const QString &name,
                   const std::function<void()> &waiting);
    ~BackupNameLock();
    BackupNameLock(const BackupNameLock &) = delete;
    BackupNameLock &operator=(const BackupNameLock &) = delete;

    // The lock's name in AutoBKP for the backup of that base name.
    static QString lockName(const QString &name);

private:
    int descriptor_ = -1;
    QString path_;
};
