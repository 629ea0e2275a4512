#include "AnotherProgram.h"
#include "MembersFixture.h"

#include "members/frmLibraryCard.h"
#include "platform/ListWorkbook.h"
#include "platform/XlsxReader.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

class CardExchangeTest : public MembersFixture
{
protected:
    frmLibraryCard *openWindow()
    {
        return window = open<frmLibraryCard>("frmLibraryCard");
    }
    void clickLabel(const char *name)
    {
        QLabel *label = control<QLabel>(window, name);
        QTest::mouseClick(label, Qt::LeftButton);
    }
    QWidget *frame() { return window->findChild<QWidget *>("fraImport"); }
    void import(const QString &file, const QString &count)
    {
        clickLabel("lblImport");
        control(window, "txtPath")->setText(file);
        control(window, "txtNoofRecords")->setText(count);
        click(window, "cmdImportData");
    }
    static QVariant column(qint64 id, const QString &name)
    {
        return db().scalar(QString("SELECT %1 FROM Card WHERE CardID = ?").arg(name), {id});
    }

    frmLibraryCard *window = nullptr;
};

// The import group is read inside the import's write: a group deleted by another counter just
// before it is not named by the imported cards.
TEST_F(CardExchangeTest, ImportedCardsNeverNameAGroupDeletedMeanwhile)
{
    addGroup("Juniors");
    const qint64 seniors = addGroup("Seniors");
    addCard(1, 101, "Asha", seniors, QVariant());
    openWindow();
    const QString file = path("Card List.xlsx");
    dialogs->saveFiles << file;
    dialogs->answers << Dialogs::Answer::No;
    clickLabel("lblExport");

    AnotherProgram other(db());
    other.beforeNextWrite([](Database &db) {
        db.execute("DELETE FROM Group1 WHERE GroupName = 'Juniors'");
    });
    dialogs->expectOk();
    import(file, "4");
    EXPECT_TRUE(other.acted());
    EXPECT_EQ(dialogs->last().text, "1 records sucessfully fetched");
    EXPECT_EQ(column(2, "GroupID").toLongLong(), seniors);
    EXPECT_EQ(column(2, "GroupName").toString(), "Seniors");
}

TEST_F(CardExchangeTest, ExportsTheListedCardsAndImportsThemBackIntoTheFirstGroup)
{
    const qint64 a = addGroup("Juniors");
    const qint64 b = addGroup("Seniors");
    addCard(1, 101, "अमर \"सिंह\"", b, "2030-01-01");
    addCard(2, 102, "Baljit", a, QVariant());
    openWindow();
    const QString file = path("Card List.xlsx");
    dialogs->saveFiles << file;
    dialogs->answers << Dialogs::Answer::No;
    clickLabel("lblExport");
    EXPECT_TRUE(dialogs->last().text.startsWith("2 cards have been saved in"));
    EXPECT_TRUE(dialogs->opened.isEmpty());

    const XlsxReader::Sheet sheet = XlsxReader::readFirstSheet(file);
    EXPECT_EQ(sheet.cell(2, 1).text, "CARD LIST");
    EXPECT_EQ(sheet.cell(3, 9).text, "Distt");
    EXPECT_EQ(sheet.cell(3, 12).text, "Remarks");
    ASSERT_EQ(sheet.lastRow(), 5);
    EXPECT_EQ(sheet.cell(4, 1).asText(), "1");
    EXPECT_EQ(sheet.cell(5, 1).asText(), "2");
    EXPECT_EQ(sheet.cell(4, 2).asText(), "101");
    EXPECT_EQ(sheet.cell(4, 3).asText(), "Seniors");
    EXPECT_EQ(sheet.cell(4, 5).asText(), "अमर \"सिंह\"");
    EXPECT_EQ(sheet.cell(4, 8).asText(), "Nabha");
    EXPECT_EQ(sheet.cell(4, 9).asText(), "Patiala");

    // Importing the export adds both cards again under new keys, in the first group whatever
    // the sheet's group column says, without a validity date or photo.
    dialogs->expectOk();
    import(file, "5");
    EXPECT_EQ(dialogs->last().text, "2 records sucessfully fetched");
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM Card").toInt(), 4);
    EXPECT_EQ(column(3, "CardNo").toDouble(), 101);
    EXPECT_EQ(column(3, "Name").toString(), "अमर \"सिंह\"");
    EXPECT_EQ(column(3, "GroupID").toLongLong(), a);
    EXPECT_EQ(column(3, "GroupName").toString(), "Juniors");
    EXPECT_EQ(column(3, "OT13").toString(), "Nabha");
    EXPECT_EQ(column(3, "OT14").toString(), "Patiala");
    EXPECT_TRUE(column(3, "OD1").isNull());
    EXPECT_TRUE(column(3, "OT15").toString().isEmpty());
    EXPECT_EQ(column(4, "GroupID").toLongLong(), a);
}

TEST_F(CardExchangeTest, WithoutGroupsCardsHaveNoneAndABadCardNumberIsNamed)
{
    const QString file = path("cards.xlsx");
    ListWorkbook::write(file, {"School", "CARD LIST", {"Sr. No."}, 1},
                        {{"7", "", "R1", "Asha"}, {"8", "", "R2", "Bela"}, {"9x", "", "R3", "Chetna"},
                         {"10", "", "R4", "Devi"}});
    openWindow();
    dialogs->expectOk();
    import(file, "7");
    const auto box = dialogs->last();
    EXPECT_TRUE(box.text.contains("\"9x\" is not a number")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Row 6 could not be stored. 2 records were stored (rows 4 to 5). "
                                  "Rows 6 to 7 were not stored."));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM Card").toInt(), 2);
    EXPECT_TRUE(column(1, "GroupID").isNull());
    EXPECT_TRUE(column(1, "GroupName").isNull());
    EXPECT_EQ(column(2, "Name").toString(), "Bela");
}

TEST_F(CardExchangeTest, AWorkbookWithoutDataRowsStoresNoCard)
{
    addGroup("Juniors");
    const QString file = path("cards.xlsx");
    ListWorkbook::write(file, {"School", "CARD LIST", {"Sr. No.", "Card No."}, 2}, {});
    openWindow();
    dialogs->expectOk();
    import(file, "4");
    EXPECT_EQ(dialogs->last().text,
              "Nothing to import: cards.xlsx holds no records from row 4 on.");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM Card").toInt(), 0);
    EXPECT_TRUE(frame()->isVisible());
}

TEST_F(CardExchangeTest, TheImportFrameFitsAndCloses)
{
    openWindow();
    clickLabel("lblImport");
    ASSERT_TRUE(frame()->isVisible());
    EXPECT_TRUE(window->rect().contains(frame()->geometry()));
    saveScreenshot(window, "frmLibraryCard-import.png");
    dialogs->expectOk();
    click(window, "cmdImportData");
    EXPECT_EQ(dialogs->last().text, "Enter No. of record");
    clickLabel("lblClose1");
    EXPECT_FALSE(frame()->isVisible());
}
