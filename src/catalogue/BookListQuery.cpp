#include "catalogue/BookListQuery.h"

#include "core/Database.h"
#include "core/Pattern.h"

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

Recordset rows(Database &db, const Filter &filter)
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
    return db.query(
        QStringLiteral("SELECT BookID, AccessionNo, title, Author, Subject, Publisher, OT11, "
                       "Edition, \"Year\", Pages, VOL, Source, IFNULL(Cost, 0) AS Cost, OT14 "
                       "FROM Book WHERE %1 ORDER BY Val(AccessionNo), BookID")
            .arg(conditions.join(QStringLiteral(" AND "))),
        values);
}

} // namespace BookListQuery
