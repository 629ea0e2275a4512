#include "controls/grid/CellFormatTable.h"

#include "controls/grid/GridErrors.h"

int CellFormatTable::findOrAdd(const CellFormatRecord &look)
{
    int target = -1;
    for (int i = 0; i < size(); ++i) {
        const CellFormatRecord &entry = entries_[size_t(i)];
        if (entry.sameLook(look))
            return i;
        if (entry.RefCount == 0) {
            target = i;
            break;
        }
    }
    if (target < 0) {
        const int grown = size() + 10;
        if (grown - 1 > MaxIndex) // a 16-bit index may not pass 32,767
            GridErrors::overflow();
        target = size();
        entries_.resize(size_t(grown));
    }
    CellFormatRecord &entry = entries_[size_t(target)];
    const int references = entry.RefCount;
    entry = look;
    entry.RefCount = references;
    return target;
}
