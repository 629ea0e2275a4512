#include "catalogue/BookListQuery.h"

#include "core/Database.h"
#include "core/ListRows.h"
#include "core/Numbers.h"
#include "core/PartedRead.h"
#include "core/Pattern.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>
#include <vector>

namespace BookListQuery {

namespace {

// SQLite's LIKE finds what the pattern function finds for a typed prefix, far faster, as long as
// every typed character is plain ASCII: LIKE folds case for ASCII alone, and 'k' has a non-ASCII
// twin (the Kelvin sign lowers to it). Such characters stand as '_' in a LIKE that takes a few
// rows too many, which the pattern function then sorts out. Nothing when LIKE cannot help.
struct LikeTest
{
    QString pattern;
    bool exact = true;
};

std::optional<LikeTest> likePrefix(const QString &typed)
{
    // LIKE reads its pattern up to a NUL and refuses a very long one.
    if (typed.size() > 1000 || typed.contains(QChar(0)))
        return std::nullopt;
    LikeTest test;
    for (const QChar c : typed) {
        const char16_t unit = c.unicode();
        if (c.isSurrogate())
            return std::nullopt;
        if (unit >= 0x80 || unit == u'k' || unit == u'K') {
            test.pattern += QLatin1Char('_');
            test.exact = false;
        } else {
            if (unit == u'%' || unit == u'_' || unit == u'\\')
                test.pattern += QLatin1Char('\\');
            test.pattern += c;
        }
    }
    test.pattern += QLatin1Char('%');
    return test;
}

// A smaller range of keys reads faster on one connection than another connection opens.
constexpr quint64 KeysPerPart = 10000;

struct Key
{
    double value;
    qint64 bookId;
    int row;
};

struct Part
{
    ListRows texts;
    std::vector<Key> keys;
};

void readRows(Recordset &rs, Part &part)
{
    const int columns = int(fields().size());
    for (int row = 0; !rs.eof(); rs.moveNext(), ++row) {
        part.texts.startRow();
        for (int column = 0; column < columns; ++column)
            rs.addDisplayText(column, part.texts);
        // Val(AccessionNo) from the text just stored, without a function call per row.
        const QByteArrayView accessionNo = part.texts.utf8(row, 1);
        part.keys.push_back({Numbers::leadingValue(accessionNo.data(), int(accessionNo.size())),
                             rs.field(0).toLongLong(), row});
    }
    rs.close();
}

} // namespace

const QStringList &fields()
{
    static const QStringList names = {
        QStringLiteral("BookID"), QStringLiteral("AccessionNo"), QStringLiteral("title"),
        QStringLiteral("Author"), QStringLiteral("Subject"),     QStringLiteral("Publisher"),
        QStringLiteral("OT11"),   QStringLiteral("Edition"),     QStringLiteral("Year"),
        QStringLiteral("Pages"),  QStringLiteral("VOL"),         QStringLiteral("Source"),
        QStringLiteral("Cost"),   QStringLiteral("OT14")};
    return names;
}

ListRows rows(Database &db, const Filter &filter)
{
    return rows(db, filter, PartedRead::parts());
}

ListRows rows(Database &db, const Filter &filter, int parts)
{
    const std::pair<const char *, const QString *> tests[] = {{"AccessionNo", &filter.accessionNo},
                                                              {"title", &filter.title},
                                                              {"Subject", &filter.subject},
                                                              {"Edition", &filter.edition},
                                                              {"OT11", &filter.location}};
    QStringList conditions;
    QVariantList values;
    for (const auto &[column, typed] : tests) {
        // An empty box matches every value, and only a value: no need to match a pattern.
        const QLatin1String name(column);
        const auto like = name == QLatin1String("AccessionNo") || typed->isEmpty()
                              ? std::nullopt
                              : likePrefix(*typed);
        if (typed->isEmpty()) {
            conditions << QStringLiteral("%1 IS NOT NULL").arg(name);
        } else if (like && like->exact) {
            conditions << QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(name);
            values << like->pattern;
        } else if (like) {
            conditions << QStringLiteral("%1 LIKE ? ESCAPE '\\' AND Pattern(%1, ?)").arg(name);
            values << like->pattern << Pattern::prefix(*typed);
        } else {
            conditions << QStringLiteral("Pattern(%1, ?)").arg(name);
            values << Pattern::prefix(*typed);
        }
    }
    const QString sql =
        QStringLiteral("SELECT BookID, AccessionNo, title, Author, Subject, Publisher, OT11, "
                       "Edition, \"Year\", Pages, VOL, Source, IFNULL(Cost, 0) AS Cost, OT14 "
                       "FROM Book WHERE %1")
            .arg(conditions.join(QStringLiteral(" AND ")));
    Recordset range =
        db.query(QStringLiteral("SELECT (SELECT min(BookID) FROM Book), (SELECT max(BookID) "
                                "FROM Book)"));
    // Read whole, the range of keys takes every book (none in an empty catalogue).
    QVariantList whole = values;
    whole << range.field(0) << range.field(1);
    std::vector<Part> read =
        PartedRead::collect(db, sql + QStringLiteral(" AND BookID BETWEEN ? AND ?"), whole,
                            PartedRead::keyRanges(range, values, parts, KeysPerPart), readRows);
    range.close();
    ListRows texts;
    std::vector<Key> keys;
    for (Part &part : read) {
        const int offset = texts.size();
        texts.append(std::move(part.texts));
        for (Key key : part.keys) {
            key.row += offset;
            keys.push_back(key);
        }
    }
    // Sorting here, on the key alone, costs a fraction of sorting the wide rows in the query.
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

std::optional<std::vector<int>> Loader::narrowing(const Held &held, const Filter &filter)
{
    // The list's columns the boxes test: accession no., title, subject, edition, location.
    const std::tuple<int, const QString *, const QString *> boxes[] = {
        {1, &held.filter.accessionNo, &filter.accessionNo},
        {2, &held.filter.title, &filter.title},
        {4, &held.filter.subject, &filter.subject},
        {7, &held.filter.edition, &filter.edition},
        {6, &held.filter.location, &filter.location}};
    if (!held.rows)
        return std::nullopt;
    // Only a box whose text grew at its end keeps to rows already read.
    for (const auto &[column, before, now] : boxes)
        if (!now->startsWith(*before))
            return std::nullopt;
    std::vector<int> kept(size_t(held.rows->size()));
    std::iota(kept.begin(), kept.end(), 0);
    for (const auto &[column, before, now] : boxes)
        if (*now != *before)
            kept = held.rows->beginningWith(kept, column, *now);
    return kept;
}

ListRows Loader::rows(const std::shared_ptr<Database> &db, const Filter &filter)
{
    const ListRowsVersion version = ListRowsVersion::of(db);
    // A copy of the rows handed out, which the caller may reorder. One copy for both lists
    // after a query: copying a large list costs as much as filtering it.
    const auto whole = [](const ListRows &rows) {
        std::vector<int> all(size_t(rows.size()));
        std::iota(all.begin(), all.end(), 0);
        return std::make_shared<const ListRows>(rows.subset(all));
    };
    ListRows rows;
    bool filtered = false;
    if (version == version_) {
        // The last list first: it never holds more rows than the one queried.
        for (const Held *held : {&listed_, &queried_}) {
            if (const auto kept = narrowing(*held, filter)) {
                rows = held->rows->subset(*kept);
                filtered = true;
                break;
            }
        }
    }
    if (!filtered) {
        version_ = {};
        rows = BookListQuery::rows(*db, filter);
        queried_ = {filter, whole(rows)};
        listed_ = queried_;
    } else {
        listed_ = {filter, whole(rows)};
    }
    version_ = version;
    return rows;
}

} // namespace BookListQuery
