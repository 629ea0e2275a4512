#pragma once

#include "core/Database.h"

#include <memory>
#include <optional>
#include <vector>

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
        version.changes_ = db->rowChanges().mark();
        return version;
    }

    bool operator==(const ListRowsVersion &other) const
    {
        return sameDatabase(other) && dataVersion_ == other.dataVersion_ &&
               changes_ == other.changes_;
    }

    // Whether this is the state of the other or a later one, on the same open file: rows read at
    // this version hold every change committed before the other was taken.
    bool isAtLeast(const ListRowsVersion &other) const
    {
        return sameDatabase(other) && dataVersion_ >= other.dataVersion_ &&
               changes_.reported >= other.changes_.reported &&
               changes_.counted >= other.changes_.counted;
    }
    // Whether another connection committed between an earlier version and this one (or they are
    // not of one open file).
    bool othersCommittedSince(const ListRowsVersion &earlier) const
    {
        return !sameDatabase(earlier) || dataVersion_ != earlier.dataVersion_;
    }
    // Taken on an open file that is still open.
    bool isValid() const { return !db_.expired(); }

    // The keys of the table's rows that this connection changed between an earlier version and
    // this one, where no other connection committed between them and each change is known by
    // key; none otherwise.
    std::optional<std::vector<qint64>> ownChangesSince(const ListRowsVersion &earlier,
                                                       const char *table) const
    {
        if (othersCommittedSince(earlier))
            return std::nullopt;
        return ownKeysSince(earlier, table);
    }
    // The keys of the table's rows that this connection changed between an earlier version and
    // this one, whatever other connections committed meanwhile; none where a change is not known
    // by key.
    std::optional<std::vector<qint64>> ownKeysSince(const ListRowsVersion &earlier,
                                                    const char *table) const
    {
        const std::shared_ptr<Database> db = db_.lock();
        if (!db || !sameDatabase(earlier))
            return std::nullopt;
        return db->rowChanges().keysChanged(earlier.changes_, changes_, table);
    }

private:
    bool sameDatabase(const ListRowsVersion &other) const
    {
        return !db_.expired() && !db_.owner_before(other.db_) && !other.db_.owner_before(db_);
    }

    std::weak_ptr<Database> db_;
    qint64 dataVersion_ = -1;    // moves on with every commit of another connection
    RowChangeLog::Mark changes_; // rows changed through this connection
};
