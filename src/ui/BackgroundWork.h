#pragma once

#include <QString>
#include <atomic>
#include <functional>

class QLabel;

// Long file work (writing or reading a large workbook) runs on a worker thread while the
// window's thread goes on painting; the caller waits for it without blocking the screen.
namespace BackgroundWork {

// Counts rows done, written by the worker and read by the window.
struct Progress
{
    std::atomic<int> done{0};
    int total = 0; // 0 when not known in advance
};

// Runs work on a worker thread and returns when it is done; while it runs, label shows
// "<verb> row n of m" (or "row n" when the total is not known). Clicks and keys wait until the
// work is done. An AppError thrown by the work is thrown again here.
void run(const std::function<void(Progress &)> &work, QLabel *label, const QString &verb,
         int total = 0);

// Shows the progress of work done on the window's thread and lets the window repaint.
void show(QLabel *label, const QString &verb, int done, int total);

} // namespace BackgroundWork
