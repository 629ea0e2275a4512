#include "ProgramTest.h"
#include "ReportSamples.h"

#include "core/Module.h"
#include "core/report/ReportFiles.h"
#include "ui/ReportHandOver.h"
#include "ui/frmPrint1.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class ReportMessagingTest : public ProgramTest
{
protected:
    frmPrint1 *window = nullptr;

    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        registerReportWindow();
        ReportFiles::setClock([] { return QDateTime(QDate(2024, 7, 28), QTime(14, 30, 5)); });
    }
    void TearDown() override
    {
        ReportFiles::setClock({});
        ProgramTest::TearDown();
    }

    void makeMessagingDatabase()
    {
        QDir().mkpath(path("wa"));
        QFile sql(QStringLiteral(LD_PACKAGE_DIR) + "/sql/wadb.sql");
        ASSERT_TRUE(sql.open(QIODevice::ReadOnly));
        Database::create(path("wa/WaDB.mdb"))->executeScript(QString::fromUtf8(sql.readAll()));
        Module::WhatsAppDb = Database::open(path("wa/WaDB.mdb"));
    }
    void showReport()
    {
        ReportSamples::stage("BookIssue.rpt", 1);
        window = ReportHandOver::showReport("BookIssue.rpt", ReportHandOver::Binding::Unbound);
    }
    void clickWhatsapp()
    {
        QTest::mouseClick(window->findChild<QPushButton *>("cmdWhatsapp"), Qt::LeftButton);
    }
    QList<QStringList> waRows()
    {
        QList<QStringList> rows;
        for (Recordset rs = Module::WhatsAppDb->query("SELECT * FROM wa"); !rs.eof(); rs.moveNext())
            rows << QStringList{rs.text("T1"), rs.text("wanumber"), rs.text("M1"), rs.text("Msg")};
        return rows;
    }
};

TEST_F(ReportMessagingTest, HandsTheReportToTheSenderProgram)
{
    ReportSamples::addCompany();
    Module::PackageDb->execute("UPDATE Develop SET Website = ?, OM3 = ?",
                               {"www.librarydesk.example", "Library software for schools"});
    makeMessagingDatabase();
    showReport();
    ASSERT_FALSE(QDir(path("PDFs")).exists());

    dialogs->inputs << "98765 43210";
    clickWhatsapp();
    EXPECT_TRUE(dialogs->boxes.isEmpty()) << dialogs->texts().join("|").toStdString();
    EXPECT_EQ(dialogs->inputPrompts, QStringList{"Enter Whatsapp Without CountryCode"});
    const QString pdf = path("PDFs/2807143005_9876543210.pdf");
    EXPECT_TRUE(ReportSamples::pdfText(pdf).contains("BOOK ISSUE SLIP"));
    const QString message = "File has been Generated To\\n\\nFrom :-\\n*Green Valley School*\\n"
                            "12 Mall Road\\nNear Clock Tower\\nContact : *98140 12345*\\n"
                            "Library software for schools\\n\\nWhatsapp Send Through : " +
                            Dialogs::programTitle() + "\\nwww.librarydesk.example";
    EXPECT_EQ(waRows(), (QList<QStringList>{{"N/A", "9198765 43210", pdf, message}}));
    ASSERT_EQ(dialogs->started.size(), 1);
    EXPECT_EQ(dialogs->started[0].first, path("wa/wa"));
    EXPECT_TRUE(dialogs->started[0].second.isEmpty());
    EXPECT_EQ(window->findChild<QLineEdit *>("txtMobile")->text(), "98765 43210");

    // Cancel writes nothing and starts nothing; the box offers the number typed last.
    dialogs->inputs << "";
    clickWhatsapp();
    ASSERT_EQ(dialogs->inputBoxes.size(), 2);
    EXPECT_EQ(dialogs->inputBoxes[0].title, "Whatsapp No.");
    EXPECT_EQ(dialogs->inputBoxes[1].defaultText, "98765 43210");
    EXPECT_EQ(waRows().size(), 1);
    EXPECT_EQ(dialogs->started.size(), 1);

    // A second hand-off leaves only its own row; a number with a path in it stays out of the name.
    Module::CompanyDb->execute("UPDATE Company SET mobile = NULL");
    Module::PackageDb->execute("DELETE FROM Develop");
    dialogs->inputs << "+91/../../x 11";
    clickWhatsapp();
    const QList<QStringList> rows = waRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][2], path("PDFs/2807143005_9111.pdf"));
    EXPECT_EQ(rows[0][3], "File has been Generated To\\n\\nFrom :-\\n*Green Valley School*\\n"
                          "12 Mall Road\\nNear Clock Tower\\n\\n\\nWhatsapp Send Through : " +
                              Dialogs::programTitle() +
                              "\\nLibraryDesk - library management for schools");
    EXPECT_EQ(dialogs->started.size(), 2);
}

TEST_F(ReportMessagingTest, RefusesWithoutTheMessagingDatabase)
{
    ReportSamples::addCompany();
    showReport();
    Module::CompanyDb->execute("DELETE FROM Company");
    dialogs->expectOk();
    clickWhatsapp();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_EQ(dialogs->last().text, "Wa Folder doesn't exist in your application Folder\r\r"
                                    "Consult your software vendor for more details");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_TRUE(dialogs->inputPrompts.isEmpty());

    // A file laid in after the start was never opened; without a company row the text has no
    // company lines.
    makeMessagingDatabase();
    Module::WhatsAppDb->execute("INSERT INTO wa (T1) VALUES ('earlier')");
    Module::WhatsAppDb.reset();
    dialogs->boxes.clear();
    dialogs->inputs << "9876543210";
    dialogs->expectOk();
    clickWhatsapp();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 91\r "));
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs->last().title, Dialogs::programTitle());
    EXPECT_TRUE(dialogs->started.isEmpty());

    Module::WhatsAppDb = Database::open(path("wa/WaDB.mdb"));
    dialogs->inputs << "9876543210";
    clickWhatsapp();
    const QList<QStringList> rows = waRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(
        rows[0][3].startsWith("File has been Generated To\\n\\nFrom :-\\n\\n\\n\\nWhatsapp"));
}

TEST_F(ReportMessagingTest, AFailingRefillLeavesTheOldRowsAndStartsNothing)
{
    ReportSamples::addCompany();
    makeMessagingDatabase();
    Module::WhatsAppDb->execute(
        "INSERT INTO wa (T1, wanumber, M1, Msg) VALUES ('N/A', '9111', 'earlier.pdf', 'earlier')");
    showReport();
    dialogs->inputs << "9876543210";
    dialogs->expectOk();
    // The hand-off empties wa (the first write) and adds its row (the second), which fails.
    Database::setFailureHook({.failOnWrite = 2, .failOnTable = {}});
    clickWhatsapp();
    Database::clearFailureHook();
    ASSERT_EQ(dialogs->boxes.size(), 1);
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3146\r "))
        << dialogs->last().text.toStdString();
    EXPECT_EQ(waRows(), (QList<QStringList>{{"N/A", "9111", "earlier.pdf", "earlier"}}));
    EXPECT_TRUE(dialogs->started.isEmpty());
}
