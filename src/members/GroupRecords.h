#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Database;
class Recordset;

// A member group: what every card of the group may borrow and what a late day costs.
struct Group
{
    qint64 id = 0;
    QString name;
    double finePerDay = 0;
    double maxBooks = 0;
    double maxDays = 0; // shown and printed; nothing computes with it
    QString remarks;
};

// The rules of Group1, which only the group window writes. Failures are AppErrors.
namespace GroupRecords {

// The highest key plus one, 1 in an empty table.
qint64 nextId(Database &db);

// Writes the group and returns its key. An added group takes the next key inside the write (its
// id is not used), so groups added by two programs at once are both stored; a replaced group
// keeps its key and its old row goes in the same transaction, so a failure leaves the old row.
enum class Write { Add, Replace };
qint64 save(Database &db, const Group &group, Write write);

// A group that any card names cannot be deleted.
bool inUse(Database &db, qint64 id);
// Deletes the group unless it is in use; the test and the delete are one write, so a group given
// a card by another program meanwhile stays. False when it was in use and nothing was deleted.
bool remove(Database &db, qint64 id);

std::optional<Group> find(Database &db, qint64 id);
// The group whose whole name matches, ignoring letter case in every alphabet; with two of that
// name, the one with the lowest key.
std::optional<Group> findByName(Database &db, const QString &name);

// Every group ordered by name (the group list and the card window's group box).
Recordset list(Database &db);
QStringList names(Database &db);

} // namespace GroupRecords
