#pragma once

#include "core/ListRows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;

// A member's library card.
struct Card
{
    qint64 id = 0; // never changes for the life of the card
    double cardNo = 0; // what the member shows; two cards may share it
    std::optional<qint64> groupId; // none when no group matched at the save
    QString groupName; // the group's name copied at the save
    QString rollNo;
    QString name;
    QString contact1;
    QString contact2;
    QString fatherName; // OT11
    QString address;    // OT12
    QString city;       // OT13
    QString district;   // OT14
    QString photo;      // OT15: the photo file's full path, where the user picked it
    QString remarks;
    QDate validUpto; // OD1, stored as an ISO date
};

// The rules of Card. Failures are AppErrors.
namespace CardRecords {

// The highest key plus one, 1 in an empty table.
qint64 nextId(Database &db);
// The card number a new card is offered: the highest plus one, 1 in an empty table.
double proposedCardNo(Database &db);

// Writes the card and returns its key. An added card takes the next key inside the write (its id
// is not used), so cards added by two programs at once are both stored; a replaced card keeps its
// key and its old row goes in the same transaction, so a failure leaves the old row as it was.
// Given a group name, the card takes the group of that name as it stands at the write (none when
// none matches, GroupRecords::findByName), so a group deleted by another program meanwhile is
// never named; otherwise it keeps the card's own group.
enum class Write { Add, Replace };
qint64 save(Database &db, const Card &card, Write write,
            const std::optional<QString> &groupName = std::nullopt);
// Writes a new card's row inside the caller's transaction.
void insert(Database &db, const Card &card);

// A card that any issue or return voucher names cannot be deleted.
bool inUse(Database &db, qint64 id);
// Deletes the card unless it is in use; the test and the delete are one write, so a card issued
// to by another program meanwhile stays. False when it was in use and nothing was deleted.
bool remove(Database &db, qint64 id);

std::optional<Card> find(Database &db, qint64 id);

// The card list's columns: key, card number, name, group, roll number, father, city, district,
// contact, remarks and the validity date as "dd-MMM-yy".
enum ListColumn { KeyColumn, CardNoColumn, NameColumn, GroupColumn, RollColumn, FatherColumn,
                  CityColumn, DistrictColumn, ContactColumn, RemarksColumn, ValidColumn };
inline constexpr int ListColumnCount = 11;

// The rows of the card list in card number order: every card, or with a range the cards valid up
// to a day from..to, both included (a card without a date is in no range).
struct ValidityRange
{
    QDate from;
    QDate to;
};
ListRows listRows(Database &db, std::optional<ValidityRange> range = {});

// A stored validity date as the list shows it, "dd-MMM-yy".
QString shortDate(const QString &stored);

} // namespace CardRecords
