#include "ShownMessageBox.h"

#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <gtest/gtest.h>

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
