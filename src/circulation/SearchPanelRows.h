#pragma once

#include "core/ListRows.h"
#include "core/ListRowsVersion.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

// The rows a search panel filters: every card or book of its table in the panel's order with the
// texts its list shows, read once and kept while the database stays unchanged, so that a keystroke
// filters memory instead of reading and sorting the whole table again. The result is the same as
// the table's query under four prefix patterns: the typed text taken literally, letter case
// ignored, a missing value never matching.
class SearchPanelRows
{
public:
    struct Source
    {
        // The listed columns in list order, then the filtered columns' missing values as bits
        // (box 1 = 1, box 2 = 2, ...), ordered as the list is.
        const char *select;
        std::array<int, 4> filteredColumns; // the list column each filter box tests
    };

    explicit SearchPanelRows(const Source &source) : source_(source) {}

    // The rows whose filtered columns begin with the texts typed, in the table's order.
    ListRows filtered(const std::shared_ptr<Database> &db, const std::array<QString, 4> &typed);
    // Reads the table unless the rows held are still those of the database.
    void refresh(const std::shared_ptr<Database> &db);

private:
    Source source_;
    ListRowsVersion read_;
    ListRows rows_;
    std::vector<quint8> missing_; // per row, bit i: filtered column i holds no value
};
