#pragma once

#include "core/Database.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// Books of long remarks, BookID 1 to count, in one statement: a file of many pages made quickly.
inline void addThickBooks(Database &db, int count)
{
    db.execute("INSERT INTO Book (BookID, AccessionNo, Title, Status, Remarks) "
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
               "SELECT i, i, 'Title of book ' || i, 'Available', ? FROM n",
               {count, QString(400, 'r')});
}

// Another program that commits again and again on a connection of its own, from a thread of its
// own, until it stops. Each commit writes one number into the remarks of two books that lie far
// apart in the file: a copy that mixed two states of the file shows two numbers.
class KeepsCommitting
{
public:
    KeepsCommitting(const QString &file, int firstBook, int secondBook)
    {
        thread_ = std::thread([this, file, firstBook, secondBook] {
            try {
                const auto db = Database::open(file);
                while (!stop_) {
                    Transaction transaction(*db);
                    db->execute("UPDATE Book SET Remarks = ? WHERE BookID IN (?, ?)",
                                {commits_ + 1, firstBook, secondBook});
                    transaction.commit();
                    ++commits_;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            } catch (const AppError &error) {
                failure_ = error.boxText();
            }
        });
    }
    ~KeepsCommitting() { stop(); }
    KeepsCommitting(const KeepsCommitting &) = delete;
    KeepsCommitting &operator=(const KeepsCommitting &) = delete;

    int commits() const { return commits_; }

    // Stops and returns the failure that ended the commits early, if any.
    QString stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return failure_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> commits_{0};
    QString failure_;
    std::thread thread_;
};
