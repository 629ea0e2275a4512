#pragma once

#include "core/AppError.h"

#include <QObject>
#include <functional>
#include <optional>

class QThread;

// Runs one piece of work at a time on a thread of its own, so the window's thread never waits on
// a slow disk or the network, and hands the outcome back on the owner's thread.
class BackgroundWork : public QObject
{
    Q_OBJECT

public:
    using Outcome = std::optional<AppError>; // empty: the work succeeded
    using Done = std::function<void(const Outcome &)>;

    explicit BackgroundWork(QObject *parent = nullptr);
    // Waits for running work; its outcome is then dropped.
    ~BackgroundWork() override;

    bool running() const { return thread_ != nullptr; }

    // The work runs on its own thread; any AppError it throws is its outcome. done runs on this
    // object's thread.
    void start(std::function<void()> work, Done done);

    // Runs a call on this object's thread (from the work, to show how far it got).
    void post(std::function<void()> call);

private:
    QThread *thread_ = nullptr;
};
