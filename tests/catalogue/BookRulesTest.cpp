#include "CatalogueTestSupport.h"

#include "catalogue/BookRules.h"
#include "catalogue/DrawBar.h"
#include "core/report/Code39.h"

#include <QFontDatabase>

using namespace BookRules;

class BookRulesTest : public CatalogueTest
{
protected:
    Database &db() { return *Module::CompanyDb; }
};

TEST_F(BookRulesTest, ProposalAndKeyFollowTheHighestStoredValues)
{
    EXPECT_EQ(proposeAccessionNo(db()), "1");
    EXPECT_EQ(nextBookID(db()), 1);
    addPlainBook(3, "7");
    addPlainBook(9, "12A");
    addPlainBook(4, "B3");
    EXPECT_EQ(proposeAccessionNo(db()), "13");
    EXPECT_EQ(nextBookID(db()), 10);
}

TEST_F(BookRulesTest, DuplicatesMatchTheWholeTextIgnoringCaseNeverAsAPattern)
{
    addPlainBook(1, "12A", "Ärzte und Heiler");
    addPlainBook(2, "1*", "It's 100% true");
    EXPECT_TRUE(accessionNoStored(db(), "12a"));
    EXPECT_FALSE(accessionNoStored(db(), "12"));
    EXPECT_FALSE(accessionNoStored(db(), "12A "));
    EXPECT_FALSE(accessionNoStored(db(), "1?A"));
    EXPECT_FALSE(accessionNoStored(db(), "1#A"));
    EXPECT_FALSE(accessionNoStored(db(), "1%"));
    EXPECT_FALSE(accessionNoStored(db(), "1_A"));
    EXPECT_TRUE(accessionNoStored(db(), "1*"));
    EXPECT_FALSE(accessionNoStored(db(), "15"));
    EXPECT_TRUE(titleStored(db(), "ÄRZTE UND HEILER"));
    EXPECT_TRUE(titleStored(db(), "it's 100% TRUE"));
    EXPECT_FALSE(titleStored(db(), "It's 100%"));
}

TEST_F(BookRulesTest, SavingWritesNumbersAndCirculationDefaults)
{
    BookRecord book{{"BookID", "1"}, {"AccessionNo", "12"}, {"title", "Godan"},
                    {"Cost", "12.50 each"}, {"Status", "Issue"}, {"CardID", "7"},
                    {"Name", "Someone"}};
    saveBook(db(), book, SaveMode::New);
    EXPECT_EQ(bookValue(1, "Cost").toDouble(), 12.5);
    EXPECT_EQ(bookValue(1, "Status").toString(), "Available");
    EXPECT_EQ(bookValue(1, "CardID").toInt(), 0);
    EXPECT_EQ(bookValue(1, "IssueID").toInt(), 0);
    EXPECT_EQ(bookValue(1, "Name").toString(), "");
    EXPECT_EQ(bookValue(1, "Year").toString(), "");

    book = *loadBook(db(), 1);
    book["Cost"] = "abc";
    book["Status"] = "";
    saveBook(db(), book, SaveMode::Change);
    EXPECT_EQ(bookValue(1, "Cost").toDouble(), 0);
    EXPECT_EQ(bookValue(1, "Status").toString(), "Available");
    EXPECT_EQ(books(), 1);
}

TEST_F(BookRulesTest, AFailedChangeLeavesTheOldRow)
{
    addBook(5, {{"AccessionNo", "5"}, {"title", "Gitanjali"}, {"Status", "Issue"},
                {"CardNo", 501}, {"Name", "Meera Nair"}, {"IssueDate", "05-Mar-24"}});
    BookRecord book = *loadBook(db(), 5);
    EXPECT_EQ(book["Cost"], "0");
    EXPECT_EQ(issueDetail(book), "Issued to Card No : 501 , Name : Meera Nair As On 05-03-2024");
    book["title"] = "Gitanjali (new edition)";
    Database::setFailureHook(failSecondWrite()); // the delete passes, the add fails
    EXPECT_THROW(saveBook(db(), book, SaveMode::Change), AppError);
    Database::clearFailureHook();
    EXPECT_EQ(bookValue(5, "title").toString(), "Gitanjali");

    saveBook(db(), book, SaveMode::Change);
    EXPECT_EQ(bookValue(5, "title").toString(), "Gitanjali (new edition)");
    EXPECT_EQ(bookValue(5, "Status").toString(), "Issue"); // a changed lent copy stays lent
    EXPECT_EQ(bookValue(5, "Name").toString(), "Meera Nair");
    EXPECT_TRUE(isLent(db(), 5));
    addBook(6, {{"AccessionNo", "6"}}); // no Status: never lent
    EXPECT_FALSE(isLent(db(), 6));
    EXPECT_FALSE(loadBook(db(), 77).has_value());
}

TEST_F(BookRulesTest, BarcodePicturesFollowTheCode39Modules)
{
    for (const auto &[height, module] :
         {std::pair{75, 2}, {100, 2}, {140, 4}, {39, 1}, {20, 1}, {60, 2}})
        EXPECT_EQ(DrawBar::moduleWidth(height), module) << height;

    const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QImage picture = DrawBar::DrawBarcode("12345", 75, font);
    ASSERT_EQ(picture.width(), 186);
    // The start character '*' (bar, wide space, bar, space, wide bar, space, wide bar, space, bar)
    // after one white module, two pixels a module, then the gap and '1' (a wide bar first).
    const QString expected = "wwbbwwwwbbwwbbbbwwbbbbwwbbwwbbbb";
    QString columns;
    for (int x = 0; x < expected.size(); ++x)
        columns += qGray(picture.pixel(x, 10)) < 128 ? 'b' : 'w';
    EXPECT_EQ(columns, expected);
    EXPECT_EQ(qGray(picture.pixel(183, 10)), 255); // the quiet zone at the right
    EXPECT_EQ(qGray(picture.pixel(181, 10)), 0);   // the stop character's last bar

    // Lower case draws the same bars; a text Code 39 cannot hold draws none.
    const QImage lower = DrawBar::DrawBarcode("abc", 75, font);
    const QImage upper = DrawBar::DrawBarcode("ABC", 75, font);
    EXPECT_EQ(lower, upper);
    for (const char *unsafe : {"A#B", "LIB_2024", "12*34"}) {
        const QImage bare = DrawBar::DrawBarcode(unsafe, 75, font);
        ASSERT_FALSE(bare.isNull());
        int dark = 0;
        for (int x = 0; x < bare.width(); ++x)
            dark += qGray(bare.pixel(x, 10)) < 128;
        EXPECT_EQ(dark, 0) << unsafe;
    }
    EXPECT_TRUE(DrawBar::DrawBarcode("", 75, font).isNull());
    picture.save(QDir(testOutputFolder()).filePath("Barcode12345.png"));
}
