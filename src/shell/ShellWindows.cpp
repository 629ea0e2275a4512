#include "shell/ShellWindows.h"

#include "ui/WindowRegistry.h"

#include "shell/frmCompanyList.h"
#include "shell/frmHomeScreen.h"
#include "shell/frmLogin.h"
#include "shell/frmSplash.h"
#include <QEvent>
#include <QMdiSubWindow>

void registerShellWindows()
{
    using WindowRegistry::Placement;
    WindowRegistry::registerWindow(
        QStringLiteral("frmSplash"), [] { return new frmSplash; }, Placement::Alone);
    WindowRegistry::registerWindow(QStringLiteral("frmCompanyList"),
                                   [] { return new frmCompanyList; });
    WindowRegistry::registerWindow(QStringLiteral("frmLogin"), [] { return new frmLogin; });
    // No window opens the home screen; it stands ready under its name.
    WindowRegistry::registerWindow(QStringLiteral("frmHomeScreen"),
                                   [] { return new frmHomeScreen; });
}

namespace {

class BorderRemover : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ParentChange) {
            auto *window = static_cast<QWidget *>(watched);
            if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
                frame->setWindowFlags(Qt::FramelessWindowHint);
        }
        return false;
    }
};

} // namespace

void showWithoutBorder(QWidget *window)
{
    window->installEventFilter(new BorderRemover(window));
}
