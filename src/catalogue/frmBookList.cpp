#include "catalogue/frmBookList.h"

#include "catalogue/BookExchange.h"
#include "catalogue/BookListQuery.h"
#include "catalogue/BookPrintouts.h"
#include "catalogue/CatalogueWindows.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "platform/XlsxReader.h"
#include "ui/FormBuilder.h"
#include "ui/ImportFrame.h"
#include "ui/ListExchange.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"
#include "ui/WindowRegistry.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

using FormBuilder::kind;

namespace {

// List columns (Lv1) the stickers read.
enum Column {
    Key,
    AccessionNo,
    Title,
    Author,
    Subject,
    Publisher,
    Location,
    Edition,
    Barcode = 13
};

void closeWindow(QWidget *window)
{
    if (auto *frame = window->parentWidget(); frame && frame->inherits("QMdiSubWindow"))
        frame->close();
    else
        window->close();
}

} // namespace

frmBookList::frmBookList(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("BOOK LIST"));
    buildControls();
    KeyPreview::installEscClose(this, [this] { return closePanel(); });
    Lv1Load();
}

void frmBookList::buildControls()
{
    FormBuilder::setClientSize(this, 14700, 8400);
    setFixedSize(size());
    const auto B = kind<StyledButton>();
    const auto L = kind<QLabel>();
    const auto T = kind<QLineEdit>();
    FormBuilder::build(
        this,
        {
            {kind<QFrame>(), "Frame2", "", 0, 0, 14700, 720},
            {L, "Frame2/lblHeader", "BOOK LIST", 240, 120, 4000, 480},
            {B, "Frame2/cmdExport", "", 5240, 90, 1260, 540},
            {B, "Frame2/cmdImport", "", 6570, 90, 1260, 540},
            {B, "Frame2/cmdNew", "", 7900, 90, 1260, 540},
            {B, "Frame2/cmdSticker", "", 9230, 90, 1260, 540},
            {B, "Frame2/cmdSearch", "", 10560, 90, 1260, 540},
            {B, "Frame2/cmdPrint", "", 11890, 90, 1260, 540},
            {B, "Frame2/cmdClose", "", 13220, 90, 1260, 540},
            {kind<QCheckBox>(), "chkSelectAll", "&Select All", 120, 780, 1800, 300},
            {kind<RecordList>(), "Lv1", "", 120, 1110, 14460, 6330},
            {kind<QFrame>(), "Frame1", "", 0, 7500, 14700, 900},
            {L, "Frame1/Label2", "No. of Books", 240, 180, 1300, 300},
            {T, "Frame1/txtV1", "", 1560, 150, 1300, 330},
            {L, "Frame1/lblStatus", "", 3120, 180, 3000, 300},
            {L, "Frame1/lblProgress", "", 8700, 180, 5800, 300},
            {kind<QFrame>(), "fraSearch", "", 8700, 1110, 5880, 3150},
            {L, "fraSearch/Label1",
             "      Search                                                           X    ", 0, 0,
             5880, 330},
            {L, "fraSearch/Label12", "Accession. No.", 180, 510, 1500, 270},
            {T, "fraSearch/txtSearch", "", 1740, 480, 3900, 330},
            {L, "fraSearch/Label3", "Title", 180, 930, 1500, 270},
            {T, "fraSearch/txtSearch1", "", 1740, 900, 3900, 330},
            {L, "fraSearch/Label7", "Subject", 180, 1350, 1500, 270},
            {T, "fraSearch/txtSearch2", "", 1740, 1320, 3900, 330},
            {L, "fraSearch/Label4", "Edition", 180, 1770, 1500, 270},
            {T, "fraSearch/txtSearch3", "", 1740, 1740, 3900, 330},
            {L, "fraSearch/Label8", "Location", 180, 2190, 1500, 270},
            {T, "fraSearch/txtSearch4", "", 1740, 2160, 3900, 330},
            {B, "fraSearch/cmdSearch1", "", 4380, 2580, 1260, 450},
        });
    Lv1 = findChild<RecordList *>("Lv1");
    txtV1 = findChild<QLineEdit *>("txtV1");
    lblStatus = findChild<QLabel *>("lblStatus");
    Label1 = findChild<QLabel *>("Label1");
    fraSearch = findChild<QFrame *>("fraSearch");
    lblProgress = findChild<QLabel *>("lblProgress");
    fraImport = new ImportFrame(
        this,
        [](QWidget *parent, const QString &caption) {
            auto *b = new StyledButton(parent);
            b->setCaption(caption);
            return b;
        },
        QStringLiteral("lblClose"), QStringLiteral("Books Data Import"));
    fraImport->move(Units::twipsToPixels(3750), Units::twipsToPixels(1800));
    fraImport->countRows = ListExchange::workbookRows;
    connect(fraImport, &ImportFrame::importRequested, this, &frmBookList::GetImportNewRecord);
    chkSelectAll = findChild<QCheckBox *>("chkSelectAll");
    const char *const searchNames[] = {"txtSearch", "txtSearch1", "txtSearch2", "txtSearch3",
                                       "txtSearch4"};
    for (int i = 0; i < 5; ++i)
        txtSearch[i] = findChild<QLineEdit *>(QLatin1String(searchNames[i]));

    auto *header = findChild<QLabel *>("lblHeader");
    QFont headerFont = header->font();
    headerFont.setBold(true);
    headerFont.setPointSize(16);
    header->setFont(headerFont);
    txtV1->setReadOnly(true);
    fraSearch->setFrameShape(QFrame::Box);
    fraSearch->setAutoFillBackground(true);
    Label1->setAutoFillBackground(true);
    QPalette strip = Label1->palette();
    strip.setColor(QPalette::Window, QColor(0x1F, 0x38, 0x64));
    strip.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(strip);
    Label1->installEventFilter(this);
    fraSearch->hide();

    Lv1->records()->setCheckable(true);
    Lv1->setColumns({"", "Acc. No.", "Title", "Author", "Subject", "Publisher", "Location",
                     "Edition", "Year", "Pages", "Vol", "Source", "Cost", "Barcode"},
                    // The key column holds the check box and a key of six digits: wider than its
                    // 250 twips of old.
                    {1080, 1000, 3000, 1200, 1200, 1200, 1500, 1000, 1000, 1000, 1000, 1000, 1000,
                     1000});
    for (int column = 7; column <= 11; ++column)
        Lv1->records()->setAlignment(column, Qt::AlignCenter);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);

    const auto button = [this](const char *name, const char *caption) {
        auto *b = findChild<StyledButton *>(QLatin1String(name));
        b->setCaption(QLatin1String(caption));
        return b;
    };
    connect(button("cmdExport", "&Export"), &StyledButton::Click, this,
            &frmBookList::cmdExport_Click);
    connect(button("cmdImport", "&Import"), &StyledButton::Click, this, [this] {
        fraImport->show();
        fraImport->raise();
    });
    connect(button("cmdNew", "&New"), &StyledButton::Click, this,
            [] { WindowRegistry::show(QStringLiteral("frmBook")); });
    connect(button("cmdSticker", "&Sticker"), &StyledButton::Click, this,
            &frmBookList::cmdSticker_Click);
    connect(button("cmdSearch", "&Search"), &StyledButton::Click, this,
            [this] { fraSearch->setVisible(!fraSearch->isVisible()); });
    connect(button("cmdPrint", "&Print"), &StyledButton::Click, this,
            &frmBookList::cmdPrint_Click);
    connect(button("cmdClose", "&Close"), &StyledButton::Click, this,
            [this] { closeWindow(this); });
    connect(button("cmdSearch1", "&Search"), &StyledButton::Click, this, &frmBookList::Lv1Load);
    connect(chkSelectAll, &QCheckBox::clicked, this,
            [this](bool ticked) { Lv1->records()->setAllChecked(ticked); });
    connect(Lv1, &QAbstractItemView::clicked, this, &frmBookList::Lv1_ItemClick);
    connect(Lv1, &RecordList::rowOpened, this,
            [](double key) { RecordLoader::open(key, LoadBookForUpdate); });
}

bool frmBookList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonPress) {
        fraSearch->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmBookList::closePanel()
{
    for (QFrame *panel : {static_cast<QFrame *>(fraImport), fraSearch}) {
        if (panel->isVisible()) {
            panel->hide();
            return true;
        }
    }
    return false;
}

void frmBookList::Lv1Load()
{
    try {
        const BookListQuery::Filter filter{txtSearch[0]->text(), txtSearch[1]->text(),
                                           txtSearch[2]->text(), txtSearch[3]->text(),
                                           txtSearch[4]->text()};
        Module::open(Module::CompanyDb);
        Lv1->records()->setRows(loader_.rows(Module::CompanyDb, filter));
        txtV1->setText(QString::number(Lv1->records()->size()));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmBookList::Lv1_ItemClick()
{
    if (Lv1->records()->size() == 0)
        return;
    // A book deleted since the list was loaded leaves the line as it was.
    Recordset found = Module::open(Module::CompanyDb)
                          .query(QStringLiteral("SELECT Status FROM Book WHERE BookID = ?"),
                                 {Lv1->currentKey()});
    if (!found.eof())
        lblStatus->setText(found.displayText(0));
}

QList<int> frmBookList::tickedRows() const
{
    QList<int> rows;
    const RecordListModel *model = Lv1->records();
    for (int i = 0; i < model->size(); ++i)
        if (model->isChecked(i))
            rows << i;
    return rows;
}

void frmBookList::cmdPrint_Click()
{
    try {
        QList<double> keys;
        for (const int row : tickedRows())
            keys << Numbers::leadingValue(Lv1->records()->text(row, Key));
        BookPrintouts::stageBookList(keys);
        ReportHandOver::showReport(QStringLiteral("BookList.rpt"));
    } catch (const AppError &error) {
        Dialogs::information(error.boxText());
    }
}

void frmBookList::cmdSticker_Click()
{
    try {
        QList<BookPrintouts::StickerBook> books;
        for (const int row : tickedRows()) {
            const QStringList texts = Lv1->records()->row(row).texts;
            books << BookPrintouts::StickerBook{Numbers::leadingValue(texts.value(Key)),
                                                texts.value(AccessionNo), texts.value(Title),
                                                texts.value(Author),      texts.value(Subject),
                                                texts.value(Publisher),   texts.value(Location),
                                                texts.value(Edition),     texts.value(Barcode)};
        }
        const auto withoutBarcode = BookPrintouts::makeStickers(books, font());
        if (!withoutBarcode.isEmpty())
            Dialogs::information(BookPrintouts::noBarcodeMessage(withoutBarcode));
        ReportHandOver::showStickers();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmBookList::cmdExport_Click()
{
    ListExchange::exportList(
        QStringLiteral("Book List.xlsx"), QStringLiteral("books"), lblProgress, [this] {
            // Every row the list shows, in its order, ticked or not.
            QList<double> keys;
            const RecordListModel *model = Lv1->records();
            for (int i = 0; i < model->size(); ++i)
                keys << Numbers::leadingValue(model->row(i).texts.value(Key));
            return ListExchange::Workbook{
                BookExchange::exportRows(Module::open(Module::CompanyDb), keys),
                BookExchange::layout(Module::CurrentCompanyName)};
        });
}

void frmBookList::GetImportNewRecord()
{
    ListExchange::importList(fraImport, [](Database &db, const XlsxReader::Sheet &sheet) {
        return BookExchange::rowStore(db, sheet);
    });
}
