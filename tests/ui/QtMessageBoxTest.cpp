#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Shows a real message box and returns its width once it is up; the box is then answered.
int widthOfShownBox(const Dialogs::Message &message)
{
    int width = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        width = box->width();
        box->accept();
    });
    poll.start(10);
    Dialogs::QtService().message(message);
    return width;
}

} // namespace

TEST(QtMessageBoxTest, TheTitleIsNeverCutShort)
{
    for (const QString &title :
         {QStringLiteral("Don't Create Company"), QStringLiteral("Company Created Sucessfully"),
          QStringLiteral("Login Info")}) {
        SCOPED_TRACE(title.toStdString());
        const int width =
            widthOfShownBox({QStringLiteral("Pls Enter State Name"), Dialogs::Buttons::Ok,
                             Dialogs::Icon::Information, title});
        // Room for the title in a window manager's larger bold font, its icon and its buttons.
        QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
        titleFont.setBold(true);
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
        EXPECT_GE(width, QFontMetrics(titleFont).horizontalAdvance(title) + 150);
    }
}
