#pragma once

#include "core/ListRows.h"

#include <QStringList>
#include <vector>

class RecordList;

// The rows of the circulation lists (pending books, registers, ledger) as plain texts: what a load
// shows and what a print stages.
namespace ListContents {

// Shows the rows in their order, none ticked.
void show(RecordList *list, std::vector<QStringList> rows);
void show(RecordList *list, ListRows rows);
// The rows as the list shows them, in its order.
std::vector<QStringList> shown(const RecordList *list);

} // namespace ListContents
