#include "GridViewTestSupport.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct ExportGrid : ::testing::Test
{
    ExportGrid()
    {
        grid.setCaption("Books");
        grid.AddColumn("Title");
        grid.AddColumn("Price", 500, 4, ColumnType::Number);
        grid.AddRow("A\t12");
        grid.AddRow("B\t8");
        grid.setExportFolder(desktop.path());
    }
    QString onDesktop(const QString &name) const { return desktop.filePath(name); }
    ScriptedDialogs &dialogs = *ScriptedDialogs::current();
    QTemporaryDir desktop;
    Host host;
    VeziRado &grid = *host.grid;
};

} // namespace

TEST_F(ExportGrid, WritesTheGridAsUtf8WithoutMarkAndAsksToOpenIt)
{
    grid.setTotalsLineShow(true);
    dialogs.answers << Dialogs::Answer::No;
    grid.ExportGrid("Orders");

    EXPECT_EQ(readFile(onDesktop("Orders.csv")),
              QByteArray("Books\r\nTitle,Price,\r\nA,12,\r\nB,8,\r\n,20,"));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.last().text,
              "File Orders.csv was saved to your desktop.\r\nDo you want to open it?");
    EXPECT_EQ(dialogs.last().buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Question);
    EXPECT_EQ(dialogs.last().title, Dialogs::programTitle());
    EXPECT_TRUE(dialogs.opened.isEmpty());

    // Line breaks would split a record; check cells that are no truth value are unticked.
    grid.setTotalsLineShow(false);
    grid.setCaption("Loans\nMarch, 2026");
    grid.AddColumn("Returned", 500, 4, ColumnType::CheckBox);
    grid.AddRow("Čapek\r\nR.U.R.\t3\tTrue");
    grid.AddRow("Two\nlines\r, and\t4\t");
    grid.AddRow("C\t5\t5 apples");
    grid.AddRow("D\t6\tFalse");
    dialogs.answers << Dialogs::Answer::No;
    grid.ExportGrid("Orders", true, false, false);
    EXPECT_EQ(readFile(onDesktop("Orders.csv")),
              QString("Loans March, 2026\r\nTitle,Price,Returned,\r\nA,12,0,\r\nB,8,0,\r\n"
                      "Čapek R.U.R.,3,-1,\r\nTwo lines   and,4,0,\r\nC,5,0,\r\nD,6,0,\r\n")
                  .toUtf8());
}

TEST_F(ExportGrid, OpensTheFileOnYesAndReplacesAnEarlierOne)
{
    {
        QFile earlier(onDesktop("Orders.csv"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(QByteArray(500, 'x'));
    }
    dialogs.answers << Dialogs::Answer::Yes;
    grid.ExportGrid("Orders");
    EXPECT_EQ(readFile(onDesktop("Orders.csv")), "Books\r\nTitle,Price,\r\nA,12,\r\nB,8,\r\n");
    EXPECT_EQ(dialogs.opened, QStringList{onDesktop("Orders.csv")});
    EXPECT_EQ(QDir(desktop.path()).entryList(QDir::Files), QStringList{"Orders.csv"});

    dialogs.desktopOpens = false;
    dialogs.answers << Dialogs::Answer::Yes << Dialogs::Answer::Ok;
    grid.ExportGrid("Orders");
    // Nothing opens it: the box says where the file lies.
    EXPECT_EQ(dialogs.last().text, "Unable to open target file.\r\nIt has been saved as " +
                                       QDir::toNativeSeparators(onDesktop("Orders.csv")));
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Information);
    EXPECT_TRUE(QFile::exists(onDesktop("Orders.csv")));
}

TEST_F(ExportGrid, AnEmptyGridWritesNothing)
{
    grid.Clear();
    dialogs.expectOk();
    grid.ExportGrid("Orders");
    EXPECT_EQ(dialogs.last().text, "No grid rows to export.");
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Information);
    EXPECT_TRUE(QDir(desktop.path()).isEmpty());
}

TEST_F(ExportGrid, RefusesANameThatIsNoPlainFileName)
{
    QDir(desktop.path()).mkdir("inner");
    grid.setExportFolder(onDesktop("inner"));
    for (const QString name :
         {"../Escaped", "sub/Orders", "sub\\Orders", "..", "a..b", "C:Orders", "Or*ders", "Or?ders",
          "Or\"ders", "Or<d>ers", "Or|ders", "Or\nders", ""}) {
        dialogs.expectOk();
        grid.ExportGrid(name);
        EXPECT_TRUE(dialogs.last().text.startsWith("The grid cannot be exported under the name"))
            << name.toStdString();
        EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Exclamation);
    }
    EXPECT_TRUE(QDir(onDesktop("inner")).isEmpty());
    EXPECT_EQ(QDir(desktop.path()).entryList(QDir::Files), QStringList{});

    // Spaces, accents and single dots are ordinary in a name.
    dialogs.answers << Dialogs::Answer::No;
    grid.ExportGrid("Books 2026. Čapek");
    EXPECT_TRUE(QFile::exists(onDesktop("inner/Books 2026. Čapek.csv")));
}

TEST_F(ExportGrid, NoDesktopWritesNothing)
{
    const QString before = QDir::currentPath();
    grid.setExportFolder(QString());
    dialogs.expectOk();
    grid.ExportGrid("NoDesktopExport");
    EXPECT_EQ(dialogs.last().text, "Unknown error");
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::None);
    EXPECT_EQ(dialogs.boxes.size(), 1);
    EXPECT_FALSE(QFile::exists(QDir(before).filePath("NoDesktopExport.csv")));
    EXPECT_FALSE(QFile::exists("/NoDesktopExport.csv"));
}

TEST_F(ExportGrid, FailuresShowTheErrorBoxAndAskNothing)
{
    // A desktop that is not there yet is made.
    grid.setExportFolder(onDesktop("Desk/top"));
    dialogs.answers << Dialogs::Answer::No;
    grid.ExportGrid("Orders");
    EXPECT_TRUE(QFile::exists(onDesktop("Desk/top/Orders.csv")));

    // A folder in the file's place cannot be replaced.
    QDir(desktop.path()).mkdir("Orders.csv");
    grid.setExportFolder(desktop.path());
    dialogs.expectOk();
    grid.ExportGrid("Orders");
    ASSERT_EQ(dialogs.boxes.size(), 2);
    EXPECT_TRUE(dialogs.last().text.startsWith("Error# 75\r\nPath/File access error"))
        << dialogs.last().text.toStdString();
    EXPECT_EQ(dialogs.last().title, "VeziRado.Export");
    EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(dialogs.last().buttons, Dialogs::Buttons::Ok);
    EXPECT_TRUE(QFileInfo(onDesktop("Orders.csv")).isDir());

    // A file where the desktop folder should be.
    {
        QFile blocker(onDesktop("plain"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    grid.setExportFolder(onDesktop("plain/Desktop"));
    dialogs.expectOk();
    grid.ExportGrid("Orders");
    EXPECT_TRUE(dialogs.last().text.startsWith("Error# 76\r\nPath not found"))
        << dialogs.last().text.toStdString();
    EXPECT_EQ(dialogs.boxes.size(), 3);
}
