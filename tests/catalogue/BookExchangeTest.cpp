#include "CatalogueTestSupport.h"

#include "catalogue/BookExchange.h"
#include "catalogue/frmBookList.h"
#include "controls/button/StyledButton.h"
#include "platform/ListWorkbook.h"
#include "platform/XlsxReader.h"
#include "ui/RecordList.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

class BookExchangeTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        Module::CurrentCompanyName = "Green Valley School";
    }
    frmBookList *open() { return list = show<frmBookList>("frmBookList"); }
    void click(const char *name) { emit list->findChild<StyledButton *>(name)->Click(); }
    QLineEdit *box(const char *name) { return list->findChild<QLineEdit *>(name); }
    QWidget *frame() { return list->findChild<QWidget *>("fraImport"); }
    int books() { return Module::CompanyDb->scalar("SELECT COUNT(*) FROM Book").toInt(); }
    QString column(double key, const QString &name)
    {
        return Module::CompanyDb
            ->scalar(QString("SELECT \"%1\" FROM Book WHERE BookID = ?").arg(name), {key})
            .toString();
    }

    // A workbook of the list's layout; each row gives columns 2 on.
    QString workbook(const std::vector<QStringList> &rows)
    {
        const QString file = path("import.xlsx");
        ListWorkbook::write(file, {"School", "BOOK LIST", {"Sr. No."}, 1}, rows);
        return file;
    }
    static QStringList bookRow(const QString &accessionNo, const QString &title,
                               const QString &cost = "")
    {
        QStringList row(23);
        row[0] = "05-Mar-24";
        row[1] = accessionNo;
        row[2] = title;
        row[12] = cost;
        row[20] = "B" + accessionNo;
        return row;
    }
    void import(const QString &file, const QString &count)
    {
        click("cmdImport");
        box("txtPath")->setText(file);
        box("txtNoofRecords")->setText(count);
        click("cmdImportData");
    }

    frmBookList *list = nullptr;
};

TEST_F(BookExchangeTest, ExportsEveryListedBookInListOrderAndOffersToOpenIt)
{
    const QVariantMap listed{{"Subject", "Fiction"}, {"Edition", "1st"}, {"OT11", "Rack 1"}};
    QVariantMap first = listed;
    first.insert({{"AccessionNo", "007"},
                  {"title", "गोदान \"प्रेमचंद\""},
                  {"Date", "2024-03-05"},
                  {"Cost", 120.5},
                  {"OT16", "Arts"}});
    addBook(1, first);
    addPlainBook(2, "8", "Gaban");
    addPlainBook(3, "9", "Nirmala");
    open();
    list->findChild<RecordList *>("Lv1")->records()->setChecked(1, true);
    const QString file = path("Book List.xlsx");
    dialogs->saveFiles << file;
    dialogs->answers << Dialogs::Answer::Yes;
    click("cmdExport");
    EXPECT_TRUE(dialogs->last().text.startsWith("3 books have been saved in"));
    EXPECT_EQ(dialogs->opened, QStringList{file});

    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(file);
    EXPECT_EQ(sheet.cell(1, 1).text, "Green Valley School");
    EXPECT_EQ(sheet.cell(2, 1).text, "BOOK LIST");
    EXPECT_EQ(sheet.cell(3, 14).text, "Cost");
    EXPECT_EQ(sheet.cell(3, 24).text, "Stream");
    ASSERT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.cell(4, 1).asText(), "1");
    EXPECT_EQ(sheet.cell(6, 1).asText(), "3");
    EXPECT_EQ(sheet.cell(4, 2).asText(), "05-Mar-24");
    EXPECT_EQ(sheet.cell(4, 3).asText(), "007");
    EXPECT_EQ(sheet.cell(4, 4).asText(), "गोदान \"प्रेमचंद\"");
    EXPECT_EQ(sheet.cell(4, 14).asText(), "120.5");
    EXPECT_EQ(sheet.cell(4, 19).asText(), "Rack 1");
    EXPECT_EQ(sheet.cell(4, 24).asText(), "Arts");
    EXPECT_EQ(sheet.cell(5, 2).kind, XlsxReader::Cell::Kind::Empty);
    EXPECT_EQ(sheet.cell(5, 4).asText(), "Gaban");

    // A desktop with no program for workbooks: the box after Yes says where the file lies.
    dialogs->desktopOpens = false;
    dialogs->saveFiles << file;
    dialogs->answers << Dialogs::Answer::Yes << Dialogs::Answer::Ok;
    click("cmdExport");
    EXPECT_EQ(dialogs->last().text, "Unable to open target file.\r\nIt has been saved as " +
                                        QDir::toNativeSeparators(file));

    // Cancelling the save dialog writes nothing and asks nothing more.
    dialogs->saveFiles << "";
    click("cmdExport");
}

TEST_F(BookExchangeTest, TheCountBoxReadsRowFourAlwaysAndRowsFourToN)
{
    std::vector<QStringList> rows;
    for (int i = 1; i <= 8; ++i)
        rows.push_back(bookRow(QString::number(i), "Title " + QString::number(i)));
    const QString file = workbook(rows);
    addPlainBook(41, "41");
    open();

    for (const char *count : {"0", "2", "letters"}) {
        dialogs->expectOk();
        import(file, count);
        EXPECT_EQ(dialogs->last().text, "1 records sucessfully fetched") << count;
    }
    EXPECT_EQ(books(), 4);
    EXPECT_EQ(column(42, "AccessionNo"), "1");
    EXPECT_EQ(column(44, "AccessionNo"), "1");

    dialogs->expectOk();
    import(file, "10");
    EXPECT_EQ(dialogs->last().text, "7 records sucessfully fetched");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(books(), 11);
    EXPECT_EQ(column(51, "title"), "Title 7");
    EXPECT_EQ(column(51, "Status"), "Available");
    EXPECT_EQ(column(51, "OT14"), "B7");
    EXPECT_EQ(column(51, "Date"), "05-Mar-24");
    // The path and the count stay for the next run.
    EXPECT_EQ(box("txtNoofRecords")->text(), "10");

    // An empty count box is refused.
    dialogs->expectOk();
    import(file, "");
    EXPECT_EQ(dialogs->last().text, "Enter No. of record");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(books(), 11);
}

TEST_F(BookExchangeTest, AWorkbookWithoutDataRowsStoresNothing)
{
    const QString file = workbook({});
    open();
    for (const char *count : {"0", "10"}) {
        dialogs->expectOk();
        import(file, count);
        EXPECT_EQ(dialogs->last().text,
                  "Nothing to import: import.xlsx holds no records from row 4 on.");
        EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    }
    EXPECT_EQ(books(), 0);
    EXPECT_TRUE(frame()->isVisible());
}

TEST_F(BookExchangeTest, KeysFollowBooksThatAnotherCopyAddsBetweenTransactions)
{
    // Three transactions, the last one short.
    constexpr int chunk = ListWorkbook::RowsPerTransaction;
    constexpr int count = 2 * chunk + 100;
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(bookRow(QString::number(i), "T"));
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(workbook(rows));
    addPlainBook(41, "41");
    Database &db = *Module::CompanyDb;
    const auto other = Database::open(db.path());
    const auto result =
        ListWorkbook::importRows(db, sheet.lastRow(), BookExchange::rowStore(db, sheet), [&](int) {
            other->execute("INSERT INTO Book (BookID, AccessionNo) "
                           "SELECT Max(BookID) + 1, 'other' FROM Book");
        });
    EXPECT_EQ(result.failedRow, 0) << result.failure.toStdString();
    EXPECT_EQ(result.stored, count);
    EXPECT_EQ(books(), count + 4);
    EXPECT_EQ(column(42, "AccessionNo"), "1");
    EXPECT_EQ(column(41 + chunk, "AccessionNo"), QString::number(chunk));
    EXPECT_EQ(column(42 + chunk, "AccessionNo"), "other");
    EXPECT_EQ(column(43 + chunk, "AccessionNo"), QString::number(chunk + 1));
    EXPECT_EQ(column(43 + count, "AccessionNo"), QString::number(count));
}

TEST_F(BookExchangeTest, CostsTextsAndANewCatalogue)
{
    const QString file = workbook({bookRow("007", "It's \"रामायण\"", "12abc"),
                                   bookRow("0012", "Two", ""), bookRow("3", "Three", "45.50")});
    open();
    dialogs->expectOk();
    import(file, "6");
    EXPECT_EQ(column(1, "AccessionNo"), "007");
    EXPECT_EQ(column(1, "title"), "It's \"रामायण\"");
    EXPECT_EQ(column(1, "Cost").toDouble(), 12);
    EXPECT_EQ(column(2, "AccessionNo"), "0012");
    EXPECT_EQ(column(2, "Cost").toDouble(), 0);
    EXPECT_EQ(column(3, "Cost").toDouble(), 45.5);
}

TEST_F(BookExchangeTest, AFailingRowIsNamedAndTheRowsBeforeItStay)
{
    std::vector<QStringList> rows;
    for (int i = 1; i <= 9; ++i)
        rows.push_back(bookRow(QString::number(i), "T"));
    const QString file = workbook(rows);
    open();
    Database::setFailureHook({.failOnWrite = 5, .failOnTable = {}});
    dialogs->expectOk();
    import(file, "12");
    Database::clearFailureHook();
    const auto box = dialogs->last();
    EXPECT_EQ(box.icon, Dialogs::Icon::Information);
    EXPECT_TRUE(box.text.contains("Row 8 could not be stored. 4 records were stored (rows 4 to 7). "
                                  "Rows 8 to 12 were not stored."))
        << box.text.toStdString();
    EXPECT_EQ(books(), 4);
    EXPECT_TRUE(frame()->isVisible());
}

TEST_F(BookExchangeTest, AFileThatIsNoWorkbookStoresNothing)
{
    QFile text(path("books.xlsx"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("AccessionNo,Title\n1,Godan\n");
    text.close();
    open();
    dialogs->expectOk();
    import(text.fileName(), "10");
    EXPECT_TRUE(dialogs->last().text.contains("is not a readable Excel workbook"));
    EXPECT_EQ(books(), 0);

    // The file selection counts silently: a bad file leaves the count box as it was.
    dialogs->files << text.fileName();
    emit list->findChild<StyledButton *>("cmdSelectExcelFile")->Click();
    EXPECT_EQ(box("txtNoofRecords")->text(), "10");
    dialogs->files << "";
    box("txtPath")->setText(workbook({bookRow("1", "A"), bookRow("2", "B")}));
    emit list->findChild<StyledButton *>("cmdSelectExcelFile")->Click();
    EXPECT_EQ(box("txtNoofRecords")->text(), "5");
}

TEST_F(BookExchangeTest, TheImportFrameOpensClosesAndFitsTheWindow)
{
    open();
    list->resize(list->size().boundedTo(QSize(1024, 768)));
    click("cmdImport");
    ASSERT_TRUE(frame()->isVisible());
    EXPECT_TRUE(list->rect().contains(frame()->geometry()));
    list->grab().save(testOutputFolder() + "/frmBookList-import.png");
    QTest::mousePress(list->findChild<QLabel *>("lblClose"), Qt::LeftButton);
    EXPECT_FALSE(frame()->isVisible());
    click("cmdImport");
    auto *path = box("txtPath");
    path->setFocus();
    QTest::keyClick(path, Qt::Key_Escape);
    EXPECT_FALSE(frame()->isVisible());
}

TEST_F(BookExchangeTest, TheSampleWorkbookInTheProgramFolderImports)
{
    const QString sample = QString(LD_PACKAGE_DIR) + "/files/Books Data Import.xlsx";
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(sample);
    const QStringList headings = BookExchange::layout("").headings;
    for (int column = 1; column <= headings.size(); ++column)
        EXPECT_EQ(sheet.cell(3, column).text, headings.at(column - 1)) << column;
    open();
    dialogs->files << sample;
    click("cmdImport");
    emit list->findChild<StyledButton *>("cmdSelectExcelFile")->Click();
    EXPECT_EQ(box("txtPath")->text(), sample);
    EXPECT_EQ(box("txtNoofRecords")->text(), "6");
    dialogs->expectOk();
    click("cmdImportData");
    EXPECT_EQ(dialogs->last().text, "3 records sucessfully fetched");
    EXPECT_EQ(column(3, "title"), "Concepts of Physics");
}
