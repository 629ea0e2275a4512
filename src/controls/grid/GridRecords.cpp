#include "controls/grid/GridRecords.h"

void RowRecord::setText(int col, QStringView text)
{
    const int start = col == 0 ? 0 : Cells[size_t(col - 1)].textEnd_;
    const int length = Cells[size_t(col)].textEnd_ - start;
    texts_.replace(start, length, text.data(), text.size());
    const int shift = int(text.size()) - length;
    for (size_t i = size_t(col); i < Cells.size(); ++i)
        Cells[i].textEnd_ += shift;
}
