// The card window's exchange with a list workbook: the export of the cards listed and the import
// frame.
#include "members/frmLibraryCard.h"

#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "members/CardExchange.h"
#include "members/CardRecords.h"
#include "platform/ListWorkbook.h"
#include "platform/XlsxReader.h"
#include "ui/BackgroundWork.h"
#include "ui/FormBuilder.h"
#include "ui/ImportFrame.h"
#include "ui/RecordList.h"

#include <QLabel>
#include <QLineEdit>

using FormBuilder::kind;

void frmLibraryCard::buildExchangeControls()
{
    FormBuilder::build(this, {
                                 {kind<QLabel>(), "lblProgress", "", 7800, 120, 2900, 300},
                                 {kind<QLabel>(), "lblExport", "Export To Excel", 10800, 120, 1900, 300},
                                 {kind<QLabel>(), "lblImport", "Import From Excel", 12800, 120, 2100, 300},
                             });
    lblProgress = findChild<QLabel *>(QStringLiteral("lblProgress"));
    lblExport = findChild<QLabel *>(QStringLiteral("lblExport"));
    lblImport = findChild<QLabel *>(QStringLiteral("lblImport"));
    for (QLabel *label : {lblProgress, lblExport, lblImport}) {
        QPalette onHeader = label->palette();
        onHeader.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(onHeader);
    }
    for (QLabel *label : {lblExport, lblImport}) {
        QFont link = label->font();
        link.setUnderline(true);
        label->setFont(link);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    fraImport = new ImportFrame(
        this,
        [](QWidget *parent, const QString &caption) {
            auto *b = new StyledButton(parent);
            b->setCaption(caption);
            return b;
        },
        QStringLiteral("lblClose1"));
    fraImport->move(Units::twipsToPixels(7740), Units::twipsToPixels(1200));
    fraImport->countRows = [](const QString &path) {
        int rows = 0;
        BackgroundWork::run([&](BackgroundWork::Progress &) {
            rows = XlsxReader::readFirstSheet(path).lastRow();
        }, nullptr, QString());
        return rows;
    };
    connect(fraImport, &ImportFrame::importRequested, this, &frmLibraryCard::GetImportNewRecord);
}

void frmLibraryCard::lblExport_Click()
{
    try {
        const QString path = Dialogs::service().saveFile(
            QStringLiteral("Export To Excel"), QStringLiteral("Excel workbook (*.xlsx)"),
            QStringLiteral("Card List.xlsx"));
        if (path.isEmpty())
            return;
        QList<qint64> keys;
        const RecordListModel *model = Lv1->records();
        for (int i = 0; i < model->size(); ++i)
            keys << qint64(Numbers::leadingValue(model->row(i).texts.value(CardRecords::KeyColumn)));
        const auto rows = CardExchange::exportRows(Module::open(Module::CompanyDb), keys);
        const auto layout = CardExchange::layout(Module::CurrentCompanyName);
        BackgroundWork::run(
            [&](BackgroundWork::Progress &progress) {
                ListWorkbook::write(path, layout, rows, [&](int n) { progress.done = n; });
            },
            lblProgress, QStringLiteral("Writing"), int(rows.size()));
        if (Dialogs::askYesNo(QStringLiteral("%1 cards have been saved in %2.\rDo you want to open it?")
                                  .arg(rows.size())
                                  .arg(path),
                              Dialogs::programTitle()))
            Dialogs::service().openWithDesktop(path);
    } catch (const AppError &error) {
        Dialogs::information(error.boxText());
    }
}

void frmLibraryCard::GetImportNewRecord()
{
    if (fraImport->txtNoofRecords->text().isEmpty()) {
        Dialogs::message(QStringLiteral("Enter No. of record"), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        fraImport->txtNoofRecords->setFocus();
        return;
    }
    try {
        const QString path = fraImport->txtPath->text();
        XlsxReader::Sheet sheet;
        BackgroundWork::run(
            [&](BackgroundWork::Progress &progress) {
                sheet = XlsxReader::readFirstSheet(path, [&](int n) { progress.done = n; });
            },
            fraImport->lblProgress, QStringLiteral("Reading"));
        Database &db = Module::open(Module::CompanyDb);
        const auto group = CardExchange::importGroup(db);
        const int lastRow = ListWorkbook::lastRowToRead(fraImport->txtNoofRecords->text());
        const auto result = ListWorkbook::importRows(
            db, lastRow, [&](int row) { CardExchange::storeRow(db, sheet, row, group); },
            [&](int row) {
                BackgroundWork::show(fraImport->lblProgress, QStringLiteral("Storing"), row,
                                     lastRow);
            });
        fraImport->lblProgress->clear();
        if (result.failedRow != 0) {
            Dialogs::information(ListWorkbook::failureText(result));
            return;
        }
        Dialogs::message(ListWorkbook::notice(result));
        fraImport->hide();
    } catch (const AppError &error) {
        fraImport->lblProgress->clear();
        Dialogs::information(error.boxText());
    }
}
