#include "CatalogueTestSupport.h"

#include "catalogue/BookListQuery.h"
#include "core/Pattern.h"

#include "PatternSamples.h"

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
    for (const QString &typed : {"", "a", "ad", "adv", "advanced", "advanced ", "adv", "k", "ke"})
        check({QString(), typed});
    check({"9", "ke"});
    check({"90", "ke"});
    check({"90", "k"});

    // This connection adds a book the narrowed list must show.
    check({QString(), "adv"});
    addBook(90, {{"AccessionNo", "1"},
                 {"title", "Advanced Zoology"},
                 {"Subject", "Z"},
                 {"Edition", "1st"},
                 {"OT11", "Rack 9"}});
    check({QString(), "advanced"});
    // Another program changes a title.
    {
        auto other = Database::open(Module::CompanyDb->path());
        other->execute("UPDATE Book SET title = 'Advanced Botany' WHERE BookID = 1");
    }
    check({QString(), "advanced b"});
    check({QString(), "advanced bo"});
}
