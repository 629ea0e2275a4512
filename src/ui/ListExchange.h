#pragma once

#include "platform/ListWorkbook.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Database;
class ImportFrame;
class QLabel;

namespace XlsxReader {
struct Sheet;
}

// The book and card lists' exchange with a list workbook: the export of the rows listed and the
// import of the workbook named in the import frame. Each failure is shown in an information box.
namespace ListExchange {

struct Workbook
{
    std::vector<QStringList> rows;
    ListWorkbook::Layout layout;
};

// Asks where to save (proposing fileName), collects the workbook on the window's thread, writes it
// on a worker thread with its progress in the label, then says how many <noun> were saved and
// offers to open the file.
void exportList(const QString &fileName, const QString &noun, QLabel *progress,
                const std::function<Workbook()> &collect);

// Reads the frame's workbook on a worker thread, then stores rows 4 to the frame's count through
// what makeStore returns for the sheet; shows the notice and hides the frame, or says where the
// import stopped. An empty count box is asked for first; a workbook without rows from row 4 on
// stores nothing and says so.
void importList(ImportFrame *frame, const std::function<ListWorkbook::RowStore(
                                        Database &db, const XlsxReader::Sheet &sheet)> &makeStore);

// The used rows of a workbook, read on a worker thread: the import frame's proposal.
int workbookRows(const QString &path);

} // namespace ListExchange
