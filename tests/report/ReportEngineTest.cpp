#include "ProgramTest.h"
#include "ReportSamples.h"

#include "core/Module.h"
#include "core/report/Code39.h"
#include "core/report/Report.h"
#include "core/report/ReportOutput.h"
#include "ui/ReportPrinter.h"

#include "core/PrintingStage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGlyphRun>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>

class ReportEngineTest : public ReportCompanyTest
{
protected:
    std::shared_ptr<const ReportDocument> bound(const QString &templatePath)
    {
        Report report = Report::open(Module::programPath(templatePath));
        report.readOwnData();
        return report.document();
    }
};

TEST_F(ReportEngineTest, EveryTemplatePrintsItsStagedRowsAsSearchableText)
{
    const QMap<QString, QStringList> expected = {
        {"BookList.rpt",
         {"BOOK LIST", "The Discovery of India 2", "Jawaharlal Nehru", "250.00", "05-03-2024",
          "Total books: 3", "Near Clock Tower", "Tax No.: TIN-4455"}},
        {"Card.rpt", {"LIBRARY CARD", "Aarav Sharma 3", "Rakesh Sharma", "503"}},
        {"Report/Catalogue.rpt", {"Wings of Fire 1", "Acc. No. 1003", "B1002"}},
        {"BookIssue.rpt",
         {"BOOK ISSUE SLIP", "Godan", "Premchand", "Fine per day: 2", "Loan days: 14",
          "Group note: Return on time"}},
        {"BookReceipt.rpt",
         {"BOOK RETURN SLIP", "19-03-2024", "Cover torn", "Days delayed",
          "Group note: Return on time"}},
        {"Reports/PendingBook.rpt",
         {"PENDING BOOK LIST", "Gitanjali", "Meera Nair", "01-03-2024", "Books not returned: 3"}},
        {"Reports/BookIssueRegister.rpt",
         {"BOOK ISSUE REGISTER", "Period: 01-03-2024 To 31-03-2024", "Books issued: 3"}},
        {"Reports/BookReceiveRegister.rpt", {"BOOK RECEIPT REGISTER", "Total fine: 24.00"}},
        {"Reports/Ledger.rpt", {"LEDGER", "Cover torn", "Total fine: 24.00"}},
    };
    for (const QString &name : ReportSamples::templates()) {
        SCOPED_TRACE(name.toStdString());
        ReportSamples::stage(name, 3);
        const auto document = bound(name);
        ASSERT_EQ(document->data().rowCount(), 3);
        const QString pdf =
            QDir(testOutputFolder()).filePath(QString(name).replace('/', '_') + ".pdf");
        ReportOutput::exportPdf(*document, pdf);
        const QString text = ReportSamples::pdfText(pdf);
        EXPECT_TRUE(text.contains("Green Valley School") || name == "Report/Catalogue.rpt");
        for (const QString &line : expected.value(name))
            EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
        ReportOutput::pageImage(*document, 0, 100)
            .save(QDir(testOutputFolder()).filePath(QString(name).replace('/', '_') + ".png"));
    }
}

TEST_F(ReportEngineTest, LongListsRepeatTheirPageHeaderOnEveryPage)
{
    ReportSamples::stage("BookList.rpt", 120);
    const auto document = bound("BookList.rpt");
    ASSERT_GE(document->pageCount(), 3);
    const QString pdf = QDir(testOutputFolder()).filePath("BookList-long.pdf");
    ReportOutput::exportPdf(*document, pdf);
    const QString text = ReportSamples::pdfText(pdf);
    EXPECT_EQ(text.count("Publisher"), document->pageCount());
    EXPECT_EQ(text.count("Green Valley School"), 1); // the report header is on the first page only
    EXPECT_TRUE(text.contains(QString("Page %1 of %1").arg(document->pageCount())));
    EXPECT_TRUE(text.contains("The Discovery of India 120"));
    EXPECT_TRUE(text.contains("Total books: 120"));

    // Every record is placed exactly once, in order, and never below the page footer.
    int expectedRow = 0;
    const double footerTop =
        document->layout().printableArea().bottom() - document->layout().pageFooter.height;
    for (int p = 0; p < document->pageCount(); ++p)
        for (const PlacedBand &band : document->page(p).bands)
            if (band.row >= 0) {
                EXPECT_EQ(band.row, expectedRow++);
                EXPECT_LE(band.origin.y() + band.band->height, footerTop + 1e-6);
            }
    EXPECT_EQ(expectedRow, 120);
}

TEST_F(ReportEngineTest, PrintingGivesOneCopyWhateverTheSetUpChose)
{
    ReportSamples::stage("BookList.rpt", 3);
    const auto document = bound("BookList.rpt");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(testOutputFolder()).filePath("OneCopy.pdf"));
    ReportPrinter::preparePrinter(printer, *document);
    printer.setCopyCount(3); // as a set-up dialog leaves it
    ReportPrinter::print(*document, printer);
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_TRUE(ReportSamples::pdfText(printer.outputFileName()).contains("Total books: 3"));
}

TEST_F(ReportEngineTest, StickersGoThreeAcrossWithTheirBarcodes)
{
    ReportSamples::stage("Report/Catalogue.rpt", 22);
    const auto document = bound("Report/Catalogue.rpt");
    EXPECT_EQ(document->pageCount(), 2); // 21 on a sheet
    const auto &first = document->page(0).bands;
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(first[0].origin.y(), first[2].origin.y());
    EXPECT_LT(first[0].origin.x(), first[1].origin.x());
    EXPECT_GT(first[3].origin.y(), first[0].origin.y());

    // The bars under the first sticker's title are black where the code says so.
    const QImage page = ReportOutput::pageImage(*document, 0, 200);
    page.save(QDir(testOutputFolder()).filePath("Stickers.png"));
    int dark = 0;
    const int y = int((12 + 6.5 + 9) * 200 * 96 / 100 / 25.4);
    for (int x = 0; x < page.width() / 3; ++x)
        dark += qGray(page.pixel(x, y)) < 100;
    EXPECT_GT(dark, 40);
}

TEST_F(ReportEngineTest, Code39FollowsThePublishedPatterns)
{
    EXPECT_EQ(Code39::pattern('0'), "nnnwwnwnn");
    EXPECT_EQ(Code39::pattern('A'), "wnnnnwnnw");
    EXPECT_EQ(Code39::pattern('*'), "nwnnwnwnn");
    EXPECT_EQ(Code39::pattern('a'), Code39::pattern('A'));
    EXPECT_TRUE(Code39::pattern('#').isEmpty());
    // Twelve modules a character, one between characters, framed by '*'.
    EXPECT_EQ(Code39::modules("12345").size(), size_t(7 * 12 + 6));
    // Characters Code 39 cannot hold give no bars at all, never bars of another number.
    for (const char *unsafe : {"A#B/7", "LIB_2024_001", "\xC3\x84" "B12", "12*34"})
        EXPECT_TRUE(Code39::modules(QString::fromUtf8(unsafe)).empty()) << unsafe;
    EXPECT_TRUE(Code39::pattern(QChar(0x0131)).isEmpty()); // dotless i is no I
    EXPECT_TRUE(Code39::canEncode("lib-2024/7 $+%."));
    EXPECT_EQ(Code39::modules("abc"), Code39::modules("ABC"));
    const std::vector<bool> star = Code39::modules("");
    const std::vector<bool> expected = {1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 0, // '*' and gap
                                        1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1};
    EXPECT_EQ(star, std::vector<bool>(expected.begin(), expected.end()));
}

TEST_F(ReportEngineTest, AMissingOrDamagedTemplateIsAnError)
{
    try {
        Report::open(path("Nowhere.rpt"));
        FAIL();
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 53);
        EXPECT_TRUE(error.description().contains("Nowhere.rpt"));
    }
    QFile damaged(path("Damaged.rpt"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"page\": ");
    damaged.close();
    EXPECT_THROW(Report::open(path("Damaged.rpt")), AppError);
    EXPECT_THROW(ReportTemplate::fromJson(R"({"detail": {"height": 400, "elements": []}})"),
                 AppError);
}

TEST_F(ReportEngineTest, HeadingsAndLabelsShowWhole)
{
    for (const QString &name : ReportSamples::templates()) {
        SCOPED_TRACE(name.toStdString());
        ReportSamples::stage(name, 3);
        const auto document = bound(name);
        const QString pdf =
            QDir(testOutputFolder()).filePath("whole-" + QString(name).replace('/', '_') + ".pdf");
        ReportOutput::exportPdf(*document, pdf);
        const QString text = ReportSamples::pdfText(pdf).simplified();
        const ReportTemplate &t = document->layout();
        for (const ReportBand *band :
             {&t.reportHeader, &t.pageHeader, &t.detail, &t.pageFooter, &t.reportFooter})
            for (const ReportElement &element : band->elements) {
                if (element.kind != ReportElement::Kind::Text || !element.joinParts.empty() ||
                    element.text.pieces.size() != 1 || element.text.pieces[0].isField)
                    continue;
                // A caption of several lines may come out of the PDF with text between its lines.
                for (const QString &line : element.text.pieces[0].text.split(QLatin1Char('\n'))) {
                    const QString caption = line.simplified();
                    EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
                }
            }
    }
}

TEST_F(ReportEngineTest, TotalsReadAsTheirColumn)
{
    {
        ReportHandOver::PrintingStage stage(ReportHandOver::CompanyHeader::Short);
        for (const char *fine : {"2.5", "8.125", "9.5"})
            stage.addRow({{"T1", "19-03-2024"}, {"T5", "Aarav Sharma"}, {"T9", fine}});
        stage.commit();
    }
    const auto document = bound("Reports/BookReceiveRegister.rpt");
    const QString pdf = QDir(testOutputFolder()).filePath("totals.pdf");
    ReportOutput::exportPdf(*document, pdf);
    const QString text = ReportSamples::pdfText(pdf);
    EXPECT_TRUE(text.contains("2.50")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Total fine: 20\\.1[23]\\b")))
        << text.toStdString();
    EXPECT_FALSE(text.contains("20.125")) << text.toStdString();
}

TEST_F(ReportEngineTest, PrintedTotalsAreTheSumOfThePrintedRows)
{
    // Each 3.376 prints as 3.38: ten rows add up to 33.80 on paper, whatever the unrounded sum.
    const QMap<QString, QString> fineColumn = {{"Reports/BookReceiveRegister.rpt", "T9"},
                                               {"Reports/Ledger.rpt", "T7"}};
    for (auto it = fineColumn.begin(); it != fineColumn.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        {
            ReportHandOver::PrintingStage stage(ReportHandOver::CompanyHeader::Short);
            for (int i = 0; i < 10; ++i)
                stage.addRow({{"T1", "19-03-2024"}, {"T2", "Godan"}, {it.value(), "3.376"}});
            stage.commit();
        }
        const QString pdf =
            QDir(testOutputFolder()).filePath(QString(it.key()).replace('/', '_') + "-total.pdf");
        ReportOutput::exportPdf(*bound(it.key()), pdf);
        const QString text = ReportSamples::pdfText(pdf);
        EXPECT_EQ(text.count("3.38"), 10) << text.toStdString();
        EXPECT_TRUE(text.contains("Total fine: 33.80")) << text.toStdString();
    }
}

TEST_F(ReportEngineTest, TheReturnSlipShowsOneRemarksRow)
{
    {
        ReportHandOver::PrintingStage stage(ReportHandOver::CompanyHeader::Short);
        stage.addRow({{"T1", "19-03-2024"},
                      {"T10", "Godan"},
                      {"T21", "Cover torn"},
                      {"T26", "Keep books clean"}});
        stage.commit();
    }
    const auto document = bound("BookReceipt.rpt");
    const QString pdf = QDir(testOutputFolder()).filePath("return-slip.pdf");
    ReportOutput::exportPdf(*document, pdf);
    const QString text = ReportSamples::pdfText(pdf);
    EXPECT_EQ(text.count("Remarks"), 1) << text.toStdString();
    EXPECT_TRUE(text.contains("Cover torn"));
    EXPECT_TRUE(text.contains("Keep books clean"));
}

TEST_F(ReportEngineTest, AFailingStagingLeavesTheRowsStagedBefore)
{
    ReportSamples::stage("Reports/Ledger.rpt", 2);
    // The new staging empties the table and writes one row; its second row fails.
    Database::setFailureHook({.failOnWrite = 3, .failOnTable = {}});
    EXPECT_THROW(
        {
            ReportHandOver::PrintingStage stage;
            stage.addRow({{"T1", "Someone else"}});
            stage.addRow({{"T1", "Never written"}});
            stage.commit();
        },
        AppError);
    Database::clearFailureHook();
    QStringList authors;
    for (Recordset rs = Module::CommonDb->query("SELECT T1 FROM Printing"); !rs.eof();
         rs.moveNext())
        authors << rs.text("T1");
    EXPECT_EQ(authors, (QStringList{"Premchand", "Premchand"}));
}

namespace {

// Whether every letter of the text has a glyph in the font or in the fonts it falls back to.
bool everyLetterHasAGlyph(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty())
        return false;
    for (const QGlyphRun &run : runs)
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0)
                return false;
    return true;
}

} // namespace

TEST_F(ReportEngineTest, IndianScriptsShowInWindowsReportsAndSearchablePdfs)
{
    const QStringList samples = {
        QString::fromUtf8("पुस्तकालय"),  // Devanagari
        QString::fromUtf8("গ্রন্থাগার"), // Bengali
        QString::fromUtf8("ਕਿਤਾਬ"),    // Gurmukhi
        QString::fromUtf8("પુસ્તક"),     // Gujarati
        QString::fromUtf8("நூலகம்"),    // Tamil
        QString::fromUtf8("పుస్తకం"),   // Telugu
        QString::fromUtf8("ಪುಸ್ತಕ"),    // Kannada
        QString::fromUtf8("പുസ്തകം"),    // Malayalam
    };
    {
        ReportHandOver::PrintingStage stage;
        for (const QString &title : samples)
            stage.addRow({{"T3", "101"}, {"T5", title}, {"T6", title}});
        stage.commit();
    }
    const auto document = bound("BookList.rpt");
    const QFont reportFont = document->layout().detail.elements.front().font;
    for (const QString &sample : samples) {
        EXPECT_TRUE(everyLetterHasAGlyph(QApplication::font(), sample)) << sample.toStdString();
        EXPECT_TRUE(everyLetterHasAGlyph(reportFont, sample)) << sample.toStdString();
    }
    const QString pdf = QDir(testOutputFolder()).filePath("indian-scripts.pdf");
    ReportOutput::exportPdf(*document, pdf);
    ReportOutput::pageImage(*document, 0, 100)
        .save(QDir(testOutputFolder()).filePath("indian-scripts.png"));
    const QString text = ReportSamples::pdfText(pdf);
    for (const QString &sample : samples)
        EXPECT_TRUE(text.contains(sample)) << sample.toStdString() << "\n" << text.toStdString();
}
