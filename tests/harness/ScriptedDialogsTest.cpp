#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// The harness itself: a box, input, file or folder dialog that a test did not expect fails it.
TEST(ScriptedDialogsTest, EveryUnexpectedDialogFailsTheTest)
{
    ScriptedDialogs *dialogs = ScriptedDialogs::current();
    ASSERT_NE(dialogs, nullptr);
    EXPECT_NONFATAL_FAILURE(Dialogs::information(QStringLiteral("Record Saved")),
                            "unexpected message box: Record Saved");
    EXPECT_NONFATAL_FAILURE(Dialogs::askYesNo(QStringLiteral("Delete?")), "unexpected message box");
    EXPECT_NONFATAL_FAILURE(Dialogs::service().input("Name", "", ""), "unexpected input box");
    EXPECT_NONFATAL_FAILURE(Dialogs::service().openFile("Select Only Excel File", "", ""),
                            "unexpected file dialog");
    EXPECT_NONFATAL_FAILURE(Dialogs::service().browseFolder("Backup", ""),
                            "unexpected folder dialog");

    dialogs->expectOk();
    Dialogs::information(QStringLiteral("Record Saved"));
    EXPECT_EQ(dialogs->last().text, "Record Saved");
}

TEST(ScriptedDialogsTest, AnswersLeftInTheQueueFailTheTest)
{
    ScriptedDialogs *dialogs = ScriptedDialogs::current();
    dialogs->answers << Dialogs::Answer::Yes;
    EXPECT_NONFATAL_FAILURE(dialogs->verifyAllAnswered(), "queued box answer never asked for");
    dialogs->files << QStringLiteral("/tmp/books.xlsx");
    EXPECT_NONFATAL_FAILURE(dialogs->verifyAllAnswered(), "queued file never asked for");
    EXPECT_TRUE(dialogs->answers.isEmpty() && dialogs->files.isEmpty());
}

// Run only by the test below, in a process of its own: a test that leaves an answer queued.
TEST(ScriptedDialogsTest, DISABLED_LeavesAnAnswerQueued)
{
    ScriptedDialogs::current()->answers << Dialogs::Answer::Ok;
}

TEST(ScriptedDialogsTest, EveryTestIsCheckedAtItsEnd)
{
    QProcess self;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("GTEST_TOTAL_SHARDS"));
    environment.remove(QStringLiteral("GTEST_SHARD_INDEX"));
    self.setProcessEnvironment(environment);
    self.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=ScriptedDialogsTest.DISABLED_LeavesAnAnswerQueued"),
                QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(self.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(self.readAllStandardOutput());
    EXPECT_EQ(self.exitCode(), 1) << output.toStdString();
    EXPECT_TRUE(output.contains(
        QStringLiteral("[  FAILED  ] ScriptedDialogsTest.DISABLED_LeavesAnAnswerQueued")))
        << output.toStdString();
}
