// The card window's exchange with a list workbook: the export of the cards listed and the import
// frame.
#include "members/frmLibraryCard.h"

#include "controls/button/StyledButton.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "members/CardExchange.h"
#include "members/CardRecords.h"
#include "platform/XlsxReader.h"
#include "ui/FormBuilder.h"
#include "ui/ImportFrame.h"
#include "ui/ListExchange.h"
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
    fraImport->countRows = ListExchange::workbookRows;
    connect(fraImport, &ImportFrame::importRequested, this, &frmLibraryCard::GetImportNewRecord);
}

void frmLibraryCard::lblExport_Click()
{
    ListExchange::exportList(
        QStringLiteral("Card List.xlsx"), QStringLiteral("cards"), lblProgress, [this] {
            QList<qint64> keys;
            const RecordListModel *model = Lv1->records();
            for (int i = 0; i < model->size(); ++i)
                keys << qint64(
                    Numbers::leadingValue(model->row(i).texts.value(CardRecords::KeyColumn)));
            return ListExchange::Workbook{
                CardExchange::exportRows(Module::open(Module::CompanyDb), keys),
                CardExchange::layout(Module::CurrentCompanyName)};
        });
}

void frmLibraryCard::GetImportNewRecord()
{
    ListExchange::importList(fraImport, [](Database &db, const XlsxReader::Sheet &sheet) {
        return CardExchange::rowStore(db, sheet);
    });
}
