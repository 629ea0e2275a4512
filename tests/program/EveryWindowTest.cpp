#include "../shell/ShellTestSupport.h"

#include "admin/AdminWindows.h"
#include "catalogue/CatalogueWindows.h"
#include "catalogue/frmBookList.h"
#include "circulation/CirculationWindows.h"
#include "controls/button/StyledButton.h"
#include "controls/ribbon/RibbonMenu.h"
#include "members/MembersWindows.h"
#include "platform/ListWorkbook.h"
#include "ui/QtDialogs.h"
#include "ui/RecordList.h"
#include "ui/ReportHandOver.h"
#include "ui/frmPrint1.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Scripted answers, yet every box is also shown as the real one and closed once it is up: the
// main window loses and regains the activation as it does on a librarian's desktop.
class RealBoxes : public ScriptedDialogs
{
public:
    Dialogs::Answer message(const Dialogs::Message &message) override
    {
        const Dialogs::Answer answer = ScriptedDialogs::message(message);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->isVisible())
                box->accept();
        });
        poll.start(10);
        Dialogs::QtService().message(message);
        return answer;
    }
};

// WCAG's contrast ratio of two grey levels.
double contrast(int lighter, int darker)
{
    const auto luminance = [](int level) {
        const double c = level / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return (luminance(lighter) + 0.05) / (luminance(darker) + 0.05);
}

// How well the text drawn in a box stands out from the box's own background: its darkest pixel
// against the pixel at its inner left edge.
double textContrast(const QImage &shot, QWidget *window, QWidget *box)
{
    const QRect inner = QRect(box->mapTo(window, QPoint(0, 0)), box->size()).adjusted(3, 3, -3, -3);
    const int background = qGray(shot.pixel(inner.left(), inner.center().y()));
    int darkest = 255;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            darkest = std::min(darkest, qGray(shot.pixel(x, y)));
    return contrast(background, darkest);
}

} // namespace

// The whole program as main() puts it together: every ribbon button of a logged-in super user
// opens its window inside the main window, and on a 1024x768 screen nothing of it is cut off.
class EveryWindowTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        registerReportWindow();
        registerAdminWindows();
        registerCatalogueWindows();
        registerMembersWindows();
        registerCirculationWindows();
        const QString folder = addCompany("Data 1", "Green Valley School", "Shimla");
        Module::CompanyDb = Database::open(Module::companyDatabasePath(folder));
        Module::CompanyDataPath = folder;
        Module::CurrentCompanyName = "Green Valley School";
        Module::CurrentUserName = "ADMIN";
        Module::CurrentUserPosition = "SUPER USER";
        Module::CompanyDb->execute("INSERT INTO Group1 (GroupID, GroupName) VALUES (1, 'Class 5')");
    }

    // The work area a 1024x768 screen leaves once the task bar has its share.
    void showOnSmallScreen()
    {
        main->resize(1024, 728);
        main->show();
        main->buildMenuOnce();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }

    QMdiSubWindow *frameOf(const QString &name)
    {
        QWidget *window = WindowRegistry::find(name);
        return window ? qobject_cast<QMdiSubWindow *>(window->parentWidget()) : nullptr;
    }

    // The window's frame and every button it shows lie whole inside the main window's area.
    void expectWhole(QWidget *window)
    {
        QWidget *viewport = main->area()->viewport();
        const QRect area = viewport->rect();
        auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(area.contains(frame->geometry()))
            << "frame " << frame->geometry().width() << "x" << frame->geometry().height() << " at "
            << frame->x() << "," << frame->y() << " in an area of " << area.width() << "x"
            << area.height();
        for (QWidget *control : window->findChildren<QWidget *>()) {
            if (!control->isVisible() || !(qobject_cast<QAbstractButton *>(control) ||
                                           qobject_cast<StyledButton *>(control)))
                continue;
            const QRect inWindow(control->mapTo(window, QPoint(0, 0)), control->size());
            const QRect inArea(control->mapTo(viewport, QPoint(0, 0)), control->size());
            EXPECT_TRUE(window->rect().contains(inWindow) && area.contains(inArea))
                << control->objectName().toStdString() << " at " << inArea.x() << "," << inArea.y()
                << " size " << inArea.width() << "x" << inArea.height();
        }
    }

    // The sub-window the user works in: the active one, on top of the others.
    QMdiSubWindow *front()
    {
        const auto stacked = main->area()->subWindowList(QMdiArea::StackingOrder);
        EXPECT_EQ(main->area()->activeSubWindow(), stacked.value(stacked.size() - 1));
        return main->area()->activeSubWindow();
    }

    // Lets the activation that follows a closed box arrive.
    void settleActivation()
    {
        ASSERT_TRUE(waitFor([this] { return QApplication::activeWindow() == main.get(); }));
        settle();
    }
};

TEST_F(EveryWindowTest, EveryRibbonButtonOpensItsWindowWhole)
{
    showOnSmallScreen();
    for (int id = 0; id < 12; ++id) {
        const QString name = MDIForm1::windowForButton(QString::number(id));
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(WindowRegistry::isRegistered(name)) << "no window behind ribbon button " << id;
        emit main->RibbonMenu1()->ButtonClick(QString::number(id), QString());
        settle();
        QWidget *window = WindowRegistry::find(name);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        expectWhole(window);
        saveScreenshot(main.get(), "program-" + name + ".png");
        WindowRegistry::close(name);
        settle();
    }
}

TEST_F(EveryWindowTest, TheReportWindowFitsWholeOnASmallScreen)
{
    showOnSmallScreen();
    ReportHandOver::showReport(QStringLiteral("BookList.rpt"));
    settle();
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_NE(report, nullptr);
    expectWhole(report);
    saveScreenshot(main.get(), "program-frmPrint1.png");
    report->grab().save(QDir(testOutputFolder()).filePath("frmPrint1-1024.png"));
}

TEST_F(EveryWindowTest, TheIssueAndReturnDetailsReadAtFullContrast)
{
    showOnSmallScreen();
    Database &db = *Module::CompanyDb;
    db.execute("INSERT INTO Card (CardID, CardNo, GroupID, GroupName, RollNo, Name) "
               "VALUES (1, 7, 1, 'Class 5', 'R1', 'Asha Verma')");
    db.execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Status, IssueID, CardID, "
               "CardNo) VALUES (1, '1', 'The Blue Umbrella', 'Ruskin Bond', 'Available', 0, 0, 0)");
    db.execute("INSERT INTO Book (BookID, AccessionNo, title, Author, Status, IssueID, CardID, "
               "CardNo, IssueDate) VALUES (2, '2', 'Godan', 'Premchand', 'Issue', 1, 1, 7, ?)",
               {QDate::currentDate().toString("dd-MMM-yy")});
    const QList<QPair<QString, QString>> windows = {{"frmBookIssue", "1"}, {"frmBookReceipt", "2"}};
    for (const auto &[name, accessionNo] : windows) {
        SCOPED_TRACE(name.toStdString());
        QWidget *window = WindowRegistry::show(name);
        settle();
        auto *cardNo = window->findChild<QLineEdit *>("txtCardNo");
        cardNo->setFocus();
        QTest::keyClicks(cardNo, "7");
        QTest::keyClick(cardNo, Qt::Key_Return);
        auto *book = window->findChild<QLineEdit *>("txtAccessionNo");
        book->setFocus();
        QTest::keyClicks(book, accessionNo);
        QTest::keyClick(book, Qt::Key_Return);
        settle();
        const QImage shot = window->grab().toImage();
        shot.save(QDir(testOutputFolder()).filePath(name + "-1024.png"));
        for (const char *boxName : {"txtName", "txtTitle"}) {
            auto *box = window->findChild<QLineEdit *>(boxName);
            ASSERT_FALSE(box->text().isEmpty()) << boxName;
            EXPECT_FALSE(box->isEnabled()) << boxName;
            // Ordinary text on a screen needs at least 4.5 to 1.
            EXPECT_GE(textContrast(shot, window, box), 4.5) << boxName;
        }
        WindowRegistry::close(name);
        settle();
    }
}

TEST_F(EveryWindowTest, TheWindowInUseComesBackToTheFrontAfterABox)
{
    dialogs = installScriptedDialogs(std::make_unique<RealBoxes>());
    showOnSmallScreen();
    Module::CompanyDb->execute(
        "INSERT INTO Book (BookID, AccessionNo, title, Author, Subject, Publisher, Edition, OT11, "
        "Status, OT14) VALUES (1, '1', 'Godan', 'Premchand', 'Fiction', 'Rupa', '2nd', 'Rack 1', "
        "'Available', 'A#B')");
    auto *list = WindowRegistry::show<frmBookList>("frmBookList");
    settleActivation();
    const auto click = [list](const char *name) {
        emit list->findChild<StyledButton *>(name)->Click();
    };

    // A book without a barcode gets a notice before its sticker; the stickers then come first.
    auto *rows = list->findChild<RecordList *>("Lv1")->records();
    ASSERT_EQ(rows->size(), 1);
    rows->setAllChecked(true);
    dialogs->expectOk();
    click("cmdSticker");
    settleActivation();
    EXPECT_EQ(front(), frameOf("frmPrint1"));

    // Back in the book list, an import's notice leaves the book list in front.
    WindowRegistry::show("frmBookList");
    settleActivation();
    ASSERT_EQ(front(), frameOf("frmBookList"));
    const QString workbook = path("import.xlsx");
    QStringList row(23);
    row[1] = "2";
    row[2] = "Gaban";
    ListWorkbook::write(workbook, {"Green Valley School", "BOOK LIST", {"Sr. No."}, 1}, {row});
    click("cmdImport");
    list->findChild<QLineEdit *>("txtPath")->setText(workbook);
    // The focus lies in the import panel, which the notice's end hides.
    auto *count = list->findChild<QLineEdit *>("txtNoofRecords");
    count->setFocus();
    QTest::keyClick(count, Qt::Key_4);
    dialogs->expectOk();
    click("cmdImportData");
    EXPECT_EQ(dialogs->last().text, "1 records sucessfully fetched");
    settleActivation();
    EXPECT_EQ(front(), frameOf("frmBookList"));
}

// A window just opened from the ribbon or a list takes the keyboard: its access keys work before
// any click.
TEST_F(EveryWindowTest, AWindowJustOpenedTakesItsAccessKeysAtOnce)
{
    showOnSmallScreen();
    // The focus lies in the window or on its frame, which Qt asks before it lets the window's
    // access keys work.
    const auto focusIn = [](QWidget *window) {
        QWidget *focus = QApplication::focusWidget();
        return focus && window->parentWidget()->isAncestorOf(focus);
    };
    for (int id = 0; id < 12; ++id) {
        const QString name = MDIForm1::windowForButton(QString::number(id));
        SCOPED_TRACE(name.toStdString());
        emit main->RibbonMenu1()->ButtonClick(QString::number(id), QString());
        settle();
        QWidget *window = WindowRegistry::find(name);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(focusIn(window));
        WindowRegistry::close(name);
        settle();
    }

    // Book Entry from the ribbon: Alt+N opens the form for a new book at once.
    emit main->RibbonMenu1()->ButtonClick("0", QString());
    settle();
    QWidget *book = WindowRegistry::find("frmBook");
    ASSERT_NE(book, nullptr);
    auto *accessionNo = book->findChild<QLineEdit *>("txtAccessionNo");
    ASSERT_FALSE(accessionNo->isEnabled());
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(accessionNo->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), accessionNo);
    WindowRegistry::close("frmBook");
    settle();

    // The sticker preview, Print hidden, from the book list: the focus goes with it.
    Module::CompanyDb->execute("INSERT INTO Book (BookID, AccessionNo, title, Status, OT14) "
                               "VALUES (1, '1', 'Godan', 'Available', 'B1')");
    auto *list = WindowRegistry::show<frmBookList>("frmBookList");
    settle();
    list->findChild<RecordList *>("Lv1")->records()->setAllChecked(true);
    emit list->findChild<StyledButton *>("cmdSticker")->Click();
    settle();
    auto *preview = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_NE(preview, nullptr);
    ASSERT_FALSE(preview->cmdPrint()->isVisible());
    EXPECT_TRUE(focusIn(preview));
}
