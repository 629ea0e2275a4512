#include "core/PartedRead.h"

#include "core/AppError.h"
#include "core/Database.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>

namespace PartedRead {

int parts()
{
    // One part a core, up to eight: the parts are joined on one thread afterwards.
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

std::vector<QVariantList> keyRanges(const Recordset &range, const QVariantList &values, int parts,
                                    quint64 keysPerPart)
{
    if (parts < 2 || range.field(0).isNull())
        return {};
    const qint64 first = range.field(0).toLongLong();
    const qint64 last = range.field(1).toLongLong();
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
    if (db.inTransaction() || values.empty())
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
                Recordset rs = readers[size_t(part - 1)]->query(sql, values[size_t(part)]);
                read(rs, part);
            } catch (...) {
                failed = true;
            }
        });
    Recordset rs = db.query(sql, values[0]);
    read(rs, 0);
    for (std::jthread &thread : threads)
        thread.join();
    return !failed;
}

} // namespace PartedRead
