#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
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

// The desktop's own tools stand in scripts that note what they are asked: xdg-mime names the
// program set for a type (none until one is written), xdg-open notes the file it opens.
TEST(QtDialogsTest, AFileNoProgramOpensIsNotReportedAsOpened)
{
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const auto script = [&](const QString &name, const QByteArray &body) {
        QFile file(QDir(bin.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    script("xdg-mime", "cat \"$(dirname \"$0\")/default\" 2>/dev/null; exit 0");
    script("xdg-open", "echo \"$1\" >> \"$(dirname \"$0\")/opened\"");
    const QString pdf = QDir(bin.path()).filePath("2807143005.pdf");
    {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n%%EOF\n");
    }
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
    qunsetenv("BROWSER");

    Dialogs::QtService service;
    EXPECT_FALSE(service.openWithDesktop(pdf));
    EXPECT_FALSE(QFile::exists(QDir(bin.path()).filePath("opened")));

    QFile setDefault(QDir(bin.path()).filePath("default"));
    ASSERT_TRUE(setDefault.open(QIODevice::WriteOnly));
    setDefault.write("org.gnome.Evince.desktop\n");
    setDefault.close();
    EXPECT_TRUE(service.openWithDesktop(pdf));
    QFile opened(QDir(bin.path()).filePath("opened"));
    QTRY_VERIFY(opened.exists());
    QTRY_VERIFY(opened.open(QIODevice::ReadOnly) && opened.readAll().contains("2807143005.pdf"));

    qputenv("PATH", path);
    if (!browser.isEmpty())
        qputenv("BROWSER", browser);
}
