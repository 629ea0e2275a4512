#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <vector>

class Database;
class Recordset;

// One query of a large list read in parts side by side: most of a first read is decrypting the
// file's pages, one at a time on one thread.
namespace PartedRead {

// How many parts a large read is cut into on this machine; 1 with one core.
int parts();

// Runs the statement once for each set of values, the first on db, every other one on a reader of
// db (Database::reader) on a thread of its own, and hands each recordset to read with its part's
// number; read touches only its part's own data. The caller keeps a read of the same tables open
// on db while it calls: then no program can commit before every part is read, and all parts see
// one state of the file. A part that meets a lock gives up at once (it would wait for a writer
// that waits for the caller's read); false then tells the caller to read the whole in one
// statement. So does a write transaction open on db, since the readers cannot see its rows.
bool run(Database &db, const QString &sql, const std::vector<QVariantList> &values,
         const std::function<void(Recordset &rs, int part)> &read);

} // namespace PartedRead
