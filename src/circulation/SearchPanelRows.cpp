#include "circulation/SearchPanelRows.h"

#include "core/Database.h"

void SearchPanelRows::refresh(const std::shared_ptr<Database> &db)
{
    const ListRowsVersion version = ListRowsVersion::of(db);
    if (version == read_)
        return;
    ListRows rows;
    std::vector<quint8> missing;
    Recordset rs = db->query(QLatin1String(source_.select));
    const int shown = rs.columnCount() - 1;
    for (; !rs.eof(); rs.moveNext()) {
        rows.startRow();
        for (int column = 0; column < shown; ++column)
            rs.addDisplayText(column, rows);
        missing.push_back(quint8(rs.field(shown).toInt()));
    }
    rs.close();
    rows_ = std::move(rows);
    missing_ = std::move(missing);
    read_ = version;
}

ListRows SearchPanelRows::filtered(const std::shared_ptr<Database> &db,
                                   const std::array<QString, 4> &typed)
{
    refresh(db);
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
