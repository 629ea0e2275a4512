#pragma once

#include "platform/ListWorkbook.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class Database;
namespace XlsxReader {
struct Sheet;
}

// The card list's exchange with the list workbook: its columns both ways.
namespace CardExchange {

ListWorkbook::Layout layout(const QString &companyName);

// The cards with these keys in the order given, each as its workbook columns from "Card No." on;
// a key whose card is gone gives no row.
std::vector<QStringList> exportRows(Database &db, const QList<qint64> &keys);

// The group every imported card joins: the first row of Group1, none when there is no group.
struct Group
{
    qint64 id;
    QString name;
};
std::optional<Group> importGroup(Database &db);

// Stores workbook rows as new cards in the import group, each under the next key: the highest plus
// one. Both are read at the start of each import transaction, so no card names a group another
// program deleted meanwhile, and the key is counted on in memory. A card number that is not a
// number fails its row.
ListWorkbook::RowStore rowStore(Database &db, const XlsxReader::Sheet &sheet);

} // namespace CardExchange
