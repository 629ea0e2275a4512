#include "shell/CompanyFinder.h"

#include "core/Database.h"
#include "core/Module.h"
#include "core/Pattern.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace CompanyFinder {

namespace {

// The name as the file system holds it: valid UTF-8 read as text, any other byte as \xNN.
QString rawName(const QByteArray &bytes)
{
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes.at(i));
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length > 0 && i + length <= bytes.size()) {
            const QByteArray piece = bytes.mid(i, length);
            const QString text = QString::fromUtf8(piece);
            // Overlong forms and lone surrogates do not come back as the same bytes.
            if (!text.contains(QChar::ReplacementCharacter) && text.toUtf8() == piece) {
                shown += text;
                i += length;
                continue;
            }
        }
        shown += QStringLiteral("\\x") +
                 QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        ++i;
    }
    return shown;
}

bool isFolder(int dirFd, const dirent *entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type == DT_DIR;
    struct stat info
    {
    };
    return ::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

struct Subfolders
{
    QStringList named;       // absolute paths
    QStringList undecodable; // names that are no valid UTF-8, as the file system holds them
};

// Read with the system's own listing: Qt cannot name a folder whose name is no valid UTF-8, and
// some Qt releases then list none of the folders beside it either. Hidden folders and links are
// left out, as Qt's listing of folders leaves them (a link back up the tree would make the walk
// endless).
Subfolders readSubfolders(const QString &folder)
{
    Subfolders found;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return found;
    const QDir parent(folder);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || !isFolder(::dirfd(dir), entry))
            continue;
        const QString decoded = QFile::decodeName(name);
        if (QFile::encodeName(decoded) != name)
            found.undecodable << rawName(name);
        else
            found.named << parent.absoluteFilePath(decoded);
    }
    ::closedir(dir);
    std::sort(found.named.begin(), found.named.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    found.undecodable.sort();
    return found;
}

QStringList subfolders(const QString &folder, const FolderWalk::FailureReport &report)
{
    const QDir dir(folder);
    if (!dir.isReadable())
        throw AppError(75, QStringLiteral("Path/File access error: '%1'").arg(folder));
    Subfolders found = readSubfolders(folder);
    if (report && !found.undecodable.isEmpty())
        report(AppError(75, QStringLiteral("Path/File access error: the folder name %1 in '%2' "
                                           "is not valid UTF-8, so it was skipped. Rename "
                                           "it to list its company.")
                                .arg(QStringLiteral("\"") +
                                         found.undecodable.join(QStringLiteral("\", \"")) +
                                         QStringLiteral("\""),
                                     folder)));
    return found.named;
}

} // namespace

void FolderWalk::restart(const QString &root, const FailureReport &report)
{
    folders_.clear();
    levelFirst_ = levelLast_ = 0;
    const QFileInfo info(root);
    if (root.isEmpty() || !info.isDir())
        throw AppError(76, QStringLiteral("Path not found: '%1'").arg(root));
    folders_ << QDir::cleanPath(info.absoluteFilePath());
    while (analyze(levelFirst_, levelLast_, report) == 0) {
    }
}

int FolderWalk::analyze(int from, int to, const FailureReport &report)
{
    for (int i = from; i <= to && i < folders_.size(); ++i) {
        try {
            folders_ << subfolders(folders_.at(i), report);
        } catch (const AppError &error) {
            if (report)
                report(error);
        }
    }
    levelFirst_ = to + 1;
    levelLast_ = int(folders_.size()) - 1;
    return levelFirst_ <= levelLast_ ? 0 : 1;
}

QList<CompanyRow> scanFolder(const QString &folder, const QString &filter,
                             std::shared_ptr<Database> *opened)
{
    const QString name = QLatin1String(Module::CompanyDatabaseName);
    const QString file = QDir(folder).filePath(name);
    // The name must match exactly, letter case included, and be a file of its own.
    const QFileInfo info(file);
    if (!info.isFile() || info.fileName() != name)
        return {};
    auto db = Database::open(file);
    if (opened)
        *opened = db;
    QList<CompanyRow> rows;
    Recordset rs = db->query(
        QStringLiteral("SELECT * FROM Company WHERE Pattern(CompanyName, ?) ORDER BY CompanyName"),
        {Pattern::prefix(filter)});
    for (; !rs.eof(); rs.moveNext())
        rows.append({rs.text(QStringLiteral("CompanyName")), file, folder,
                     rs.text(QStringLiteral("city"))});
    return rows;
}

} // namespace CompanyFinder
