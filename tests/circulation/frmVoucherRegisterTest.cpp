#include "DateTyping.h"
#include "PinnedCores.h"
#include "RealInput.h"
#include "VoucherFixture.h"
#include "WaitFor.h"
#include "WindowManager.h"

#include "circulation/frmBookIssue.h"
#include "circulation/frmVoucherRegister.h"
#include "controls/button/StyledButton.h"
#include "ui/DateBox.h"
#include "ui/RecordList.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>

namespace {

class frmVoucherRegisterTest : public VoucherTest
{
protected:
    void SetUp() override
    {
        VoucherTest::SetUp();
        setFinancialYear("01-Apr-25", "31-Mar-26");
        addGroup(1, "Class 5", 0);
        addCard(1, 101, 1, "Asha Verma", "R7");
        addBook(1, "10", "Zoology");
        addVoucher({.id = 1, .date = "2025-12-30", .srNo = 1});
        addVoucher({.id = 2,
                    .date = "2026-01-02",
                    .srNo = 2,
                    .accessionNo = 12,
                    .name = "Ravi Kumar",
                    .title = "Poems"});
        addVoucher({.id = 3, .date = "2026-01-02", .srNo = 3, .accessionNo = 120});
        addVoucher({.id = 4,
                    .type = "Receipt",
                    .date = "2026-01-01",
                    .srNo = 1,
                    .issueId = 1,
                    .daysDelayed = 2,
                    .totalFine = 4,
                    .fineReceiptNo = 31});
    }
    frmVoucherRegister *open(const QString &name)
    {
        window = WindowRegistry::show<frmVoucherRegister>(name);
        EXPECT_TRUE(activate(window));
        list = window->findChild<RecordList *>("Lv1");
        from = window->findChild<DateBox *>("dtpFromDate");
        to = window->findChild<DateBox *>("dtpToDate");
        return window;
    }
    QStringList keys()
    {
        QStringList texts;
        for (int i = 0; i < list->records()->size(); ++i)
            texts << list->records()->row(i).texts[0];
        return texts;
    }
    QString count() { return window->findChild<QLineEdit *>("txtV1")->text(); }
    void click(const char *button) { emit window->findChild<StyledButton *>(button)->Click(); }

    frmVoucherRegister *window = nullptr;
    RecordList *list = nullptr;
    DateBox *from = nullptr;
    DateBox *to = nullptr;
};

// The register as the program shows it, a child window of the main window's area, on a real X
// display with a window manager, clicked and typed into by the X server's own keys and clicks:
// they go where a user's go, to the open calendar while it holds the keyboard and the pointer.
// Offscreen it skips itself.
class frmVoucherRegisterOnAWindowManager : public frmVoucherRegisterTest
{
protected:
    void SetUp() override
    {
        if (QApplication::platformName() != QLatin1String("xcb") || !RealInput::available())
            GTEST_SKIP() << "needs a real X display (runs under xvfb-run)";
        const QString failure = manager.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        frmVoucherRegisterTest::SetUp();
        area = new QMdiArea;
        area->resize(1010, 620);
        area->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(area));
        ASSERT_TRUE(activate(area));
        WindowRegistry::setMdiArea(area);
    }
    void openInArea(const QString &name)
    {
        window = WindowRegistry::show<frmVoucherRegister>(name);
        frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
        ASSERT_TRUE(frame);
        ASSERT_TRUE(waitFor([&] { return window->isVisible() && area->isActiveWindow(); }));
        list = window->findChild<RecordList *>("Lv1");
        from = window->findChild<DateBox *>("dtpFromDate");
        to = window->findChild<DateBox *>("dtpToDate");
    }
    bool closed() const { return !frame || !frame->isVisible(); }
    // The middle of the close button on the child window's title bar.
    QPoint closeButton() const
    {
        QStyleOptionTitleBar option;
        option.initFrom(frame);
        option.subControls = QStyle::SC_All;
        option.titleBarFlags = frame->windowFlags();
        option.titleBarState = frame->windowState();
        option.rect = QRect(0, 0, frame->width(),
                            frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame));
        return frame->mapToGlobal(frame->style()
                                      ->subControlRect(QStyle::CC_TitleBar, &option,
                                                       QStyle::SC_TitleBarCloseButton, frame)
                                      .center());
    }
    QPoint intoDay(DateBox *box) const
    {
        auto *editor = box->findChild<QLineEdit *>();
        return editor->mapToGlobal(pointAtDate(box, 1));
    }

    WindowManager manager;
    QPointer<QMdiArea> area;
    QPointer<QMdiSubWindow> frame;
};

} // namespace

TEST_F(frmVoucherRegisterTest, IssueRegisterOpensOnTheLatestIssueWithinTheFinancialYear)
{
    open("frmBookIssueRegister");
    EXPECT_EQ(window->findChild<QLabel *>("lblHeader")->text(), "BOOK ISSUE REGISTER");
    EXPECT_EQ(from->date(), QDate(2026, 1, 2));
    EXPECT_EQ(to->date(), QDate(2026, 1, 2));
    EXPECT_EQ(from->minimumDate(), QDate(2025, 4, 1));
    EXPECT_EQ(to->maximumDate(), QDate(2026, 3, 31));
    EXPECT_EQ(from->displayFormat(), "dd-MM-yyyy");
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    EXPECT_EQ(count(), "2");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "S.N");
    window->grab().save(testOutputFolder() + "/frmBookIssueRegister.png");

    // The pickers refuse dates outside the financial year.
    from->setDate(QDate(2025, 1, 1));
    to->setDate(QDate(2027, 1, 1));
    EXPECT_EQ(from->date(), QDate(2025, 4, 1));
    EXPECT_EQ(to->date(), QDate(2026, 3, 31));

    // Enter walks from date to date to OK; OK lists the range across the year end.
    from->setFocus();
    QTest::keyClick(from, Qt::Key_Return);
    EXPECT_TRUE(to->hasFocus());
    QTest::keyClick(to, Qt::Key_Return);
    EXPECT_TRUE(window->findChild<StyledButton *>("cmdOK")->hasFocus());
    from->setDate(QDate(2025, 12, 1));
    to->setDate(QDate(2026, 1, 1));
    EXPECT_EQ(count(), "2"); // a new date alone does not reload
    click("cmdOK");
    EXPECT_EQ(keys(), QStringList{"1"});
    EXPECT_EQ(list->records()->row(0).texts[1], "30-12-2025");

    // Showing it again only brings it forward.
    EXPECT_EQ(WindowRegistry::show("frmBookIssueRegister"), window);
    EXPECT_EQ(keys(), QStringList{"1"});
    from->setFocus();
    QTest::keyClick(from, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBookIssueRegister"); }));
}

// On one or two cores a long range shows its first rows as soon as OK is pressed, then the whole
// range: the rows shown first are the whole register's first, and the count is the whole range's.
TEST_F(frmVoucherRegisterTest, ALongRangeShowsItsFirstRowsThenTheWholeRange)
{
    PinnedCores cores;
    ASSERT_TRUE(cores.pinTo(cores.fewest()));
    {
        Transaction transaction(db());
        qint64 key = 11;
        for (int n = 0; n < 300; ++n) {
            key = (key * 48271) % 2147483647;
            addVoucher({.id = int(key),
                        .date = QDate(2025, 4, 1).addDays(n % 200).toString(Qt::ISODate),
                        .srNo = 300 - n});
        }
        transaction.commit();
    }
    open("frmBookIssueRegister");
    from->setDate(QDate(2025, 4, 1));
    to->setDate(QDate(2026, 3, 31));
    std::vector<QStringList> shown;
    const auto watch = QObject::connect(list->records(), &QAbstractItemModel::modelReset,
                                        [&] { shown.push_back(keys()); });
    click("cmdOK");
    QObject::disconnect(watch);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].isEmpty());
    EXPECT_LT(shown[0].size(), shown[1].size());
    EXPECT_EQ(shown[0], shown[1].mid(0, shown[0].size()));
    const ListRows whole = VoucherRegister::load(db(), VoucherRegister::Kind::Issue,
                                                 {QDate(2025, 4, 1), QDate(2026, 3, 31)},
                                                 {"AccessionNo", ""}, {"Name", ""});
    QStringList wholeKeys;
    for (int row = 0; row < whole.size(); ++row)
        wholeKeys << whole.text(row, 0);
    EXPECT_EQ(shown[1], wholeKeys);
    EXPECT_EQ(count(), QString::number(wholeKeys.size()));
}

TEST_F(frmVoucherRegisterTest, FiltersReloadAtEveryKeystroke)
{
    open("frmBookIssueRegister");
    auto *box = window->findChild<QLineEdit *>("txtSearch");
    QTest::keyClicks(box, "12");
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    QTest::keyClicks(box, "0");
    EXPECT_EQ(keys(), QStringList{"3"});
    EXPECT_EQ(count(), "1");

    window->findChild<QComboBox *>("cboSearch1")->setCurrentText("Title");
    EXPECT_EQ(count(), "1");
    box->clear();
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch1"), "po");
    EXPECT_EQ(keys(), QStringList{"2"});
    // A quote is looked for like any other character.
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch1"), "'");
    EXPECT_EQ(count(), "0");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(frmVoucherRegisterTest, RowsOpenTheirVouchersOnEnterOrDoubleClick)
{
    open("frmBookIssueRegister");
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 1));
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
    auto *issue = WindowRegistry::find<frmBookIssue>("frmBookIssue");
    ASSERT_TRUE(issue);
    EXPECT_EQ(issue->findChild<QLineEdit *>("txtVoucherID")->text(), "3");
    EXPECT_EQ(issue->findChild<StyledButton *>("cmdsave")->caption(), "&Update");
    EXPECT_EQ(WindowRegistry::find("frmBookIssueRegister"), window); // the list stays open

    open("frmBookReceiptRegister");
    EXPECT_EQ(from->date(), QDate(2026, 1, 2)); // the latest voucher of either kind
    EXPECT_EQ(count(), "0");
    from->setDate(QDate(2026, 1, 1));
    click("cmdOK");
    ASSERT_EQ(keys(), QStringList{"4"});
    EXPECT_EQ(list->records()->row(0).texts.mid(8), (QStringList{"2", "4", "31"}));
    Module::SelectedRecordID = 0;
    list->setCurrentIndex(list->model()->index(0, 1));
    emit list->doubleClicked(list->currentIndex());
    EXPECT_EQ(Module::SelectedRecordID, 4);

    // An empty list opens nothing.
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch"), "x");
    Module::SelectedRecordID = 0;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Module::SelectedRecordID, 0);
}

TEST_F(frmVoucherRegisterTest, PrintStagesTheListAsShownUnderThePickersDates)
{
    open("frmBookReceiptRegister");
    from->setDate(QDate(2025, 12, 1));
    click("cmdOK");
    to->setDate(QDate(2026, 1, 31)); // not reloaded: the print names the new dates
    click("cmdPrint");
    ASSERT_EQ(stagedRows(), 1);
    Recordset row = Module::CommonDb->query("SELECT * FROM Printing");
    EXPECT_EQ(row.text("T1"), "01-01-2026");
    EXPECT_EQ(row.text("T8") + "|" + row.text("T9") + "|" + row.text("T10"), "2|4|31");
    EXPECT_EQ(row.text("T16"), "BOOK RECEIPT REGISTER");
    EXPECT_EQ(row.text("T17"), "01-12-2025 To 31-01-2026");
    EXPECT_EQ(row.field("N1").toInt(), 1);
    EXPECT_EQ(row.text("c4"), "Shimla");
    EXPECT_TRUE(row.field("T11").isNull());
    EXPECT_TRUE(row.field("c6").isNull());
    row.close();
    auto *report = WindowRegistry::find<frmPrint1>("frmPrint1");
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->lblRPTFileName()->text().endsWith("/Reports/BookReceiveRegister.rpt"));

    // Without a company row the print stops in its box; an empty list still prints.
    db().execute("DELETE FROM Company");
    dialogs->expectOk();
    click("cmdPrint");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs->last().title, "");
    EXPECT_TRUE(dialogs->last().text.startsWith("Error 3021"));
    QTest::keyClicks(window->findChild<QLineEdit *>("txtSearch1"), "nobody");
    click("cmdPrint");
    EXPECT_EQ(stagedRows(), 0);
}

TEST_F(frmVoucherRegisterTest, WithoutVouchersOpensOnTodayOrKeepsTheYearsBound)
{
    db().execute("DELETE FROM Voucher");
    setFinancialYear(QDate::currentDate().addDays(-10).toString("dd-MMM-yy"),
                     QDate::currentDate().addDays(10).toString("dd-MMM-yy"));
    open("frmBookIssueRegister");
    EXPECT_EQ(from->date(), QDate::currentDate());
    EXPECT_EQ(count(), "0");
    window->findChild<StyledButton *>("cmdClose")->Click();
    EXPECT_TRUE(waitFor([] { return !WindowRegistry::find("frmBookIssueRegister"); }));

    // A latest voucher outside the year leaves the pickers where the limits put them.
    setFinancialYear("01-Apr-24", "31-Mar-25");
    addVoucher({.id = 9, .date = "2026-01-02"});
    open("frmBookIssueRegister");
    EXPECT_EQ(from->date(), QDate(2024, 4, 1));
    EXPECT_EQ(to->date(), QDate(2024, 4, 1));
}

// The From and To boxes take every date of the financial year as typed, January to March too; a
// date outside it is said, naming the box, and lists nothing from another date.
TEST_F(frmVoucherRegisterTest, TypedDatesOfTheFinancialYearListAsTyped)
{
    open("frmBookIssueRegister");
    ASSERT_EQ(QApplication::focusWidget(), from);
    QTest::keyClicks(from, "01042025");
    QTest::keyClick(from, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), to);
    QTest::keyClicks(to, "31032026");
    EXPECT_EQ(from->date(), QDate(2025, 4, 1));
    EXPECT_EQ(to->date(), QDate(2026, 3, 31));
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"1", "2", "3"}));

    QTest::keyClick(to, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), from);
    QTest::keyClick(from, Qt::Key_Tab);
    QTest::keyClicks(to, "15012026");
    EXPECT_EQ(to->date(), QDate(2026, 1, 15));

    // With dashes, along the Enter chain.
    from->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(from, "01-12-2025");
    QTest::keyClick(from, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), to);
    QTest::keyClicks(to, "01-01-2026");
    QTest::keyClick(to, Qt::Key_Return);
    EXPECT_EQ(from->date(), QDate(2025, 12, 1));
    EXPECT_EQ(to->date(), QDate(2026, 1, 1));
    click("cmdOK");
    EXPECT_EQ(keys(), QStringList{"1"});

    to->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(to, "15-04-2026");
    dialogs->expectOk();
    QTest::keyClick(to, Qt::Key_Tab);
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    const QString outside = "The date in To, 15-04-2026, is outside 01-04-2025 to 31-03-2026.";
    EXPECT_EQ(dialogs->texts(), QStringList{outside});
    EXPECT_EQ(QApplication::focusWidget(), to);
    EXPECT_EQ(to->date(), QDate(2026, 1, 1));
    dialogs->expectOk();
    click("cmdOK");
    EXPECT_EQ(dialogs->texts(), (QStringList{outside, outside}));
    EXPECT_EQ(keys(), QStringList{"1"});
}

// The last date a box can hold lists its vouchers like any other day.
TEST_F(frmVoucherRegisterTest, ARegisterToTheLastDayOfTheCalendarListsItsVouchers)
{
    setFinancialYear("01-Dec-9999", "31-Dec-9999");
    addVoucher({.id = 9, .date = "9999-12-31", .srNo = 1});
    addVoucher({.id = 8, .date = "9999-12-30", .srNo = 2});
    open("frmBookIssueRegister");
    ASSERT_EQ(QApplication::focusWidget(), from);
    QTest::keyClicks(from, "30129999");
    QTest::keyClick(from, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), to);
    QTest::keyClicks(to, "31129999");
    EXPECT_EQ(to->date(), QDate(9999, 12, 31));
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"8", "9"}));
    EXPECT_EQ(count(), "2");
}

// A click at the end of a picker's date starts a new one; a caret placed in a part retypes that
// part; the list shows the range typed.
TEST_F(frmVoucherRegisterTest, DatesTypedAfterAClickListTheRangeTyped)
{
    open("frmBookIssueRegister");
    clickIntoDate(from, 10);
    QTest::keyClicks(from, "30122025");
    QTest::keyClick(from, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), to);
    QTest::keyClicks(to, "31032026");
    click("cmdOK");
    EXPECT_EQ(from->text(), "30-12-2025");
    EXPECT_EQ(keys(), (QStringList{"1", "2", "3"}));

    // To: the day and month typed, then the year mended where the click put the caret.
    QTest::keyClick(to, Qt::Key_Backtab);
    QTest::keyClick(from, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), to);
    QTest::keyClicks(to, "0201-25");
    clickIntoDate(to, 7);
    QTest::keyClicks(to, "2026");
    from->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(from, "3112-25");
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(from, Qt::Key_Left);
    QTest::keyClicks(from, "01");
    click("cmdOK");
    EXPECT_EQ(from->date(), QDate(2025, 12, 1));
    EXPECT_EQ(to->date(), QDate(2026, 1, 2));
    EXPECT_EQ(keys(), (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// A From date typed into the open calendar, however it was opened, is read day first as the box
// reads it: the list starts at the day typed, or the box says the day does not exist.
TEST_F(frmVoucherRegisterTest, AFromDateTypedIntoTheOpenCalendarListsFromTheDayTyped)
{
    open("frmBookIssueRegister");
    const auto typeFrom = [&](CalendarOpening how, const QString &typed) {
        if (how != CalendarOpening::Arrow)
            clickIntoDate(from, 10);
        typeIntoCalendar(from, how, typed);
    };
    typeFrom(CalendarOpening::F4, "31122025");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    typeFrom(CalendarOpening::AltDown, "01-12-2025");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"1", "2", "3"}));
    typeFrom(CalendarOpening::Arrow, "31-Dec-25");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    EXPECT_EQ(from->date(), QDate(2025, 12, 31));
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    typeFrom(CalendarOpening::F4, "31-04-2025");
    dialogs->expectOk();
    click("cmdOK");
    EXPECT_EQ(dialogs->texts(), QStringList{"The date in From, 31-04-2025, is not a date.\r"
                                            "Type the day, the month and the year, as "
                                            "15-06-2027."});
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    EXPECT_EQ(QApplication::focusWidget(), from);
}

// A From date begun in the box (the day retyped after a click into it) and finished in the open
// calendar lists from the day typed.
TEST_F(frmVoucherRegisterOnAWindowManager, AFromDateBegunBeforeTheCalendarOpensOnARealDisplay)
{
    openInArea("frmBookIssueRegister");
    RealInput::click(intoDay(from));
    RealInput::type("31");
    RealInput::key(Qt::Key_F4);
    ASSERT_TRUE(from->shownCalendar());
    EXPECT_EQ(from->text(), "31-01-2026");
    EXPECT_EQ(from->shownCalendar()->selectedDate(), QDate(2026, 1, 31));
    RealInput::type("122025");
    EXPECT_EQ(from->text(), "31-12-2025");
    RealInput::key(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), to);
    auto *ok = window->findChild<StyledButton *>("cmdOK");
    RealInput::click(ok->mapToGlobal(ok->rect().center()));
    EXPECT_EQ(from->date(), QDate(2025, 12, 31));
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// One click on the child window's close button closes the register, its calendar open or not; a
// click into another box only closes the calendar, as Qt's own date editor does.
TEST_F(frmVoucherRegisterOnAWindowManager, OneClickOnTheCloseButtonClosesItOnARealDisplay)
{
    openInArea("frmBookIssueRegister");
    const QString toBefore = to->text();
    RealInput::click(intoDay(from));
    RealInput::key(Qt::Key_F4);
    ASSERT_TRUE(from->shownCalendar());
    RealInput::click(to->mapToGlobal(QPoint(10, to->height() / 2)));
    EXPECT_FALSE(from->shownCalendar());
    EXPECT_EQ(QApplication::focusWidget(), from);
    EXPECT_EQ(to->text(), toBefore);

    RealInput::key(Qt::Key_F4);
    ASSERT_TRUE(from->shownCalendar());
    RealInput::click(closeButton());
    EXPECT_TRUE(waitFor([&] { return closed(); }, 1000)) << "the click only closed the calendar";

    // The pointer brought onto the button while the calendar is open, the calendar closed by Esc:
    // the button knows the pointer is on it.
    openInArea("frmBookIssueRegister");
    RealInput::click(intoDay(from));
    RealInput::type("15");
    RealInput::key(Qt::Key_F4);
    ASSERT_TRUE(from->shownCalendar());
    RealInput::moveTo(closeButton());
    RealInput::key(Qt::Key_Escape);
    ASSERT_FALSE(from->shownCalendar());
    RealInput::click(closeButton());
    EXPECT_TRUE(waitFor([&] { return closed(); }, 1000)) << "the click was lost";
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// Close clicked with a date outside the year closes the register and says nothing of the date.
TEST_F(frmVoucherRegisterTest, CloseIsNotRacedByTheDateBeingTyped)
{
    open("frmBookReceiptRegister");
    clickIntoDate(from, 1);
    QTest::keyClicks(from, "15042026");
    auto *close = window->findChild<StyledButton *>("cmdClose");
    const QPoint middle = close->rect().center();
    QTest::mousePress(close, Qt::LeftButton, Qt::NoModifier, middle);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    QTest::mouseRelease(close, Qt::LeftButton, Qt::NoModifier, middle);
    QCoreApplication::processEvents();
    EXPECT_FALSE(WindowRegistry::find("frmBookReceiptRegister") &&
                 WindowRegistry::find("frmBookReceiptRegister")->isVisible());
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    // Esc likewise.
    open("frmBookIssueRegister");
    to->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(to, "31-04-2026");
    QTest::keyClick(to, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(WindowRegistry::find("frmBookIssueRegister") &&
                 WindowRegistry::find("frmBookIssueRegister")->isVisible());
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// The range typed or pasted as librarians do: a month by its name, blanks around a pasted date, a
// middle click, a drag over the month, an empty box. The list shows the range typed, or the box
// says why it cannot.
TEST_F(frmVoucherRegisterTest, DatesPastedOrTypedAsPrintedListTheRangeTyped)
{
    open("frmBookIssueRegister");
    ASSERT_EQ(QApplication::focusWidget(), from);
    const auto paste = [&](DateBox *box, const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        box->typeAnew();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    };
    paste(from, "01-Nov-26");
    dialogs->expectOk();
    click("cmdOK");
    EXPECT_EQ(dialogs->texts(),
              QStringList{"The date in From, 01-11-2026, is outside 01-04-2025 to 31-03-2026."});
    paste(from, "31-Dec-25");
    to->typeAnew();
    QTest::keyClicks(to, "01-Jan-2026");
    click("cmdOK");
    EXPECT_EQ(from->date(), QDate(2025, 12, 31));
    EXPECT_EQ(keys(), QStringList{});
    paste(from, " 30-12-2025\r\n");
    click("cmdOK");
    EXPECT_EQ(keys(), QStringList{"1"});

    DateBox::setMouseSelectionForTest([] { return QStringLiteral("02-01-2026\n"); });
    middleClickIntoDate(to, 1);
    DateBox::setMouseSelectionForTest({});
    EXPECT_EQ(to->text(), "02-01-2026");
    click("cmdOK");
    EXPECT_EQ(keys(), (QStringList{"1", "2", "3"}));

    from->typeAnew();
    QTest::keyClicks(from, "31012026");
    dragOverDate(from, 3, 5); // the month
    QTest::keyClicks(from, "12");
    EXPECT_EQ(from->text(), "31-12-2026");
    dragOverDate(from, 6, 10); // the year
    QTest::keyClicks(from, "2025");
    click("cmdOK");
    EXPECT_EQ(from->date(), QDate(2025, 12, 31));
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
    EXPECT_EQ(dialogs->boxes.size(), 1);

    from->typeAnew();
    QTest::keyClick(from, Qt::Key_Delete);
    dialogs->expectOk();
    click("cmdOK");
    EXPECT_EQ(dialogs->last().text, "The date in From is missing.\rType the day, the month and "
                                    "the year, as 15-06-2027.");
    EXPECT_EQ(QApplication::focusWidget(), from);
    EXPECT_EQ(keys(), (QStringList{"2", "3"}));
}
