#include "ProgramTest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// Starts the real executable from a program folder of its own, as a user would, and lets it end
// through its test hook once the company picker is up.
TEST(ProgramStartTest, TheRealProgramReachesTheCompanyPickerAndEndsCleanly)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    layOutTestProgramFolder(folder.path());
    // A fresh folder without Data: the program makes it, and no "Path not found" stops the way.
    ASSERT_TRUE(QDir(QDir(folder.path()).filePath(QStringLiteral("Data"))).removeRecursively());
    const QString executable = QDir(folder.path()).filePath(QStringLiteral("librarydesk"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LD_PROGRAM_EXECUTABLE), executable));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LIBRARYDESK_END_AT_PICKER"), QStringLiteral("1"));
    environment.insert(QStringLiteral("ODBCINI"),
                       QDir(folder.path()).filePath(QStringLiteral("odbc.ini")));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.start(executable, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForFinished(120000)) << "the program did not end";
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("frmCompanyList shown"))) << errors.toStdString();
    EXPECT_TRUE(QDir(QDir(folder.path()).filePath(QStringLiteral("Data"))).exists());
    EXPECT_FALSE(errors.contains(QStringLiteral("ERROR: AddressSanitizer")))
        << errors.toStdString();
}
