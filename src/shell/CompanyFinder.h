#pragma once

#include "core/AppError.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Database;

// Finds company databases below a data root: a breadth-first walk that collects every folder, and a
// scan that looks into each walked folder for the company database and lists its companies.
namespace CompanyFinder {

// One company as the picker lists it.
struct CompanyRow
{
    QString name;
    QString databaseFile;
    QString folder;
    QString city;
};

// The folders below a root, level by level, parents before children, each folder once.
class FolderWalk
{
public:
    using FailureReport = std::function<void(const AppError &)>;

    // Empties the list and walks the whole tree below root before it returns. A root that is not a
    // folder is an AppError and leaves the list empty. A folder that cannot be listed is reported
    // once and passed over; links to folders are not followed, so the walk always ends.
    void restart(const QString &root, const FailureReport &report);

    // One level of the walk over entries from..to; 1 when the walk is complete, else 0.
    int analyze(int from, int to, const FailureReport &report);

    const QStringList &folders() const { return folders_; }
    int levelFirst() const { return levelFirst_; }
    int levelLast() const { return levelLast_; }

private:
    QStringList folders_;
    int levelFirst_ = 0;
    int levelLast_ = 0;
};

// Lists the companies of the company database in folder whose names begin with filter (letter case
// ignored), in name order. Returns nothing when the folder holds no file of exactly the database's
// name. The database stays open in *opened when rows were looked for. Throws AppError.
QList<CompanyRow> scanFolder(const QString &folder, const QString &filter,
                             std::shared_ptr<Database> *opened = nullptr);

} // namespace CompanyFinder
