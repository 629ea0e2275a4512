#include "core/AppError.h"
#include "core/Database.h"
#include "platform/ListWorkbook.h"
#include "platform/XlsxReader.h"
#include "platform/XlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

using Kind = XlsxReader::Cell::Kind;

// Writes a zip archive of the given parts, as another program would lay a workbook out.
void writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &parts)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_TRUE(zip);
    QList<QByteArray> keep; // libzip reads the buffers at zip_close
    for (const auto &[name, data] : parts) {
        keep << data;
        zip_source_t *source = zip_source_buffer(zip, keep.last().constData(),
                                                 zip_uint64_t(keep.last().size()), 0);
        ASSERT_GE(zip_file_add(zip, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

const QByteArray Workbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Books" sheetId="1" r:id="rId7"/><sheet name="Other" sheetId="2" r:id="rId8"/></sheets></workbook>)";
const QByteArray Rels =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/other.xml"/><Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/books.xml"/><Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/><Relationship Id="rId10" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";
const QByteArray Strings =
    R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>गोदान</t></si><si><r><t>Rich </t></r><r><rPr><b/></rPr><t xml:space="preserve">text "quoted"</t></r><rPh><t>ignored</t></rPh></si></sst>)";
const QByteArray Styles =
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts count="1"><numFmt numFmtId="165" formatCode="[$-409]dd\-mmm\-yy;@"/></numFmts><cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="165"/><xf numFmtId="2"/></cellXfs></styleSheet>)";

class XlsxTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }

    void expectUnreadable(const QString &path)
    {
        try {
            XlsxReader::readFirstSheet(path);
            ADD_FAILURE() << "read " << path.toStdString();
        } catch (const AppError &error) {
            EXPECT_TRUE(error.description().contains("is not a readable Excel workbook"))
                << error.description().toStdString();
        }
    }
};

TEST_F(XlsxTest, TheListWorkbookReadsBackAsWritten)
{
    const ListWorkbook::Layout layout{"Green Valley School", "BOOK LIST",
                                      {"Sr. No.", "Date", "AccessionNo", "Title"}, 5};
    const std::vector<QStringList> rows = {
        {"05-Mar-24", "007", "गोदान \"प्रेमचंद\""},
        {"", "0012", "It's <fine> & \"quoted\""},
        {"", "", ""},
    };
    const QString path = file("list.xlsx");
    ListWorkbook::write(path, layout, rows);
    EXPECT_FALSE(QFile::exists(path + ".part"));

    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(path);
    EXPECT_EQ(sheet.cell(1, 1).text, "Green Valley School");
    EXPECT_EQ(sheet.cell(2, 1).text, "BOOK LIST");
    EXPECT_EQ(sheet.cell(3, 1).text, "Sr. No.");
    EXPECT_EQ(sheet.cell(3, 4).text, "Title");
    EXPECT_EQ(sheet.cell(4, 1).kind, Kind::Number);
    EXPECT_EQ(sheet.cell(4, 1).asText(), "1");
    EXPECT_EQ(sheet.cell(6, 1).asText(), "3");
    EXPECT_EQ(sheet.cell(4, 2).asText(), "05-Mar-24");
    EXPECT_EQ(sheet.cell(4, 3).asText(), "007");
    EXPECT_EQ(sheet.cell(5, 3).asText(), "0012");
    EXPECT_EQ(sheet.cell(4, 4).asText(), "गोदान \"प्रेमचंद\"");
    EXPECT_EQ(sheet.cell(5, 4).asText(), "It's <fine> & \"quoted\"");
    EXPECT_EQ(sheet.cell(5, 2).kind, Kind::Empty);
    EXPECT_EQ(sheet.lastRow(), 6);
    EXPECT_EQ(sheet.cell(99, 99).asText(), "");
}

TEST_F(XlsxTest, AnEmptyListHasItsThreeTitleRowsOnly)
{
    const QString path = file("empty.xlsx");
    ListWorkbook::write(path, {"School", "CARD LIST", {"Sr. No.", "Card No."}, 2}, {});
    EXPECT_EQ(XlsxReader::readFirstSheet(path).lastRow(), 3);
}

TEST_F(XlsxTest, ReadsSheetsOfAnotherProgramWithoutReferences)
{
    // The first sheet is found through the relationships; rows and cells without "r" follow
    // the one before; a row with "r" jumps.
    const QByteArray books =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><dimension ref="A1"/><sheetData>)"
        R"(<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c t="inlineStr"><is><t>inline ०१</t></is></c></row>)"
        R"(<row><c><v>12.5</v></c><c t="b"><v>1</v></c><c s="1"><v>45356</v></c><c t="str"><v>formula text</v></c><c t="e"><v>#N/A</v></c></row>)"
        R"(<row r="7"><c r="C7" s="2"><v>1E-3</v></c><c><v>1234567890123</v></c></row>)"
        R"(</sheetData></worksheet>)";
    const QByteArray other =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row></sheetData></worksheet>)";
    const QString path = file("other.xlsx");
    writeZip(path, {{"[Content_Types].xml", "<Types/>"},
                    {"xl/workbook.xml", Workbook},
                    {"xl/_rels/workbook.xml.rels", Rels},
                    {"xl/strings.xml", Strings},
                    {"xl/styles.xml", Styles},
                    {"xl/worksheets/other.xml", other},
                    {"xl/worksheets/books.xml", books}});

    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(path);
    EXPECT_EQ(sheet.cell(1, 1).text, "गोदान");
    EXPECT_EQ(sheet.cell(1, 2).text, "Rich text \"quoted\"");
    EXPECT_EQ(sheet.cell(1, 3).text, "inline ०१");
    EXPECT_EQ(sheet.cell(2, 1).asText(), "12.5");
    EXPECT_EQ(sheet.cell(2, 2).kind, Kind::Boolean);
    EXPECT_EQ(sheet.cell(2, 2).asText(), "TRUE");
    EXPECT_TRUE(sheet.cell(2, 3).date);
    EXPECT_EQ(sheet.cell(2, 3).number, 45356);
    EXPECT_EQ(sheet.cell(2, 3).asText(), "05-Mar-24");
    EXPECT_EQ(sheet.cell(2, 4).text, "formula text");
    EXPECT_EQ(sheet.cell(2, 5).kind, Kind::Error);
    EXPECT_EQ(sheet.cell(7, 3).asText(), "0.001");
    EXPECT_FALSE(sheet.cell(7, 3).date);
    EXPECT_EQ(sheet.cell(7, 4).asText(), "1234567890123");
    EXPECT_EQ(sheet.lastRow(), 7);
}

TEST_F(XlsxTest, EscapedCharactersAndThe1904DateSystemReadAsTheWorkbookMeansThem)
{
    // Another program's workbook counting its dates from 1904, with control characters and a
    // literal escape-like run written the way the format escapes them.
    const QByteArray workbook =
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><workbookPr date1904="1"/><sheets><sheet name="Books" sheetId="1"/></sheets></workbook>)";
    const QByteArray strings =
        R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
        R"(<si><t>Line_x000D__x000A_two_x0009_end</t></si>)"
        R"(<si><t>_x005F_x0041_ stays, _x00e9_t_x00E9_, _x12_ and _xZZZZ_ too</t></si>)"
        R"(<si><r><t>Rich_x0001_</t></r><r><t>_x0002_runs</t></r></si></sst>)";
    const QByteArray sheetXml =
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c>)"
        R"(<c r="D1" t="inlineStr"><is><t>in_x000A_line</t></is></c><c r="E1" t="str"><v>f_x0007_</v></c></row>)"
        R"(<row r="2"><c r="A2" s="1"><v>43894</v></c><c r="B2" s="1"><v>43894.75</v></c><c r="C2"><v>43894</v></c></row>)"
        R"(</sheetData></worksheet>)";
    const QString path = file("escaped.xlsx");
    writeZip(path, {{"xl/workbook.xml", workbook},
                    {"xl/sharedStrings.xml", strings},
                    {"xl/styles.xml", Styles},
                    {"xl/worksheets/sheet1.xml", sheetXml}});
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(path);
    EXPECT_EQ(sheet.cell(1, 1).text, "Line\r\ntwo\tend");
    EXPECT_EQ(sheet.cell(1, 2).text,
              QString::fromUtf8("_x0041_ stays, ét\u00e9, _x12_ and _xZZZZ_ too"));
    EXPECT_EQ(sheet.cell(1, 3).text, "Rich\x01\x02runs");
    EXPECT_EQ(sheet.cell(1, 4).text, "in\nline");
    EXPECT_EQ(sheet.cell(1, 5).text, "f\x07");
    EXPECT_EQ(sheet.cell(2, 1).asText(), "05-Mar-24");
    EXPECT_EQ(sheet.cell(2, 2).asText(), "05-Mar-24");
    EXPECT_EQ(sheet.cell(2, 3).asText(), "43894"); // a plain number keeps its value

    // The same sheet in the 1900 system, stated or not.
    for (const QByteArray &setting : {QByteArray(R"(<workbookPr date1904="0"/>)"), QByteArray()}) {
        QByteArray plain = workbook;
        plain.replace(R"(<workbookPr date1904="1"/>)", setting);
        const QString other = file("plain.xlsx");
        writeZip(other, {{"xl/workbook.xml", plain},
                         {"xl/sharedStrings.xml", strings},
                         {"xl/styles.xml", Styles},
                         {"xl/worksheets/sheet1.xml", sheetXml}});
        EXPECT_EQ(XlsxReader::readFirstSheet(other).cell(2, 1).asText(), "04-Mar-20");
    }
}

TEST_F(XlsxTest, TextsWithControlCharactersAndEscapeLikeRunsRoundTrip)
{
    const std::vector<QStringList> rows = {
        {"Line\r\ntwo", "bell\x07 and\x01", "_x0041_", "_x005F_x0041_", "a_x00e9_b_"}};
    const QString path = file("round.xlsx");
    ListWorkbook::write(path, {"School", "BOOK LIST", {"Sr. No."}, 1}, rows);
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(path);
    for (int i = 0; i < rows[0].size(); ++i)
        EXPECT_EQ(sheet.cell(4, i + 2).text, rows[0].at(i)) << i;
}

TEST_F(XlsxTest, SerialDatesCountTheDayThatNeverWas)
{
    EXPECT_EQ(XlsxReader::serialToShortDate(59), "28-Feb-00");
    EXPECT_EQ(XlsxReader::serialToShortDate(61), "01-Mar-00");
    EXPECT_EQ(XlsxReader::serialToShortDate(45356), "05-Mar-24");
}

TEST_F(XlsxTest, AFileThatIsNoWorkbookGivesAClearMessage)
{
    QFile text(file("renamed.xlsx"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Accession,Title\n1,Godan\n");
    text.close();
    expectUnreadable(text.fileName());

    // An old binary workbook and a password-protected one are compound files, not zips.
    QFile old(file("old.xls"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(4096, '\0'));
    old.close();
    expectUnreadable(old.fileName());

    // Our own workbook cut short.
    const QString whole = file("whole.xlsx");
    ListWorkbook::write(whole, {"School", "BOOK LIST", {"Sr. No.", "Title"}, 2},
                        std::vector<QStringList>(200, QStringList{"Godan"}));
    QFile cut(whole);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    cut.resize(cut.size() / 2);
    cut.close();
    expectUnreadable(whole);

    // A zip that holds no workbook, a damaged sheet, a missing file, no file at all.
    const QString zipOnly = file("zip.xlsx");
    writeZip(zipOnly, {{"readme.txt", "hello"}});
    expectUnreadable(zipOnly);
    const QString damaged = file("damaged.xlsx");
    writeZip(damaged, {{"xl/workbook.xml", "<workbook><sheets><sheet/></sheets></workbook>"},
                       {"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row><c><v>1"}});
    expectUnreadable(damaged);
    expectUnreadable(file("missing.xlsx"));
    expectUnreadable(QString());
}

TEST_F(XlsxTest, FiftyThousandRowsRoundTrip)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < 50000; ++i)
        rows.push_back({QString::number(i), QStringLiteral("Book %1").arg(i)});
    const QString path = file("large.xlsx");
    int lastProgress = 0;
    ListWorkbook::write(path, {"School", "BOOK LIST", {"Sr. No.", "No", "Title"}, 3}, rows,
                        [&](int n) { lastProgress = n; });
    EXPECT_EQ(lastProgress, 50000);
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(path);
    ASSERT_EQ(sheet.lastRow(), 50003);
    EXPECT_EQ(sheet.cell(50003, 1).asText(), "50000");
    EXPECT_EQ(sheet.cell(50003, 3).asText(), "Book 49999");
    EXPECT_EQ(sheet.cell(32771, 2).asText(), "32767");
}

TEST(ListWorkbookCount, RowFourIsAlwaysRead)
{
    EXPECT_EQ(ListWorkbook::lastRowToRead(""), 4);
    EXPECT_EQ(ListWorkbook::lastRowToRead("0"), 4);
    EXPECT_EQ(ListWorkbook::lastRowToRead("2"), 4);
    EXPECT_EQ(ListWorkbook::lastRowToRead("abc"), 4);
    EXPECT_EQ(ListWorkbook::lastRowToRead("10"), 10);
    EXPECT_EQ(ListWorkbook::lastRowToRead("50003"), 50003);
}

TEST_F(XlsxTest, AFailingRowIsNamedAndTheRowsBeforeItStay)
{
    auto db = Database::create(file("rows.db"));
    db->execute("CREATE TABLE T (Row INTEGER)");
    const auto store = [&](int row) {
        if (row == 1209)
            throw AppError(13, "Type mismatch");
        db->execute("INSERT INTO T (Row) VALUES (?)", {row});
    };
    int progressed = 0;
    const auto result =
        ListWorkbook::importRows(*db, 2000, {{}, store}, [&](int row) { progressed = row; });
    EXPECT_EQ(result.stored, 1205);
    EXPECT_EQ(result.failedRow, 1209);
    EXPECT_EQ(progressed, 1208);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM T").toInt(), 1205);
    EXPECT_EQ(db->scalar("SELECT MAX(Row) FROM T").toInt(), 1208);
    const QString text = ListWorkbook::failureText(result);
    EXPECT_TRUE(text.contains("Type mismatch"));
    EXPECT_TRUE(text.contains("Row 1209 could not be stored. 1205 records were stored (rows 4 to "
                              "1208). Rows 1209 to 2000 were not stored."))
        << text.toStdString();

    const auto whole = ListWorkbook::importRows(*db, 10, {{}, [](int) {}});
    EXPECT_EQ(whole.stored, 7);
    EXPECT_EQ(whole.failedRow, 0);
    EXPECT_EQ(ListWorkbook::notice(whole), "7 records sucessfully fetched");
}

// Another program's writing of our workbook reads back; runs where LibreOffice is installed.
TEST_F(XlsxTest, AWorkbookConvertedByLibreOfficeReadsBack)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString source = file("ours.xlsx");
    ListWorkbook::write(source, {"School", "BOOK LIST", {"Sr. No.", "AccessionNo", "Title"}, 3},
                        {{"007", "गोदान"}, {"12", "\"quoted\""}});
    const QString out = dir.filePath("converted");
    QDir().mkpath(out);
    QProcess process;
    process.start(soffice, {"--headless", "-env:UserInstallation=file://" + dir.filePath("profile"),
                            "--convert-to", "xlsx", "--outdir", out, source});
    ASSERT_TRUE(process.waitForFinished(120000));
    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(out + "/ours.xlsx");
    EXPECT_EQ(sheet.cell(4, 1).asText(), "1");
    EXPECT_EQ(sheet.cell(4, 2).asText(), "007");
    EXPECT_EQ(sheet.cell(4, 3).asText(), "गोदान");
    EXPECT_EQ(sheet.cell(5, 3).asText(), "\"quoted\"");
    EXPECT_EQ(sheet.lastRow(), 5);
}

} // namespace
