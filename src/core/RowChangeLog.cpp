#include "core/RowChangeLog.h"

#include <algorithm>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace {

// Changes kept: far more than a save writes; past it the older half is forgotten.
constexpr size_t KeptChanges = 8192;

} // namespace

RowChangeLog::RowChangeLog(sqlite3 *db) : db_(db)
{
    if (db)
        sqlite3_update_hook(db, &RowChangeLog::changed, this);
}

RowChangeLog::~RowChangeLog()
{
    if (db_)
        sqlite3_update_hook(db_, nullptr, nullptr);
}

void RowChangeLog::changed(void *log, int, const char *database, const char *table, long long key)
{
    auto &self = *static_cast<RowChangeLog *>(log);
    const std::lock_guard lock(self.mutex_);
    // Another schema's table of the same name is another table. A row of an import comes here:
    // the main schema's names are compared without being copied.
    const bool main = std::strcmp(database, "main") == 0;
    const QByteArray name = main ? QByteArray::fromRawData(table, int(std::strlen(table)))
                                 : QByteArray(database) + '.' + QByteArray(table);
    auto found = std::find(self.tables_.begin(), self.tables_.end(), name);
    if (found == self.tables_.end()) // kept as a copy of its own: SQLite's text does not last
        found = self.tables_.insert(self.tables_.end(), main ? QByteArray(table) : name);
    if (self.changes_.size() == KeptChanges) {
        self.changes_.erase(self.changes_.begin(), self.changes_.begin() + KeptChanges / 2);
        self.first_ += KeptChanges / 2;
    }
    self.changes_.push_back({int(found - self.tables_.begin()), key});
}

RowChangeLog::Mark RowChangeLog::mark() const
{
    // Counted first, outside the lock the hook takes inside SQLite's: a change between the two
    // makes the counts differ, and the keys unknown.
    const qint64 counted = sqlite3_total_changes(db_);
    const std::lock_guard lock(mutex_);
    return {first_ + qint64(changes_.size()), counted};
}

std::optional<std::vector<qint64>> RowChangeLog::keysChanged(const Mark &from, const Mark &to,
                                                             const char *table) const
{
    const std::lock_guard lock(mutex_);
    if (from.reported < first_ || from.reported > to.reported ||
        to.reported > first_ + qint64(changes_.size()) ||
        to.counted - from.counted != to.reported - from.reported)
        return std::nullopt;
    // SQLite names the table as its schema declares it; names ignore letter case.
    int wanted = -1;
    for (size_t i = 0; i < tables_.size(); ++i)
        if (qstricmp(tables_[i].constData(), table) == 0)
            wanted = int(i);
    std::vector<qint64> keys;
    for (qint64 i = from.reported; i < to.reported; ++i) {
        const Change &change = changes_[size_t(i - first_)];
        if (change.table == wanted)
            keys.push_back(change.key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}
