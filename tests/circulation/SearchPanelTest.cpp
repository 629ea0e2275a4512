#include "CirculationFixture.h"
#include "PatternSamples.h"
#include "SearchQueries.h"

#include "circulation/SearchPanel.h"
#include "ui/RecordList.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

class SearchPanelTest : public CirculationTest
{
protected:
    void SetUp() override
    {
        CirculationTest::SetUp();
        host = std::make_unique<QWidget>();
        host->resize(900, 700);
        books = new SearchPanel(SearchPanel::Kind::Book, host.get(), 0, 0);
        cards = new SearchPanel(SearchPanel::Kind::Card, host.get(), 0, 0);
        host->show();
    }
    void TearDown() override
    {
        host.reset();
        CirculationTest::TearDown();
    }

    static QList<QStringList> texts(const RecordList *list)
    {
        QList<QStringList> all;
        for (int row = 0; row < list->records()->size(); ++row)
            all << list->records()->row(row).texts;
        return all;
    }
    // What the table's query under the four patterns lists, filled as the list fills.
    static QList<QStringList> queried(SearchPanel::Kind kind, const std::array<QString, 4> &typed)
    {
        RecordList reference;
        if (kind == SearchPanel::Kind::Book) {
            Recordset rs = SearchQueries::books(db(), typed);
            reference.fill(rs,
                           {"BookID", "title", "Author", "Publisher", "Subject", "OT11", "OT12"});
        } else {
            Recordset rs = SearchQueries::cards(db(), typed);
            reference.fill(rs, {"CardID", "Name", "GroupName", "RollNo", "CardNo", "OT11", "OT13"});
        }
        return texts(&reference);
    }
    void expectQueried(SearchPanel *panel, const std::array<QString, 4> &typed)
    {
        for (int box = 0; box < 4; ++box)
            panel->filter(box)->setText(typed[size_t(box)]);
        panel->reload(); // at once, instead of after the keystrokes waiting
        EXPECT_EQ(texts(panel->list()), queried(panel->kind(), typed))
            << typed[0].toStdString() << "|" << typed[1].toStdString() << "|"
            << typed[2].toStdString() << "|" << typed[3].toStdString();
    }

    std::unique_ptr<QWidget> host;
    SearchPanel *books = nullptr;
    SearchPanel *cards = nullptr;
};

} // namespace

// The panels list what the table's query lists, in its order (equal titles and names in key
// order), on tricky texts: letter case, accents, pattern characters, missing values.
TEST_F(SearchPanelTest, ListsWhatTheQueryListsInItsOrder)
{
    // Equal titles in several letter cases, beside the filters' tricky texts.
    const QStringList titles =
        QStringList{"Godan", "GODAN", "godan", "Godan"} + PatternSamples::texts();
    // Keys written out of order, so the table's order is not the order of writing.
    std::vector<int> keys(size_t(titles.size()));
    std::iota(keys.begin(), keys.end(), 1);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (int i = 0; i < titles.size(); ++i)
        addBook(keys[size_t(i)], QString::number(keys[size_t(i)]), titles[i],
                i % 2 ? "Premchand" : "premchand", i % 3 ? "Stories" : "Poems",
                i % 4 ? "Rupa" : "NBT");
    addBook(100, "100", "Godan", "Premchand", "Stories", "Rupa");
    db().execute("UPDATE Book SET title = NULL WHERE BookID = 100");
    addBook(101, "101", "Godan", "Premchand", "Stories", "Rupa");
    db().execute("UPDATE Book SET Publisher = NULL WHERE BookID = 101");
    addGroup(1, "Class 5", 3);
    const int cardKeys[] = {5, 2, 8, 1, 7, 3};
    const char *names[] = {"Ravi", "RAVI", "ravi kumar", "Élan", "Asha", "Ravi"};
    for (int i = 0; i < 6; ++i)
        addCard(cardKeys[i], 100 + cardKeys[i], 1, QString::fromUtf8(names[i]),
                QString("R%1").arg(i), i == 5 ? QVariant() : QVariant("Father"));

    const QStringList typedTexts =
        PatternSamples::typed() + QStringList{"g", "GO", "godan", "'", "prem", "r"};
    for (const QString &typed : typedTexts) {
        expectQueried(books, {typed, "", "", ""});
        expectQueried(books, {"", typed, "", ""});
        expectQueried(books, {"", "", typed, ""});
        expectQueried(books, {"", "", "", typed});
        expectQueried(cards, {typed, "", "", ""});
        expectQueried(cards, {"", typed, "", ""});
        expectQueried(cards, {"", "", typed, ""});
        expectQueried(cards, {"", "", "", typed});
    }
    expectQueried(books, {"g", "p", "s", "r"});
}

// Keystrokes that arrive together reload the list once, for the last text; a change to the table
// by this connection or another program shows at the next keystroke.
TEST_F(SearchPanelTest, ReloadsOnceForTheLastKeystrokeAndSeesChanges)
{
    addBook(1, "1", "Godan");
    addBook(2, "2", "Gaban");
    books->open();
    QSignalSpy resets(books->list()->records(), &QAbstractItemModel::modelReset);
    QTest::keyClicks(books->filter(0), "god");
    ASSERT_TRUE(waitFor([&] { return resets.count() > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(books->list()->records()->size(), 1);

    addBook(3, "3", "Godavari");
    books->filter(0)->setText("goda");
    ASSERT_TRUE(waitFor([&] { return books->list()->records()->size() == 2; }));
    {
        auto other = Database::open(db().path());
        other->execute("UPDATE Book SET title = 'Gods' WHERE BookID = 1");
    }
    books->filter(0)->setText("god");
    const auto expected = queried(SearchPanel::Kind::Book, {"god", "", "", ""});
    ASSERT_TRUE(waitFor([&] { return texts(books->list()) == expected; }));
    EXPECT_EQ(books->list()->records()->text(0, 1), "Godavari");
}
