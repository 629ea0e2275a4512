#pragma once

#include <QString>

// The trace the backups of one drive leave in its AutoBKP folder while they write: each holds the
// hidden mark, shared, from before its first file to its end. A backup that finds nobody holding
// the mark takes it alone for a moment and clears the half-written files that backups killed on
// the way left (the copies "<name>.mdb.part" in Temp, the archives "<name>.zip.part" in AutoBKP);
// while another backup runs, its files are left alone and a later backup clears what died.
class BackupRunMark
{
public:
    // Both folders exist; an AppError when the mark cannot be made.
    BackupRunMark(const QString &tempFolder, const QString &archiveFolder);
    ~BackupRunMark();
    BackupRunMark(const BackupRunMark &) = delete;
    BackupRunMark &operator=(const BackupRunMark &) = delete;

    // The mark's name in the AutoBKP folder; hidden, so no archive list shows it.
    static QString markName();

private:
    int descriptor_ = -1;
};
