#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <ctime>
#include <functional>

// Timings as the user sees them: from an action until the screen stops changing. Run the
// benchmark under an X server (QT_QPA_PLATFORM=xcb, e.g. in Xvfb) to include the window system;
// offscreen, the windows are still laid out and painted into their backing store.
namespace BenchScreen {

// Counts the paints of every widget, so a wait can tell when the screen has stopped changing.
class PaintWatch : public QObject
{
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest ||
            event->type() == QEvent::Expose)
            ++paints_;
        return false;
    }

private:
    int paints_ = 0;
};

// The main window as the program shows it: child windows in an area of 1024x768 at most.
inline QMdiArea *area()
{
    static QMainWindow *main = [] {
        auto *made = new QMainWindow;
        made->setCentralWidget(new QMdiArea);
        made->resize(1024, 740);
        made->show();
        qAddPostRoutine([] { delete main; });
        return made;
    }();
    return static_cast<QMdiArea *>(main->centralWidget());
}

// Shows the window in the main window's area at its top left, as the program places it.
inline QMdiSubWindow *showInArea(QWidget *window)
{
    QMdiSubWindow *frame = area()->addSubWindow(window);
    frame->show();
    frame->move(0, 0);
    return frame;
}

// Milliseconds from started until the last paint that the action caused: the event loop runs
// until the window is exposed and nothing has been painted for quietMs (not counted).
inline double settle(const QElapsedTimer &started, QWidget *window, int quietMs = 60)
{
    PaintWatch watch;
    qint64 lastChange = started.nsecsElapsed();
    int seen = -1;
    QElapsedTimer quiet;
    quiet.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        const QWindow *handle = window->window()->windowHandle();
        const bool exposed = handle && handle->isExposed();
        if (watch.paints() != seen || !exposed) {
            seen = watch.paints();
            lastChange = started.nsecsElapsed();
            quiet.restart();
        } else if (quiet.elapsed() >= quietMs) {
            break;
        }
        QThread::usleep(200);
    }
    return double(lastChange) / 1e6;
}

// Milliseconds from started until the end of the widget's first paint since it is watched that
// shows what shown() says is there: the event loop runs until then, and the paint may also come
// while an action runs.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer &started)
        : started_(started), processorAtStart_(processorNs())
    {
    }
    void watch(QWidget *widget, std::function<bool()> shown)
    {
        shown_ = std::move(shown);
        widget->installEventFilter(this);
    }
    double wait()
    {
        while (painted_ < 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QThread::usleep(200);
        }
        return double(painted_) / 1e6;
    }
    // The processor time of every thread of the process from the watch's start to the paint's end.
    double processorMs() const { return double(processorAtPaint_ - processorAtStart_) / 1e6; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || painted_ >= 0 || !shown_())
            return false;
        // Painted here, so that the time taken is the paint's end.
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        painted_ = started_.nsecsElapsed();
        processorAtPaint_ = processorNs();
        return true;
    }

private:
    static qint64 processorNs()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

    const QElapsedTimer &started_;
    std::function<bool()> shown_;
    qint64 painted_ = -1;
    qint64 processorAtStart_ = 0;
    qint64 processorAtPaint_ = 0;
};

// Runs the event loop until the screen has stopped changing, untimed.
inline void settle(QWidget *window)
{
    QElapsedTimer started;
    started.start();
    settle(started, window);
}

} // namespace BenchScreen
