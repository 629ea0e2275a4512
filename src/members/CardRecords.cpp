#include "members/CardRecords.h"

#include "core/Database.h"
#include "core/DateText.h"
#include "core/ListRows.h"
#include "members/GroupRecords.h"

namespace CardRecords {

namespace {

Card fromRow(const Recordset &rs)
{
    Card card;
    card.id = rs.field(QStringLiteral("CardID")).toLongLong();
    card.cardNo = rs.number(QStringLiteral("CardNo"));
    const QVariant group = rs.field(QStringLiteral("GroupID"));
    if (!group.isNull())
        card.groupId = group.toLongLong();
    card.groupName = rs.text(QStringLiteral("GroupName"));
    card.rollNo = rs.text(QStringLiteral("RollNo"));
    card.name = rs.text(QStringLiteral("Name"));
    card.contact1 = rs.text(QStringLiteral("Contact1"));
    card.contact2 = rs.text(QStringLiteral("Contact2"));
    card.fatherName = rs.text(QStringLiteral("OT11"));
    card.address = rs.text(QStringLiteral("OT12"));
    card.city = rs.text(QStringLiteral("OT13"));
    card.district = rs.text(QStringLiteral("OT14"));
    card.photo = rs.text(QStringLiteral("OT15"));
    card.remarks = rs.text(QStringLiteral("Remarks"));
    card.validUpto = DateText::parse(rs.text(QStringLiteral("OD1")));
    return card;
}

QVariant orNull(const std::optional<qint64> &value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

qint64 nextId(Database &db)
{
    return db.scalar(QStringLiteral("SELECT Max(CardID) FROM Card")).toLongLong() + 1;
}

double proposedCardNo(Database &db)
{
    return db.scalar(QStringLiteral("SELECT Max(CardNo) FROM Card")).toDouble() + 1;
}

qint64 save(Database &db, const Card &card, Write write, const std::optional<QString> &groupName)
{
    Transaction transaction(db);
    Card stored = card;
    if (groupName) {
        const std::optional<Group> group = GroupRecords::findByName(db, *groupName);
        stored.groupId = group ? std::optional<qint64>(group->id) : std::nullopt;
        stored.groupName = group ? group->name : QString();
    }
    if (write == Write::Replace)
        db.execute(QStringLiteral("DELETE FROM Card WHERE CardID = ?"), {card.id});
    else
        stored.id = nextId(db);
    insert(db, stored);
    transaction.commit();
    return stored.id;
}

void insert(Database &db, const Card &card)
{
    db.execute(QStringLiteral("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, "
                              "Name, Contact1, Contact2, OT11, OT12, OT13, OT14, OT15, Remarks, "
                              "OD1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {card.id, card.cardNo, orNull(card.groupId),
                card.groupId ? QVariant(card.groupName) : QVariant(), card.rollNo, card.name,
                card.contact1, card.contact2, card.fatherName, card.address, card.city,
                card.district, card.photo, card.remarks,
                card.validUpto.isValid() ? QVariant(DateText::toIso(card.validUpto))
                                         : QVariant()});
}

bool inUse(Database &db, qint64 id)
{
    return !db.scalar(QStringLiteral("SELECT 1 FROM Voucher WHERE CardID = ? LIMIT 1"), {id})
                .isNull();
}

bool remove(Database &db, qint64 id)
{
    Transaction transaction(db);
    if (inUse(db, id))
        return false;
    db.execute(QStringLiteral("DELETE FROM Card WHERE CardID = ?"), {id});
    transaction.commit();
    return true;
}

std::optional<Card> find(Database &db, qint64 id)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Card WHERE CardID = ?"), {id});
    if (rs.eof())
        return std::nullopt;
    return fromRow(rs);
}

QString shortDate(const QString &stored)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // The stored ISO form is cut apart directly: 20,000 cards list at once.
    if (stored.size() == 10 && stored[4] == QLatin1Char('-') && stored[7] == QLatin1Char('-')) {
        const int month = QStringView(stored).mid(5, 2).toInt();
        if (month >= 1 && month <= 12)
            return stored.mid(8, 2) + QLatin1Char('-') + QLatin1String(months[month - 1]) +
                   QLatin1Char('-') + stored.mid(2, 2);
    }
    return DateText::toShort(DateText::parse(stored));
}

ListRows listRows(Database &db, std::optional<ValidityRange> range)
{
    static const char *const select =
        "SELECT CardID, CardNo, Name, GroupName, RollNo, OT11, OT13, OT14, Contact1, Remarks, "
        "OD1 FROM Card ";
    Recordset rs = range ? db.query(QLatin1String(select) +
                                        QStringLiteral("WHERE OD1 BETWEEN ? AND ? "
                                                       "ORDER BY CardNo, CardID"),
                                    {DateText::toIso(range->from), DateText::toIso(range->to)})
                         : db.query(QLatin1String(select) + QStringLiteral("ORDER BY CardNo, CardID"));
    ListRows rows;
    for (; !rs.eof(); rs.moveNext()) {
        rows.startRow();
        for (int column = 0; column < ValidColumn; ++column)
            rs.addDisplayText(column, rows);
        rows.addText(shortDate(rs.displayText(ValidColumn)));
    }
    return rows;
}

} // namespace CardRecords
