#pragma once

#include "core/AppError.h"
#include "core/RowChangeLog.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class ListRows;
class Recordset;

// One open database file of the program. Every file is encrypted with the program's key; values are
// always bound, never pasted into SQL text.
class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing file; a missing file, a wrong key or a damaged file is an AppError.
    static std::shared_ptr<Database> open(const QString &path);
    // How many decrypted pages a reader keeps: its share of a connection's, for reads that come
    // again, or few, for a read that passes over each page once and closes.
    enum class ReaderCache { Share, Few };
    // A second, read-only connection to a file for a read beside the main one's. It never waits
    // for a lock: where the main connection holds a read open, waiting could only end when a
    // writer of another program gave up. Its own readers keep no more pages than it does.
    static std::shared_ptr<Database> openReader(const QString &path,
                                                ReaderCache cache = ReaderCache::Share);
    // The first count readers of this file (see openReader), those missing opened side by side, and
    // kept with this connection, so that their page caches stay warm from one read to the next.
    // Each serves one thread at a time. An AppError when one cannot be opened.
    std::vector<Database *> readers(int count);
    // Makes a new, empty encrypted file; used by the build tool and the tests.
    static std::shared_ptr<Database> create(const QString &path);

    // Runs one statement; returns the number of rows it changed.
    int execute(const QString &sql, const QVariantList &values = {});
    // Runs several statements separated by ';' (schema scripts); no values.
    void executeScript(const QString &sql);
    Recordset query(const QString &sql, const QVariantList &values = {});
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {});

    bool hasTable(const QString &table);
    QStringList columns(const QString &table);

    const QString &path() const { return path_; }
    // A transaction of this connection is open: its writes are not yet seen by others.
    bool inTransaction() const;
    sqlite3 *handle() const { return db_; }
    // The rows this connection changed, by table and key.
    const RowChangeLog &rowChanges() const { return *rowChanges_; }

    // The program's raw key as a hex text, derived once per process.
    static const QByteArray &keyHex();
    // Gives a connection just opened the key (by default the program's) and the one file format
    // of every file of the program, before its first read: every connection, the program's and the
    // tests' own, goes through here, so that a file written by one release of the encryption
    // library opens with any other. The key is checked only at the first read. SQLite's result.
    static int applyKey(sqlite3 *db, const QByteArray &hexKey = keyHex());

    // Test hook: makes a chosen write fail with an AppError, so every save can be tested for
    // leaving nothing half-written. A write is any statement that is not a SELECT.
    struct FailureHook
    {
        int failOnWrite = 0; // fail the Nth write from now (1 = the next); 0 = off
        QString failOnTable; // fail the next write that names this table; empty = off
        // Runs once, just before the next write transaction begins: another program writing in
        // the moment before this one takes the lock.
        std::function<void()> beforeNextTransaction = nullptr;
    };
    static void setFailureHook(const FailureHook &hook);
    static void clearFailureHook() { setFailureHook({}); }

private:
    Database(sqlite3 *db, const QString &path);
    static std::shared_ptr<Database> open(const QString &path, int flags, int busyTimeoutMs,
                                          int cacheKiB);
    sqlite3_stmt *prepare(const QString &sql, const QVariantList &values);
    sqlite3_stmt *compile(const QString &sql);
    void bind(sqlite3_stmt *statement, const QString &sql, const QVariantList &values);
    // The statement of a write, prepared at its first run and kept for the next ones.
    sqlite3_stmt *kept(const QString &sql);
    void forget(sqlite3_stmt *statement);
    void checkFailureHook(const QString &sql);
    [[noreturn]] void fail(int code, const QString &context = QString());

    sqlite3 *db_ = nullptr;
    QString path_;
    // The writes run last, most recent first: an import runs one INSERT for every row, and
    // preparing it costs more than running it.
    struct Kept
    {
        QString sql;
        sqlite3_stmt *statement;
    };
    static constexpr size_t KeptStatements = 16;
    std::vector<Kept> kept_;
    int cacheKiB_ = 0;
    int busyTimeoutMs_ = 0;
    std::vector<std::shared_ptr<Database>> readers_;
    std::unique_ptr<RowChangeLog> rowChanges_;
    friend class Recordset;
    friend class Transaction;
};

// A forward-only cursor over the rows of a query. Fields are read by name without regard to case.
class Recordset
{
public:
    Recordset(Recordset &&other) noexcept;
    Recordset &operator=(Recordset &&other) noexcept;
    ~Recordset();

    bool eof() const { return eof_; }
    void moveNext();
    // Ends the read before the recordset goes: a write transaction of the same database must not
    // begin while a read is open, or it fails at once on another program's lock instead of waiting.
    void close();

    QVariant field(const QString &name) const;
    QVariant field(int index) const;
    QString text(const QString &name) const { return field(name).toString(); }
    // The field as a list shows it: numbers written plainly, NULL as an empty text.
    QString displayText(int index) const;
    // The same text added to a list's row straight from the stored bytes.
    void addDisplayText(int index, ListRows &rows) const;
    // The field as SQLite gives it as a whole number or as UTF-8 text, without a QVariant for a
    // read of many rows: the text lasts until the next move.
    qint64 integer(int index) const;
    QByteArrayView utf8(int index) const;
    double number(const QString &name) const { return field(name).toDouble(); }
    int columnCount() const { return names_.size(); }
    const QStringList &columnNames() const { return names_; }
    int columnIndex(const QString &name) const { return index_.value(name.toLower(), -1); }

private:
    friend class Database;
    Recordset(Database *db, sqlite3_stmt *statement);
    void step();

    Database *db_ = nullptr;
    sqlite3_stmt *statement_ = nullptr;
    QStringList names_;
    QHash<QString, int> index_;
    bool eof_ = true;
};

// Changes of more than one statement run inside one: committed whole, or rolled back on any exit
// without commit().
class Transaction
{
public:
    // Whether beginning waits while another program writes, or fails at once with SQLITE_BUSY
    // (for a write that can as well be made at a later time).
    enum class Wait { WhileLocked, Never };
    explicit Transaction(Database &db, Wait wait = Wait::WhileLocked);
    ~Transaction();
    void commit();

private:
    Database &db_;
    bool done_ = false;
};
