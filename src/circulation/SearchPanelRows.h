#pragma once

#include "core/ListRows.h"
#include "core/ListRowsVersion.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

// The rows a search panel filters: the cards or books of its table in the panel's order with the
// texts its list shows, kept while the database stays unchanged, so that a keystroke filters
// memory instead of reading and sorting the whole table again. They are the whole table, or only
// the rows whose first filtered column begins as a typed text does, read through that column's
// index. Rows that the database's own connection changed since are read again by their keys, and
// so are those another connection changed or removed, by the keys the file's RowChange log holds,
// and those it added above the highest key; where these are not all, the rows are read again. The
// result is the same as the table's query under four prefix patterns: the typed text taken
// literally, letter case ignored, a missing value never matching.
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
        const char *sorted; // box 1's column, which an index holds in the list's order
    };

    // The table's rows as read, with the state of the database they were read from.
    struct Read
    {
        ListRowsVersion version;
        ListRows rows;
        std::vector<quint8> missing; // per row, bit i: filtered column i holds no value
        std::vector<qint64> keys;
        qint64 logged = -1; // the last RowChange entry of the state read; -1 without the log
        qint64 lastKey = 0; // the table's highest key in the state read
    };

    explicit SearchPanelRows(const Source &source) : source_(source) {}

    const Source &source() const { return source_; }
    // Reads again by key the rows that db or another connection changed since the rows held were
    // read; true when the rows held are then those of the database as it stands, false when they
    // must be read again (never read, or the changes are not known by key).
    bool catchUp(const std::shared_ptr<Database> &db);
    // Whether the rows held give the list for the typed texts as the database stood at asOf: they
    // hold every row the texts select, and were read at asOf or later or are still current.
    bool answers(const std::shared_ptr<Database> &db, const std::array<QString, 4> &typed,
                 const ListRowsVersion &asOf);
    // Reads on db only the rows whose box 1 column begins as the typed text does, through that
    // column's index; false, reading nothing, when the text gives no such range (an empty text, or
    // one that begins with a character an index of letters folded to ASCII cannot find).
    bool readBeginning(const std::shared_ptr<Database> &db, const QString &typed);
    // Reads the whole table on db and its readers.
    void readWhole(const std::shared_ptr<Database> &db);
    // Reads the table on reader connections of its own to the file at path, in parts side by
    // side; touches nothing else, so it runs on any thread. The version is the caller's, taken on
    // the main connection before the read began: the rows read are of that state or a later one.
    static Read read(const Source &source, const QString &path, const ListRowsVersion &version);
    // Keeps rows read by read, unless the rows held were read later.
    void take(Read &&read);
    // Whether rows were read, and whether they are the whole table.
    bool held() const { return held_; }
    bool whole() const { return beginning_.isEmpty(); }
    // How many times rows were read afresh: the whole table, or those of a typed beginning.
    int reads() const { return reads_; }
    // How many times rows another connection changed were followed by the keys of the log.
    int loggedFollows() const { return loggedFollows_; }

    // The rows held whose filtered columns begin with the texts typed, in the table's order.
    ListRows filtered(const std::array<QString, 4> &typed) const;

private:
    // The table read in parts side by side, the first on db, the others on db's readers.
    static Read readOn(Database &db, const Source &source, const ListRowsVersion &version);
    // The rows of these keys read again and put in their places; the others kept.
    void follow(Database &db, const std::vector<qint64> &keys);
    // Follows the rows whose keys the log holds since the rows held were read, those added above
    // the highest key then, and those db itself wrote up to now; false when these are not all the
    // changes.
    bool followLogged(Database &db, const ListRowsVersion &now);
    // Where the rows whose box 1 column begins at one of these starts lie among the rows held, as
    // ranges of rows; every row with a value there for no starts.
    std::vector<std::pair<int, int>> rangesOf(const QList<QByteArray> &starts) const;
    // How many rows the table holds, or those of the beginning the rows held are.
    qint64 counted(Database &db) const;

    // Whether the rows held are all those whose box 1 column begins with the typed text.
    bool covers(const QString &typed) const;

    Source source_;
    ListRowsVersion read_;
    // Empty for the whole table, else the folded beginning of box 1's column the rows held have,
    // and where such rows lie in the column's order.
    QByteArray beginning_;
    QList<QByteArray> starts_;
    bool held_ = false; // rows were read
    ListRows rows_;
    std::vector<quint8> missing_;
    std::vector<qint64> keys_;
    qint64 logged_ = -1;
    qint64 lastKey_ = 0;
    int reads_ = 0;
    int loggedFollows_ = 0;
};
