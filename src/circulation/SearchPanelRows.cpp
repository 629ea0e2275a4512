#include "circulation/SearchPanelRows.h"

#include "core/Database.h"
#include "core/PartedRead.h"

#include <algorithm>
#include <optional>
#include <ranges>

namespace {

// Below this many keys a part costs more to start than it saves.
constexpr quint64 KeysPerPart = 4096;

// More rows changed than this are read again with the whole table.
constexpr size_t MostFollowed = 500;

QString statement(const SearchPanelRows::Source &source)
{
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 BETWEEN ? AND ? ORDER BY %5")
        .arg(QLatin1String(source.columns), QLatin1String(source.missing),
             QLatin1String(source.table), QLatin1String(source.key), QLatin1String(source.order));
}

struct Part
{
    ListRows rows;
    std::vector<quint8> missing;
    std::vector<qint64> keys;
};

void readPart(Recordset &rs, Part &part)
{
    const int shown = rs.columnCount() - 1;
    for (; !rs.eof(); rs.moveNext()) {
        part.rows.startRow();
        for (int column = 0; column < shown; ++column)
            rs.addDisplayText(column, part.rows);
        part.keys.push_back(rs.field(0).toLongLong());
        part.missing.push_back(quint8(rs.field(shown).toInt()));
    }
}

// The order of a NOCASE column: bytes compared with ASCII letters folded, then the shorter first.
int compareNoCase(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        auto x = uchar(a[i]);
        auto y = uchar(b[i]);
        if (x >= 'A' && x <= 'Z')
            x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z')
            y += 'a' - 'A';
        if (x != y)
            return int(x) - int(y);
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Whether a part's row comes before another's in the list's order: on box 1's column (missing
// values first, as the query puts them), then the key.
bool before(const Part &x, int xRow, const Part &y, int yRow, int sorted)
{
    const bool xMissing = x.missing[size_t(xRow)] & 1;
    const bool yMissing = y.missing[size_t(yRow)] & 1;
    if (xMissing != yMissing)
        return xMissing;
    if (const int byName = compareNoCase(x.rows.utf8(xRow, sorted), y.rows.utf8(yRow, sorted)))
        return byName < 0;
    return x.keys[size_t(xRow)] < y.keys[size_t(yRow)];
}

// The parts' rows in the given order: indexes into the parts' rows appended one after the other.
SearchPanelRows::Read joined(std::vector<Part> parts, const std::vector<int> &order)
{
    std::vector<quint8> missing;
    std::vector<qint64> keys;
    for (const Part &part : parts) {
        missing.insert(missing.end(), part.missing.begin(), part.missing.end());
        keys.insert(keys.end(), part.keys.begin(), part.keys.end());
    }
    SearchPanelRows::Read read;
    read.missing.reserve(order.size());
    read.keys.reserve(order.size());
    for (const int row : order) {
        read.missing.push_back(missing[size_t(row)]);
        read.keys.push_back(keys[size_t(row)]);
    }
    for (Part &part : parts)
        read.rows.append(std::move(part.rows));
    read.rows.reorder(order);
    return read;
}

// The characters beyond ASCII that a filter folds to an ASCII letter (as U+212A, the Kelvin sign,
// folds to "k"), for each ASCII character, as the running Qt folds them.
const std::array<QString, 128> &foldedIntoAscii()
{
    static const std::array<QString, 128> folded = [] {
        std::array<QString, 128> into;
        for (char32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
            const char16_t lowered = QChar(char16_t(unit)).toLower().unicode();
            if (lowered < 0x80)
                into[lowered] += QChar(char16_t(unit));
        }
        return into;
    }();
    return folded;
}

// Where a typed beginning's rows lie in an index of the column folded as NOCASE folds it (ASCII
// letters only): the folded beginning the rows all have, and the UTF-8 starts of the ranges that
// hold them, in the index's order. The ranges end at the first character the filter folds from
// beyond ASCII as well (each way of writing it is a range of its own) or that is not ASCII.
struct Beginning
{
    QByteArray folded;
    QList<QByteArray> starts;
};

std::optional<Beginning> beginningOf(const QString &typed)
{
    Beginning beginning;
    // The typed text as the filter receives it: through UTF-8 and back, each unit lowered.
    for (const QChar c : QString::fromUtf8(typed.toUtf8())) {
        const char16_t lowered = c.toLower().unicode();
        if (lowered >= 0x80)
            break;
        beginning.folded += char(lowered);
        const QString &others = foldedIntoAscii()[lowered];
        if (!others.isEmpty()) {
            const QByteArray before = beginning.folded.chopped(1);
            for (const QChar other : others)
                beginning.starts << before + QString(other).toUtf8();
            break;
        }
    }
    if (beginning.folded.isEmpty())
        return std::nullopt;
    // The ASCII range first: every other start goes on with a byte past ASCII.
    beginning.starts.prepend(beginning.folded);
    std::sort(beginning.starts.begin() + 1, beginning.starts.end());
    return beginning;
}

// The last entry of the file's RowChange log, -1 where it has none. Read while a read of the
// rows is held open, it belongs to the state those rows are of.
qint64 lastLogged(Database &db)
{
    if (!db.hasTable(QStringLiteral("RowChange")))
        return -1;
    return db.scalar(QStringLiteral("SELECT ifnull(max(Seq), 0) FROM RowChange")).toLongLong();
}

} // namespace

bool SearchPanelRows::catchUp(const std::shared_ptr<Database> &db)
{
    const ListRowsVersion now = ListRowsVersion::of(db);
    if (now == read_)
        return true;
    // Rows followed inside a write transaction would stay as read if it were rolled back.
    if (db->inTransaction())
        return false;
    const std::optional<std::vector<qint64>> keys = now.ownChangesSince(read_, source_.table);
    if (keys) {
        if (keys->size() > MostFollowed)
            return false;
        follow(*db, *keys);
    } else if (!followLogged(*db, now)) {
        return false;
    }
    read_ = now;
    return true;
}

bool SearchPanelRows::followLogged(Database &db, const ListRowsVersion &now)
{
    // The rows added by db itself are not logged either: they are known from its own changes.
    const std::optional<std::vector<qint64>> own = now.ownKeysSince(read_, source_.table);
    if (logged_ < 0 || !own || !db.hasTable(QStringLiteral("RowChange")))
        return false;
    // Held open while the rows are followed, so that no program commits between the log and them.
    Recordset bounds = db.query(QStringLiteral("SELECT min(Seq), max(Seq) FROM RowChange"));
    const qint64 newest = bounds.field(1).toLongLong();
    // Entries since the rows were read have gone, or the log is not the one they were read with.
    if (newest < logged_ || (newest > logged_ && bounds.field(0).toLongLong() > logged_ + 1))
        return false;
    const QString table = QLatin1String(source_.table);
    const QString key = QLatin1String(source_.key);
    std::vector<qint64> keys = *own;
    const auto add = [&](Recordset rs) {
        for (; !rs.eof() && keys.size() <= MostFollowed; rs.moveNext())
            keys.push_back(rs.field(0).toLongLong());
    };
    add(db.query(QStringLiteral("SELECT RowKey FROM RowChange WHERE Seq > ? AND TableName = ?"),
                 {logged_, table}));
    add(db.query(QStringLiteral("SELECT %1 FROM %2 WHERE %1 > ?").arg(key, table), {lastKey_}));
    if (keys.size() > MostFollowed)
        return false;
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    follow(db, keys);
    // A row added below the highest key held shows only in the count: such rows are read again.
    qint64 held = starts_.isEmpty() ? rows_.size() : 0;
    if (!starts_.isEmpty())
        for (const auto &[from, to] : rangesOf(starts_))
            held += to - from;
    if (counted(db) != held)
        return false;
    lastKey_ =
        db.scalar(QStringLiteral("SELECT ifnull(max(%1), 0) FROM %2").arg(key, table)).toLongLong();
    logged_ = newest;
    ++loggedFollows_;
    return true;
}

std::vector<std::pair<int, int>> SearchPanelRows::rangesOf(const QList<QByteArray> &starts) const
{
    const int sorted = source_.filteredColumns[0];
    const auto firstFrom = [&](int from, const QByteArray &bound) {
        return *std::ranges::partition_point(std::views::iota(from, rows_.size()), [&](int row) {
            return compareNoCase(rows_.utf8(row, sorted), bound) < 0;
        });
    };
    // Rows with no value in box 1's column come first.
    const int valued = *std::ranges::partition_point(
        std::views::iota(0, rows_.size()), [&](int row) { return missing_[size_t(row)] & 1; });
    std::vector<std::pair<int, int>> ranges;
    for (const QByteArray &start : starts) {
        const int from = firstFrom(valued, start);
        ranges.emplace_back(from, firstFrom(from, start + '\xff'));
    }
    if (starts.isEmpty())
        ranges.emplace_back(valued, rows_.size());
    return ranges;
}

qint64 SearchPanelRows::counted(Database &db) const
{
    const QString table = QLatin1String(source_.table);
    if (starts_.isEmpty())
        return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong();
    qint64 count = 0;
    for (const QByteArray &start : starts_)
        count += db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 >= ? AND %2 < CAST(? "
                                          "AS TEXT)")
                               .arg(table, QLatin1String(source_.sorted)),
                           {QString::fromUtf8(start), start + '\xff'})
                     .toLongLong();
    return count;
}

bool SearchPanelRows::answers(const std::shared_ptr<Database> &db,
                              const std::array<QString, 4> &typed, const ListRowsVersion &asOf)
{
    return covers(typed[0]) && (catchUp(db) || read_.isAtLeast(asOf));
}

bool SearchPanelRows::covers(const QString &typed) const
{
    if (!held_)
        return false;
    if (beginning_.isEmpty())
        return true;
    const std::optional<Beginning> wanted = beginningOf(typed);
    return wanted && wanted->folded.startsWith(beginning_);
}

bool SearchPanelRows::readBeginning(const std::shared_ptr<Database> &db, const QString &typed)
{
    const std::optional<Beginning> beginning = beginningOf(typed);
    if (!beginning)
        return false;
    const bool inTransaction = db->inTransaction();
    const ListRowsVersion version = ListRowsVersion::of(db);
    // A folded beginning and anything after it lies below the beginning followed by a byte that
    // UTF-8 never uses.
    const QString sql =
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 >= ? AND %4 < CAST(? AS TEXT) ORDER BY %5")
            .arg(QLatin1String(source_.columns), QLatin1String(source_.missing),
                 QLatin1String(source_.table), QLatin1String(source_.sorted),
                 QLatin1String(source_.order));
    // Held open while the ranges are read, so that no program commits between them and the log.
    Recordset held = db->query(QStringLiteral("SELECT ifnull(max(%1), 0) FROM %2")
                                   .arg(QLatin1String(source_.key), QLatin1String(source_.table)));
    const qint64 lastKey = held.field(0).toLongLong();
    const qint64 logged = lastLogged(*db);
    Part part;
    for (const QByteArray &start : beginning->starts) {
        Recordset rs = db->query(sql, {QString::fromUtf8(start), start + '\xff'});
        readPart(rs, part);
    }
    held.close();
    rows_ = std::move(part.rows);
    missing_ = std::move(part.missing);
    keys_ = std::move(part.keys);
    beginning_ = beginning->folded;
    starts_ = beginning->starts;
    lastKey_ = lastKey;
    held_ = true;
    ++reads_;
    // Rows read inside a write transaction are gone if it is rolled back, which no version shows,
    // and so are its entries in the log.
    read_ = inTransaction ? ListRowsVersion() : version;
    logged_ = inTransaction ? -1 : logged;
    return true;
}

void SearchPanelRows::readWhole(const std::shared_ptr<Database> &db)
{
    const bool inTransaction = db->inTransaction();
    take(readOn(*db, source_, ListRowsVersion::of(db)));
    if (inTransaction) {
        read_ = ListRowsVersion();
        logged_ = -1;
    }
}

SearchPanelRows::Read SearchPanelRows::read(const Source &source, const QString &path,
                                            const ListRowsVersion &version)
{
    const auto anchor = Database::openReader(path, Database::ReaderCache::Few);
    return readOn(*anchor, source, version);
}

SearchPanelRows::Read SearchPanelRows::readOn(Database &db, const Source &source,
                                              const ListRowsVersion &version)
{
    // Held open while the parts are read, so that no program commits between them.
    Recordset range = db.query(QStringLiteral("SELECT (SELECT min(%1) FROM %2), "
                                              "(SELECT max(%1) FROM %2)")
                                   .arg(QLatin1String(source.key), QLatin1String(source.table)));
    const qint64 logged = lastLogged(db);
    const qint64 lastKey = range.field(1).toLongLong();
    std::vector<Part> parts = PartedRead::collect(
        db, statement(source), {range.field(0), range.field(1)},
        PartedRead::keyRanges(range, {}, PartedRead::parts(), KeysPerPart), readPart);
    range.close();
    std::vector<int> counts;
    for (const Part &part : parts)
        counts.push_back(part.rows.size());
    const int sorted = source.filteredColumns[0];
    const std::vector<int> order =
        PartedRead::mergedOrder(counts, [&](int a, int aRow, int b, int bRow) {
            return before(parts[size_t(a)], aRow, parts[size_t(b)], bRow, sorted);
        });
    Read read = joined(std::move(parts), order);
    read.version = version;
    read.logged = logged;
    read.lastKey = lastKey;
    return read;
}

void SearchPanelRows::follow(Database &db, const std::vector<qint64> &keys)
{
    if (keys.empty())
        return;
    Part kept;
    std::vector<int> rows;
    rows.reserve(keys_.size());
    for (size_t row = 0; row < keys_.size(); ++row) {
        if (std::binary_search(keys.begin(), keys.end(), keys_[row]))
            continue;
        rows.push_back(int(row));
        kept.missing.push_back(missing_[row]);
        kept.keys.push_back(keys_[row]);
    }
    kept.rows = rows_.subset(rows);
    Part written;
    QVariantList values;
    for (const qint64 key : keys)
        values << key;
    const QStringList marks(qsizetype(keys.size()), QStringLiteral("?"));
    Recordset rs = db.query(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 IN (%5) ORDER BY %6")
                                .arg(QLatin1String(source_.columns), QLatin1String(source_.missing),
                                     QLatin1String(source_.table), QLatin1String(source_.key),
                                     marks.join(QLatin1Char(',')), QLatin1String(source_.order)),
                            values);
    readPart(rs, written);
    rs.close();

    // The few rows written go in their places among the rows kept, found by halving.
    const int sorted = source_.filteredColumns[0];
    const int keptCount = kept.rows.size();
    std::vector<int> order;
    order.reserve(size_t(keptCount + written.rows.size()));
    int next = 0;
    for (int row = 0; row < written.rows.size(); ++row) {
        int low = next;
        int high = keptCount;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (before(kept, middle, written, row, sorted))
                low = middle + 1;
            else
                high = middle;
        }
        for (; next < low; ++next)
            order.push_back(next);
        order.push_back(keptCount + row);
    }
    for (; next < keptCount; ++next)
        order.push_back(next);
    std::vector<Part> parts;
    parts.push_back(std::move(kept));
    parts.push_back(std::move(written));
    Read read = joined(std::move(parts), order);
    rows_ = std::move(read.rows);
    missing_ = std::move(read.missing);
    keys_ = std::move(read.keys);
}

void SearchPanelRows::take(Read &&read)
{
    // A read begun before the rows held were read would put older rows in their place.
    if (read_.isValid() && !read.version.isAtLeast(read_))
        return;
    rows_ = std::move(read.rows);
    missing_ = std::move(read.missing);
    keys_ = std::move(read.keys);
    read_ = read.version;
    logged_ = read.logged;
    lastKey_ = read.lastKey;
    beginning_.clear();
    starts_.clear();
    held_ = true;
    ++reads_;
}

ListRows SearchPanelRows::filtered(const std::array<QString, 4> &typed) const
{
    // The rows are in the order of box 1's index: those a typed beginning selects lie in the
    // ranges that a read through the index reads, found by halving instead of testing every row.
    const std::optional<Beginning> beginning = beginningOf(typed[0]);
    std::vector<int> kept;
    for (const auto &[from, to] : rangesOf(beginning ? beginning->starts : QList<QByteArray>()))
        for (int row = from; row < to; ++row)
            if (!missing_[size_t(row)])
                kept.push_back(row);
    for (size_t box = 0; box < 4; ++box)
        if (!typed[box].isEmpty())
            kept = rows_.beginningWith(kept, source_.filteredColumns[box], typed[box]);
    return rows_.subset(kept);
}
