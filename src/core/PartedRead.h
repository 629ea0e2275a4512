#pragma once

#include "core/Database.h"

#include <QString>
#include <QVariantList>
#include <algorithm>
#include <functional>
#include <vector>

// One query of a large list read in parts side by side: most of a first read is decrypting the
// file's pages, one at a time on one thread.
namespace PartedRead {

// How many parts a large read is cut into: one for each core this process may run on (a program
// started under taskset gets only the cores named), up to eight; 1 with one core.
int parts();
// Whether this process runs on one or two cores, as on a school's small PC: a large list read
// whole keeps its window waiting long enough there that it shows its first rows before the rest.
bool fewCores();

// The values of each part of a read cut into ranges of integer keys: values followed by the
// range's first and last key. range holds the smallest and the largest key in its first two
// fields; none where there are fewer than two parts or fewer than keysPerPart keys a part.
std::vector<QVariantList> keyRanges(const Recordset &range, const QVariantList &values, int parts,
                                    quint64 keysPerPart);
// The same with the smallest and the largest key given.
std::vector<QVariantList> keyRanges(const QVariant &smallest, const QVariant &largest,
                                    const QVariantList &values, int parts, quint64 keysPerPart);

// Runs the statement once for each set of values, the first on db, every other one on a reader of
// db (Database::readers) on a thread of its own, and hands each recordset to read with its part's
// number; read touches only its part's own data. The caller keeps a read of the same tables open
// on db while it calls: then no program can commit before every part is read, and all parts see
// one state of the file. A part that meets a lock gives up at once (it would wait for a writer
// that waits for the caller's read); false then tells the caller to read the whole in one
// statement. So does a write transaction open on db, since the readers cannot see its rows, and a
// file in WAL mode, whose writers go on committing while a read is open.
bool run(Database &db, const QString &sql, const std::vector<QVariantList> &values,
         const std::function<void(Recordset &rs, int part)> &read);

// Test aid: called on each part's thread as run reads it, before its statement starts
// (reading false) and once the statement has begun to read (reading true). Off when empty.
void setPartHook(std::function<void(int part, bool reading)> hook);

// The parts read as run reads them, one for each set of values in parts, with partSql; or, where
// there are fewer than two or run gives up, the whole read in one statement: wholeSql with the
// values of whole.
template <typename Part>
std::vector<Part> collect(Database &db, const QString &partSql,
                          const std::vector<QVariantList> &parts, const QString &wholeSql,
                          const QVariantList &whole, void (*readPart)(Recordset &rs, Part &part))
{
    std::vector<Part> read(parts.size());
    if (parts.size() > 1 &&
        run(db, partSql, parts, [&](Recordset &rs, int part) { readPart(rs, read[size_t(part)]); }))
        return read;
    read.clear();
    read.resize(1);
    Recordset rs = db.query(wholeSql, whole);
    readPart(rs, read[0]);
    return read;
}

// The same with one statement for the parts and the whole.
template <typename Part>
std::vector<Part> collect(Database &db, const QString &sql, const QVariantList &whole,
                          const std::vector<QVariantList> &parts,
                          void (*readPart)(Recordset &rs, Part &part))
{
    return collect(db, sql, parts, sql, whole, readPart);
}

// The rows of the parts read, each part's rows in the list's order, merged into that order:
// indexes into the parts' rows appended one part after the other. counts holds each part's number
// of rows; before(part, row, otherPart, otherRow) tells whether a row comes before another.
template <typename Before>
std::vector<int> mergedOrder(const std::vector<int> &counts, const Before &before)
{
    struct Head
    {
        int part;
        int row;
    };
    const auto after = [&](const Head &a, const Head &b) {
        return before(b.part, b.row, a.part, a.row);
    };
    std::vector<Head> heads;
    std::vector<int> offsets;
    int total = 0;
    for (int part = 0; part < int(counts.size()); ++part) {
        offsets.push_back(total);
        total += counts[size_t(part)];
        if (counts[size_t(part)] > 0)
            heads.push_back({part, 0});
    }
    std::make_heap(heads.begin(), heads.end(), after);
    std::vector<int> order;
    order.reserve(size_t(total));
    while (!heads.empty()) {
        std::pop_heap(heads.begin(), heads.end(), after);
        Head &next = heads.back();
        order.push_back(offsets[size_t(next.part)] + next.row);
        if (++next.row < counts[size_t(next.part)])
            std::push_heap(heads.begin(), heads.end(), after);
        else
            heads.pop_back();
    }
    return order;
}

} // namespace PartedRead
