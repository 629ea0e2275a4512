#pragma once

#include "core/Database.h"

#include <memory>

// The state of the database that a list's rows were read from: the same open file and no change
// committed since, by this connection or any other. Rows read under an equal version are still
// what a query would return.
class ListRowsVersion
{
public:
    ListRowsVersion() = default;

    static ListRowsVersion of(const std::shared_ptr<Database> &db)
    {
        ListRowsVersion version;
        version.db_ = db;
        version.dataVersion_ = db->scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
        version.changes_ = db->scalar(QStringLiteral("SELECT total_changes()")).toLongLong();
        return version;
    }

    bool operator==(const ListRowsVersion &other) const
    {
        return !db_.expired() && !db_.owner_before(other.db_) && !other.db_.owner_before(db_) &&
               dataVersion_ == other.dataVersion_ && changes_ == other.changes_;
    }

private:
    std::weak_ptr<Database> db_;
    qint64 dataVersion_ = -1; // moves on with every commit of another connection
    qint64 changes_ = -1;     // rows changed through this connection
};
