#include "ui/BackgroundWork.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <exception>

namespace BackgroundWork {

void show(QLabel *label, const QString &verb, int done, int total)
{
    if (label) {
        label->setText(total > 0 ? QStringLiteral("%1 row %2 of %3").arg(verb).arg(done).arg(total)
                                 : QStringLiteral("%1 row %2").arg(verb).arg(done));
        label->repaint();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void run(const std::function<void(Progress &)> &work, QLabel *label, const QString &verb,
         int total)
{
    Progress progress;
    progress.total = total;
    std::exception_ptr failure;
    QThread *thread = QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop,
                     [&] { show(label, verb, progress.done.load(), progress.total); });
    timer.start(100);
    thread->start();
    // User input waits: the work's window must not start a second run meanwhile.
    if (!thread->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
    if (label)
        label->clear();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace BackgroundWork
