#include "CatalogueTestSupport.h"

#include "catalogue/BookPrintouts.h"
#include "catalogue/frmBook.h"
#include "catalogue/frmBookList.h"
#include "controls/button/StyledButton.h"
#include "core/report/Code39.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportOutput.h"
#include "core/report/ReportTemplate.h"
#include "ui/RecordList.h"
#include "ui/ReportViewer.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

class frmBookListTest : public CatalogueTest
{
protected:
    frmBookList *open() { return list = show<frmBookList>("frmBookList"); }
    RecordList *lv1() { return list->findChild<RecordList *>("Lv1"); }
    QStringList column(int index)
    {
        QStringList texts;
        for (int i = 0; i < lv1()->records()->size(); ++i)
            texts << lv1()->records()->row(i).texts.value(index);
        return texts;
    }
    QString count() { return list->findChild<QLineEdit *>("txtV1")->text(); }
    void search(const QStringList &filters)
    {
        const char *names[] = {"txtSearch", "txtSearch1", "txtSearch2", "txtSearch3",
                               "txtSearch4"};
        for (int i = 0; i < 5; ++i)
            list->findChild<QLineEdit *>(names[i])->setText(filters.value(i));
        emit list->findChild<StyledButton *>("cmdSearch1")->Click();
    }
    void tick(int row) { lv1()->records()->setChecked(row, true); }
    StyledButton *button(const char *name) { return list->findChild<StyledButton *>(name); }
    QStringList printing(const QString &column)
    {
        QStringList values;
        Recordset rs = Module::CommonDb->query("SELECT * FROM Printing");
        for (; !rs.eof(); rs.moveNext())
            values << rs.text(column);
        return values;
    }
    QStringList cake(const QString &column)
    {
        QStringList values;
        Recordset rs = Module::StickerDb->query("SELECT * FROM Cake");
        for (; !rs.eof(); rs.moveNext())
            values << rs.text(column);
        return values;
    }
    frmPrint1 *reportWindow() { return WindowRegistry::find<frmPrint1>("frmPrint1"); }

    frmBookList *list = nullptr;
};

TEST_F(frmBookListTest, ListsByTheLeadingNumberUnderPrefixFilters)
{
    addPlainBook(1, "10", "Godan");
    addPlainBook(2, "9", "Gitanjali");
    addPlainBook(3, "A1", "Kamayani");
    addPlainBook(4, "12A", "Godaan Retold");
    addPlainBook(5, "120", "Nirmala");
    addPlainBook(6, "1*2", "Star Book");
    addBook(7, {{"AccessionNo", "12"}, {"title", "No Subject"}, {"Edition", "1st"},
                {"OT11", "Rack 1"}}); // Subject NULL: never listed
    addBook(8, {{"AccessionNo", "121"}, {"title", "Costly"}, {"Subject", "Art"},
                {"Edition", "1st"}, {"OT11", "Rack 9"}, {"Cost", 250}});
    Module::CompanyDb->execute("UPDATE Book SET Cost = NULL WHERE BookID = 1");
    open();
    EXPECT_EQ(column(1), QStringList({"A1", "1*2", "9", "10", "12A", "120", "121"}));
    EXPECT_EQ(count(), "7");
    EXPECT_EQ(column(12).value(3), "0");   // no cost shows 0
    EXPECT_EQ(column(12).value(6), "250");
    EXPECT_EQ(lv1()->records()->data(lv1()->records()->index(0, 7), Qt::TextAlignmentRole),
              QVariant(int(Qt::AlignCenter)));

    search({"12"});
    EXPECT_EQ(column(1), QStringList({"12A", "120", "121"}));
    search({"", "go"});
    EXPECT_EQ(column(2), QStringList({"Godan", "Godaan Retold"}));
    search({"1*"}); // a typed star is the character itself
    EXPECT_EQ(column(1), QStringList({"1*2"}));
    search({"", "", "", "", "rack 9"});
    EXPECT_EQ(column(1), QStringList({"121"}));
    search({"nothing"});
    EXPECT_EQ(count(), "0");
    search({"'"}); // a quote is only a character
    EXPECT_EQ(count(), "0");
    search({});
    EXPECT_EQ(count(), "7");

    list->grab().save(QDir(testOutputFolder()).filePath("frmBookList.png"));
}

// An accession number typed, then typed back and searched again, lists what a fresh search lists,
// also after another program has added a book meanwhile.
TEST_F(frmBookListTest, AnAccessionNumberTypedBackListsWhatAFreshSearchLists)
{
    addPlainBook(1, "12");
    addPlainBook(2, "120");
    addPlainBook(3, "13");
    addPlainBook(4, "2");
    open();
    EXPECT_TRUE(activate(list->window()));
    QTest::mouseClick(button("cmdSearch"), Qt::LeftButton);
    auto *box = list->findChild<QLineEdit *>("txtSearch");
    box->setFocus();
    const auto searched = [&] {
        QTest::mouseClick(button("cmdSearch1"), Qt::LeftButton);
        return column(1);
    };
    QTest::keyClicks(box, "12");
    EXPECT_EQ(searched(), QStringList({"12", "120"}));
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(searched(), QStringList({"12", "13", "120"}));
    EXPECT_EQ(count(), "3");
    QTest::keyClicks(box, "3");
    EXPECT_EQ(searched(), QStringList({"13"}));
    {
        auto other = Database::open(Module::CompanyDb->path());
        other->execute("INSERT INTO Book (BookID, AccessionNo, title, Subject, Edition, OT11) "
                       "VALUES (5, '14', 'Theirs', 'Fiction', '2nd', 'Rack 1')");
    }
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(searched(), QStringList({"12", "13", "14", "120"}));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(searched(), QStringList({"2", "12", "13", "14", "120"}));
    EXPECT_EQ(count(), "5");
}

TEST_F(frmBookListTest, TicksStatusOpeningAndEsc)
{
    addPlainBook(1, "1");
    addPlainBook(2, "2", "Gitanjali");
    Module::CompanyDb->execute("UPDATE Book SET Status = 'Issue' WHERE BookID = 2");
    open();
    auto *selectAll = list->findChild<QCheckBox *>("chkSelectAll");
    tick(0);
    selectAll->click();
    EXPECT_TRUE(lv1()->records()->row(0).checked && lv1()->records()->row(1).checked);
    selectAll->click();
    EXPECT_FALSE(lv1()->records()->row(0).checked || lv1()->records()->row(1).checked);

    // A click shows the book's status; Enter opens it for changing.
    const QModelIndex second = lv1()->records()->index(1, 1);
    lv1()->setCurrentIndex(second);
    QTest::mouseClick(lv1()->viewport(), Qt::LeftButton, {}, lv1()->visualRect(second).center());
    EXPECT_EQ(list->findChild<QLabel *>("lblStatus")->text(), "Issue");
    lv1()->setFocus();
    QTest::keyClick(lv1(), Qt::Key_Return);
    auto *book = WindowRegistry::find<frmBook>("frmBook");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->mode(), "&Update");
    EXPECT_EQ(book->findChild<QLineEdit *>("txtTitle")->text(), "Gitanjali");
    EXPECT_EQ(Module::SelectedRecordID, 2);

    // Esc: the search panel first, then the window.
    EXPECT_TRUE(activate(list->window()));
    emit button("cmdSearch")->Click();
    auto *panel = list->findChild<QFrame *>("fraSearch");
    EXPECT_TRUE(panel->isVisible());
    list->grab().save(QDir(testOutputFolder()).filePath("frmBookListSearch.png"));
    lv1()->setFocus();
    QTest::keyClick(lv1(), Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(WindowRegistry::find("frmBookList"));
    QTest::keyClick(lv1(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBookList"); }));

    // An empty list opens nothing.
    Module::CompanyDb->execute("DELETE FROM Book");
    WindowRegistry::close("frmBook");
    ASSERT_TRUE(waitFor([] { return !WindowRegistry::find("frmBook"); }));
    open();
    lv1()->setFocus();
    QTest::keyClick(lv1(), Qt::Key_Return);
    EXPECT_FALSE(WindowRegistry::find("frmBook"));
}

TEST_F(frmBookListTest, ThePrintoutStagesTheTickedBooksThatStillExist)
{
    for (int i = 1; i <= 10; ++i)
        addPlainBook(i, QString::number(i), QString("Book %1").arg(i));
    Module::CompanyDb->execute("UPDATE Book SET Cost = 250 WHERE BookID = 3");
    open();
    tick(2);
    tick(5);
    tick(8);
    Module::CompanyDb->execute("DELETE FROM Book WHERE BookID = 6"); // deleted meanwhile
    emit button("cmdPrint")->Click();
    EXPECT_EQ(printing("T2"), QStringList({"3", "9"}));
    EXPECT_EQ(printing("T15"), QStringList({"250", ""}));
    EXPECT_EQ(printing("T24"), QStringList({"", ""}));
    EXPECT_EQ(printing("c1"), QStringList(2, "Green Valley School"));
    EXPECT_EQ(printing("c7"), QStringList(2, "TIN-4455"));
    ASSERT_TRUE(reportWindow());
    EXPECT_TRUE(reportWindow()->templatePath().endsWith("/BookList.rpt"));
    EXPECT_EQ(reportWindow()->CRViewer1()->zoom(), 115);
    EXPECT_EQ(reportWindow()->CRViewer1()->reportSource()->data().rowCount(), 2);
}

namespace {

// The barcodes a reader finds in a picture or a PDF page, as texts.
QStringList scan(const QString &file)
{
    // The install script installs both tools: a missing one is a failure, never a skip.
    for (const char *tool : {"pdftoppm", "zbarimg"})
        EXPECT_FALSE(QStandardPaths::findExecutable(tool).isEmpty())
            << tool << " is missing: run scripts/install-deps.sh";
    QString picture = file;
    if (file.endsWith(".pdf")) {
        QProcess render;
        render.start("pdftoppm", {"-r", "300", "-png", "-f", "1", "-l", "1", file,
                                  file + "-page"});
        EXPECT_TRUE(render.waitForFinished(60000));
        picture = file + "-page-1.png";
    }
    QProcess reader;
    reader.start("zbarimg", {"--quiet", "--raw", picture});
    EXPECT_TRUE(reader.waitForFinished(60000));
    QStringList found =
        QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    found.sort();
    return found;
}

} // namespace

TEST_F(frmBookListTest, StickersScanAsTheirNumbersAndStayInsideBar)
{
    const QStringList barcodes = {"1001", "lib-7", "A#B/7", "../../escape", "LIB_2024_001",
                                  "ÄB12", "12*34", ""};
    int key = 0;
    for (const QString &barcode : barcodes) {
        ++key;
        addBook(key, {{"AccessionNo", QString::number(key)}, {"title", "Godan"},
                        {"Author", "Premchand"}, {"Subject", "Fiction"}, {"Edition", "2nd"},
                        {"OT11", "Rack 1"}, {"OT14", barcode}});
    }
    ++key;
    addPlainBook(key, QString::number(key)); // deleted after ticking
    QDir(path("Bar")).removeRecursively();
    open();
    lv1()->records()->setAllChecked(true);
    Module::CompanyDb->execute("DELETE FROM Book WHERE BookID = ?", {key});

    dialogs->expectOk();
    emit button("cmdSticker")->Click();
    const QString notice = dialogs->last().text;
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    for (const char *named : {"A#B/7", "LIB_2024_001", "ÄB12", "12*34", "Acc. No. 8"})
        EXPECT_TRUE(notice.contains(QString::fromUtf8(named))) << named;
    for (const char *scannable : {"1001", "lib-7", "escape"})
        EXPECT_FALSE(notice.contains(scannable)) << scannable;

    EXPECT_EQ(cake("CakeID"), QStringList({"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(cake("FileName").value(0), "1001.jpg");
    EXPECT_EQ(cake("OT2").value(0), QDir(path("Bar")).filePath("1001.jpg"));
    // Every picture lies in Bar/, one file a barcode.
    QSet<QString> files;
    for (const QString &file : cake("OT2")) {
        EXPECT_EQ(QFileInfo(file).absolutePath(), QDir(path("Bar")).absolutePath());
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
        files << file;
    }
    EXPECT_EQ(files.size(), 8);
    EXPECT_FALSE(QFileInfo::exists(path("escape.jpg")));

    ASSERT_TRUE(reportWindow());
    EXPECT_EQ(reportWindow()->CRViewer1()->zoom(), 100);
    EXPECT_FALSE(reportWindow()->cmdPrint()->isVisible());
    const auto document = reportWindow()->CRViewer1()->reportSource();
    EXPECT_EQ(document->data().rowCount(), 8);

    // Every barcode scans as the number printed under it; the others carry no bars at all.
    const QString pdf = QDir(testOutputFolder()).filePath("Stickers.pdf");
    ReportOutput::exportPdf(*document, pdf);
    EXPECT_EQ(scan(pdf), QStringList({"../../ESCAPE", "1001", "LIB-7"}));
    const QString picture = QDir(testOutputFolder()).filePath("Sticker1001.png");
    ASSERT_TRUE(QImage(cake("OT2").value(0)).save(picture));
    EXPECT_EQ(scan(picture), QStringList({"1001"}));
    const QString bare = QDir(testOutputFolder()).filePath("StickerUnsafe.png");
    ASSERT_TRUE(QImage(cake("OT2").value(2)).save(bare)); // A#B/7
    EXPECT_EQ(scan(bare), QStringList());

    // The next ordinary report offers Print again.
    emit button("cmdPrint")->Click();
    EXPECT_TRUE(reportWindow()->cmdPrint()->isVisible());
}

// Short numbers get wide bars, long ones narrow bars: every one keeps its white margins and scans;
// a number too long for the sticker's barcode box gets no bars and is named in the notice.
TEST_F(frmBookListTest, StickerBarcodesOfEveryLengthTheBoxHoldsScan)
{
    const ReportTemplate sticker = ReportTemplate::load(path(BookPrintouts::StickerTemplate));
    double width = 0;
    for (const ReportElement &element : sticker.detail.elements)
        if (element.kind == ReportElement::Kind::Barcode)
            width = element.width;
    QString longest = "LIB-2024-";
    while (Code39::fits(longest + "7", width))
        longest += QString::number(longest.size() % 10);
    const QString tooLong = longest + "7";
    EXPECT_GE(longest.size(), 20);

    const QStringList numbers = {"1", "5", "10", "11", "LIB-2024-0042", "b-77/3", longest, tooLong};
    int key = 0;
    for (const QString &number : numbers) {
        ++key;
        addBook(key, {{"AccessionNo", number},
                      {"title", "Godan"},
                      {"Subject", "Fiction"},
                      {"Edition", "2nd"},
                      {"OT11", "Rack 1"},
                      {"OT14", number}});
    }
    open();
    lv1()->records()->setAllChecked(true);
    dialogs->expectOk();
    emit button("cmdSticker")->Click();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.contains(tooLong));
    EXPECT_FALSE(dialogs->last().text.contains("\"" + longest + "\""));

    ASSERT_TRUE(reportWindow());
    const QString pdf = QDir(testOutputFolder()).filePath("StickerLengths.pdf");
    ReportOutput::exportPdf(*reportWindow()->CRViewer1()->reportSource(), pdf);
    QStringList expected;
    for (const QString &number : numbers.mid(0, numbers.size() - 1))
        expected << number.toUpper();
    expected.sort();
    EXPECT_EQ(scan(pdf), expected);
    // The accession number under the barcode prints whole too.
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &number : {longest, tooLong})
        EXPECT_TRUE(printed.contains("Acc. No. " + number)) << number.toStdString();
}

TEST_F(frmBookListTest, StickerFileNamesCannotLeaveTheFolder)
{
    EXPECT_EQ(BookPrintouts::stickerFileName("1001"), "1001.jpg");
    EXPECT_EQ(BookPrintouts::stickerFileName(""), ".jpg");
    EXPECT_EQ(BookPrintouts::stickerFileName("../x"), "..%2Fx.jpg");
    EXPECT_EQ(BookPrintouts::stickerFileName("a\\b:c"), "a%5Cb%3Ac.jpg");
    EXPECT_NE(BookPrintouts::stickerFileName("a/b"), BookPrintouts::stickerFileName("a_b"));
    EXPECT_NE(BookPrintouts::stickerFileName("a/b"), BookPrintouts::stickerFileName("a%2Fb"));
}

// The key column holds the check box and the book key whole, up to the keys of a large library.
TEST_F(frmBookListTest, TheKeyColumnShowsLongKeysWhole)
{
    for (const int key : {9, 10, 100000})
        addPlainBook(key, QString::number(key));
    open();
    ASSERT_EQ(lv1()->records()->size(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_LE(lv1()->sizeHintForIndex(lv1()->records()->index(row, 0)).width(),
                  lv1()->columnWidth(0))
            << lv1()->records()->text(row, 0).toStdString();
}

// The printed list shows every accession number whole, up to the fifty characters the book
// window's box takes.
TEST_F(frmBookListTest, ThePrintedListShowsLongAccessionNumbersWhole)
{
    const QStringList numbers = {"7", "LIB-2024-000123", "LIB-2024-ABCDEFGHIJ-0123456789-KLMNOPQ",
                                 QString(50, 'W'), "LIB-2024-" + QString(41, '8')};
    int key = 0;
    for (const QString &number : numbers)
        addPlainBook(++key, number);
    open();
    lv1()->records()->setAllChecked(true);
    emit button("cmdPrint")->Click();
    ASSERT_TRUE(reportWindow());
    const QString pdf = QDir(testOutputFolder()).filePath("BookListLong.pdf");
    ReportOutput::exportPdf(*reportWindow()->CRViewer1()->reportSource(), pdf);

    // The text of the accession number column alone (10 mm margin, column from 11.2 mm, 20.6 mm
    // wide), at 72 dots an inch, in the order it is drawn: pdftotext's reading order would join
    // a number broken after a hyphen without its hyphen.
    const auto dots = [](double mm) { return QString::number(qRound(mm * 72 / 25.4)); };
    QProcess text;
    text.start("pdftotext", {"-raw", "-r", "72", "-x", dots(20.5), "-y", "0", "-W", dots(21.5),
                             "-H", dots(210), pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString column =
        QString::fromUtf8(text.readAllStandardOutput()).remove(QRegularExpression("\\s"));
    for (const QString &number : numbers)
        EXPECT_TRUE(column.contains(number))
            << number.toStdString() << " in " << column.toStdString();
}
