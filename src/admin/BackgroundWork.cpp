#include "admin/BackgroundWork.h"

#include <QThread>
#include <memory>

BackgroundWork::BackgroundWork(QObject *parent) : QObject(parent) {}

BackgroundWork::~BackgroundWork()
{
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void BackgroundWork::start(std::function<void()> work, Done done)
{
    if (thread_)
        throw AppError(10, QStringLiteral("The work before is still running"));
    auto outcome = std::make_shared<Outcome>();
    thread_ = QThread::create([work = std::move(work), outcome] {
        try {
            work();
        } catch (const AppError &error) {
            *outcome = error;
        } catch (const std::exception &error) {
            *outcome = AppError(51, QString::fromLocal8Bit(error.what()));
        }
    });
    connect(thread_, &QThread::finished, this, [this, outcome, done = std::move(done)] {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
        done(*outcome);
    });
    thread_->start();
}

void BackgroundWork::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}
