#include "circulation/SearchPanelRows.h"

#include "core/Database.h"
#include "core/PartedRead.h"

#include <algorithm>

namespace {

// Below this many keys a part costs more to start than it saves.
constexpr quint64 KeysPerPart = 4096;

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

} // namespace

bool SearchPanelRows::isCurrent(const std::shared_ptr<Database> &db) const
{
    return ListRowsVersion::of(db) == read_;
}

void SearchPanelRows::refresh(const std::shared_ptr<Database> &db)
{
    const ListRowsVersion version = ListRowsVersion::of(db);
    if (version == read_)
        return;
    take(readOn(*db, source_, version));
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
    std::vector<Part> parts = PartedRead::collect(
        db, statement(source), {range.field(0), range.field(1)},
        PartedRead::keyRanges(range, {}, PartedRead::parts(), KeysPerPart), readPart);
    range.close();

    // Each part is in the list's order; merged on box 1's column (missing values first, as
    // the query puts them), then the key.
    const int sorted = source.filteredColumns[0];
    std::vector<int> counts;
    for (const Part &part : parts)
        counts.push_back(part.rows.size());
    const std::vector<int> order = PartedRead::mergedOrder(counts, [&](int a, int aRow, int b,
                                                                       int bRow) {
        const Part &x = parts[size_t(a)];
        const Part &y = parts[size_t(b)];
        const bool xMissing = x.missing[size_t(aRow)] & 1;
        const bool yMissing = y.missing[size_t(bRow)] & 1;
        if (xMissing != yMissing)
            return xMissing;
        if (const int byName = compareNoCase(x.rows.utf8(aRow, sorted), y.rows.utf8(bRow, sorted)))
            return byName < 0;
        return x.keys[size_t(aRow)] < y.keys[size_t(bRow)];
    });
    Read read;
    read.version = version;
    std::vector<quint8> missing;
    for (const Part &part : parts)
        missing.insert(missing.end(), part.missing.begin(), part.missing.end());
    read.missing.reserve(order.size());
    for (const int row : order)
        read.missing.push_back(missing[size_t(row)]);
    for (Part &part : parts)
        read.rows.append(std::move(part.rows));
    read.rows.reorder(order);
    return read;
}

void SearchPanelRows::take(Read &&read)
{
    rows_ = std::move(read.rows);
    missing_ = std::move(read.missing);
    read_ = read.version;
}

ListRows SearchPanelRows::filtered(const std::array<QString, 4> &typed) const
{
    std::vector<int> kept;
    kept.reserve(size_t(rows_.size()));
    for (int row = 0; row < rows_.size(); ++row)
        if (!missing_[size_t(row)])
            kept.push_back(row);
    for (size_t box = 0; box < 4; ++box)
        if (!typed[box].isEmpty())
            kept = rows_.beginningWith(kept, source_.filteredColumns[box], typed[box]);
    return rows_.subset(kept);
}

ListRows SearchPanelRows::filtered(const std::shared_ptr<Database> &db,
                                   const std::array<QString, 4> &typed)
{
    refresh(db);
    return filtered(typed);
}
