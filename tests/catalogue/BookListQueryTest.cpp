#include "CatalogueTestSupport.h"

#include "catalogue/BookListQuery.h"
#include "core/AppError.h"
#include "core/PartedRead.h"
#include "core/Pattern.h"

#include <QElapsedTimer>
#include <atomic>

#include "PatternSamples.h"

// A filter of the two boxes most tests type into.
BookListQuery::Filter filterOf(const QString &accessionNo, const QString &title)
{
    BookListQuery::Filter filter;
    filter.accessionNo = accessionNo;
    filter.title = title;
    return filter;
}

class BookListQueryTest : public CatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        const QStringList titles = PatternSamples::texts();
        int key = 0;
        for (const QString &title : titles) {
            ++key;
            // Accession numbers out of key order, some twice, so the order is the list's own.
            addBook(key, {{"AccessionNo", QString::number(100 - key % 7 * 10)},
                          {"title", title},
                          {"Subject", key % 3 ? title : QStringLiteral("Kids")},
                          {"Edition", key % 5 ? QStringLiteral("2nd") : QStringLiteral("50%")},
                          {"OT11", key % 4 ? QStringLiteral("Rack [1]") : QStringLiteral("Rack 2")},
                          {"OT14", QString::number(key)}});
        }
        addBook(++key, {{"AccessionNo", "7"},
                        {"Subject", "Fiction"},
                        {"Edition", "1st"},
                        {"OT11", "Rack 1"}}); // no title
        addBook(++key, {{"AccessionNo", "8"},
                        {"title", "Advanced"},
                        {"Edition", "1st"},
                        {"OT11", "Rack 1"}}); // no subject
    }

    // What the pattern function alone lists: the reference the faster filters must equal.
    QStringList expected(const BookListQuery::Filter &filter)
    {
        QStringList conditions;
        QVariantList values;
        const std::pair<const char *, const QString *> tests[] = {
            {"AccessionNo", &filter.accessionNo},
            {"title", &filter.title},
            {"Subject", &filter.subject},
            {"Edition", &filter.edition},
            {"OT11", &filter.location}};
        for (const auto &[column, typed] : tests) {
            conditions << QString("Pattern(%1, ?)").arg(column);
            values << Pattern::prefix(*typed);
        }
        QStringList keys;
        for (Recordset rs = Module::CompanyDb->query("SELECT BookID FROM Book WHERE " +
                                                         conditions.join(" AND ") +
                                                         " ORDER BY Val(AccessionNo), BookID",
                                                     values);
             !rs.eof(); rs.moveNext())
            keys << rs.displayText(0);
        return keys;
    }

    static QStringList keys(const ListRows &rows)
    {
        QStringList keys;
        for (int row = 0; row < rows.size(); ++row)
            keys << rows.text(row, 0);
        return keys;
    }
    static QList<QStringList> texts(const ListRows &rows)
    {
        QList<QStringList> all;
        for (int row = 0; row < rows.size(); ++row)
            all << rows.texts(row);
        return all;
    }
};

// Title, subject, edition and location answer through SQLite's own matching where it finds the
// same rows; on letters it cannot fold and on pattern characters they list what the pattern lists.
TEST_F(BookListQueryTest, TextFiltersListWhatThePatternLists)
{
    const QStringList typedTexts = PatternSamples::typed() + QStringList{"Rack [", "'"};
    for (const QString &typed : typedTexts) {
        for (int box = 1; box < 5; ++box) {
            BookListQuery::Filter filter;
            QString *boxes[] = {&filter.accessionNo, &filter.title, &filter.subject,
                                &filter.edition, &filter.location};
            *boxes[box] = typed;
            EXPECT_EQ(keys(BookListQuery::rows(*Module::CompanyDb, filter)), expected(filter))
                << "box " << box << ": " << typed.toStdString();
        }
    }
}

// Typing on, deleting and retyping: every load equals a fresh query, also when the catalogue
// changes in between through this connection or another program's.
TEST_F(BookListQueryTest, LoadsOneAfterAnotherEqualAFreshQuery)
{
    BookListQuery::Loader loader;
    const auto check = [&](const BookListQuery::Filter &filter) {
        const ListRows fresh = BookListQuery::rows(*Module::CompanyDb, filter);
        EXPECT_EQ(texts(loader.rows(Module::CompanyDb, filter)), texts(fresh))
            << filter.title.toStdString() << " / " << filter.accessionNo.toStdString();
        EXPECT_EQ(keys(fresh), expected(filter));
    };
    for (const QString typed : {"", "a", "ad", "adv", "advanced", "advanced ", "adv", "k", "ke"})
        check(filterOf(QString(), typed));
    check(filterOf("9", "ke"));
    check(filterOf("90", "ke"));
    check(filterOf("90", "k"));

    // This connection adds a book the narrowed list must show.
    check(filterOf(QString(), "adv"));
    addBook(90, {{"AccessionNo", "1"},
                 {"title", "Advanced Zoology"},
                 {"Subject", "Z"},
                 {"Edition", "1st"},
                 {"OT11", "Rack 9"}});
    check(filterOf(QString(), "advanced"));
    // Another program changes a title.
    {
        auto other = Database::open(Module::CompanyDb->path());
        other->execute("UPDATE Book SET title = 'Advanced Botany' WHERE BookID = 1");
    }
    check(filterOf(QString(), "advanced b"));
    check(filterOf(QString(), "advanced bo"));
}

// A box typed back to a shorter text, or several boxes changed at once, list what a fresh query
// lists; while the file is unchanged the rows come from the list read before, without reading the
// file again, and once another program commits they are read anew.
TEST_F(BookListQueryTest, ShorterAndSeveralChangedBoxesEqualAFreshQuery)
{
    // Keys far apart, so that a query is read in parts and each one is seen.
    addBook(400001, {{"AccessionNo", "95"},
                     {"title", "Advanced Physics"},
                     {"Subject", "Science"},
                     {"Edition", "2nd"},
                     {"OT11", "Rack [1]"}});
    std::atomic<int> queries = 0;
    PartedRead::setPartHook([&](int part, bool reading) {
        if (part == 0 && !reading)
            ++queries;
    });
    BookListQuery::Loader loader;
    const auto check = [&](const BookListQuery::Filter &filter) {
        const ListRows listed = loader.rows(Module::CompanyDb, filter);
        const int before = queries;
        EXPECT_EQ(texts(listed), texts(BookListQuery::rows(*Module::CompanyDb, filter)))
            << filter.title.toStdString() << " / " << filter.accessionNo.toStdString();
        queries = before;
        EXPECT_EQ(keys(listed), expected(filter));
    };
    const bool parted = PartedRead::parts() > 1;
    check({});
    EXPECT_EQ(queries, parted ? 1 : 0);
    for (const QString typed : {"adv", "advanced p", "adv", "", "k", "ke", "k", "a"})
        check(filterOf(QString(), typed));
    check(filterOf("9", "adv"));
    check(filterOf("95", "advanced"));
    check(filterOf("9", QString()));
    BookListQuery::Filter several = filterOf("9", "a");
    several.subject = "sc";
    several.edition = "2";
    several.location = "rack [";
    check(several);
    several.location.clear();
    check(several);
    check({});
    // The whole list read at the first load answered every one of them.
    EXPECT_EQ(queries, parted ? 1 : 0);

    // Another program renames the book: the shorter text lists it as it is now.
    check(filterOf(QString(), "advanced p"));
    {
        auto other = Database::open(Module::CompanyDb->path());
        other->execute("UPDATE Book SET title = 'Adventure' WHERE BookID = 400001");
    }
    check(filterOf(QString(), "adv"));
    EXPECT_EQ(queries, parted ? 2 : 0);
    check(filterOf(QString(), "advanced p"));
    check({});
    EXPECT_EQ(queries, parted ? 3 : 0);
    PartedRead::setPartHook({});
}

// A catalogue whose keys span 400,000 is read in parts, one per range of keys: with the books
// at the ranges' ends, the parts list the same rows in the same order as one statement does.
TEST_F(BookListQueryTest, ALargeCatalogueReadInPartsListsWhatOneStatementLists)
{
    const int edges[] = {100000, 100001, 200000, 200001, 300000, 300001, 400001, 250000, 7777};
    for (const int key : edges)
        addBook(key, {{"AccessionNo", QString::number(key % 13)},
                      {"title", key % 2 ? "Advanced Algebra" : "Ärzte"},
                      {"Subject", "Maths"},
                      {"Edition", "1st"},
                      {"OT11", "Rack 3"},
                      {"Cost", key / 3.0}});
    for (const BookListQuery::Filter &filter :
         {BookListQuery::Filter{}, filterOf(QString(), "adv"), filterOf("1", QString()),
          filterOf(QString(), "är")}) {
        const QList<QStringList> whole = texts(BookListQuery::rows(*Module::CompanyDb, filter, 1));
        EXPECT_EQ(keys(BookListQuery::rows(*Module::CompanyDb, filter, 1)), expected(filter));
        for (const int parts : {2, 3, 4})
            EXPECT_EQ(texts(BookListQuery::rows(*Module::CompanyDb, filter, parts)), whole)
                << parts << " parts, title " << filter.title.toStdString();
    }
}

// The parts see one state of the file: what this connection has not committed yet is listed, what
// another program is committing is not, and a part that meets that program's lock gives way to one
// statement instead of waiting for it.
TEST_F(BookListQueryTest, PartsListOneStateOfTheFile)
{
    addBook(400001, {{"AccessionNo", "1"},
                     {"title", "Far"},
                     {"Subject", "S"},
                     {"Edition", "1st"},
                     {"OT11", "Rack 1"}});
    const auto listed = [] { return keys(BookListQuery::rows(*Module::CompanyDb, {}, 4)); };
    const QStringList before = listed();
    ASSERT_TRUE(before.contains("400001"));

    {
        Transaction transaction(*Module::CompanyDb);
        addBook(200000, {{"AccessionNo", "2"},
                         {"title", "Mine"},
                         {"Subject", "S"},
                         {"Edition", "1st"},
                         {"OT11", "Rack 1"}});
        EXPECT_TRUE(listed().contains("200000"));
    }
    EXPECT_EQ(listed(), before);

    // The other program has written and waits to commit: it holds the lock that keeps new readers
    // out until this connection's read is over.
    Recordset reading = Module::CompanyDb->query("SELECT BookID FROM Book");
    auto other = Database::open(Module::CompanyDb->path());
    other->scalar("PRAGMA busy_timeout = 0");
    other->execute("BEGIN IMMEDIATE");
    other->execute("INSERT INTO Book (BookID, AccessionNo, title, Subject, Edition, OT11) "
                   "VALUES (300000, '3', 'Theirs', 'S', '1st', 'Rack 1')");
    EXPECT_THROW(other->execute("COMMIT"), AppError);
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(listed(), before);
    EXPECT_LT(waited.elapsed(), 1000);
    reading.close();
    other->execute("COMMIT");
    EXPECT_TRUE(listed().contains("300000"));
}

// In WAL mode another program commits while a list is read: the list is still one state of the
// file. Here it renames a book at each end of the catalogue in one commit, after the first part of
// a side-by-side read has begun and before the last one starts.
TEST_F(BookListQueryTest, AFileInWalModeListsOneStateWhileAnotherProgramCommits)
{
    for (const int key : {100000, 200001})
        addBook(key, {{"AccessionNo", QString::number(key)},
                      {"title", "Before"},
                      {"Subject", "S"},
                      {"Edition", "1st"},
                      {"OT11", "Rack 1"}});
    ASSERT_EQ(Module::CompanyDb->scalar("PRAGMA journal_mode = WAL").toString(), "wal");
    auto other = Database::open(Module::CompanyDb->path());
    std::atomic<bool> committed = false;
    PartedRead::setPartHook([&](int part, bool reading) {
        if (part == 0 && reading) {
            Transaction transaction(*other);
            other->execute("UPDATE Book SET title = 'After' WHERE BookID IN (100000, 200001)");
            transaction.commit();
            committed = true;
        } else if (part == 1 && !reading) {
            waitFor([&] { return committed.load(); });
        }
    });
    const ListRows rows = BookListQuery::rows(*Module::CompanyDb, {}, 2);
    PartedRead::setPartHook({});
    QStringList titles;
    for (int row = 0; row < rows.size(); ++row)
        if (rows.text(row, 0) == "100000" || rows.text(row, 0) == "200001")
            titles << rows.text(row, 2);
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[0], titles[1]);
    EXPECT_EQ(keys(BookListQuery::rows(*Module::CompanyDb, {}, 2)), expected({}));
}
