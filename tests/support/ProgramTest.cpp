#include "ProgramTest.h"

#include "core/ApplicationDatabases.h"
#include "core/Database.h"
#include "core/Module.h"
#include "core/ProgramFolderLayout.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPointer>
#include <QWidget>

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
}

} // namespace

void layOutTestProgramFolder(const QString &folder)
{
    static QTemporaryDir pristine;
    static bool laidOut = false;
    if (!laidOut) {
        ProgramFolderLayout::layOut(QStringLiteral(LD_PACKAGE_DIR), pristine.path());
        laidOut = true;
    }
    copyTree(pristine.path(), folder);
}

QString testOutputFolder()
{
    const QString folder = QStringLiteral(LD_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    return folder;
}

void ProgramTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    WindowRegistry::reset();
    Module::reset();
    Database::clearFailureHook();
    layOutTestProgramFolder(dir_.path());
    Module::setProgramFolder(dir_.path());
    // Windows open as after the login of a company's first user, who holds every right.
    Module::CurrentUserPosition = QStringLiteral("SUPER USER");
    Module::LoginPosition = Module::CurrentUserPosition;
    qputenv("ODBCINI", QDir(dir_.path()).filePath(QStringLiteral("odbc.ini")).toLocal8Bit());
    SetSystemShortDateFormat();
    dialogs = ScriptedDialogs::current();
}

void ProgramTest::TearDown()
{
    WindowRegistry::reset();
    // A window may own others (a child window's menu, a date box's calendar): each is deleted
    // once, by whichever goes first.
    QList<QPointer<QWidget>> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
    Module::reset();
    Database::clearFailureHook();
    Module::setProgramFolder(QString());
}

void ProgramTest::openApplicationDatabases()
{
    OpenApplicationDatabases();
}

QString ProgramTest::path(const QString &relative) const
{
    return QDir(dir_.path()).filePath(relative);
}

QString ProgramTest::makeCompany(const QString &folder, bool open)
{
    QDir().mkpath(folder);
    const QString target = Module::companyDatabasePath(folder);
    QFile::copy(path(QStringLiteral("DB/Vevezidora12_Backup.mdb")), target);
    if (open) {
        Module::CompanyDb = Database::open(target);
        Module::CompanyDataPath = folder;
    }
    return target;
}
