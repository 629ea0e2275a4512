#include "circulation/ListContents.h"

#include "ui/RecordList.h"

namespace ListContents {

void show(RecordList *list, std::vector<QStringList> rows)
{
    std::vector<RecordRow> listed;
    listed.reserve(rows.size());
    for (auto &row : rows)
        listed.push_back({std::move(row), false});
    list->records()->setRows(std::move(listed));
}

void show(RecordList *list, ListRows rows)
{
    list->records()->setRows(std::move(rows));
}

std::vector<QStringList> shown(const RecordList *list)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(list->records()->size()));
    for (int i = 0; i < list->records()->size(); ++i)
        rows.push_back(list->records()->row(i).texts);
    return rows;
}

} // namespace ListContents
