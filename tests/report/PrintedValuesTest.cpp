#include "ProgramTest.h"
#include "ReportSamples.h"

#include "core/Module.h"
#include "core/PrintingStage.h"
#include "core/report/Report.h"
#include "core/report/ReportLayout.h"
#include "core/report/ReportOutput.h"

#include <QDir>
#include <QFontMetricsF>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

// A printed list tells books apart by their values: "Class VIII" from "Class VII", one long
// title from another. Each column's value is read back from its own box on the PDF page.
class PrintedValuesTest : public ReportCompanyTest
{
protected:
    // Long values of the kinds a library holds, Tamil among them; each field takes its own.
    static QString longValue(int index)
    {
        static const QStringList values = {
            QString::fromUtf8("கலைஞன் பதிப்பகம் சென்னை"),
            "Class VIII",
            "The Discovery of India and Other Essays on History",
            "Oxford University Press India",
            "LIB/2024/REF/000123456",
            "Rabindranath Tagore and Abanindranath Tagore",
            QString::fromUtf8("பொன்னியின் செல்வன் முதல் பாகம்"),
            "Rack 12 Shelf B Reference Section",
            "Second Revised and Enlarged Edition",
            "Kendriya Vidyalaya No. 2 Chandigarh",
        };
        return values.at(index % values.size());
    }

    struct Word
    {
        QRectF box; // millimetres
        QString text;
    };

    // The words of a PDF's first page where pdftotext finds them.
    static QList<Word> words(const QString &pdf)
    {
        QProcess process;
        process.start("pdftotext", {"-f", "1", "-l", "1", "-bbox", pdf, "-"});
        process.waitForFinished(30000);
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        static const QRegularExpression word(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
            "yMax=\"([\\d.]+)\">([^<]*)</word>");
        const double mm = 25.4 / 72;
        QList<Word> found;
        for (const QRegularExpressionMatch &m : word.globalMatch(html))
            found.append(
                {QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
                        QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm)),
                 m.captured(5)});
        return found;
    }

    // The words whose middle lies in the box.
    static QString textInBox(const QList<Word> &page, const QRectF &box)
    {
        QStringList inside;
        for (const Word &word : page)
            if (box.contains(word.box.center()))
                inside << word.text;
        return inside.join(' ');
    }

    // The letters of a text in order of their codes: the same for a value whole on one line and
    // for the same value broken over lines that a PDF reader puts in another order, but not for a
    // value cut short or one that runs into its neighbour's box.
    static QString letters(const QString &text)
    {
        QString kept = QString(text).remove(QRegularExpression("\\s"));
        std::sort(kept.begin(), kept.end());
        return kept;
    }
};

TEST_F(PrintedValuesTest, EveryColumnPrintsItsLongestValueWhole)
{
    for (const QString &name : ReportSamples::templates()) {
        SCOPED_TRACE(name.toStdString());
        const ReportTemplate layout = ReportTemplate::load(Module::programPath(name));

        // One record whose every field holds a long value (a number or a date where the column
        // formats one), and what each field's box must read.
        QList<QPair<QString, QVariant>> values;
        QHash<QString, QString> printed;
        int index = 0;
        for (const ReportElement &e : layout.detail.elements)
            for (const TemplateText &part :
                 e.joinParts.empty() ? std::vector<TemplateText>{e.text} : e.joinParts)
                for (const TemplateText::Piece &piece : part.pieces) {
                    if (!piece.isField || piece.text == "row" || printed.contains(piece.text))
                        continue;
                    QString value = longValue(index++);
                    QString shown = value;
                    if (e.decimals >= 0) {
                        value = "1234567.5";
                        shown = QLocale(QLocale::English).toString(1234567.5, 'f', e.decimals);
                        if (!e.thousands)
                            shown.remove(',');
                    } else if (piece.text.startsWith('N')) {
                        value = "123456";
                        shown = value;
                    } else if (!e.dateFormat.isEmpty()) {
                        value = "05-Mar-24";
                        shown = "05-03-2024";
                    }
                    values.append({piece.text, value});
                    printed.insert(piece.text, shown);
                }
        if (name == "Report/Catalogue.rpt") {
            QStringList columns;
            QVariantList bound;
            for (const auto &[column, value] : values) {
                columns << column;
                bound << value;
            }
            Module::StickerDb->execute("DELETE FROM Cake");
            Module::StickerDb->execute(
                QString("INSERT INTO Cake (%1) VALUES (%2)")
                    .arg(columns.join(", "), QStringList(columns.size(), "?").join(", ")),
                bound);
        } else {
            ReportHandOver::PrintingStage stage;
            stage.addRow(values);
            stage.commit();
        }
        Report report = Report::open(Module::programPath(name));
        report.readOwnData();
        const auto document = report.document();
        const QString pdf =
            QDir(testOutputFolder()).filePath("values-" + QString(name).replace('/', '_') + ".pdf");
        ReportOutput::exportPdf(*document, pdf);
        ReportOutput::pageImage(*document, 0, 200)
            .save(QDir(testOutputFolder())
                      .filePath("values-" + QString(name).replace('/', '_') + ".png"));

        const QList<Word> page = words(pdf);
        QPointF origin;
        for (const PlacedBand &placed : document->page(0).bands)
            if (placed.row == 0)
                origin = placed.origin;
        for (const ReportElement &e : layout.detail.elements) {
            if (e.kind != ReportElement::Kind::Text)
                continue;
            QStringList parts;
            for (const TemplateText &part :
                 e.joinParts.empty() ? std::vector<TemplateText>{e.text} : e.joinParts) {
                QString text;
                bool anyField = false;
                for (const TemplateText::Piece &piece : part.pieces) {
                    anyField = anyField || (piece.isField && printed.contains(piece.text));
                    text += piece.isField ? printed.value(piece.text) : piece.text;
                }
                if (anyField)
                    parts << text;
            }
            if (parts.isEmpty())
                continue;
            const QString expected = parts.join(e.joinSeparator);
            const QString read =
                textInBox(page, QRectF(origin + QPointF(e.x, e.y), QSizeF(e.width, e.height)));
            EXPECT_EQ(letters(read), letters(expected)) << read.toStdString();
        }
    }
}

// A value too wide for its box is set no smaller than it must be: on one line at the size that
// fills the box's width, or over the lines that fill its height, or over two lines that fill its
// width where three would be smaller still.
TEST_F(PrintedValuesTest, AValueTooWideTakesTheLargestSizeThatHoldsItWhole)
{
    const QString layoutPath = Module::programPath("BookList.rpt");
    const ReportTemplate layout = ReportTemplate::load(layoutPath);
    const auto element = [&](const QString &field) {
        return *std::find_if(layout.detail.elements.begin(), layout.detail.elements.end(),
                             [&](const ReportElement &e) {
                                 return e.text.pieces.size() == 1 && e.text.pieces[0].isField &&
                                        e.text.pieces[0].text == field;
                             });
    };
    const ReportElement date = element("T4");
    const ReportElement title = element("T5");
    const QString history = "The Discovery of India and Other Essays on History";
    const QString notes = ", with Notes, Maps and an Index of Places";
    const QStringList titles = {"The Discovery of India and Its Essays", history, history + notes,
                                history + notes + " and Persons Named in the Text of Every Essay"};
    // Each title's width at the template's size against its box's, and the scales at which the
    // box holds two and three lines.
    const QFontMetricsF metrics(title.font);
    const double pixelsPerMm = metrics.fontDpi() / 25.4;
    const auto widthRatio = [&](const QString &text) {
        return metrics.horizontalAdvance(text) / pixelsPerMm / title.width;
    };
    const auto linesScale = [&](int lines) {
        return title.height / (lines * metrics.height() / pixelsPerMm);
    };
    const double ratios[] = {1.09, 1.5, 2.73, 4.1};
    for (int row = 0; row < 4; ++row)
        ASSERT_NEAR(widthRatio(titles[row]), ratios[row], 0.1) << titles[row].toStdString();
    // One line beats two for the first, two beat three for the third, not for the last.
    ASSERT_GT(1 / ratios[0], linesScale(2) + 0.02);
    ASSERT_GT(2 / ratios[2], linesScale(3) + 0.1);
    ASSERT_LT(2 / ratios[3], linesScale(3));

    ReportHandOver::PrintingStage stage;
    for (const QString &text : titles)
        stage.addRow({{"T4", "05-Mar-24"}, {"T5", text}});
    stage.commit();
    Report report = Report::open(layoutPath);
    report.readOwnData();
    const auto document = report.document();
    const QString pdf = QDir(testOutputFolder()).filePath("values-largest.pdf");
    ReportOutput::exportPdf(*document, pdf);
    const QList<Word> page = words(pdf);

    struct Set
    {
        QList<double> baselines; // mm from the page's top
        double height = 0;       // of the tallest word, mm
    };
    const auto setIn = [&](int row, const ReportElement &e) {
        QPointF origin;
        for (const PlacedBand &placed : document->page(0).bands)
            if (placed.row == row)
                origin = placed.origin;
        const QRectF box(origin + QPointF(e.x, e.y), QSizeF(e.width, e.height));
        Set set;
        for (const Word &word : page) {
            if (!box.contains(word.box.center()))
                continue;
            set.height = std::max(set.height, word.box.height());
            if (std::none_of(set.baselines.begin(), set.baselines.end(),
                             [&](double y) { return std::abs(y - word.box.bottom()) < 0.3; }))
                set.baselines << word.box.bottom();
        }
        return set;
    };
    // The date fits its box: its words stand at the template's size.
    const double full = setIn(0, date).height;
    ASSERT_GT(full, 0);
    // A size found to within some hundredths of a point, read back from the word boxes.
    const auto scaleOf = [&](const Set &set) { return set.height / full; };
    const double near = 0.06;
    {
        const Set set = setIn(0, title);
        EXPECT_EQ(set.baselines.size(), 1);
        EXPECT_NEAR(scaleOf(set), 1 / widthRatio(titles[0]), near);
    }
    {
        const Set set = setIn(1, title);
        EXPECT_EQ(set.baselines.size(), 2);
        EXPECT_NEAR(scaleOf(set), linesScale(2), near);
    }
    {
        const Set set = setIn(2, title);
        EXPECT_EQ(set.baselines.size(), 2);
        EXPECT_GT(scaleOf(set), linesScale(3) + 0.03);
        EXPECT_LT(scaleOf(set), 2 / widthRatio(titles[2]) + 0.03);
    }
    {
        const Set set = setIn(3, title);
        EXPECT_EQ(set.baselines.size(), 3);
        EXPECT_NEAR(scaleOf(set), linesScale(3), near);
    }
}
