#pragma once

#include "controls/grid/GridRecords.h"

#include <vector>

// The cell looks shared by reference count: a grid whose cells all look alike holds one entry.
class CellFormatTable
{
public:
    // Indices run to 32,760 at most (the table grows by 10 and stays within 16 bits).
    static constexpr int MaxIndex = 32760;

    CellFormatTable() { reset(); }

    // Back to one free entry.
    void reset() { entries_.assign(1, CellFormatRecord{}); }

    int size() const { return int(entries_.size()); }
    const CellFormatRecord &at(int index) const { return entries_.at(size_t(index)); }

    // The first entry that looks like `look`, else the first free entry (rewritten to `look`),
    // else a new entry; a full table is the overflow error and leaves the table as it was.
    int findOrAdd(const CellFormatRecord &look);

    void addReferences(int index, int count) { entries_[size_t(index)].RefCount += count; }
    void release(int index) { --entries_[size_t(index)].RefCount; }

private:
    std::vector<CellFormatRecord> entries_;
};
