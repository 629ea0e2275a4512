#include "ChildProcess.h"
#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/CompanyCreation.h"
#include "controls/button/StyledButton.h"
#include "core/ApplicationDatabases.h"
#include "core/CrashPoint.h"
#include "core/Module.h"
#include "shell/MDIForm1.h"
#include "shell/ShellWindows.h"
#include "shell/frmCompanyList.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QDir>
#include <QHash>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

// A second copy of the program is killed at every step of a company creation and of a login; the
// picker then lists exactly the registered, complete companies, and the next creation takes the
// next number.
namespace {

CompanyCreation::Entries schoolEntries()
{
    CompanyCreation::Entries e;
    e.companyName = QStringLiteral("Green Valley School");
    e.state = QStringLiteral("Punjab");
    e.stateCode = QStringLiteral("03");
    e.mobile = QStringLiteral("9876543210");
    e.yearStart = QDate(2024, 4, 1);
    e.yearEnd = QDate(2025, 3, 31);
    e.userName = QStringLiteral("ADMIN");
    e.password = QStringLiteral("secret");
    e.dataRoot = QStringLiteral("Data");
    return e;
}

// Arguments of a child: the program folder, then the point and its occurrence (none: trace).
void startChild(const QStringList &arguments)
{
    Module::setProgramFolder(arguments.value(0));
    SetSystemShortDateFormat();
    OpenApplicationDatabases();
    installScriptedDialogs();
}

void armOrTrace(const QStringList &arguments)
{
    if (arguments.size() >= 3)
        CrashPoint::arm(arguments.at(1), arguments.at(2).toInt());
    else
        CrashPoint::startTrace();
}

int endChild()
{
    for (const QString &point : CrashPoint::trace())
        std::printf("%s\n", qPrintable(point));
    std::fflush(stdout);
    return 0;
}

const bool creationChild = registerChildEntry("create", [](const QStringList &arguments) {
    startChild(arguments);
    armOrTrace(arguments);
    try {
        CompanyCreation::create(schoolEntries());
    } catch (const AppError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.boxText()));
        return 2;
    }
    return endChild();
});

const bool loginChild = registerChildEntry("login", [](const QStringList &arguments) {
    startChild(arguments);
    registerShellWindows();
    MDIForm1 main;
    main.resize(1400, 860);
    auto *picker = WindowRegistry::show<frmCompanyList>(QStringLiteral("frmCompanyList"));
    while (picker->scanPending())
        QCoreApplication::processEvents();
    armOrTrace(arguments);
    picker->GetLoadCompany();
    QWidget *login = WindowRegistry::find(QStringLiteral("frmLogin"));
    if (!login)
        return 3;
    login->findChild<QLineEdit *>(QStringLiteral("txtUserName"))->setText(QStringLiteral("ADMIN"));
    login->findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(QStringLiteral("secret"));
    emit login->findChild<StyledButton *>(QStringLiteral("cmdLogin"))->Click();
    if (Module::CurrentUserName.isEmpty())
        return 4;
    return endChild();
});

struct Point
{
    QString name;
    int occurrence;
};

QList<Point> points(const QString &trace)
{
    QList<Point> found;
    QHash<QString, int> seen;
    for (const QString &name : trace.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        found.append({name, ++seen[name]});
    return found;
}

class CrashConsistencyTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        registerShellWindows();
    }

    void TearDown() override
    {
        main.reset();
        ProgramTest::TearDown();
    }

    // A program folder of its own for one crash, with the program pointed at it.
    QString freshProgramFolder()
    {
        closeAll();
        folders.push_back(std::make_unique<QTemporaryDir>());
        const QString folder = folders.back()->path();
        layOutTestProgramFolder(folder);
        Module::setProgramFolder(folder);
        openApplicationDatabases();
        return folder;
    }

    void closeAll()
    {
        main.reset();
        WindowRegistry::reset();
        registerShellWindows();
        Module::reset();
    }

    void reopen(const QString &folder)
    {
        closeAll();
        Module::setProgramFolder(folder);
        openApplicationDatabases();
    }

    QStringList listedByThePicker()
    {
        main = std::make_unique<MDIForm1>();
        main->resize(1400, 860);
        auto *picker = WindowRegistry::show<frmCompanyList>("frmCompanyList");
        EXPECT_TRUE(waitFor([picker] { return !picker->scanPending(); }));
        auto *list = picker->findChild<RecordList *>("Lv1");
        QStringList names;
        for (int i = 0; i < list->records()->size(); ++i)
            names << list->records()->row(i).texts.value(0) + " @ " +
                         QDir(list->records()->row(i).texts.value(2)).dirName();
        return names;
    }

    // The register's companies as the picker would list them.
    QStringList registered()
    {
        QStringList names;
        for (Recordset rs = Module::CommonDb->query("SELECT * FROM Company ORDER BY CompanyID");
             !rs.eof(); rs.moveNext())
            names << rs.text("CompanyName") + " @ " + QDir(rs.text("path")).dirName();
        return names;
    }

    static void expectComplete(const QString &dataFolder, const QString &context)
    {
        auto db = Database::open(Module::companyDatabasePath(dataFolder));
        EXPECT_EQ(db->scalar("PRAGMA quick_check").toString(), "ok") << qPrintable(context);
        EXPECT_EQ(db->scalar("SELECT count(*) FROM Users").toInt(), 1) << qPrintable(context);
        EXPECT_EQ(db->scalar("SELECT count(*) FROM FinancialYear").toInt(), 1)
            << qPrintable(context);
    }

    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::unique_ptr<MDIForm1> main;
};

TEST_F(CrashConsistencyTest, ACrashAtAnyStepOfACreationListsTheCompanyWholeOrNotAtAll)
{
    const ChildEnd traced = runChild("create", {freshProgramFolder()});
    ASSERT_EQ(traced.exitCode, 0) << qPrintable(traced.errors);
    const QList<Point> steps = points(traced.output);
    ASSERT_GE(steps.size(), 8) << qPrintable(traced.output);

    int kept = 0;
    int dropped = 0;
    for (const Point &step : steps) {
        const QString context = step.name + " #" + QString::number(step.occurrence);
        const QString folder = freshProgramFolder();
        const ChildEnd end =
            runChild("create", {folder, step.name, QString::number(step.occurrence)});
        ASSERT_TRUE(end.crashed) << qPrintable(context + ": " + end.errors);

        reopen(folder);
        const QStringList listed = listedByThePicker();
        EXPECT_EQ(listed, registered()) << qPrintable(context);
        (listed.isEmpty() ? dropped : kept) += 1;
        if (!listed.isEmpty())
            expectComplete(folder + "/Data/Data 1", context);
        // Nothing half-made is left, hidden or not.
        EXPECT_EQ(QDir(folder + "/Data")
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  listed.isEmpty() ? QStringList() : QStringList{"Data 1"})
            << qPrintable(context);

        // A retry takes the next number: no folder of the crash made it skip one.
        const qint64 number = CompanyCreation::create(schoolEntries()).number;
        EXPECT_EQ(number, listed.size() + 1) << qPrintable(context);
        Module::CompanyDb.reset();
    }
    EXPECT_GT(kept, 0);
    EXPECT_GT(dropped, 0);
}

TEST_F(CrashConsistencyTest, ACrashAtAnyStepOfAnOpeningOrALoginLeavesTheCompanyWhole)
{
    const auto companyReadyToOpen = [this] {
        const QString folder = freshProgramFolder();
        CompanyCreation::create(schoolEntries());
        Module::CompanyDb.reset();
        return folder;
    };
    const ChildEnd traced = runChild("login", {companyReadyToOpen()});
    ASSERT_EQ(traced.exitCode, 0) << qPrintable(traced.errors);
    const QList<Point> steps = points(traced.output);
    ASSERT_GE(steps.size(), 4) << qPrintable(traced.output);

    for (const Point &step : steps) {
        const QString context = step.name + " #" + QString::number(step.occurrence);
        const QString folder = companyReadyToOpen();
        const ChildEnd end =
            runChild("login", {folder, step.name, QString::number(step.occurrence)});
        ASSERT_TRUE(end.crashed) << qPrintable(context + ": " + end.errors);

        reopen(folder);
        EXPECT_EQ(listedByThePicker(), QStringList{"Green Valley School @ Data 1"})
            << qPrintable(context);
        expectComplete(folder + "/Data/Data 1", context);
        auto db = Database::open(Module::companyDatabasePath(folder + "/Data/Data 1"));
        EXPECT_LE(db->scalar("SELECT count(*) FROM [Login]").toInt(), 1) << qPrintable(context);
        // The upgrade happened whole or not at all.
        if (db->hasTable("Warning")) {
            EXPECT_EQ(db->columns("Warning").size(), 12) << qPrintable(context);
            EXPECT_TRUE(db->columns("FinancialYear").contains("ON5")) << qPrintable(context);
        } else {
            EXPECT_FALSE(db->columns("FinancialYear").contains("OT1")) << qPrintable(context);
        }
    }
}

} // namespace
