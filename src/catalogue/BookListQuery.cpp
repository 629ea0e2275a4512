#include "catalogue/BookListQuery.h"

#include "core/Database.h"
#include "core/ListRows.h"
#include "core/Pattern.h"

#include <algorithm>
#include <vector>

namespace BookListQuery {

const QStringList &fields()
{
    static const QStringList names = {
        QStringLiteral("BookID"),  QStringLiteral("AccessionNo"), QStringLiteral("title"),
        QStringLiteral("Author"),  QStringLiteral("Subject"),     QStringLiteral("Publisher"),
        QStringLiteral("OT11"),    QStringLiteral("Edition"),     QStringLiteral("Year"),
        QStringLiteral("Pages"),   QStringLiteral("VOL"),         QStringLiteral("Source"),
        QStringLiteral("Cost"),    QStringLiteral("OT14")};
    return names;
}

ListRows rows(Database &db, const Filter &filter)
{
    // Every page read is decrypted anew unless it is cached: keep a catalogue of 100,000 books
    // (some 50 MB) decrypted, so a search scans memory.
    db.execute(QStringLiteral("PRAGMA cache_size = -131072"));
    const std::pair<const char *, const QString *> tests[] = {
        {"AccessionNo", &filter.accessionNo}, {"title", &filter.title},
        {"Subject", &filter.subject},         {"Edition", &filter.edition},
        {"OT11", &filter.location}};
    QStringList conditions;
    QVariantList values;
    for (const auto &[column, typed] : tests) {
        // An empty box matches every value, and only a value: no need to match a pattern.
        if (typed->isEmpty()) {
            conditions << QStringLiteral("%1 IS NOT NULL").arg(QLatin1String(column));
        } else {
            conditions << QStringLiteral("Pattern(%1, ?)").arg(QLatin1String(column));
            values << Pattern::prefix(*typed);
        }
    }
    // Sorting here, on the key alone, costs a fraction of sorting the wide rows in the query.
    Recordset rs = db.query(
        QStringLiteral("SELECT BookID, AccessionNo, title, Author, Subject, Publisher, OT11, "
                       "Edition, \"Year\", Pages, VOL, Source, IFNULL(Cost, 0) AS Cost, OT14, "
                       "Val(AccessionNo) FROM Book WHERE %1")
            .arg(conditions.join(QStringLiteral(" AND "))),
        values);
    const int columns = int(fields().size());
    struct Key
    {
        double value;
        qint64 bookId;
        int row;
    };
    std::vector<Key> keys;
    ListRows texts;
    for (int row = 0; !rs.eof(); rs.moveNext(), ++row) {
        texts.startRow();
        for (int column = 0; column < columns; ++column)
            rs.addDisplayText(column, texts);
        keys.push_back({rs.field(columns).toDouble(), rs.field(0).toLongLong(), row});
    }
    rs.close();
    std::sort(keys.begin(), keys.end(), [](const Key &a, const Key &b) {
        return a.value != b.value ? a.value < b.value : a.bookId < b.bookId;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const Key &key : keys)
        order.push_back(key.row);
    texts.reorder(order);
    return texts;
}

} // namespace BookListQuery
