#pragma once

#include "core/ListRows.h"
#include "core/ListRowsVersion.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

// The rows a search panel filters: every card or book of its table in the panel's order with the
// texts its list shows, read once and kept while the database stays unchanged, so that a keystroke
// filters memory instead of reading and sorting the whole table again. Rows that the database's
// own connection changed since are read again by their keys; another connection's commit makes
// the whole table read again. The result is the same as
// the table's query under four prefix patterns: the typed text taken literally, letter case
// ignored, a missing value never matching.
class SearchPanelRows
{
public:
    struct Source
    {
        const char *table;
        const char *key;     // the integer primary key, listed first
        const char *columns; // the listed columns in list order, the key first
        // The filtered columns' missing values as bits (box 1 = 1, box 2 = 2, ...).
        const char *missing;
        const char *order;                  // the list's order: box 1's column, then the key
        std::array<int, 4> filteredColumns; // the list column each filter box tests
    };

    // The table's rows as read, with the state of the database they were read from.
    struct Read
    {
        ListRowsVersion version;
        ListRows rows;
        std::vector<quint8> missing; // per row, bit i: filtered column i holds no value
        std::vector<qint64> keys;
    };

    explicit SearchPanelRows(const Source &source) : source_(source) {}

    const Source &source() const { return source_; }
    // Reads again by key the rows that db itself changed since the rows held were read; true when
    // the rows held are then those of the database as it stands, false when the whole table must
    // be read (never read, another connection committed, or db's changes are not known by key).
    bool catchUp(const std::shared_ptr<Database> &db);
    // Catches up, or reads the table on db and its readers.
    void refresh(const std::shared_ptr<Database> &db);
    // Reads the table on reader connections of its own to the file at path, in parts side by
    // side; touches nothing else, so it runs on any thread. The version is the caller's, taken on
    // the main connection before the read began: the rows read are of that state or a later one.
    static Read read(const Source &source, const QString &path, const ListRowsVersion &version);
    // Keeps rows read by read.
    void take(Read &&read);
    // How many times the whole table was taken in.
    int reads() const { return reads_; }

    // The rows held whose filtered columns begin with the texts typed, in the table's order.
    ListRows filtered(const std::array<QString, 4> &typed) const;
    // The same, reading the table first unless the rows held are still current.
    ListRows filtered(const std::shared_ptr<Database> &db, const std::array<QString, 4> &typed);

private:
    // The table read in parts side by side, the first on db, the others on db's readers.
    static Read readOn(Database &db, const Source &source, const ListRowsVersion &version);
    // The rows of these keys read again and put in their places; the others kept.
    void follow(Database &db, const std::vector<qint64> &keys);

    Source source_;
    ListRowsVersion read_;
    ListRows rows_;
    std::vector<quint8> missing_;
    std::vector<qint64> keys_;
    int reads_ = 0;
};
