#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include "ProgramTest.h"

// The real message box, as users see it.
TEST(QtDialogsTest, AnErrorBoxNeverGrowsTallerThanTheScreen)
{
    QString path;
    for (int i = 0; i < 300; ++i)
        path += QStringLiteral("/Library Data %1").arg(i);
    const QString text = QStringLiteral("Error 75\r Path/File access error: ") + path;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    QRect box;
    QRect ok;
    QString details;
    QTimer::singleShot(0, [&] {
        auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(shown);
        shown->grab().save(QDir(testOutputFolder()).filePath("LongErrorBox.png"));
        box = shown->frameGeometry();
        QAbstractButton *button = shown->button(QMessageBox::Ok);
        ok = QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
        details = shown->detailedText();
        button->click();
    });
    Dialogs::QtService service;
    EXPECT_EQ(service.message({text, Dialogs::Buttons::Ok, Dialogs::Icon::Information, "Title"}),
              Dialogs::Answer::Ok);
    EXPECT_LE(box.height(), screen.height());
    EXPECT_TRUE(screen.contains(ok)) << ok.y() << " " << screen.height();
    // Nothing of the text is lost.
    EXPECT_TRUE(details.contains(path.right(40)));
}
