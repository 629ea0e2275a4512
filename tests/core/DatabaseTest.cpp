#include "LockHolder.h"
#include "PatternSamples.h"
#include "PinnedCores.h"
#include "ProgramTest.h"

#include "core/Database.h"
#include "core/ListRows.h"
#include "core/Module.h"
#include "core/PartedRead.h"
#include "core/Pattern.h"
#include "core/SqliteMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <sqlcipher/sqlite3.h>
#include <vector>

class DatabaseTest : public ProgramTest
{
};

TEST_F(DatabaseTest, OpensOnlyWithTheProgramKeyAndNeverCreatesAFile)
{
    const QString file = path("Companies12.mdb");
    EXPECT_NO_THROW(Database::open(file));

    // Without the key the file reads as no database at all.
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    EXPECT_NE(sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
              SQLITE_OK);
    Database::applyKey(raw, QByteArray(64, 'a'));
    EXPECT_NE(sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);

    const QString missing = path("Nothing.mdb");
    try {
        Database::open(missing);
        FAIL() << "a missing file opened";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 3024);
    }
    EXPECT_FALSE(QFile::exists(missing));

    QFile plain(path("plain.mdb"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("this is no database at all, just some bytes that fill a page........");
    plain.close();
    EXPECT_THROW(Database::open(plain.fileName()), AppError);
}

// One file format whichever release of the encryption library writes: a company file written by
// the oldest release the program runs on (1 KiB pages, HMAC-SHA1) opens, reads and takes writes,
// and a file the program makes opens in the library's shell with the settings the README gives.
TEST_F(DatabaseTest, EveryFileIsInTheFormatOfTheOldestLibraryRelease)
{
    const QString old = path("Old.mdb");
    ASSERT_TRUE(QFile::copy(LD_TEST_FIXTURE_DIR "/CompanyOfSqlcipher3.mdb", old));
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
    {
        auto db = Database::open(old);
        EXPECT_EQ(db->scalar("PRAGMA integrity_check").toString(), "ok");
        EXPECT_EQ(db->scalar("SELECT title FROM Book WHERE Status = 'Issue'").toString(),
                  "The Jungle Book");
        for (Database *reader : db->readers(2))
            EXPECT_EQ(reader->scalar("SELECT count(*) FROM Book").toInt(), 3);
        // Enough rows for new pages, of every kind, in the file.
        Transaction t(*db);
        for (int id = 4; id <= 600; ++id)
            db->execute("INSERT INTO Book (BookID, AccessionNo, title, Status) VALUES (?, ?, ?, ?)",
                        {id, QString::number(id), QString("Book %1").arg(id), "Available"});
        db->execute("UPDATE Company SET city = 'Solan'");
        t.commit();
    }
    auto again = Database::open(old);
    EXPECT_EQ(again->scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(again->scalar("SELECT count(*) FROM Book").toInt(), 600);
    EXPECT_EQ(again->scalar("SELECT city FROM Company").toString(), "Solan");
    EXPECT_EQ(again->scalar("PRAGMA cipher_page_size").toInt(), 1024);

    const QString made = path("New.mdb");
    Database::create(made)->execute("CREATE TABLE Shelf (Name TEXT)");
    // The shell's way: the key, then the format by its number, which the old release, knowing
    // only its own, ignores.
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(made.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    const QByteArray key = "PRAGMA key = \"x'" + Database::keyHex() + "'\"";
    EXPECT_EQ(sqlite3_exec(raw, key.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, "SELECT count(*) FROM Shelf", nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(raw);
    sqlite3_close(raw);
}

TEST_F(DatabaseTest, ValReadsTheLeadingNumber)
{
    auto db = Database::open(path("Companies12.mdb"));
    auto val = [&](const QVariant &v) { return db->scalar("SELECT Val(?)", {v}); };
    EXPECT_EQ(val("  12abc").toDouble(), 12);
    EXPECT_EQ(val("-3.5.2").toDouble(), -3.5);
    EXPECT_EQ(val("abc").toDouble(), 0);
    EXPECT_EQ(val("").toDouble(), 0);
    EXPECT_EQ(val("+7").toDouble(), 7);
    EXPECT_TRUE(val(QVariant()).isNull());
    // Numbering and ordering of accession numbers follow it.
    db->executeScript(
        "CREATE TABLE t(a TEXT COLLATE NOCASE); INSERT INTO t VALUES('10'),('9'),('100A'),('x');");
    Recordset rs = db->query("SELECT a FROM t ORDER BY Val(a)");
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.text("A");
    EXPECT_EQ(order, QStringList({"x", "9", "10", "100A"}));
    EXPECT_EQ(db->scalar("SELECT max(Val(a)) + 1 FROM t").toDouble(), 101);
}

TEST_F(DatabaseTest, PatternRulesIgnoreCaseAndNullNeverMatches)
{
    using Pattern::matches;
    EXPECT_TRUE(matches("Gita Rahasya", "gita*"));
    EXPECT_FALSE(matches("The Gita", "gita*"));
    EXPECT_TRUE(matches("B12", "?1#"));
    EXPECT_FALSE(matches("B1x", "?1#"));
    EXPECT_TRUE(matches("cat", "[bc]at"));
    EXPECT_FALSE(matches("cat", "[!bc]at"));
    EXPECT_TRUE(matches("m", "[a-z]"));
    EXPECT_TRUE(matches("", "*"));
    EXPECT_TRUE(matches("50% off", Pattern::prefix("50%")));
    EXPECT_FALSE(matches("a1", Pattern::prefix("a*")));
    EXPECT_TRUE(matches("a*1", Pattern::prefix("a*")));

    auto db = Database::open(path("Companies12.mdb"));
    db->executeScript(
        "CREATE TABLE t(a TEXT COLLATE NOCASE); INSERT INTO t VALUES('Alpha'),(NULL),('beta');");
    EXPECT_EQ(db->scalar("SELECT count(*) FROM t WHERE Pattern(a, ?)", {"*"}).toInt(), 2);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM t WHERE Pattern(a, ?)", {"AL*"}).toInt(), 1);
    // Text compares ignore case everywhere.
    EXPECT_EQ(db->scalar("SELECT count(*) FROM t WHERE a = ?", {"ALPHA"}).toInt(), 1);
    // A quote in a value is just a character.
    EXPECT_EQ(db->scalar("SELECT count(*) FROM t WHERE a = ?", {"x' OR '1'='1"}).toInt(), 0);
}

TEST_F(DatabaseTest, FieldsReadByNameWithoutRegardToCase)
{
    auto db = Database::open(path("Companies12.mdb"));
    Recordset rs = db->query("SELECT * FROM Path");
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("DEFAULTPATH"), "Data");
    EXPECT_TRUE(rs.field("od1").isNull());
    EXPECT_THROW(rs.field("NoSuchField"), AppError);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.field(0), AppError);
}

TEST_F(DatabaseTest, InjectedFailureRollsBackTheWholeTransaction)
{
    auto db = Database::open(path("Companies12.mdb"));
    db->executeScript("CREATE TABLE a(x); CREATE TABLE b(y);");
    Database::setFailureHook({0, "b"});
    try {
        Transaction t(*db);
        db->execute("INSERT INTO a VALUES(?)", {1});
        db->execute("INSERT INTO b VALUES(?)", {2});
        t.commit();
        FAIL() << "the write on b did not fail";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number(), 3146);
    }
    EXPECT_EQ(db->scalar("SELECT count(*) FROM a").toInt(), 0);

    // The hook fires once; the Nth-write form counts writes only, not reads.
    Database::setFailureHook({2, ""});
    db->scalar("SELECT count(*) FROM a");
    EXPECT_NO_THROW(db->execute("INSERT INTO a VALUES(1)"));
    EXPECT_THROW(db->execute("INSERT INTO a VALUES(2)"), AppError);
    EXPECT_NO_THROW(db->execute("INSERT INTO a VALUES(3)"));
    EXPECT_EQ(db->scalar("SELECT count(*) FROM a").toInt(), 2);
}

TEST_F(DatabaseTest, AWriteRunAgainAndAgainKeepsEachRunsValuesOnly)
{
    auto db = Database::open(path("Companies12.mdb"));
    db->executeScript("CREATE TABLE k(id INTEGER PRIMARY KEY, a, b);");
    const QString insert = "INSERT INTO k (id, a, b) VALUES (?, ?, ?)";
    EXPECT_EQ(db->execute(insert, {1, "one", 1.5}), 1);
    // A run with fewer values leaves the rest NULL, not the last run's values.
    db->execute(insert, {2});
    EXPECT_TRUE(db->scalar("SELECT a FROM k WHERE id = 2").isNull());
    // A failed run is reported and the next one still works.
    EXPECT_THROW(db->execute(insert, {1, "again"}), AppError);
    db->execute(insert, {3, "three"});
    // A changed table is seen by the same statement text.
    db->executeScript("ALTER TABLE k ADD COLUMN c DEFAULT 'c';");
    db->execute(insert, {4, "four"});
    EXPECT_EQ(db->scalar("SELECT c FROM k WHERE id = 4").toString(), "c");
    // The failure hook still counts every run of a kept statement.
    Database::setFailureHook({2, ""});
    db->execute(insert, {5});
    EXPECT_THROW(db->execute(insert, {6}), AppError);
    Database::setFailureHook({0, "k"});
    EXPECT_THROW(db->execute(insert, {7}), AppError);
    Database::clearFailureHook();
    // Many other statements in between push it out and bring it back.
    for (int i = 0; i < 40; ++i)
        db->execute("UPDATE k SET b = ?" + QString(i, ' ') + " WHERE id = 1", {i});
    db->execute(insert, {8, "eight"});
    EXPECT_EQ(db->scalar("SELECT group_concat(id) FROM k").toString(), "1,2,3,4,5,8");
    EXPECT_EQ(db->scalar("SELECT b FROM k WHERE id = 1").toInt(), 39);
    // A kept statement holds no lock: another connection writes at once.
    auto other = Database::open(path("Companies12.mdb"));
    EXPECT_NO_THROW(other->execute("INSERT INTO k (id) VALUES (9)"));
}

TEST_F(DatabaseTest, EveryPackagedDatabaseHasItsTablesAndRows)
{
    openApplicationDatabases();
    EXPECT_EQ(Module::CommonDb->scalar("SELECT count(*) FROM Path").toInt(), 1);
    EXPECT_TRUE(Module::CommonDb->hasTable("Printing"));
    EXPECT_TRUE(Module::CommonDb->hasTable("Company"));
    EXPECT_TRUE(Module::StickerDb->hasTable("Cake"));
    const QByteArray splash =
        Module::PackageDb->scalar("SELECT SplashPicture FROM Develop").toByteArray();
    EXPECT_TRUE(splash.startsWith("\x89PNG"));
    auto company = Database::open(path("DB/Vevezidora12_Backup.mdb"));
    for (const char *table :
         {"Book", "Card", "Group1", "Voucher", "Company", "FinancialYear", "Users", "Position",
          "UserProfile", "Login", "Account", "DbInfo", "Options"})
        EXPECT_TRUE(company->hasTable(table)) << table;
    EXPECT_FALSE(company->hasTable("Warning"));
    EXPECT_EQ(company->scalar("SELECT count(*) FROM Account WHERE AccountID = 1").toInt(), 1);
    EXPECT_EQ(company->scalar("SELECT count(*) FROM Options").toInt(), 1);
}

TEST_F(DatabaseTest, OpeningWaitsForAnotherProgramsLock)
{
    const QString file = path("Companies12.mdb");
    QElapsedTimer timer;
    timer.start();
    {
        LockHolder other(file, "BEGIN EXCLUSIVE", 400);
        auto db = Database::open(file);
        EXPECT_EQ(db->scalar("SELECT count(*) FROM Path").toInt(), 1);
    }
    EXPECT_GE(timer.elapsed(), 300);
}

// The readers of a connection open side by side and are kept: asking for fewer gives the first of
// those already open. Those a parted read uses keep no more pages together than the connection.
TEST_F(DatabaseTest, ReadersOpenSideBySideAndAreKept)
{
    auto db = Database::open(path("Companies12.mdb"));
    const std::vector<Database *> seven = db->readers(7);
    ASSERT_EQ(seven.size(), 7u);
    for (Database *reader : seven)
        EXPECT_EQ(reader->scalar("SELECT count(*) FROM Path").toInt(), 1);
    EXPECT_EQ(db->readers(2), std::vector<Database *>(seven.begin(), seven.begin() + 2));

    const auto cacheKiB = [](Database *connection) {
        return -connection->scalar("PRAGMA cache_size").toLongLong();
    };
    qint64 together = 0;
    for (Database *reader : db->readers(PartedRead::parts() - 1))
        together += cacheKiB(reader);
    EXPECT_LE(together, cacheKiB(db.get()));
    EXPECT_GE(cacheKiB(seven[0]), cacheKiB(db.get()) / 7);

    // A read that passes over its pages once keeps few, on its readers too.
    auto once = Database::openReader(path("Companies12.mdb"), Database::ReaderCache::Few);
    EXPECT_LT(cacheKiB(once.get()), cacheKiB(seven[0]));
    for (Database *reader : once->readers(3))
        EXPECT_LE(cacheKiB(reader), cacheKiB(once.get()));
}

// A program started under taskset reads in as many parts as the cores it may run on, so that its
// readers never outnumber them.
TEST_F(DatabaseTest, PartsFollowTheCoresTheProgramMayRunOn)
{
    PinnedCores pinned;
    ASSERT_GT(pinned.count(), 0);
    for (int count = 1; count <= pinned.fewest(); ++count) {
        ASSERT_TRUE(pinned.pinTo(count));
        EXPECT_EQ(PartedRead::parts(), count);
    }
    ASSERT_TRUE(pinned.giveBack());
    EXPECT_EQ(PartedRead::parts(), std::min(pinned.count(), 8));
}

// Decrypted pages go to buffers of their own size, given back when their connection closes.
TEST_F(DatabaseTest, PagesAreReadIntoPageBuffers)
{
    const long before = SqliteMemory::buffersInUse();
    {
        auto db = Database::open(path("Companies12.mdb"));
        db->scalar("SELECT count(*) FROM Path");
        const long mainOnly = SqliteMemory::buffersInUse();
        EXPECT_GT(mainOnly, before);
        for (Database *reader : db->readers(3))
            reader->scalar("SELECT count(*) FROM Path");
        EXPECT_GT(SqliteMemory::buffersInUse(), mainOnly);
    }
    EXPECT_EQ(SqliteMemory::buffersInUse(), before);
}

// The page buffers' memory is asked for in large pages: a first read of a large list touches tens
// of thousands of buffers, and on some machines each small page costs a fault of its own.
TEST_F(DatabaseTest, PageBuffersAreAskedForInLargePages)
{
    if (!QFile::exists("/sys/kernel/mm/transparent_hugepage/enabled"))
        GTEST_SKIP() << "the system has no large pages for programs";
    // A request of a 1 KiB page and its header is served from the page buffers.
    void *buffer = sqlite3_malloc(1030);
    ASSERT_TRUE(buffer);
    const auto address = reinterpret_cast<quintptr>(buffer);
    QFile maps("/proc/self/smaps");
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    bool inside = false;
    QByteArray flags;
    for (QByteArray line = maps.readLine(); !line.isEmpty(); line = maps.readLine()) {
        const int dash = line.indexOf('-');
        const int space = line.indexOf(' ');
        bool start = false, end = false;
        const quintptr from = line.left(dash).toULongLong(&start, 16);
        const quintptr to = line.mid(dash + 1, space - dash - 1).toULongLong(&end, 16);
        if (dash > 0 && space > dash && start && end)
            inside = from <= address && address < to;
        else if (inside && line.startsWith("VmFlags:"))
            flags = line.mid(8).simplified();
    }
    sqlite3_free(buffer);
    EXPECT_TRUE(flags.split(' ').contains("hg")) << flags.constData();
}

// Every page size a file may have, SQLCipher 3's 1 KiB and 4's 4 KiB among them, reads into page
// buffers; when the connection closes they go back, and the memory they held goes back to the
// system, but for a few chunks kept for the next read.
TEST_F(DatabaseTest, PagesOfEverySizeGoToPageBuffersAndTheirMemoryIsGivenBack)
{
    constexpr qint64 Bytes = qint64(32) << 20;
    constexpr size_t Kept = size_t(18) << 20; // the chunks kept, and one begun
    for (const int pageBytes : {1024, 4096, 65536}) {
        const QByteArray file = path(QString("pages%1.db").arg(pageBytes)).toUtf8();
        sqlite3 *raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.constData(), &raw), SQLITE_OK);
        const QByteArray make = QString("PRAGMA page_size = %1; CREATE TABLE t(b BLOB); "
                                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                        "FROM n WHERE i < %2) INSERT INTO t SELECT randomblob(%3) "
                                        "FROM n;")
                                    .arg(pageBytes)
                                    .arg(Bytes / (pageBytes / 2))
                                    .arg(pageBytes / 2 - 40)
                                    .toUtf8();
        ASSERT_EQ(sqlite3_exec(raw, make.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);

        const long buffers = SqliteMemory::buffersInUse();
        ASSERT_EQ(sqlite3_open_v2(file.constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, "PRAGMA cache_size = -131072; SELECT sum(length(b)) FROM t",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        EXPECT_GE(SqliteMemory::buffersInUse() - buffers, Bytes / pageBytes * 9 / 10) << pageBytes;
        const size_t reading = SqliteMemory::residentBytes();
        EXPECT_GE(reading, size_t(Bytes)) << pageBytes;
        sqlite3_close(raw);
        EXPECT_EQ(SqliteMemory::buffersInUse(), buffers) << pageBytes;
        EXPECT_LE(SqliteMemory::residentBytes() + size_t(Bytes) - Kept, reading) << pageBytes;
    }
}

// The filter's fast paths (short ASCII values widened in place, the pattern kept per statement)
// answer as the plain rule does for every kind of value.
TEST_F(DatabaseTest, PatternInQueriesMatchesLongAndNonAsciiValues)
{
    auto db = Database::open(path("Companies12.mdb"));
    const QString longTitle = "Advanced " + QString(300, 'x');
    db->execute("CREATE TABLE t(a TEXT)");
    for (const QString &value : {QString("Ärzte und Äpfel"), QString("ärger"), longTitle,
                                 QString("Advanced Maths"), QString("Basic")})
        db->execute("INSERT INTO t VALUES(?)", {value});
    const auto count = [&](const QString &typed) {
        return db->scalar("SELECT count(*) FROM t WHERE Pattern(a, ?)", {Pattern::prefix(typed)})
            .toInt();
    };
    EXPECT_EQ(count("är"), 2);
    EXPECT_EQ(count("ÄRZ"), 1);
    EXPECT_EQ(count("advanced"), 2);
    EXPECT_EQ(count("Advanced xxx"), 1);
    EXPECT_EQ(count("b"), 1);
}

// List rows keep each row's own texts, numbers as the list writes them, and a new order.
TEST_F(DatabaseTest, ListRowsHoldTextsAsReadAndReorder)
{
    auto db = Database::open(path("Companies12.mdb"));
    db->executeScript("CREATE TABLE t(k INTEGER, a TEXT, c REAL);"
                      "INSERT INTO t VALUES (7, 'Grüße', 450), (8, NULL, 12.5), (9, '', -3)");
    ListRows rows;
    for (Recordset rs = db->query("SELECT k, a, c FROM t ORDER BY k"); !rs.eof(); rs.moveNext()) {
        rows.startRow();
        for (int column = 0; column < 3; ++column)
            rs.addDisplayText(column, rows);
    }
    rows.append({"short"});
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.texts(0), QStringList({"7", "Grüße", "450"}));
    EXPECT_EQ(rows.texts(1), QStringList({"8", "", "12.5"}));
    EXPECT_EQ(rows.texts(2), QStringList({"9", "", "-3"}));
    EXPECT_EQ(rows.textCount(3), 1);
    EXPECT_EQ(rows.text(3, 2), "");
    rows.reorder({3, 1, 0, 2});
    EXPECT_EQ(rows.text(0, 0), "short");
    EXPECT_EQ(rows.text(1, 2), "12.5");
    EXPECT_EQ(rows.text(2, 1), "Grüße");
    EXPECT_EQ(rows.texts(3), QStringList({"9", "", "-3"}));
}

// Appended rows follow in their order with their own texts; a list whose texts a subset still
// reads gives copies and the subset keeps its own.
TEST_F(DatabaseTest, ListRowsAppendAnotherListsRows)
{
    ListRows first;
    first.append({"1", "one"});
    ListRows second;
    second.append({"2", "two"});
    second.append({"3"});
    first.append(std::move(second));
    first.append({"4", "four"});
    ListRows shared;
    shared.append({"5", "five"});
    const ListRows subset = shared.subset({0});
    first.append(std::move(shared));
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first.texts(0), QStringList({"1", "one"}));
    EXPECT_EQ(first.texts(1), QStringList({"2", "two"}));
    EXPECT_EQ(first.texts(2), QStringList({"3"}));
    EXPECT_EQ(first.texts(3), QStringList({"4", "four"}));
    EXPECT_EQ(first.texts(4), QStringList({"5", "five"}));
    EXPECT_EQ(subset.texts(0), QStringList({"5", "five"}));
    ListRows empty;
    empty.append(std::move(first));
    EXPECT_EQ(empty.size(), 5);
}

// A filter over rows already read keeps exactly the rows the pattern function keeps for the same
// typed prefix, letter case, accents and pattern characters included; a subset shares the texts
// and goes on after its source is gone.
TEST_F(DatabaseTest, ListRowsFilterByPrefixAsThePatternDoes)
{
    const QStringList values = PatternSamples::texts();
    const QStringList typedTexts = PatternSamples::typed();
    std::vector<int> all;
    auto source = std::make_unique<ListRows>();
    for (const QString &value : values) {
        all.push_back(source->size());
        source->append({QString::number(all.size()), value});
    }
    for (const QString &typed : typedTexts) {
        QStringList expected;
        for (const QString &value : values)
            if (Pattern::matches(value, Pattern::prefix(typed)))
                expected << value;
        QStringList kept;
        for (const int row : source->beginningWith(all, 1, typed))
            kept << source->text(row, 1);
        EXPECT_EQ(kept, expected) << typed.toStdString();
    }
    ListRows some = source->subset({2, 0});
    source.reset();
    some.startRow();
    some.addText(QStringLiteral("added"));
    ASSERT_EQ(some.size(), 3);
    EXPECT_EQ(some.texts(0), QStringList({"3", QString::fromUtf8("ÀDVANCED")}));
    EXPECT_EQ(some.texts(1), QStringList({"1", "Advanced Maths"}));
    EXPECT_EQ(some.texts(2), QStringList({"added"}));
}

// The connection's own changes are known by key between two marks; a change SQLite counts without
// reporting its key, or one forgotten, leaves the keys unknown; another connection's are not its.
TEST_F(DatabaseTest, RowChangesTellTheKeysThisConnectionChanged)
{
    const auto db = Database::create(path("Changes.mdb"));
    db->executeScript("CREATE TABLE Shelf (ShelfID INTEGER PRIMARY KEY, Name TEXT);"
                      "CREATE TABLE Label (LabelID INTEGER PRIMARY KEY, Name TEXT)");
    const RowChangeLog &log = db->rowChanges();
    const RowChangeLog::Mark start = log.mark();
    db->execute("INSERT INTO Shelf (ShelfID, Name) VALUES (7, 'A'), (3, 'B'), (5, 'C')");
    db->execute("UPDATE Shelf SET Name = 'D' WHERE ShelfID = 7");
    db->execute("INSERT INTO Label (LabelID, Name) VALUES (9, 'x')");
    {
        Transaction transaction(*db);
        db->execute("DELETE FROM Shelf WHERE ShelfID = 3");
        db->execute("UPDATE Shelf SET Name = 'E' WHERE ShelfID = 5");
    } // rolled back: the rows were changed, and are read again by key all the same
    const RowChangeLog::Mark saved = log.mark();
    EXPECT_EQ(log.keysChanged(start, saved, "shelf"), (std::vector<qint64>{3, 5, 7}));
    EXPECT_EQ(log.keysChanged(start, saved, "Label"), (std::vector<qint64>{9}));
    EXPECT_EQ(log.keysChanged(saved, saved, "Shelf"), std::vector<qint64>{});

    const auto other = Database::open(path("Changes.mdb"));
    other->execute("UPDATE Shelf SET Name = 'F' WHERE ShelfID = 5");
    EXPECT_EQ(log.keysChanged(saved, log.mark(), "Shelf"), std::vector<qint64>{});

    // A DELETE of a whole table is counted, but SQLite names no key.
    db->execute("DELETE FROM Label");
    EXPECT_EQ(log.keysChanged(saved, log.mark(), "Shelf"), std::nullopt);

    const RowChangeLog::Mark beforeImport = log.mark();
    {
        Transaction transaction(*db);
        for (int id = 100; id < 10100; ++id)
            db->execute("INSERT INTO Label (LabelID, Name) VALUES (?, 'y')", {id});
        transaction.commit();
    }
    EXPECT_EQ(log.keysChanged(beforeImport, log.mark(), "Label"), std::nullopt);
    const RowChangeLog::Mark afterImport = log.mark();
    db->execute("UPDATE Label SET Name = 'z' WHERE LabelID = 100");
    EXPECT_EQ(log.keysChanged(afterImport, log.mark(), "Label"), std::vector<qint64>{100});
}

// A read that meets another program's lock fails without leaving its statement behind: the
// connection's next read ends with it, so other programs can still commit.
TEST_F(DatabaseTest, AReadThatMeetsALockLeavesTheFileFreeAfterTheNextRead)
{
    const QString file = path("Locked.mdb");
    Database::create(file)->execute("CREATE TABLE Shelf (Name TEXT)");
    const auto reader = Database::openReader(file);
    {
        LockHolder other(file, "BEGIN EXCLUSIVE", 10000);
        EXPECT_THROW(reader->query("SELECT count(*) FROM Shelf"), AppError);
    }
    EXPECT_EQ(reader->scalar("SELECT count(*) FROM Shelf").toInt(), 0);
    const auto writer = Database::open(file);
    QElapsedTimer waited;
    waited.start();
    EXPECT_NO_THROW(writer->execute("INSERT INTO Shelf (Name) VALUES ('A')"));
    EXPECT_LT(waited.elapsed(), 2000);
}
