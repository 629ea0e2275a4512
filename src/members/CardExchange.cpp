#include "members/CardExchange.h"

#include "core/AppError.h"
#include "core/Database.h"
#include "core/Numbers.h"
#include "members/CardRecords.h"
#include "platform/XlsxReader.h"

#include <QHash>
#include <memory>

namespace CardExchange {

ListWorkbook::Layout layout(const QString &companyName)
{
    return {companyName,
            QStringLiteral("CARD LIST"),
            {"Sr. No.", "Card No.", "Group", "Roll No", "Name", "FatherName", "Address",
             "City/Village", "Distt", "Contact No. 1", "Contact No. 2", "Remarks"},
            12};
}

std::vector<QStringList> exportRows(Database &db, const QList<qint64> &keys)
{
    QHash<qint64, QStringList> cards;
    Recordset rs = db.query(QStringLiteral(
        "SELECT CardID, CardNo, GroupName, RollNo, Name, OT11, OT12, OT13, OT14, Contact1, "
        "Contact2, Remarks FROM Card"));
    for (; !rs.eof(); rs.moveNext()) {
        QStringList texts;
        for (int i = 1; i < rs.columnCount(); ++i)
            texts << rs.displayText(i);
        cards.insert(rs.field(0).toLongLong(), texts);
    }
    rs.close();
    std::vector<QStringList> rows;
    rows.reserve(size_t(keys.size()));
    for (const qint64 key : keys) {
        const auto found = cards.constFind(key);
        if (found != cards.cend())
            rows.push_back(*found);
    }
    return rows;
}

std::optional<Group> importGroup(Database &db)
{
    Recordset rs = db.query(QStringLiteral("SELECT GroupID, GroupName FROM Group1"));
    if (rs.eof())
        return std::nullopt;
    return Group{rs.field(0).toLongLong(), rs.text(QStringLiteral("GroupName"))};
}

namespace {

void storeRow(Database &db, const XlsxReader::Sheet &sheet, int row, qint64 key,
              const std::optional<Group> &group)
{
    const auto text = [&](int column) { return sheet.cell(row, column).asText(); };
    Card card;
    card.id = key;
    const QString cardNo = text(2).trimmed();
    bool isNumber = true;
    card.cardNo = cardNo.isEmpty() ? 0 : cardNo.toDouble(&isNumber);
    if (!isNumber)
        throw AppError(13, QStringLiteral("The card number \"%1\" is not a number.").arg(cardNo));
    if (group) {
        card.groupId = group->id;
        card.groupName = group->name;
    }
    card.rollNo = text(4);
    card.name = text(5);
    card.fatherName = text(6);
    card.address = text(7);
    card.city = text(8);
    card.district = text(9);
    card.contact1 = text(10);
    card.contact2 = text(11);
    card.remarks = text(12);
    CardRecords::insert(db, card);
}

} // namespace

ListWorkbook::RowStore rowStore(Database &db, const XlsxReader::Sheet &sheet)
{
    auto nextKey = std::make_shared<qint64>(0);
    auto group = std::make_shared<std::optional<Group>>();
    return {[&db, nextKey, group] {
                *nextKey = CardRecords::nextId(db);
                *group = importGroup(db);
            },
            [&db, &sheet, group, nextKey](int row) {
                storeRow(db, sheet, row, (*nextKey)++, *group);
            }};
}

} // namespace CardExchange
