#pragma once

#include <QByteArray>
#include <mutex>
#include <optional>
#include <vector>

struct sqlite3;

// The rows one connection changed, by table and key, as SQLite reports each insert, update and
// delete: what lets a list read earlier follow the connection's own saves by key instead of
// reading a whole table again. Only the newest changes are kept; an import forgets the older.
class RowChangeLog
{
public:
    // Logs the connection's changes from now on; lives as long as the connection.
    explicit RowChangeLog(sqlite3 *db);
    ~RowChangeLog();
    RowChangeLog(const RowChangeLog &) = delete;
    RowChangeLog &operator=(const RowChangeLog &) = delete;

    // A point in the connection's changes: those reported and those SQLite counted up to it.
    struct Mark
    {
        qint64 reported = -1;
        qint64 counted = -1;
        bool operator==(const Mark &) const = default;
    };
    Mark mark() const;
    // The keys of the table's rows changed between two marks, each once, in key order; none where
    // a change between them is not known by key: forgotten, or counted without being reported (a
    // DELETE of a whole table, a table without keys).
    std::optional<std::vector<qint64>> keysChanged(const Mark &from, const Mark &to,
                                                   const char *table) const;

private:
    static void changed(void *log, int operation, const char *database, const char *table,
                        long long key);

    struct Change
    {
        int table;
        qint64 key;
    };
    sqlite3 *db_;
    mutable std::mutex mutex_; // a connection may write on another thread
    std::vector<QByteArray> tables_;
    std::vector<Change> changes_; // changes_[i] is change number first_ + i
    qint64 first_ = 0;
};
