#include "ProgramTest.h"
#include "ReportSamples.h"
#include "WaitFor.h"

#include "core/Module.h"
#include "core/PrintingStage.h"
#include "core/report/ReportFiles.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportOutput.h"
#include "ui/PathLabel.h"
#include "ui/ReportHandOver.h"
#include "ui/ReportPrinter.h"
#include "ui/ReportViewer.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

class frmPrint1Test : public ProgramTest
{
protected:
    QMainWindow *mainWindow = nullptr;

    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        ReportSamples::addCompany();
        registerReportWindow();
        mainWindow = new QMainWindow;
        auto *area = new QMdiArea(mainWindow);
        mainWindow->setCentralWidget(area);
        mainWindow->resize(1280, 820);
        mainWindow->show();
        WindowRegistry::setMdiArea(area);
        ReportFiles::setClock([] { return QDateTime(QDate(2024, 7, 28), QTime(14, 30, 5)); });
    }
    void TearDown() override
    {
        ReportFiles::setClock({});
        ReportPrinter::setPrintToFile(QString());
        WindowRegistry::reset();
        delete mainWindow;
        ProgramTest::TearDown();
    }

    static void click(frmPrint1 *window, const char *button)
    {
        QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    static QString hidden(frmPrint1 *window, const char *box)
    {
        return window->findChild<QLineEdit *>(box)->text();
    }
};

TEST_F(frmPrint1Test, HandOverShowsTheReportInOneReusedWindow)
{
    ReportSamples::stage("BookList.rpt", 40);
    frmPrint1 *window = ReportHandOver::showReport("BookList.rpt");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->lblRPTFileName()->text(), "RPT File :" + path("BookList.rpt"));
    EXPECT_EQ(window->templatePath(), path("BookList.rpt"));
    EXPECT_EQ(window->CRViewer1()->zoom(), 115);
    EXPECT_EQ(window->CRViewer1()->pageCount(), 2);
    EXPECT_TRUE(window->cmdPrint()->isVisible());
    EXPECT_EQ(window->windowTitle(), "PRINT PREVIEW");
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->geometry(),
              QRect(QPoint(0, 0), WindowRegistry::mdiArea()->viewport()->size()));
    QApplication::processEvents();
    mainWindow->grab().save(QDir(testOutputFolder()).filePath("frmPrint1.png"));

    // A sticker hand-over reuses the window, shows at 100 and hides Print; the next ordinary
    // report offers Print again.
    window->findChild<QLineEdit *>("txtMobile")->setText("98765");
    ReportSamples::stage("Report/Catalogue.rpt", 4);
    EXPECT_EQ(ReportHandOver::showStickers(), window);
    EXPECT_EQ(window->CRViewer1()->zoom(), 100);
    EXPECT_FALSE(window->cmdPrint()->isVisible());
    EXPECT_TRUE(window->templatePath().endsWith("/Report/Catalogue.rpt"));
    EXPECT_EQ(window->CRViewer1()->reportSource()->data().rowCount(), 4);
    ReportSamples::stage("Reports/PendingBook.rpt", 2);
    EXPECT_EQ(
        ReportHandOver::showReport("Reports/PendingBook.rpt", ReportHandOver::Binding::Unbound),
        window);
    EXPECT_EQ(window->CRViewer1()->zoom(), 115);
    EXPECT_EQ(window->CRViewer1()->reportSource()->data().rowCount(), 2);
    EXPECT_TRUE(window->cmdPrint()->isVisible());
    EXPECT_EQ(hidden(window, "txtMobile"), "98765");
    EXPECT_EQ(WindowRegistry::loadOrder(), QStringList{"frmPrint1"});

    // Esc closes it; the next hand-over loads it anew with Print and empty remembered values.
    EXPECT_TRUE(activate(mainWindow));
    auto *pdfButton = window->findChild<QPushButton *>("cmdPDF");
    pdfButton->setFocus();
    QTest::keyClick(pdfButton, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(WindowRegistry::find("frmPrint1"));
    window = ReportHandOver::showReport("BookList.rpt");
    EXPECT_TRUE(window->cmdPrint()->isVisible());
    EXPECT_EQ(hidden(window, "txtMobile"), "");
    click(window, "cmdClose");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(WindowRegistry::find("frmPrint1"));

    // A missing template fails before the window is touched.
    EXPECT_THROW(ReportHandOver::showReport("Nowhere.rpt"), AppError);
    EXPECT_FALSE(WindowRegistry::find("frmPrint1"));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// On a 1024x768 screen the label gives up room to the button row: a long path shows both ends,
// never under Print, and the whole of it in the tooltip.
TEST_F(frmPrint1Test, TheTemplatePathCanBeReadAt1024x768)
{
    mainWindow->resize(1024, 768);
    ReportSamples::stage("Reports/BookReceiveRegister.rpt", 3);
    frmPrint1 *window = ReportHandOver::showReport("Reports/BookReceiveRegister.rpt");
    ASSERT_TRUE(window);
    QApplication::processEvents();
    auto *label = dynamic_cast<PathLabel *>(window->lblRPTFileName());
    ASSERT_TRUE(label);
    EXPECT_LT(label->geometry().right(), window->cmdPrint()->geometry().left());

    // The program in a folder of usual depth, as the hand-over writes it.
    const QString whole = "RPT File :/home/librarian/Documents/School Library/LibraryDesk/"
                          "program/Reports/BookReceiveRegister.rpt";
    label->setText(whole);
    EXPECT_EQ(window->templatePath(), whole.mid(10));
    ASSERT_TRUE(label->cutShort());
    const QString shown = label->shownText();
    EXPECT_TRUE(shown.startsWith("RPT File :/home/")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("/BookReceiveRegister.rpt")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
    const auto hover = [label] {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(label, &help);
    };
    hover();
    EXPECT_TRUE(waitFor([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), whole);
    QApplication::processEvents();
    mainWindow->grab().save(QDir(testOutputFolder()).filePath("frmPrint1-1024x768.png"));

    // A path that fits shows whole, with no tooltip.
    label->setText("RPT File :/opt/LibraryDesk/BookList.rpt");
    EXPECT_FALSE(label->cutShort());
    EXPECT_EQ(label->shownText(), label->text());
    hover();
    EXPECT_TRUE(waitFor([] { return !QToolTip::isVisible(); }));
}

TEST_F(frmPrint1Test, PdfTakesTheStagedRowsAndIsNamedByTheMoment)
{
    ReportSamples::stage("BookList.rpt", 2);
    frmPrint1 *window = ReportHandOver::showReport("BookList.rpt");
    // The commands read the staging table as it is now, not what the preview showed.
    ReportSamples::stage("Reports/Ledger.rpt", 1);
    ReportSamples::stage("BookList.rpt", 5);
    ASSERT_FALSE(QDir(path("PDFs")).exists());
    click(window, "cmdPDF");
    const QString pdf = path("PDFs/2807143005.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(dialogs->opened, QStringList{pdf});
    EXPECT_TRUE(ReportSamples::pdfText(pdf).contains("Total books: 5"));
    click(window, "cmdPDF"); // the same second: the same file again
    EXPECT_EQ(QDir(path("PDFs")).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    // The sticker report's commands print the sticker table.
    ReportSamples::stage("Report/Catalogue.rpt", 3);
    ReportHandOver::showStickers();
    ReportFiles::setClock([] { return QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)); });
    click(window, "cmdPDF");
    EXPECT_TRUE(ReportSamples::pdfText(path("PDFs/0201030405.pdf")).contains("Wings of Fire 3"));

    // A template gone since the hand-over: the standard error box, the window stays.
    QFile::remove(path("Report/Catalogue.rpt"));
    dialogs->expectOk();
    click(window, "cmdPDF");
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Error 53\r File not found: " + path("Report/Catalogue.rpt"));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_TRUE(WindowRegistry::find("frmPrint1"));
}

TEST_F(frmPrint1Test, PrintAndPrinterSetupPrintTheStagedRows)
{
    ReportSamples::stage("Reports/BookIssueRegister.rpt", 4);
    frmPrint1 *window = ReportHandOver::showReport("Reports/BookIssueRegister.rpt",
                                                   ReportHandOver::Binding::Unbound);
    const QString printed = QDir(testOutputFolder()).filePath("printed.pdf");
    QFile::remove(printed);
    ReportPrinter::setPrintToFile(printed);
    click(window, "cmdPrint");
    EXPECT_EQ(dialogs->printSetups, 0);
    EXPECT_TRUE(ReportSamples::pdfText(printed).contains("Books issued: 4"));

    // A cancelled set-up still prints.
    QFile::remove(printed);
    dialogs->acceptPrintSetup = false;
    click(window, "cmdPrinterSetup");
    EXPECT_EQ(dialogs->printSetups, 1);
    EXPECT_TRUE(ReportSamples::pdfText(printed).contains("BOOK ISSUE REGISTER"));
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ReportPrinter::setPrintToFile(QString());
        dialogs->expectOk();
        click(window, "cmdPrint");
        ASSERT_EQ(dialogs->boxes.size(), 1);
        EXPECT_TRUE(dialogs->last().text.startsWith("Error 482\r "));
    }
}

TEST_F(frmPrint1Test, WithoutAPrinterOrAProgramForPdfsTheWindowSaysSo)
{
    ReportSamples::stage("BookList.rpt", 2);
    frmPrint1 *window = ReportHandOver::showReport("BookList.rpt");

    // Nothing on the desktop opens PDFs: the box says where the file lies.
    dialogs->desktopOpens = false;
    dialogs->expectOk();
    click(window, "cmdPDF");
    const QString pdf = path("PDFs/2807143005.pdf");
    EXPECT_TRUE(QFile::exists(pdf));
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Unable to open target file.\r\nIt has been saved as " +
                                        QDir::toNativeSeparators(pdf));

    // No printer installed: Printer Setup says what Print says and writes no file anywhere.
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return;
    dialogs->expectOk(2);
    click(window, "cmdPrint");
    click(window, "cmdPrinterSetup");
    EXPECT_EQ(dialogs->printSetups, 0);
    ASSERT_EQ(dialogs->boxes.size(), 3);
    EXPECT_EQ(dialogs->boxes[1].text, "Error 482\r Printer error: no printer is installed");
    EXPECT_EQ(dialogs->boxes[2].text, dialogs->boxes[1].text);
}

// Paper shows a title in an Indian script as its outlines alone; the letters a PDF file lays
// invisibly over them for a search would print black over the outlines on many printers.
TEST_F(frmPrint1Test, PaperCarriesNoHiddenLettersOverIndianScripts)
{
    const QString title = QString::fromUtf8("பொன்னியின் செல்வன்");
    {
        ReportHandOver::PrintingStage stage;
        stage.addRow({{"T3", "101"}, {"T5", title}, {"T6", "Kalki"}});
        stage.commit();
    }
    frmPrint1 *window = ReportHandOver::showReport("BookList.rpt");
    click(window, "cmdPDF");
    EXPECT_TRUE(ReportSamples::pdfText(path("PDFs/2807143005.pdf")).contains(title));

    const QString printed = QDir(testOutputFolder()).filePath("printed-tamil.pdf");
    QFile::remove(printed);
    ReportPrinter::setPrintToFile(printed);
    click(window, "cmdPrint");
    const QString paper = ReportSamples::pdfText(printed);
    EXPECT_TRUE(paper.contains("Kalki"));
    EXPECT_FALSE(paper.contains(QString::fromUtf8("பொன்னியின்")));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(frmPrint1Test, OnlyThePasswordOpensTheTemplate)
{
    ReportSamples::stage("Card.rpt", 1);
    frmPrint1 *window = ReportHandOver::showReport("Card.rpt");
    dialogs->inputs << ""
                    << "WISP"
                    << "wisp";
    for (int i = 0; i < 3; ++i)
        QTest::mouseDClick(window->lblRPTFileName(), Qt::LeftButton);
    EXPECT_EQ(dialogs->inputPrompts,
              QStringList({"Enter Password", "Enter Password", "Enter Password"}));
    EXPECT_EQ(dialogs->opened, QStringList{path("Card.rpt")});
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(frmPrint1Test, EveryTemplateExportsItsStagedRowsFromTheWindow)
{
    const QMap<QString, QString> sample = {{"BookList.rpt", "The Discovery of India 2"},
                                           {"Card.rpt", "Aarav Sharma 2"},
                                           {"Report/Catalogue.rpt", "Wings of Fire 2"},
                                           {"BookIssue.rpt", "BOOK ISSUE SLIP"},
                                           {"BookReceipt.rpt", "BOOK RETURN SLIP"},
                                           {"Reports/PendingBook.rpt", "Meera Nair"},
                                           {"Reports/BookIssueRegister.rpt", "Books issued: 2"},
                                           {"Reports/BookReceiveRegister.rpt", "Books received: 2"},
                                           {"Reports/Ledger.rpt", "Entries: 2"}};
    int second = 0;
    for (const QString &name : ReportSamples::templates()) {
        SCOPED_TRACE(name.toStdString());
        ReportSamples::stage(name, 2);
        frmPrint1 *window =
            name == "Report/Catalogue.rpt"
                ? ReportHandOver::showStickers()
                : ReportHandOver::showReport(name, ReportHandOver::Binding::Unbound);
        EXPECT_EQ(window->CRViewer1()->reportSource()->data().rowCount(), 2);
        ReportFiles::setClock(
            [s = ++second] { return QDateTime(QDate(2024, 7, 28), QTime(9, 0, s)); });
        click(window, "cmdPDF");
        const QString pdf = path(QString("PDFs/28070900%1.pdf").arg(second, 2, 10, QChar('0')));
        EXPECT_TRUE(ReportSamples::pdfText(pdf).contains(sample.value(name)));
    }
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}
