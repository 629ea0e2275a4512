#include "ui/ListExchange.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "platform/XlsxReader.h"
#include "ui/BackgroundWork.h"
#include "ui/ImportFrame.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace ListExchange {

void exportList(const QString &fileName, const QString &noun, QLabel *progress,
                const std::function<Workbook()> &collect)
{
    try {
        const QString path = Dialogs::service().saveFile(
            QStringLiteral("Export To Excel"), QStringLiteral("Excel workbook (*.xlsx)"), fileName);
        if (path.isEmpty())
            return;
        const Workbook workbook = collect();
        BackgroundWork::run(
            [&](BackgroundWork::Progress &done) {
                ListWorkbook::write(path, workbook.layout, workbook.rows,
                                    [&](int n) { done.done = n; });
            },
            progress, QStringLiteral("Writing"), int(workbook.rows.size()));
        if (Dialogs::askYesNo(
                QStringLiteral("%1 %2 have been saved in %3.\rDo you want to open it?")
                    .arg(workbook.rows.size())
                    .arg(noun, path),
                Dialogs::programTitle()))
            Dialogs::openSavedFile(path);
    } catch (const AppError &error) {
        Dialogs::information(error.boxText());
    }
}

void importList(ImportFrame *frame, const std::function<ListWorkbook::RowStore(
                                        Database &db, const XlsxReader::Sheet &sheet)> &makeStore)
{
    if (frame->txtNoofRecords->text().isEmpty()) {
        Dialogs::message(QStringLiteral("Enter No. of record"), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        frame->txtNoofRecords->setFocus();
        return;
    }
    try {
        const QString path = frame->txtPath->text();
        XlsxReader::Sheet sheet;
        BackgroundWork::run(
            [&](BackgroundWork::Progress &progress) {
                sheet = XlsxReader::readFirstSheet(path, [&](int n) { progress.done = n; });
            },
            frame->lblProgress, QStringLiteral("Reading"));
        frame->lblProgress->clear();
        // Rows 1 to 3 are the titles and headings: a sheet that ends there holds no record, and
        // reading row 4 anyway would store an empty one.
        if (sheet.lastRow() < ListWorkbook::FirstDataRow) {
            Dialogs::message(
                QStringLiteral("Nothing to import: %1 holds no records from row %2 on.")
                    .arg(QFileInfo(path).fileName())
                    .arg(ListWorkbook::FirstDataRow),
                Dialogs::Buttons::Ok, Dialogs::Icon::Information);
            return;
        }
        Database &db = Module::open(Module::CompanyDb);
        const ListWorkbook::RowStore rows = makeStore(db, sheet);
        const int lastRow = ListWorkbook::lastRowToRead(frame->txtNoofRecords->text());
        const auto result = ListWorkbook::importRows(db, lastRow, rows, [&](int row) {
            BackgroundWork::show(frame->lblProgress, QStringLiteral("Storing"), row, lastRow);
        });
        frame->lblProgress->clear();
        if (result.failedRow != 0) {
            Dialogs::information(ListWorkbook::failureText(result));
            return;
        }
        Dialogs::message(ListWorkbook::notice(result));
        frame->hide();
    } catch (const AppError &error) {
        frame->lblProgress->clear();
        Dialogs::information(error.boxText());
    }
}

int workbookRows(const QString &path)
{
    int rows = 0;
    BackgroundWork::run(
        [&](BackgroundWork::Progress &) { rows = XlsxReader::readFirstSheet(path).lastRow(); },
        nullptr, QString());
    return rows;
}

} // namespace ListExchange
