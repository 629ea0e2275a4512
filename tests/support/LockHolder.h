#pragma once

#include "core/Database.h"

#include <QString>
#include <chrono>
#include <future>
#include <sqlcipher/sqlite3.h>
#include <thread>

// Another program's connection on a database file: from its own thread it runs begin ("BEGIN
// IMMEDIATE" holds the write lock, "BEGIN EXCLUSIVE" keeps readers out too), holds the lock for the
// given time and commits. The constructor returns once the lock is held.
class LockHolder
{
public:
    LockHolder(const QString &file, const char *begin, int milliseconds)
    {
        std::promise<void> held;
        auto ready = held.get_future();
        std::shared_future<void> released = release_.get_future().share();
        thread_ =
            std::thread([file, begin, milliseconds, held = std::move(held), released]() mutable {
                sqlite3 *raw = nullptr;
                sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
                Database::applyKey(raw);
                sqlite3_exec(raw, begin, nullptr, nullptr, nullptr);
                held.set_value();
                // Held until the time is up or the holder goes, whichever comes first.
                released.wait_for(std::chrono::milliseconds(milliseconds));
                sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
                sqlite3_close(raw);
            });
        ready.wait();
    }
    ~LockHolder()
    {
        release_.set_value();
        thread_.join();
    }

private:
    std::promise<void> release_;
    std::thread thread_;
};
