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
