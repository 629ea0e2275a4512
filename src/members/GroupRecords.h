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

// Writes the group under its key. A replaced group's old row goes in the same transaction, so a
// failure leaves the old row as it was.
enum class Write { Add, Replace };
void save(Database &db, const Group &group, Write write);

// A group that any card names cannot be deleted.
bool inUse(Database &db, qint64 id);
void remove(Database &db, qint64 id);

std::optional<Group> find(Database &db, qint64 id);
// The group whose whole name matches, ignoring letter case in every alphabet; with two of that
// name, the one with the lowest key.
std::optional<Group> findByName(Database &db, const QString &name);

// Every group ordered by name (the group list and the card window's group box).
Recordset list(Database &db);
QStringList names(Database &db);

} // namespace GroupRecords
