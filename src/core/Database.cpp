#include "core/Database.h"

#include "core/CrashPoint.h"
#include "core/ListRows.h"
#include "core/Numbers.h"
#include "core/PartedRead.h"
#include "core/Pattern.h"
#include "core/SqliteMemory.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <openssl/evp.h>
#include <optional>
#include <sqlcipher/sqlite3.h>
#include <thread>
#include <utility>

namespace {

Database::FailureHook failureHook;

// How long a statement waits for another program's lock before it fails with error 5.
constexpr int BusyTimeoutMs = 5000;

// Decrypted pages kept by a connection, in KiB: room for a catalogue of 100,000 books and a year's
// vouchers (a scan larger than the cache would decrypt every page anew).
constexpr int CacheKiB = 131072;

// The readers of a connection share one such budget: each reads one part of a read cut into parts
// side by side, so it needs about that part of the pages. Without the share eight connections
// could each keep the whole budget.
int readerCacheKiB()
{
    static const int share = CacheKiB / std::max(1, PartedRead::parts() - 1);
    return share;
}

// A read that passes over each page once needs no more than the pages of the b-tree's levels; but
// a sort keeps its rows in memory only up to the cache's size, and writes the rest to a file. The
// parts of such a read share room for sorting a large table's listed columns: with one or two
// parts, each sorts half the table or all of it.
int fewPagesKiB()
{
    static const int few = std::max(4096, 32768 / PartedRead::parts());
    return few;
}

const char *const Password = "quietmaple";

// The one format every file is written in: SQLCipher 3's, the only one its 3.x releases write
// (later releases make another by default). A release that does not know a setting already uses
// its value and ignores it. The raw key skips the key derivation, but the key of the pages' HMAC
// is still derived from it with the derivation's algorithm.
constexpr char FileFormat[] = "PRAGMA cipher_page_size = 1024;"
                              "PRAGMA cipher_hmac_algorithm = HMAC_SHA1;"
                              "PRAGMA cipher_kdf_algorithm = PBKDF2_HMAC_SHA1;"
                              "PRAGMA kdf_iter = 64000;"
                              "PRAGMA cipher_plaintext_header_size = 0;";

void valFunction(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    if (sqlite3_value_type(args[0]) == SQLITE_INTEGER ||
        sqlite3_value_type(args[0]) == SQLITE_FLOAT) {
        sqlite3_result_double(context, sqlite3_value_double(args[0]));
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(args[0]));
    sqlite3_result_double(context, Numbers::leadingValue(text, sqlite3_value_bytes(args[0])));
}

void freePattern(void *pattern)
{
    delete static_cast<QString *>(pattern);
}

void patternFunction(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    // A filter runs the same pattern over every row: convert it once per statement.
    QString converted;
    const QString *pattern = static_cast<const QString *>(sqlite3_get_auxdata(context, 1));
    if (!pattern) {
        converted = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(args[1])));
        pattern = &converted;
        sqlite3_set_auxdata(context, 1, new QString(converted), freePattern);
    }
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(args[0]));
    const int length = sqlite3_value_bytes(args[0]);
    // Most values are plain ASCII and short: widen them on the stack instead of allocating.
    char16_t wide[256];
    bool ascii = length <= int(std::size(wide));
    for (int i = 0; ascii && i < length; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            ascii = false;
        else
            wide[i] = char16_t(bytes[i]);
    }
    const bool matched = ascii ? Pattern::matches(QStringView(wide, length), *pattern)
                               : Pattern::matches(QString::fromUtf8(bytes, length), *pattern);
    sqlite3_result_int(context, matched ? 1 : 0);
}

QString firstWord(const QString &sql)
{
    const QString trimmed = sql.trimmed();
    const int end = trimmed.indexOf(QRegularExpression(QStringLiteral("[\\s(]")));
    return (end < 0 ? trimmed : trimmed.left(end)).toUpper();
}

bool isWrite(const QString &sql)
{
    const QString word = firstWord(sql);
    return word != QLatin1String("SELECT") && word != QLatin1String("PRAGMA") &&
           word != QLatin1String("WITH") && word != QLatin1String("BEGIN") &&
           word != QLatin1String("COMMIT") && word != QLatin1String("ROLLBACK") &&
           word != QLatin1String("SAVEPOINT") && word != QLatin1String("RELEASE");
}

// Before SQLite starts: its memory statistics take a global lock at every allocation, and a
// large list's read allocates for every row. Nothing in the program reads them.
void configureSqlite()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        SqliteMemory::install();
        return true;
    }();
    (void)configured;
}

// Also at the program's start: SQLite takes no settings once a connection has been opened, and a
// test may open one of its own first.
const bool configuredAtStart = (configureSqlite(), true);

} // namespace

const QByteArray &Database::keyHex()
{
    // The same OpenSSL that encrypts the pages derives the key, so the core needs no network
    // module.
    static const QByteArray key = [] {
        static const char Salt[] = "LibraryDesk";
        QByteArray raw(32, '\0');
        PKCS5_PBKDF2_HMAC_SHA1(Password, int(qstrlen(Password)),
                               reinterpret_cast<const unsigned char *>(Salt), int(sizeof Salt - 1),
                               64000, int(raw.size()),
                               reinterpret_cast<unsigned char *>(raw.data()));
        return raw.toHex();
    }();
    return key;
}

int Database::applyKey(sqlite3 *db, const QByteArray &hexKey)
{
    const QByteArray key = "PRAGMA key = \"x'" + hexKey + "'\"";
    const int rc = sqlite3_exec(db, key.constData(), nullptr, nullptr, nullptr);
    return rc != SQLITE_OK ? rc : sqlite3_exec(db, FileFormat, nullptr, nullptr, nullptr);
}

void Database::setFailureHook(const FailureHook &hook)
{
    failureHook = hook;
}

Database::Database(sqlite3 *db, const QString &path)
    : db_(db), path_(path), rowChanges_(std::make_unique<RowChangeLog>(db))
{
}

Database::~Database()
{
    rowChanges_.reset();
    for (const Kept &k : kept_)
        sqlite3_finalize(k.statement);
    sqlite3_close_v2(db_);
}

std::shared_ptr<Database> Database::open(const QString &path)
{
    return open(path, SQLITE_OPEN_READWRITE, BusyTimeoutMs, CacheKiB);
}

std::shared_ptr<Database> Database::openReader(const QString &path, ReaderCache cache)
{
    return open(path, SQLITE_OPEN_READONLY, 0,
                cache == ReaderCache::Few ? fewPagesKiB() : readerCacheKiB());
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

std::vector<Database *> Database::readers(int count)
{
    const size_t before = readers_.size();
    if (readers_.size() < size_t(count)) {
        // Opening reads the key and the schema: a few milliseconds each, side by side.
        readers_.resize(size_t(count));
        std::vector<std::optional<AppError>> errors(static_cast<size_t>(count));
        std::vector<std::jthread> opening;
        for (size_t index = before; index < size_t(count); ++index)
            opening.emplace_back([&, index] {
                try {
                    readers_[index] = openReader(
                        path_, cacheKiB_ <= fewPagesKiB() ? ReaderCache::Few : ReaderCache::Share);
                } catch (const AppError &error) {
                    errors[index] = error;
                }
            });
        opening.clear();
        readers_.erase(std::remove(readers_.begin(), readers_.end(), nullptr), readers_.end());
        for (const std::optional<AppError> &error : errors)
            if (error)
                throw *error;
    }
    std::vector<Database *> first;
    for (int index = 0; index < count; ++index)
        first.push_back(readers_[size_t(index)].get());
    return first;
}

std::shared_ptr<Database> Database::open(const QString &path, int flags, int busyTimeoutMs,
                                         int cacheKiB)
{
    // SQLite would make an empty file for a missing one; a missing database is always an error.
    if (!QFileInfo(path).isFile())
        throw AppError(3024, QStringLiteral("Could not find file '%1'.").arg(path));
    configureSqlite();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    std::shared_ptr<Database> result(new Database(db, path));
    if (rc != SQLITE_OK)
        result->fail(rc, path);
    if (applyKey(db) != SQLITE_OK)
        result->fail(sqlite3_errcode(db), path);
    // Before the first read: another program in the middle of a commit makes every read wait a
    // moment, the key check included.
    sqlite3_busy_timeout(db, busyTimeoutMs);
    result->busyTimeoutMs_ = busyTimeoutMs;
    // The key is only checked on the first read.
    const int check =
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (check != SQLITE_OK)
        result->fail(check, path);
    sqlite3_create_function(db, "Val", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, valFunction,
                            nullptr, nullptr);
    sqlite3_create_function(db, "Pattern", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            patternFunction, nullptr, nullptr);
    // Decrypted pages stay cached, so refiltering a large list does not decrypt it again. Memory is
    // taken only as pages are read.
    const QByteArray cache = "PRAGMA cache_size = -" + QByteArray::number(cacheKiB);
    result->cacheKiB_ = cacheKiB;
    sqlite3_exec(db, cache.constData(), nullptr, nullptr, nullptr);
    return result;
}

std::shared_ptr<Database> Database::create(const QString &path)
{
    if (QFileInfo::exists(path))
        throw AppError(3204, QStringLiteral("Database '%1' already exists.").arg(path));
    configureSqlite();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    {
        Database guard(db, path);
        if (rc != SQLITE_OK)
            guard.fail(rc, path);
        if (applyKey(db) != SQLITE_OK)
            guard.fail(sqlite3_errcode(db), path);
        // Writing the schema table makes the file and its encrypted header.
        if (sqlite3_exec(db, "CREATE TABLE ld_init(x); DROP TABLE ld_init;", nullptr, nullptr,
                         nullptr) != SQLITE_OK)
            guard.fail(sqlite3_errcode(db), path);
    }
    return open(path);
}

void Database::fail(int code, const QString &context)
{
    QString message =
        db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(code));
    if (!context.isEmpty())
        message += QStringLiteral(" (%1)").arg(context);
    throw AppError(code, message);
}

void Database::checkFailureHook(const QString &sql)
{
    // Unarmed, as everywhere but in the tests that arm it, the hook costs one test per statement.
    if (failureHook.failOnWrite == 0 && failureHook.failOnTable.isEmpty())
        return;
    if (!isWrite(sql))
        return;
    if (failureHook.failOnWrite > 0 && --failureHook.failOnWrite == 0)
        throw AppError(3146, QStringLiteral("Write failed (test): %1").arg(sql));
    if (!failureHook.failOnTable.isEmpty() &&
        sql.contains(QRegularExpression(
            QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(failureHook.failOnTable)),
            QRegularExpression::CaseInsensitiveOption))) {
        failureHook.failOnTable.clear();
        throw AppError(3146, QStringLiteral("Write failed (test): %1").arg(sql));
    }
}

sqlite3_stmt *Database::prepare(const QString &sql, const QVariantList &values)
{
    checkFailureHook(sql);
    sqlite3_stmt *statement = compile(sql);
    bind(statement, sql, values);
    return statement;
}

sqlite3_stmt *Database::compile(const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, sql);
    return statement;
}

void Database::bind(sqlite3_stmt *statement, const QString &sql, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values[i];
        int bound = SQLITE_OK;
        if (value.isNull() || !value.isValid()) {
            bound = sqlite3_bind_null(statement, i + 1);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                bound = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                bound = sqlite3_bind_double(statement, i + 1, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                bound = sqlite3_bind_blob(statement, i + 1, bytes.constData(), int(bytes.size()),
                                          SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDate:
                bound = sqlite3_bind_text(statement, i + 1,
                                          value.toDate().toString(Qt::ISODate).toUtf8().constData(),
                                          -1, SQLITE_TRANSIENT);
                break;
            case QMetaType::QDateTime:
                bound = sqlite3_bind_text(statement, i + 1,
                                          value.toDateTime()
                                              .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                              .toUtf8()
                                              .constData(),
                                          -1, SQLITE_TRANSIENT);
                break;
            default: {
                const QByteArray bytes = value.toString().toUtf8();
                bound = sqlite3_bind_text(statement, i + 1, bytes.constData(), int(bytes.size()),
                                          SQLITE_TRANSIENT);
            }
            }
        }
        if (bound != SQLITE_OK) {
            forget(statement);
            sqlite3_finalize(statement);
            fail(bound, sql);
        }
    }
}

sqlite3_stmt *Database::kept(const QString &sql)
{
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->sql == sql) {
            std::rotate(kept_.begin(), it, it + 1);
            return kept_.front().statement;
        }
    }
    sqlite3_stmt *statement = compile(sql);
    if (kept_.size() == KeptStatements) {
        sqlite3_finalize(kept_.back().statement);
        kept_.pop_back();
    }
    kept_.insert(kept_.begin(), {sql, statement});
    return statement;
}

void Database::forget(sqlite3_stmt *statement)
{
    kept_.erase(std::remove_if(kept_.begin(), kept_.end(),
                               [&](const Kept &k) { return k.statement == statement; }),
                kept_.end());
}

int Database::execute(const QString &sql, const QVariantList &values)
{
    checkFailureHook(sql);
    sqlite3_stmt *statement = kept(sql);
    bind(statement, sql, values);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        forget(statement);
        sqlite3_finalize(statement);
        fail(rc, sql);
    }
    // Ready for the next run: no lock held, no value left bound.
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return sqlite3_changes(db_);
}

void Database::executeScript(const QString &sql)
{
    checkFailureHook(sql);
    char *error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw AppError(sqlite3_errcode(db_), message);
    }
}

Recordset Database::query(const QString &sql, const QVariantList &values)
{
    return Recordset(this, prepare(sql, values));
}

QVariant Database::scalar(const QString &sql, const QVariantList &values)
{
    Recordset rs = query(sql, values);
    return rs.eof() ? QVariant() : rs.field(0);
}

bool Database::hasTable(const QString &table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? "
                                 "COLLATE NOCASE"),
                  {table})
               .toInt() > 0;
}

QStringList Database::columns(const QString &table)
{
    QStringList names;
    // Table names cannot be bound; quote it as an identifier.
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    for (Recordset rs = query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted)); !rs.eof();
         rs.moveNext())
        names << rs.text(QStringLiteral("name"));
    return names;
}

Recordset::Recordset(Database *db, sqlite3_stmt *statement) : db_(db), statement_(statement)
{
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, i));
        names_ << name;
        if (!index_.contains(name.toLower())) // the first of two equal names wins
            index_.insert(name.toLower(), i);
    }
    try {
        step();
    } catch (...) {
        // No destructor runs for a recordset that never was: a statement left behind after a
        // lock it met would count as a read still open, and its connection would keep the file
        // locked after its next read, so that no other program could commit.
        close();
        throw;
    }
}

Recordset::Recordset(Recordset &&other) noexcept
    : db_(other.db_), statement_(other.statement_), names_(std::move(other.names_)),
      index_(std::move(other.index_)), eof_(other.eof_)
{
    other.statement_ = nullptr;
    other.eof_ = true;
}

Recordset &Recordset::operator=(Recordset &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = other.statement_;
        names_ = std::move(other.names_);
        index_ = std::move(other.index_);
        eof_ = other.eof_;
        other.statement_ = nullptr;
        other.eof_ = true;
    }
    return *this;
}

Recordset::~Recordset()
{
    sqlite3_finalize(statement_);
}

void Recordset::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        eof_ = false;
        return;
    }
    eof_ = true;
    if (rc != SQLITE_DONE)
        db_->fail(rc);
}

void Recordset::close()
{
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    eof_ = true;
}

void Recordset::moveNext()
{
    if (!eof_)
        step();
}

QVariant Recordset::field(int index) const
{
    if (eof_ || index < 0 || index >= names_.size())
        throw AppError(3021, QStringLiteral("No current record."));
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, index));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement_, index));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement_, index)));
    }
    default:
        return QVariant(QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement_, index)),
            sqlite3_column_bytes(statement_, index)));
    }
}

QString Recordset::displayText(int index) const
{
    if (eof_ || index < 0 || index >= names_.size())
        return QString();
    switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(statement_, index));
    case SQLITE_FLOAT:
        return Numbers::plainText(sqlite3_column_double(statement_, index));
    default:
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement_, index)),
            sqlite3_column_bytes(statement_, index));
    }
}

void Recordset::addDisplayText(int index, ListRows &rows) const
{
    if (eof_ || index < 0 || index >= names_.size()) {
        rows.addText(nullptr, 0);
        return;
    }
    // One call per field instead of three: each sqlite3_column_ call takes the connection's lock.
    // The value is read at once, on this thread, before the next step.
    sqlite3_value *value = sqlite3_column_value(statement_, index);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        rows.addText(nullptr, 0);
        return;
    case SQLITE_INTEGER: {
        char digits[24];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, sqlite3_value_int64(value)).ptr;
        rows.addText(digits, end - digits);
        return;
    }
    case SQLITE_FLOAT: {
        // Whole numbers, the usual case, as plainText writes them, without a QString.
        const double number = sqlite3_value_double(value);
        if (number == std::floor(number) && std::fabs(number) < 1e15) {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, qint64(number)).ptr;
            rows.addText(digits, end - digits);
        } else {
            rows.addText(Numbers::plainText(number));
        }
        return;
    }
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        rows.addText(text, sqlite3_value_bytes(value));
    }
    }
}

qint64 Recordset::integer(int index) const
{
    if (eof_ || index < 0 || index >= names_.size())
        throw AppError(3021, QStringLiteral("No current record."));
    return sqlite3_column_int64(statement_, index);
}

QByteArrayView Recordset::utf8(int index) const
{
    if (eof_ || index < 0 || index >= names_.size())
        throw AppError(3021, QStringLiteral("No current record."));
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, index));
    return QByteArrayView(text, sqlite3_column_bytes(statement_, index));
}

QVariant Recordset::field(const QString &name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw AppError(3265, QStringLiteral("Item not found in this collection: %1").arg(name));
    return field(index);
}

Transaction::Transaction(Database &db, Wait wait) : db_(db)
{
    if (failureHook.beforeNextTransaction)
        std::exchange(failureHook.beforeNextTransaction, nullptr)();
    if (wait == Wait::Never)
        sqlite3_busy_timeout(db_.db_, 0);
    const int begun = sqlite3_exec(db_.db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    // Once begun, the commit still waits for other programs' reads to end, as every commit does.
    if (wait == Wait::Never)
        sqlite3_busy_timeout(db_.db_, db_.busyTimeoutMs_);
    if (begun != SQLITE_OK)
        db_.fail(sqlite3_errcode(db_.db_));
}

Transaction::~Transaction()
{
    if (!done_)
        sqlite3_exec(db_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    CrashPoint::reach("commit");
    if (sqlite3_exec(db_.db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        db_.fail(sqlite3_errcode(db_.db_));
    done_ = true;
    CrashPoint::reach("committed");
}
