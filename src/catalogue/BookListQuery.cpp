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

// A catalogue whose keys span fewer is read whole about as soon as its first rows would show.
constexpr quint64 FirstRowsKeys = 20000;

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
                             rs.integer(0), row});
    }
    rs.close();
}

bool before(const Key &a, const Key &b)
{
    return a.value != b.value ? a.value < b.value : a.bookId < b.bookId;
}

// The filter's tests of the five boxes, each with its bound values; the accession number's first.
struct Tests
{
    QStringList conditions;
    std::vector<QVariantList> values;

    QString all() const { return conditions.join(QStringLiteral(" AND ")); }
    QVariantList allValues() const
    {
        QVariantList joined;
        for (const QVariantList &some : values)
            joined << some;
        return joined;
    }
};

Tests testsOf(const Filter &filter)
{
    const std::pair<const char *, const QString *> boxes[] = {{"AccessionNo", &filter.accessionNo},
                                                              {"title", &filter.title},
                                                              {"Subject", &filter.subject},
                                                              {"Edition", &filter.edition},
                                                              {"OT11", &filter.location}};
    Tests tests;
    for (const auto &[column, typed] : boxes) {
        // An empty box matches every value, and only a value: no need to match a pattern.
        const QLatin1String name(column);
        const auto like = name == QLatin1String("AccessionNo") || typed->isEmpty()
                              ? std::nullopt
                              : likePrefix(*typed);
        QVariantList values;
        if (typed->isEmpty()) {
            tests.conditions << QStringLiteral("%1 IS NOT NULL").arg(name);
        } else if (like && like->exact) {
            tests.conditions << QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(name);
            values << like->pattern;
        } else if (like) {
            tests.conditions
                << QStringLiteral("%1 LIKE ? ESCAPE '\\' AND Pattern(%1, ?)").arg(name);
            values << like->pattern << Pattern::prefix(*typed);
        } else {
            tests.conditions << QStringLiteral("Pattern(%1, ?)").arg(name);
            values << Pattern::prefix(*typed);
        }
        tests.values.push_back(values);
    }
    return tests;
}

const QString &selectList()
{
    static const QString select =
        QStringLiteral("SELECT BookID, AccessionNo, title, Author, Subject, Publisher, OT11, "
                       "Edition, \"Year\", Pages, VOL, Source, IFNULL(Cost, 0) AS Cost, OT14 "
                       "FROM Book WHERE ");
    return select;
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
    const Tests tests = testsOf(filter);
    const QVariantList values = tests.allValues();
    const QString sql = selectList() + tests.all();
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
    std::sort(keys.begin(), keys.end(), before);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const Key &key : keys)
        order.push_back(key.row);
    texts.reorder(order);
    return texts;
}

std::optional<ListRows> firstRows(Database &db, const Filter &filter, int count)
{
    const Tests tests = testsOf(filter);
    // Open until the rows are read, so that every statement below sees one state of the file.
    Recordset range =
        db.query(QStringLiteral("SELECT (SELECT min(BookID) FROM Book), (SELECT max(BookID) "
                                "FROM Book)"));
    if (range.field(0).isNull() ||
        quint64(range.field(1).toLongLong()) - quint64(range.field(0).toLongLong()) < FirstRowsKeys)
        return std::nullopt;
    // The accession numbers' index gives the order from a small fraction of the table's pages.
    std::vector<Key> keys;
    for (Recordset rs = db.query(QStringLiteral("SELECT BookID, AccessionNo FROM Book WHERE ") +
                                     tests.conditions.first(),
                                 tests.values.front());
         !rs.eof(); rs.moveNext()) {
        const QByteArrayView accessionNo = rs.utf8(1);
        keys.push_back(
            {Numbers::leadingValue(accessionNo.data(), int(accessionNo.size())), rs.integer(0), 0});
    }
    // Books the other boxes leave out are passed over; where most are, reading whole is quicker.
    const size_t passOver = size_t(count) * 16;
    ListRows first;
    for (size_t taken = 0; first.size() < count && taken < keys.size();) {
        if (taken >= passOver)
            return std::nullopt;
        const auto from = keys.begin() + qsizetype(taken);
        const auto to = from + qsizetype(std::min(keys.size() - taken, size_t(count)));
        std::partial_sort(from, to, keys.end(), before);
        QVariantList values = tests.allValues();
        QStringList marks;
        for (auto key = from; key != to; ++key) {
            values << key->bookId;
            marks << QStringLiteral("?");
        }
        Part part;
        Recordset rs = db.query(selectList() + tests.all() +
                                    QStringLiteral(" AND BookID IN (%1)").arg(marks.join(u',')),
                                values);
        readRows(rs, part);
        std::sort(part.keys.begin(), part.keys.end(), before);
        std::vector<int> order;
        for (const Key &key : part.keys)
            if (first.size() + int(order.size()) < count)
                order.push_back(key.row);
        first.append(part.texts.subset(order));
        taken += size_t(to - from);
    }
    return first;
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
