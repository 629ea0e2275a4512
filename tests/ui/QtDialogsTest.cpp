#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "ProgramTest.h"
#include "WaitFor.h"

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
    const QDir dir(bin.path());
    const auto write = [&](const QString &name, const QByteArray &body) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(body);
        file.close();
        if (body.startsWith("#!"))
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    write("xdg-mime", "#!/bin/sh\ncat \"$(dirname \"$0\")/default\" 2>/dev/null; exit 0\n");
    write("xdg-open", "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/opened\"\n");
    write("2807143005.pdf", "%PDF-1.4\n%%EOF\n");
    write("2807143006.pdf", "%PDF-1.4\n%%EOF\n");
    // Read afresh at every look: the script may still be writing.
    const auto opened = [&] {
        QFile file(dir.filePath("opened"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    // The tools are found on the path; a failed check leaves the test's path to no other test.
    struct Environment
    {
        QByteArray path = qgetenv("PATH");
        QByteArray browser = qgetenv("BROWSER");
        ~Environment()
        {
            qputenv("PATH", path);
            if (!browser.isEmpty())
                qputenv("BROWSER", browser);
        }
    } kept;
    qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
    qunsetenv("BROWSER");

    Dialogs::QtService service;
    EXPECT_FALSE(service.openWithDesktop(dir.filePath("2807143005.pdf")));

    write("default", "org.gnome.Evince.desktop\n");
    EXPECT_TRUE(service.openWithDesktop(dir.filePath("2807143006.pdf")));
    ASSERT_TRUE(waitFor([&] { return opened().contains("2807143006.pdf"); }));
    // Started before the second, the opener of the first would have noted it by now.
    EXPECT_FALSE(opened().contains("2807143005.pdf"));
}
