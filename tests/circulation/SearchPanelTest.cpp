#include "AnotherProgram.h"
#include "CirculationFixture.h"
#include "PatternSamples.h"
#include "PinnedCores.h"
#include "SearchQueries.h"

#include "circulation/CirculationRules.h"
#include "circulation/SearchPanel.h"
#include "circulation/frmBookIssue.h"
#include "circulation/frmBookReceipt.h"
#include "controls/button/StyledButton.h"
#include "core/PartedRead.h"
#include "ui/RecordList.h"

#include <QApplication>
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
        // The first reload waits for the table's rows.
        ASSERT_TRUE(waitFor([&] { return !panel->reading(); }));
        EXPECT_EQ(texts(panel->list()), queried(panel->kind(), typed))
            << typed[0].toStdString() << "|" << typed[1].toStdString() << "|"
            << typed[2].toStdString() << "|" << typed[3].toStdString();
    }

    // Keys as a fast typist or a scanner sends them: each to the control that has the focus at
    // that moment, with nothing in between that QTest does not do itself.
    static void burst(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void burst(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // With more than two cores the rows are read on a thread beside the window.
    static bool readsBesideTheWindow() { return PartedRead::parts() > 2; }
    // The numbers of cores tried: one, two, and all the process may run on.
    static std::vector<int> coreCounts(const PinnedCores &pinned)
    {
        std::vector<int> counts;
        for (const int count : {1, 2, pinned.count()})
            if (count <= pinned.count() &&
                std::find(counts.begin(), counts.end(), count) == counts.end())
                counts.push_back(count);
        return counts;
    }
    // Books whose titles begin with "Go" in several ways, keys spread far enough for parts.
    void addGoBooks()
    {
        Transaction transaction(db());
        for (int i = 1; i <= 300; ++i) {
            const int id = i * 97 % 40009;
            db().execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                         "Publisher) VALUES (?, ?, ?, 'Author', 'Subject', 'Publisher')",
                         {id, QString("A-%1").arg(id),
                          i % 5 == 0 ? QString(i % 2 ? "GODAN" : "godan")
                                     : QString("Gora %1").arg(i * 7919 % 301)});
        }
        transaction.commit();
    }
    // F4 in the window's box (or the panel opened as F4 opens it), the title typed over in the
    // panel, and the list once it shows the text; then Esc.
    static QList<QStringList> searched(QLineEdit *box, SearchPanel *panel, const QString &title)
    {
        if (box) {
            box->setFocus();
            burst(Qt::Key_F4);
        } else {
            panel->open();
        }
        EXPECT_TRUE(panel->isVisible());
        burst(Qt::Key_A, Qt::ControlModifier);
        if (title.isEmpty())
            burst(Qt::Key_Backspace);
        burst(title);
        EXPECT_TRUE(waitFor([&] { return !panel->reading(); }));
        QCoreApplication::processEvents(); // the reload waiting for the keys typed together
        const QList<QStringList> listed = texts(panel->list());
        if (box)
            burst(Qt::Key_Escape);
        else
            panel->hide();
        EXPECT_FALSE(panel->isVisible());
        return listed;
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
    // Also in a company that could not yet gain the indexes of the typed beginnings.
    for (const bool indexed : {true, false}) {
        if (!indexed) {
            // By another connection, as a company opened while another desk wrote: the rows held
            // are read again.
            const auto other = Database::open(db().path());
            other->execute("DROP INDEX BookTitle");
            other->execute("DROP INDEX CardName");
        }
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
}

// Keystrokes that arrive together reload the list once, for the last text; a change to the table
// by this connection shows at the next keystroke, one by another program at the next keystroke
// or, when the rows were read just before, a moment after.
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

// Down, Enter and every key after them act on the list filtered for all the text typed before
// them, whether the rows were read before the keys came or come after them.
TEST_F(SearchPanelTest, KeysInABurstActOnAllTheTextTypedBeforeThem)
{
    addBook(1, "G-1", "Gaban");
    addBook(2, "G-2", "godavari tales");
    addBook(3, "G-3", "Godan");
    addBook(4, "G-4", "Gitanjali");
    EXPECT_TRUE(activate(host.get()));
    QSignalSpy picked(books, &SearchPanel::picked);

    // The rows read and the list showing "G": "od", Down and Enter come before the list reloads.
    books->open();
    burst("G");
    ASSERT_TRUE(waitFor([&] { return books->list()->records()->size() == 4; }));
    ASSERT_EQ(books->list()->records()->text(0, 1), "Gaban");
    burst("od");
    burst(Qt::Key_Down);
    burst(Qt::Key_Return);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toString(), "G-3");
    EXPECT_EQ(QApplication::focusWidget(), books->list());

    // After another program's save, F4 and the whole burst: the title typed is read afresh at
    // once through its index, and the pick is from the rows of the file as it is now.
    const auto other = Database::open(db().path());
    const QString insert = "INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                           "Publisher) VALUES (?, ?, ?, 'Author', 'Subject', 'Publisher')";
    other->execute(insert, {5, "G-5", "Godaan Retold"});
    books->hide();
    books->open();
    ASSERT_EQ(QApplication::focusWidget(), books->filter(0));
    burst(Qt::Key_A, Qt::ControlModifier);
    burst("God");
    burst(Qt::Key_Down);
    burst(Qt::Key_Return);
    ASSERT_EQ(picked.count(), 2);
    EXPECT_EQ(picked[1][0].toString(), "G-5"); // "Godaan Retold" before "Godan"
    EXPECT_EQ(books->list()->records()->size(), 3);

    // With no title typed the whole table is read again, beside the window where it can be: the
    // keys for the list wait for it.
    other->execute(insert, {7, "G-7", "Gaban Again"});
    books->open();
    burst(Qt::Key_A, Qt::ControlModifier);
    burst(Qt::Key_Delete);
    QTest::mouseClick(books->filter(1), Qt::LeftButton);
    burst("Auth");
    burst(Qt::Key_Down);
    burst(Qt::Key_Return);
    if (readsBesideTheWindow()) {
        EXPECT_EQ(picked.count(), 2);
    }
    ASSERT_TRUE(waitFor([&] { return picked.count() == 3; }));
    EXPECT_EQ(picked[2][0].toString(), "G-7");
    EXPECT_EQ(books->list()->records()->size(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(picked.count(), 3);
    QTest::mouseClick(books->filter(1), Qt::LeftButton);
    burst(Qt::Key_A, Qt::ControlModifier);
    burst(Qt::Key_Delete);
    books->hide();

    // Keys typed into the boxes while the rows are read show once they come.
    other->execute(insert, {6, "G-6", "Gora"});
    books->open();
    burst(Qt::Key_A, Qt::ControlModifier);
    burst("gor");
    ASSERT_TRUE(
        waitFor([&] { return !books->reading() && books->list()->records()->size() == 1; }));
    EXPECT_EQ(books->list()->records()->text(0, 1), "Gora");
}

// F4 shows the panel at once; the window keeps answering while the rows are read, and the
// keys typed meanwhile filter them once they come.
TEST_F(SearchPanelTest, ShowsAtOnceAndReadsTheRowsBesideTheWindow)
{
    if (!readsBesideTheWindow())
        GTEST_SKIP() << "one or two cores: the keystroke reads the rows";
    {
        Transaction transaction(db());
        for (int id = 1; id <= 20000; ++id)
            db().execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                         "Publisher) VALUES (?, ?, ?, 'Author', 'Subject', 'Publisher')",
                         {id, QString::number(id), QString("Book %1").arg(id * 7919 % 20011)});
        transaction.commit();
    }
    EXPECT_TRUE(activate(host.get()));
    books->open();
    ASSERT_TRUE(books->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), books->filter(0));
    QCoreApplication::processEvents(); // the window paints
    EXPECT_TRUE(books->reading());
    EXPECT_EQ(books->list()->records()->size(), 0);
    burst("Book 12");
    const auto expected = queried(SearchPanel::Kind::Book, {"Book 12", "", "", ""});
    ASSERT_GT(expected.size(), 100);
    EXPECT_TRUE(waitFor([&] { return texts(books->list()) == expected; }, 30000));
}

// In the issue window, F4 and the keys in one burst: Enter picks the book of the text typed
// and closes the panel.
TEST_F(SearchPanelTest, IssueWindowF4AndABurstOfKeysPickTheBookTyped)
{
    addBook(1, "11", "Gaban");
    addBook(2, "12", "Godan");
    addBook(3, "13", "Gitanjali");
    auto *window = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    EXPECT_TRUE(activate(window));
    auto *accessionNo = window->findChild<QLineEdit *>("txtAccessionNo");
    auto *panel = window->findChild<SearchPanel *>("fraSearch2");
    accessionNo->setFocus();
    burst(Qt::Key_F4);
    ASSERT_TRUE(panel->isVisible());
    burst("God");
    burst(Qt::Key_Down);
    burst(Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return !panel->isVisible(); }));
    EXPECT_EQ(accessionNo->text(), "12");
    EXPECT_EQ(window->findChild<QLineEdit *>("txtTitle")->text(), "Godan");
    EXPECT_EQ(QApplication::focusWidget(), accessionNo);
}

// Rows changed by a save are followed by key, so the next F4 and its keys act at once instead of
// waiting for a read of the whole table.
TEST_F(SearchPanelTest, RowsChangedBySaveAreFollowedByKeyBeforeTheNextF4)
{
    addBook(1, "G-1", "Gaban");
    EXPECT_TRUE(activate(host.get()));
    QSignalSpy picked(books, &SearchPanel::picked);
    books->open();
    burst("g");
    ASSERT_TRUE(waitFor([&] { return !books->reading(); }));
    QCoreApplication::processEvents(); // on one or two cores the reload reads them here
    ASSERT_GT(books->freshReads(), 0);
    const int reads = books->freshReads();
    books->hide();

    addBook(2, "G-2", "Godan"); // a save while the panel is hidden
    books->open();
    EXPECT_FALSE(books->reading());
    burst("od");
    burst(Qt::Key_Down);
    burst(Qt::Key_Return);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toString(), "G-2");
    EXPECT_EQ(books->freshReads(), reads);
}

// On a PC of one or two cores the keystroke reads the rows on the window's own connection (and on
// two cores its reader beside it), which keeps the pages it read decrypted across the window's
// saves: the list shows the typed text at once, in the query's order, and a save shows at the
// next F4 without a read beside the window.
TEST_F(SearchPanelTest, OnOneOrTwoCoresTheKeystrokeReadsOnTheWindowsConnection)
{
    // Keys spread far enough for two parts, equal titles in several letter cases.
    {
        Transaction transaction(db());
        for (int i = 1; i <= 400; ++i) {
            const int id = i * 97 % 40009;
            db().execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                         "Publisher) VALUES (?, ?, ?, 'Author', 'Subject', 'Publisher')",
                         {id, QString("A-%1").arg(id),
                          i % 5 == 0 ? QString(i % 2 ? "GODAN" : "godan")
                                     : QString("Gora %1").arg(i * 7919 % 401)});
        }
        transaction.commit();
    }
    EXPECT_TRUE(activate(host.get()));
    PinnedCores pinned;
    ASSERT_GT(pinned.count(), 0);
    for (int count = 1; count <= pinned.fewest(); ++count) {
        ASSERT_TRUE(pinned.pinTo(count));
        const QString title = QString("Gora Retold %1").arg(count);

        books->open();
        EXPECT_FALSE(books->reading()) << count << " cores";
        burst(Qt::Key_A, Qt::ControlModifier);
        burst("go");
        QCoreApplication::processEvents(); // the reload waiting for the keys typed together
        EXPECT_FALSE(books->reading());
        EXPECT_EQ(texts(books->list()), queried(SearchPanel::Kind::Book, {"go", "", "", ""}))
            << count << " cores";

        addBook(40100 + count, "R-" + QString::number(count), title); // the window's save
        books->hide();
        books->open();
        burst(Qt::Key_A, Qt::ControlModifier);
        burst("gora r");
        QCoreApplication::processEvents();
        EXPECT_FALSE(books->reading());
        ASSERT_EQ(books->list()->records()->size(), count) << count << " cores";
        EXPECT_EQ(books->list()->records()->text(count - 1, 1), title);
        books->hide();
    }
}

// The issue and return windows' own saves, and other saves of the window's connection, are
// followed by key: F4 and letters afterwards list what a fresh query lists without reading the
// whole table, on one, two and all cores. A commit of another program in the moment before a save
// is not hidden by it: its rows are followed by the keys it logged.
TEST_F(SearchPanelTest, TheWindowsOwnIssueAndReturnAreFollowedByKey)
{
    addGroup(1, "Class 5", 50);
    addCard(1, 101, 1, "Asha Verma", "R7");
    addGoBooks();
    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    auto *receipt = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
    const auto box = [](QWidget *window, const char *name) {
        return window->findChild<QLineEdit *>(name);
    };
    // Sr No. proposed on the way in, card and copy typed, each with Enter.
    const auto lookUp = [&](QWidget *window, const QString &accessionNo) {
        box(window, "txtSrNo")->setFocus(Qt::TabFocusReason);
        burst(Qt::Key_Return);
        for (const auto &[name, text] :
             {std::pair{"txtCardNo", QString("101")}, std::pair{"txtAccessionNo", accessionNo}}) {
            box(window, name)->setFocus();
            burst(Qt::Key_A, Qt::ControlModifier);
            burst(text);
            burst(Qt::Key_Return);
        }
    };
    const auto save = [&](QWidget *window) {
        dialogs->expectOk();
        dialogs->answers << Dialogs::Answer::No; // no slip printed
        emit window->findChild<StyledButton *>("cmdsave")->Click();
    };
    auto *issuePanel = issue->findChild<SearchPanel *>("fraSearch2");
    auto *receiptPanel = receipt->findChild<SearchPanel *>("fraSearch2");
    PinnedCores pinned;
    ASSERT_GT(pinned.count(), 0);
    AnotherProgram other(db());
    for (const int count : coreCounts(pinned)) {
        ASSERT_TRUE(pinned.pinTo(count));
        ASSERT_TRUE(activate(issue));
        EXPECT_EQ(searched(box(issue, "txtAccessionNo"), issuePanel, "go"),
                  queried(SearchPanel::Kind::Book, {"go", "", "", ""}));
        ASSERT_TRUE(activate(receipt));
        EXPECT_EQ(searched(box(receipt, "txtAccessionNo"), receiptPanel, "go"),
                  queried(SearchPanel::Kind::Book, {"go", "", "", ""}));
        const int issueReads = issuePanel->freshReads();
        const int receiptReads = receiptPanel->freshReads();
        // Beside the window the whole table may be read once in place of the titles read after
        // the last round's commit of another program; the keystrokes read nothing.
        const int beside = readsBesideTheWindow() ? 1 : 0;

        const int lent = 40100 + count;
        addBook(lent, QString::number(9000 + count), QString("Gone Again %1").arg(count));
        ASSERT_TRUE(activate(issue));
        lookUp(issue, QString::number(9000 + count));
        save(issue);
        ASSERT_EQ(bookField(lent, "Status").toString(), "Issue")
            << count << " cores: " << dialogs->texts().join('|').toStdString();
        db().execute("UPDATE Book SET title = 'Gopal' WHERE BookID = 97");
        db().execute("DELETE FROM Book WHERE BookID = 194");
        EXPECT_EQ(searched(box(issue, "txtAccessionNo"), issuePanel, "go"),
                  queried(SearchPanel::Kind::Book, {"go", "", "", ""}))
            << count << " cores";
        EXPECT_LE(issuePanel->freshReads(), issueReads + beside) << count << " cores";

        ASSERT_TRUE(activate(receipt));
        lookUp(receipt, QString::number(9000 + count));
        save(receipt);
        ASSERT_EQ(bookField(lent, "Status").toString(), "Available") << count << " cores";
        EXPECT_EQ(searched(box(receipt, "txtAccessionNo"), receiptPanel, "gon"),
                  queried(SearchPanel::Kind::Book, {"gon", "", "", ""}))
            << count << " cores";
        EXPECT_LE(receiptPanel->freshReads(), receiptReads + beside) << count << " cores";

        // Another counter renames a book just before this window's issue is written.
        ASSERT_TRUE(activate(issue));
        other.beforeNextWrite([count](Database &theirs) {
            theirs.execute("UPDATE Book SET title = ? WHERE BookID = 291",
                           {QString("Gone Elsewhere %1").arg(count)});
        });
        lookUp(issue, QString::number(9000 + count));
        save(issue);
        ASSERT_TRUE(other.acted());
        Database::clearFailureHook();
        EXPECT_EQ(searched(box(issue, "txtAccessionNo"), issuePanel, "gone"),
                  queried(SearchPanel::Kind::Book, {"gone", "", "", ""}))
            << count << " cores";
        EXPECT_LE(issuePanel->freshReads(), issueReads + beside) << count << " cores";
        // The book goes back through the return window for the next round.
        ASSERT_TRUE(activate(receipt));
        lookUp(receipt, QString::number(9000 + count));
        save(receipt);
    }
}

// A commit of another program after the window's own save shows at the next F4, whether or not
// the window saved in between: following the save by key hides nothing. Its rows are followed by
// the keys it logged, or read afresh in a company that could not yet gain the log.
TEST_F(SearchPanelTest, AnotherProgramsCommitAfterTheWindowsSaveShowsAtTheNextF4)
{
    addGoBooks();
    const auto other = Database::open(db().path());
    QLineEdit *const accessionNo = nullptr; // the panel opened as F4 opens it
    EXPECT_TRUE(activate(host.get()));
    PinnedCores pinned;
    int round = 0;
    for (const bool logged : {true, false}) {
        if (!logged)
            dropRowChangeLog(*other);
        for (const int count : coreCounts(pinned)) {
            ASSERT_TRUE(pinned.pinTo(count));
            for (const bool ownSave : {true, false}) {
                ++round;
                EXPECT_EQ(searched(accessionNo, books, "go"),
                          queried(SearchPanel::Kind::Book, {"go", "", "", ""}));
                const int reads = books->freshReads();
                const int follows = books->loggedFollows();
                if (ownSave)
                    addBook(41000 + round, QString("O-%1").arg(round),
                            QString("Gold %1").arg(round));
                other->execute("UPDATE Book SET title = ? WHERE BookID = 97",
                               {QString("Gobind %1").arg(round)});
                other->execute(
                    "INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                    "Publisher) VALUES (?, ?, ?, 'A', 'S', 'P')",
                    {42000 + round, QString("T-%1").arg(round), QString("Goa %1").arg(round)});
                other->execute("DELETE FROM Book WHERE BookID = ?", {90 + round});
                EXPECT_EQ(searched(accessionNo, books, "go"),
                          queried(SearchPanel::Kind::Book, {"go", "", "", ""}))
                    << count << " cores, own save " << ownSave << ", logged " << logged;
                if (logged) {
                    EXPECT_EQ(books->freshReads(), reads)
                        << count << " cores, own save " << ownSave;
                    EXPECT_GT(books->loggedFollows(), follows) << count << " cores";
                } else {
                    EXPECT_GT(books->freshReads(), reads)
                        << count << " cores, own save " << ownSave;
                }
            }
        }
    }
}

// Another program's changes beyond what the log tells: the rows are read afresh, never followed by
// the keys left in it, which would miss the title renamed first.
TEST_F(SearchPanelTest, ChangesBeyondWhatTheLogTellsAreReadAfresh)
{
    addGoBooks();
    const auto other = Database::open(db().path());
    EXPECT_TRUE(activate(host.get()));
    EXPECT_EQ(searched(nullptr, books, "go"), queried(SearchPanel::Kind::Book, {"go", "", "", ""}));
    const int reads = books->freshReads();
    {
        Transaction transaction(*other);
        other->execute("UPDATE Book SET title = 'Gopi' WHERE BookID = 97");
        for (int round = 0; round < 6000; ++round)
            other->execute("UPDATE Book SET Remarks = ? WHERE BookID = 194", {round});
        transaction.commit();
    }
    EXPECT_EQ(searched(nullptr, books, "go"), queried(SearchPanel::Kind::Book, {"go", "", "", ""}));
    EXPECT_GT(books->freshReads(), reads);

    // Rows added are not logged: one added below the highest key is found by the count, whether
    // the rows held are those of a typed beginning or, as an empty title box reads them, the whole
    // table.
    for (const bool whole : {false, true}) {
        searched(nullptr, books, whole ? QString() : QString("go"));
        const int before = books->freshReads();
        other->execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, Publisher) "
                       "VALUES (?, ?, 'Gomti', 'A', 'S', 'P')",
                       {whole ? 3 : 2, whole ? "L-3" : "L-2"});
        EXPECT_EQ(searched(nullptr, books, "go"),
                  queried(SearchPanel::Kind::Book, {"go", "", "", ""}))
            << whole;
        EXPECT_GT(books->freshReads(), before) << whole;
    }
}

// Another program committing while the user types: every keystroke lists what a fresh query lists
// at that moment, following the rows it changed by key rather than reading the table again. A
// commit after the last keystroke shows at the next one, not before, even once its rows are
// followed beside the window.
TEST_F(SearchPanelTest, AnotherProgramsCommitsShowAtTheNextKeystroke)
{
    addGoBooks();
    const auto other = Database::open(db().path());
    EXPECT_TRUE(activate(host.get()));
    PinnedCores pinned;
    int added = 0;
    const auto commit = [&] {
        ++added;
        other->execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                       "Publisher) VALUES (?, ?, ?, 'A', 'S', 'P')",
                       {43000 + added, QString("B-%1").arg(added), QString("Godan %1").arg(added)});
        other->execute("UPDATE Book SET title = ? WHERE BookID = ?",
                       {QString("Gone %1").arg(added), 97 * added});
    };
    for (const int count : coreCounts(pinned)) {
        ASSERT_TRUE(pinned.pinTo(count));
        searched(nullptr, books, "g");
        books->open();
        ASSERT_TRUE(waitFor([&] { return !books->reading(); }));
        burst(Qt::Key_A, Qt::ControlModifier);
        QString typed;
        for (const char letter : QByteArray("godan")) {
            commit();
            typed += QChar(letter);
            burst(QString(QChar(letter)));
            QCoreApplication::processEvents(); // the reload waiting for the key
            EXPECT_EQ(texts(books->list()), queried(SearchPanel::Kind::Book, {typed, "", "", ""}))
                << count << " cores, " << typed.toStdString();
        }
        const QList<QStringList> shown = texts(books->list());
        const int follows = books->loggedFollows();
        commit();
        ASSERT_TRUE(waitFor([&] { return books->loggedFollows() > follows; }))
            << "the rows followed beside the window";
        EXPECT_EQ(texts(books->list()), shown) << count << " cores";
        burst(Qt::Key_Backspace);
        QCoreApplication::processEvents();
        EXPECT_EQ(texts(books->list()), queried(SearchPanel::Kind::Book, {"goda", "", "", ""}))
            << count << " cores";
        books->hide();
    }
}

// A user at the issue and return windows, all by keys: the window's save, F4 and a letter, another
// program's commit, the next letter and Down at once. Down and the keys after it act on the rows a
// fresh query lists, also within the moment after a read in which the list holds back another
// program's commits while the user types.
TEST_F(SearchPanelTest, AfterTheWindowsSaveTheListKeysActOnWhatAFreshQueryLists)
{
    addGroup(1, "Class 5", 50);
    addCard(1, 101, 1, "Asha Verma", "R7");
    addGoBooks();
    addBook(45000, "9001", "Gone Again");
    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    auto *receipt = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
    const auto other = Database::open(db().path());
    const auto typeInto = [](QWidget *window, const char *name, const QString &text) {
        window->findChild<QLineEdit *>(name)->setFocus();
        burst(Qt::Key_A, Qt::ControlModifier);
        burst(text);
        burst(Qt::Key_Return);
    };
    PinnedCores pinned;
    int round = 0;
    for (const int count : coreCounts(pinned)) {
        ASSERT_TRUE(pinned.pinTo(count));
        for (QWidget *window : {static_cast<QWidget *>(issue), static_cast<QWidget *>(receipt)}) {
            ++round;
            const std::string where =
                std::to_string(count) + " cores, " + window->objectName().toStdString();
            ASSERT_TRUE(activate(window));
            window->findChild<QLineEdit *>("txtSrNo")->setFocus(Qt::TabFocusReason);
            burst(Qt::Key_Return);
            typeInto(window, "txtCardNo", "101");
            typeInto(window, "txtAccessionNo", "9001");
            dialogs->expectOk();
            dialogs->answers << Dialogs::Answer::No; // no slip printed
            window->findChild<StyledButton *>("cmdsave")->setFocus(Qt::TabFocusReason);
            burst(Qt::Key_Return);
            ASSERT_EQ(bookField(45000, "Status").toString(),
                      window == issue ? "Issue" : "Available")
                << where << ": " << dialogs->texts().join('|').toStdString();

            auto *panel = window->findChild<SearchPanel *>("fraSearch2");
            window->findChild<QLineEdit *>("txtAccessionNo")->setFocus();
            burst(Qt::Key_F4);
            ASSERT_TRUE(panel->isVisible()) << where;
            burst(Qt::Key_A, Qt::ControlModifier);
            burst("g");
            ASSERT_TRUE(waitFor([&] { return !panel->reading(); })) << where;
            QCoreApplication::processEvents();
            // A title that comes first among those beginning with "go".
            other->execute(
                "INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                "Publisher) VALUES (?, ?, ?, 'A', 'S', 'P')",
                {46000 + round, QString("N-%1").arg(round), QString("Go %1 First").arg(round)});
            burst("o");
            burst(Qt::Key_Down);
            ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == panel->list(); }))
                << where;
            EXPECT_EQ(texts(panel->list()), queried(SearchPanel::Kind::Book, {"go", "", "", ""}))
                << where;
            EXPECT_EQ(panel->list()->currentIndex().row(), 0) << where;
            burst(Qt::Key_Escape);
            EXPECT_FALSE(panel->isVisible()) << where;
        }
    }
}

// Two desks on one library, the user at the issue and return windows with keys and the mouse: F4,
// "B"; the other desk retitles a book of the "Ba" list; "a"; it retitles the 11th row; Backspace
// and "a"; a click on the third row and Enter at once. Every keystroke lists what a fresh query
// lists, Enter picks the book clicked (by its key, read afresh) and the panel closes. A commit
// after the last keystroke shows at the next one, and a clicked book deleted meanwhile is no pick.
TEST_F(SearchPanelTest, EnterPicksTheBookClickedWhileAnotherDeskCommits)
{
    addGroup(1, "Class 5", 50);
    addCard(1, 101, 1, "Asha Verma", "R7");
    for (int i = 0; i < 30; ++i)
        addBook(1 + i * 17 % 30, QString::number(5000 + i), QString("Ba %1").arg(i * 7 % 30, 3));
    addBook(31, "6001", "Bo Peep");
    addBook(32, "6002", "Cat Tales");
    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    auto *receipt = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
    const auto other = Database::open(db().path());
    const auto retitle = [&](const QString &key, const QString &title) {
        other->execute("UPDATE Book SET title = ? WHERE BookID = ?", {title, key.toInt()});
    };
    PinnedCores pinned;
    int round = 0;
    for (const int count : coreCounts(pinned)) {
        ASSERT_TRUE(pinned.pinTo(count));
        for (QWidget *window : {static_cast<QWidget *>(issue), static_cast<QWidget *>(receipt)}) {
            ++round;
            const std::string where =
                std::to_string(count) + " cores, " + window->objectName().toStdString();
            auto *accessionNo = window->findChild<QLineEdit *>("txtAccessionNo");
            auto *panel = window->findChild<SearchPanel *>("fraSearch2");
            RecordList *list = panel->list();
            const auto listsAfresh = [&](const QString &typed) {
                return texts(list) == queried(SearchPanel::Kind::Book, {typed, "", "", ""});
            };
            ASSERT_TRUE(activate(window)) << where;
            accessionNo->setFocus();
            burst(Qt::Key_F4);
            ASSERT_TRUE(panel->isVisible()) << where;
            burst(Qt::Key_A, Qt::ControlModifier);
            burst("B");
            ASSERT_TRUE(waitFor([&] { return listsAfresh("B"); })) << where;
            retitle(list->records()->text(5, 0), QString("Ba %1 Retitled").arg(round));
            burst("a");
            QCoreApplication::processEvents(); // the reload waiting for the key
            EXPECT_TRUE(listsAfresh("Ba")) << where;
            retitle(list->records()->text(10, 0), QString("Zz %1").arg(round));
            burst(Qt::Key_Backspace);
            burst("a");
            QCoreApplication::processEvents();
            EXPECT_TRUE(listsAfresh("Ba")) << where;

            // A commit after the last keystroke: the list stays until the next one.
            retitle(list->records()->text(0, 0), QString("Zy %1").arg(round));
            QCoreApplication::processEvents();
            EXPECT_FALSE(listsAfresh("Ba")) << where;
            const QString clicked = list->records()->text(2, 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->records()->index(2, 1)).center());
            if (window == receipt)
                dialogs->expectOk(); // a book on the shelf: the look-up refuses it
            burst(Qt::Key_Return);
            EXPECT_FALSE(panel->isVisible()) << where;
            EXPECT_EQ(accessionNo->text(), bookField(clicked.toInt(), "AccessionNo").toString())
                << where;

            // The next F4 and keystroke show that commit; a book clicked and then deleted by the
            // other desk is no pick: the panel stays as it is.
            accessionNo->setFocus();
            burst(Qt::Key_F4);
            burst(Qt::Key_Backspace);
            burst("a");
            QCoreApplication::processEvents();
            EXPECT_TRUE(listsAfresh("Ba")) << where;
            const QString gone = list->records()->text(1, 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->records()->index(1, 1)).center());
            other->execute("DELETE FROM Book WHERE BookID = ?", {gone.toInt()});
            accessionNo->setText(QString());
            burst(Qt::Key_Return);
            EXPECT_TRUE(panel->isVisible()) << where;
            EXPECT_EQ(accessionNo->text(), QString()) << where;
            EXPECT_EQ(list->currentIndex().row(), 1) << where;
            burst(Qt::Key_Escape);
            ASSERT_FALSE(panel->isVisible()) << where;
        }
    }
}

// The card panel picks on a double-click too: F4 in Card No., "M"; the other desk renames a card
// of the list; "e"; it renames "Member 1", the first row; Backspace and "e"; a double-click on the
// first row picks "Member 10", the card a fresh query lists first, in the issue and return windows.
TEST_F(SearchPanelTest, ADoubleClickPicksTheCardAFreshQueryListsWhileAnotherDeskCommits)
{
    addGroup(1, "Class 5", 50);
    for (int id = 1; id <= 60; ++id)
        addCard(id, 100 + id, 1, QString("Member %1").arg(id), QString("R%1").arg(id));
    auto *issue = WindowRegistry::show<frmBookIssue>("frmBookIssue");
    auto *receipt = WindowRegistry::show<frmBookReceipt>("frmBookReceipt");
    const auto other = Database::open(db().path());
    int round = 0;
    for (QWidget *window : {static_cast<QWidget *>(issue), static_cast<QWidget *>(receipt)}) {
        ++round;
        const std::string where = window->objectName().toStdString();
        auto *cardNo = window->findChild<QLineEdit *>("txtCardNo");
        auto *panel = window->findChild<SearchPanel *>("fraSearch");
        RecordList *list = panel->list();
        const auto listsAfresh = [&](const QString &typed) {
            return texts(list) == queried(SearchPanel::Kind::Card, {typed, "", "", ""});
        };
        // Every card under its own name again.
        for (int id = 1; id <= 60; ++id)
            db().execute("UPDATE Card SET Name = ? WHERE CardID = ?",
                         {QString("Member %1").arg(id), id});
        ASSERT_TRUE(activate(window)) << where;
        cardNo->setFocus();
        burst(Qt::Key_F4);
        ASSERT_TRUE(panel->isVisible()) << where;
        burst(Qt::Key_A, Qt::ControlModifier);
        burst("M");
        ASSERT_TRUE(waitFor([&] { return listsAfresh("M"); })) << where;
        other->execute("UPDATE Card SET Name = ? WHERE CardID = 40", {QString("Mx %1").arg(round)});
        burst("e");
        QCoreApplication::processEvents(); // the reload waiting for the key
        EXPECT_TRUE(listsAfresh("Me")) << where;
        other->execute("UPDATE Card SET Name = 'Qx B' WHERE CardID = 1");
        burst(Qt::Key_Backspace);
        burst("e");
        QCoreApplication::processEvents();
        EXPECT_TRUE(listsAfresh("Me")) << where;
        EXPECT_EQ(list->records()->text(0, 1), "Member 10") << where;

        // A double-click as the window system delivers it: a click, then the double-click.
        const QPoint first = list->visualRect(list->records()->index(0, 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        EXPECT_FALSE(panel->isVisible()) << where;
        EXPECT_EQ(cardNo->text(), "110") << where;
        EXPECT_EQ(window->findChild<QLineEdit *>("txtName")->text(), "Member 10") << where;
    }
}

// A seeded session on both panels, the user typing, clicking, moving and picking while the window
// saves and another program commits: after every keystroke the list is what a fresh query lists and
// the row the user selected is still selected by its key, or none is once it is not listed; keys
// for the list and saves or commits change no row of it; a pick by Enter, a click or a double-click
// hands over the record of the row chosen as it stands, nothing for a record gone or no row chosen,
// and the book list picks nothing on a double-click. Titles and names share beginnings in several
// letter cases and scripts, the Kelvin sign among them, which the filters fold to "k".
TEST_F(SearchPanelTest, ARandomSessionListsAFreshQueryAndPicksTheRowChosen)
{
    const QStringList beginnings =
        QString::fromUtf8("Ka ka \u212Aa Kb Go go G\u00f6 Ga ia IA").split(' ');
    const QString typable = QString::fromUtf8("kKaAgGoO\u00f6\u212AiIb ");
    const auto other = Database::open(db().path());
    addGroup(1, "Class 5", 50);
    EXPECT_TRUE(activate(host.get()));
    PinnedCores pinned;
    int next = 1;
    for (const int count : coreCounts(pinned)) {
        ASSERT_TRUE(pinned.pinTo(count));
        std::mt19937 random(7919 + count);
        const auto any = [&](int size) { return int(random() % unsigned(size)); };
        // A row written, changed or deleted, by this window's connection or the other program's.
        const auto write = [&](Database &on, SearchPanel::Kind kind, int key) {
            const QString text = beginnings[any(beginnings.size())] + QString::number(any(10));
            const QVariant maybe = any(8) == 0 ? QVariant() : QVariant("Same");
            const bool books = kind == SearchPanel::Kind::Book;
            switch (any(3)) {
            case 0:
                if (books)
                    on.execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, "
                               "Publisher) VALUES (?, ?, ?, ?, 'Same', 'Same')",
                               {next, QString("A-%1").arg(next), text, maybe});
                else
                    on.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, "
                               "Name, OT11) VALUES (?, ?, 1, 'Same', 'Same', ?, ?)",
                               {next, 1000 + next, text, maybe});
                ++next;
                break;
            case 1:
                on.execute(
                    books ? "UPDATE Book SET title = ?, AccessionNo = ? WHERE BookID = ?"
                          : "UPDATE Card SET Name = ?, CardNo = ? WHERE CardID = ?",
                    {text, books ? QVariant(QString("U-%1").arg(key)) : QVariant(2000 + key), key});
                break;
            default:
                on.execute(books ? "DELETE FROM Book WHERE BookID = ?"
                                 : "DELETE FROM Card WHERE CardID = ?",
                           {key});
            }
        };
        for (int i = 0; i < 150; ++i) {
            write(db(), SearchPanel::Kind::Book, any(next + 2));
            write(db(), SearchPanel::Kind::Card, any(next + 2));
        }

        SearchPanel *panel = nullptr;
        for (int step = 0; step < 160; ++step) {
            const std::string where =
                std::to_string(count) + " cores, step " + std::to_string(step);
            SearchPanel *wanted = any(2) ? books : cards;
            if (wanted != panel) {
                if (panel)
                    panel->hide();
                panel = wanted;
                panel->open();
            }
            RecordList *list = panel->list();
            const auto settle = [&] {
                EXPECT_TRUE(waitFor([&] { return !panel->reading(); })) << where;
                QCoreApplication::processEvents();
            };
            settle();
            const QList<QStringList> shown = texts(list);
            const QModelIndex current = list->currentIndex();
            const bool selected = current.isValid() && list->selectionModel()->isSelected(current);
            const QString chosen = selected ? list->records()->text(current.row(), 0) : QString();
            QSignalSpy picked(panel, &SearchPanel::picked);
            QSignalSpy resets(list->records(), &QAbstractItemModel::modelReset);
            // A point on a row in sight, or now and then anywhere in the list, and the row there.
            QPoint point(30, any(list->viewport()->height()));
            if (list->records()->size() > 0 && any(5)) {
                const QModelIndex row =
                    list->records()->index(any(std::min(list->records()->size(), 8)), 1);
                if (list->viewport()->rect().contains(list->visualRect(row).center()))
                    point = list->visualRect(row).center();
            }
            const QModelIndex under = list->indexAt(point);
            const auto expectPickOf = [&](const QModelIndex &row) {
                std::optional<QString> number;
                if (row.isValid()) {
                    const double key = list->records()->text(row.row(), 0).toDouble();
                    Database &fresh = *other;
                    number = panel->kind() == SearchPanel::Kind::Book
                                 ? CirculationRules::pickedAccessionNo(fresh, key)
                                 : CirculationRules::pickedCardNo(fresh, key);
                }
                if (number) {
                    ASSERT_EQ(picked.count(), 1) << where;
                    EXPECT_EQ(picked[0][0].toString(), *number) << where;
                } else {
                    EXPECT_EQ(picked.count(), 0) << where;
                }
            };

            switch (const int action = any(10)) {
            case 0:
            case 1:
            case 2:
            case 3: { // a keystroke in a filter box, mostly the first
                int boxIndex = any(3) ? 0 : 1 + any(3);
                // A list that shows nothing makes the user take back a letter.
                bool erase = action == 3;
                if (shown.isEmpty())
                    for (int i = 0; i < 4; ++i)
                        if (!panel->filter(i)->text().isEmpty() && (!erase || any(2))) {
                            boxIndex = i;
                            erase = true;
                        }
                QLineEdit *box = panel->filter(boxIndex);
                const QString before = box->text();
                QTest::mouseClick(box, Qt::LeftButton);
                // Mostly the next letter of a title or name listed, in either case.
                QStringList going;
                for (const QString &text :
                     boxIndex ? QStringList{"Same"} : beginnings + QStringList{"Go1", "Ka2"})
                    if (text.size() > before.size() &&
                        text.left(before.size()).toLower() == before.toLower())
                        going << text;
                QChar c = typable[any(typable.size())];
                if (!going.isEmpty() && any(4)) {
                    c = going[any(going.size())][before.size()];
                    c = any(2) ? c.toUpper() : c.toLower();
                }
                if (erase || before.size() > 3)
                    burst(Qt::Key_Backspace);
                else if (c.unicode() < 0x80)
                    burst(QString(c));
                else // a key of another keyboard layout
                    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c),
                                        Qt::NoModifier);
                settle();
                if (box->text() == before) { // a Backspace in an empty box changes nothing
                    EXPECT_EQ(resets.count(), 0) << where;
                    break;
                }
                std::array<QString, 4> typed;
                for (int i = 0; i < 4; ++i)
                    typed[size_t(i)] = panel->filter(i)->text();
                ASSERT_EQ(texts(list), queried(panel->kind(), typed)) << where;
                bool stillListed = false;
                for (int row = 0; row < list->records()->size() && !chosen.isEmpty(); ++row)
                    stillListed |= list->records()->text(row, 0) == chosen;
                const QModelIndex now = list->currentIndex();
                if (stillListed) {
                    ASSERT_TRUE(now.isValid()) << where;
                    EXPECT_EQ(list->records()->text(now.row(), 0), chosen) << where;
                    EXPECT_TRUE(list->selectionModel()->isSelected(now)) << where;
                } else {
                    EXPECT_FALSE(now.isValid()) << where;
                    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty()) << where;
                }
                break;
            }
            case 4: // the window's own save, or another program's commit, often of the row chosen
                if (current.isValid() && any(2))
                    (any(2) ? db() : *other)
                        .execute(panel->kind() == SearchPanel::Kind::Book
                                     ? "DELETE FROM Book WHERE BookID = ?"
                                     : "DELETE FROM Card WHERE CardID = ?",
                                 {list->records()->text(current.row(), 0).toInt()});
                else
                    write(any(2) ? db() : *other, panel->kind(), any(next + 2));
                QCoreApplication::processEvents();
                EXPECT_EQ(texts(list), shown) << where;
                break;
            case 5: // a click on a row, or below the rows
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
                EXPECT_EQ(list->currentIndex().isValid(), under.isValid() || current.isValid())
                    << where;
                break;
            case 6: // keys for the list
                list->setFocus(Qt::MouseFocusReason);
                burst(any(2) ? Qt::Key_Down : Qt::Key_Up);
                settle();
                EXPECT_EQ(resets.count(), 0) << where;
                EXPECT_EQ(texts(list), shown) << where;
                break;
            case 7:
            case 8: // Enter on the row chosen, maybe clicked first
                if (action == 8 && under.isValid())
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualRect(under).center());
                list->setFocus(Qt::MouseFocusReason);
                burst(Qt::Key_Return);
                settle();
                EXPECT_EQ(resets.count(), 0) << where;
                expectPickOf(list->currentIndex());
                break;
            default: // a double-click as the window system delivers it
                if (under.isValid()) {
                    const QPoint at = list->visualRect(under).center();
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                    settle();
                    EXPECT_EQ(list->currentIndex().row(), under.row()) << where;
                    if (panel->kind() == SearchPanel::Kind::Card)
                        expectPickOf(under);
                    else
                        EXPECT_EQ(picked.count(), 0) << where;
                }
            }
            if (HasFatalFailure())
                return;
        }
        panel->hide();
    }
}
