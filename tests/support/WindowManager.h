#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A window manager on the virtual X display for the length of a test: without one every window
// stacks as it maps, nothing is ever activated or raised, and no window has a frame.
class WindowManager
{
public:
    // An empty text when it runs, else what went wrong.
    QString start();
    ~WindowManager();

private:
    QTemporaryDir folder_;
    QProcess process_;
};
