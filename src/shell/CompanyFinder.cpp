#include "shell/CompanyFinder.h"

#include "core/Database.h"
#include "core/Module.h"
#include "core/Pattern.h"

#include <QDir>
#include <QFileInfo>

namespace CompanyFinder {

namespace {

QStringList subfolders(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.isReadable())
        throw AppError(75, QStringLiteral("Path/File access error: '%1'").arg(folder));
    QStringList found;
    // Links are skipped: a link back up the tree would make the walk endless.
    const auto entries = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                           QDir::Name | QDir::IgnoreCase);
    found.reserve(entries.size());
    for (const QFileInfo &entry : entries)
        found << entry.absoluteFilePath();
    return found;
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
            folders_ << subfolders(folders_.at(i));
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
