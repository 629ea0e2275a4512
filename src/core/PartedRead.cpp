#include "core/PartedRead.h"

#include "core/AppError.h"
#include "core/Database.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <sched.h>
#include <thread>

namespace PartedRead {

namespace {

std::function<void(int part, bool reading)> partHook;

void reach(int part, bool reading)
{
    if (partHook)
        partHook(part, reading);
}

// Asked of the connection while the caller's read is open, when it knows the file's mode.
bool inWalMode(Database &db)
{
    return db.scalar(QStringLiteral("PRAGMA journal_mode"))
               .toString()
               .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
}

} // namespace

int parts()
{
    // One part a core, up to eight: the parts are joined on one thread afterwards. The cores the
    // process may run on, not those of the machine: more readers than cores only take turns.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : QThread::idealThreadCount();
    return std::clamp(cores, 1, 8);
}

bool fewCores()
{
    return parts() <= 2;
}

void setPartHook(std::function<void(int part, bool reading)> hook)
{
    partHook = std::move(hook);
}

std::vector<QVariantList> keyRanges(const Recordset &range, const QVariantList &values, int parts,
                                    quint64 keysPerPart)
{
    return keyRanges(range.field(0), range.field(1), values, parts, keysPerPart);
}

std::vector<QVariantList> keyRanges(const QVariant &smallest, const QVariant &largest,
                                    const QVariantList &values, int parts, quint64 keysPerPart)
{
    if (parts < 2 || smallest.isNull())
        return {};
    const qint64 first = smallest.toLongLong();
    const qint64 last = largest.toLongLong();
    // Unsigned: the keys may lie far apart at both ends of the 64 bits.
    const quint64 span = quint64(last) - quint64(first);
    if (span / quint64(parts) < keysPerPart)
        return {};
    const auto start = [&](int part) {
        return qint64(quint64(first) + span / quint64(parts) * quint64(part));
    };
    std::vector<QVariantList> bounds(size_t(parts), values);
    for (int part = 0; part < parts; ++part)
        bounds[size_t(part)] << start(part) << (part == parts - 1 ? last : start(part + 1) - 1);
    return bounds;
}

bool run(Database &db, const QString &sql, const std::vector<QVariantList> &values,
         const std::function<void(Recordset &rs, int part)> &read)
{
    if (db.inTransaction() || values.empty() || inWalMode(db))
        return false;
    const int count = int(values.size());
    std::vector<Database *> readers;
    try {
        readers = db.readers(count - 1);
    } catch (const AppError &) {
        return false;
    }
    std::atomic<bool> failed = false;
    std::vector<std::jthread> threads;
    for (int part = 1; part < count; ++part)
        threads.emplace_back([&, part] {
            try {
                reach(part, false);
                Recordset rs = readers[size_t(part - 1)]->query(sql, values[size_t(part)]);
                reach(part, true);
                read(rs, part);
            } catch (...) {
                failed = true;
            }
        });
    reach(0, false);
    Recordset rs = db.query(sql, values[0]);
    reach(0, true);
    read(rs, 0);
    for (std::jthread &thread : threads)
        thread.join();
    return !failed;
}

} // namespace PartedRead
