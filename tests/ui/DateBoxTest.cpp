#include "DateTyping.h"
#include "QtPrinters.h"
#include "RealInput.h"
#include "ScriptedDialogs.h"
#include "ShownMessageBox.h"
#include "WaitFor.h"
#include "WindowManager.h"

#include "core/DateEntry.h"
#include "core/DateText.h"
#include "ui/DateBox.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <random>

// GoogleTest prints a date as bytes without this.
static void PrintTo(const QDate &date, std::ostream *out)
{
    *out << date.toString(Qt::ISODate).toStdString();
}

namespace {

// A box between two text boxes, as the windows place it, entered by Tab from the first.
class DateBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialogs = ScriptedDialogs::current();
        before = new QLineEdit(&window);
        box = new DateBox(&window);
        after = new QLineEdit(&window);
        before->setGeometry(0, 0, 100, 24);
        box->setGeometry(0, 30, 160, 26);
        after->setGeometry(0, 60, 100, 24);
        box->setCaption("Date Of Issue");
        box->setDate(QDate(2027, 6, 30));
        window.show();
        EXPECT_TRUE(activate(&window));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QLineEdit *editor() { return box->findChild<QLineEdit *>(); }
    QString shown() { return editor()->text(); }
    // Tab from the box before, then the keys one by one.
    void tabInAndType(const QString &keys)
    {
        before->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClicks(box, keys);
    }
    void leave()
    {
        QTest::keyClick(box, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    void clickAt(int position) { clickIntoDate(box, position); }

    ScriptedDialogs *dialogs = nullptr;
    QWidget window;
    QLineEdit *before = nullptr;
    DateBox *box = nullptr;
    QLineEdit *after = nullptr;
};

// The same box on a real X display with a window manager, typed into and clicked by the X
// server's own keys and clicks, which go where a user's go: to the open calendar while it holds
// the keyboard and the pointer. Offscreen it skips itself.
class DateBoxOnAWindowManager : public DateBoxTest
{
protected:
    void SetUp() override
    {
        if (QApplication::platformName() != QLatin1String("xcb") || !RealInput::available())
            GTEST_SKIP() << "needs a real X display (runs under xvfb-run)";
        const QString failure = manager.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        DateBoxTest::SetUp();
    }
    // A click into the day; two clicks in a row land apart, or they would make a double click.
    void clickIntoDay()
    {
        dayClicks_ = (dayClicks_ + 1) % 2;
        RealInput::click(editor()->mapToGlobal(pointAtDate(box, 2 * dayClicks_)));
    }
    void tabIn()
    {
        RealInput::click(before->mapToGlobal(QPoint(10, 10)));
        RealInput::key(Qt::Key_Tab);
    }
    void open(CalendarOpening how)
    {
        switch (how) {
        case CalendarOpening::F4:
            RealInput::key(Qt::Key_F4);
            break;
        case CalendarOpening::AltDown:
            RealInput::key(Qt::Key_Down, Qt::AltModifier);
            break;
        case CalendarOpening::Arrow:
            RealInput::click(box->mapToGlobal(QPoint(box->width() - 6, box->height() / 2)));
            break;
        }
    }

    WindowManager manager;

private:
    int dayClicks_ = 0;
};

} // namespace

TEST_F(DateBoxTest, LooksAsEveryDatePickerOfTheProgram)
{
    EXPECT_EQ(box->displayFormat(), "dd-MM-yyyy");
    EXPECT_TRUE(box->calendarPopup());
    EXPECT_EQ(box->locale().language(), QLocale::English);
    EXPECT_EQ(shown(), "30-06-2027");

    // Drawn as the plain date editor the windows had, so no window changes its look.
    QDateEdit plain(&window);
    plain.setLocale(QLocale(QLocale::English));
    plain.setDisplayFormat("dd-MM-yyyy");
    plain.setCalendarPopup(true);
    plain.setDate(box->date());
    plain.setGeometry(box->geometry().translated(0, 100));
    plain.show();
    EXPECT_EQ(plain.grab().toImage(), box->grab().toImage());
}

TEST_F(DateBoxTest, DigitsFillDayMonthAndYearWithOrWithoutSeparators)
{
    tabInAndType("01-01-2030");
    EXPECT_EQ(box->date(), QDate(2030, 1, 1));
    EXPECT_EQ(shown(), "01-01-2030");

    for (const auto &[keys, expected] : {std::pair<QString, QDate>{"15062027", {2027, 6, 15}},
                                         {"5/6/2028", {2028, 6, 5}},
                                         {"7.8.2029", {2029, 8, 7}},
                                         {"9 10 2026", {2026, 10, 9}},
                                         {"1-2-2031", {2031, 2, 1}},
                                         {"31-12-2027", {2027, 12, 31}}}) {
        tabInAndType(keys);
        EXPECT_EQ(box->date(), expected) << keys.toStdString();
        EXPECT_EQ(shown(), DateText::toLong(expected)) << keys.toStdString();
    }
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, ATwoDigitYearIsReadByTheProgramsRuleWhenTheBoxIsLeft)
{
    tabInAndType("010130");
    EXPECT_EQ(shown(), "01-01-30");
    EXPECT_EQ(box->date(), QDate(2027, 6, 30)); // more digits of the year may come
    leave();
    EXPECT_EQ(box->date(), QDate(DateText::expandYear(30), 1, 1));
    EXPECT_EQ(shown(), "01-01-2030");

    tabInAndType("2-3-99");
    leave();
    EXPECT_EQ(box->date(), QDate(DateText::expandYear(99), 3, 2));
    // A separator after the year ends the date as well, as the window's use of it does.
    tabInAndType("4-5-26-");
    EXPECT_EQ(box->date(), QDate(DateText::expandYear(26), 5, 4));
    tabInAndType("6-7-45");
    EXPECT_EQ(box->checkedDate(), QDate(DateText::expandYear(45), 7, 6));
}

TEST_F(DateBoxTest, NoPartIsCappedByTheOthersWhileTheDateIsTyped)
{
    tabInAndType("31");
    EXPECT_EQ(shown(), "31"); // the new date over the whole of the last one
    QTest::keyClicks(box, "122027");
    EXPECT_EQ(box->date(), QDate(2027, 12, 31));

    box->setDate(QDate(2027, 2, 28));
    tabInAndType("29022028");
    EXPECT_EQ(box->date(), QDate(2028, 2, 29));
    box->setDate(QDate(2026, 4, 1));
    tabInAndType("30-01-2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 30));
}

TEST_F(DateBoxTest, SelectingAllStartsAtTheDay)
{
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "15062027");
    EXPECT_EQ(box->date(), QDate(2027, 6, 15));

    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "16-07-2028");
    EXPECT_EQ(box->date(), QDate(2028, 7, 16));
    EXPECT_EQ(shown(), "16-07-2028");

    // A pasted date is typed as its keys would be.
    QGuiApplication::clipboard()->setText("5/6/2029");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->date(), QDate(2029, 6, 5));
}

TEST_F(DateBoxTest, TypingStartsInThePartUnderTheCaret)
{
    box->setDate(QDate(2027, 6, 15));
    box->setFocus(Qt::OtherFocusReason);
    clickAt(4); // in the month
    ASSERT_GE(editor()->cursorPosition(), 3);
    ASSERT_LE(editor()->cursorPosition(), 5);
    QTest::keyClicks(box, "09");
    EXPECT_EQ(shown(), "15-09-2027");
    leave();
    EXPECT_EQ(box->date(), QDate(2027, 9, 15));

    box->setFocus(Qt::OtherFocusReason);
    clickAt(8); // in the year
    QTest::keyClicks(box, "2029");
    EXPECT_EQ(box->date(), QDate(2029, 9, 15));

    // Home, then the day and the parts after it.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, "2110");
    EXPECT_EQ(shown(), "21-10-2029");
    leave();
    EXPECT_EQ(box->date(), QDate(2029, 10, 21));

    // A click into a date still being typed mends it where the click is, the rest kept.
    tabInAndType("30-12-29");
    clickAt(4);
    QTest::keyClicks(box, "11");
    EXPECT_EQ(shown(), "30-11-29");
    leave();
    EXPECT_EQ(box->date(), QDate(2029, 11, 30));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, ANewRoundOfTypingReplacesTheDate)
{
    tabInAndType("15062027");
    // The caret left at the end, as a window that saves leaves it: typing anew starts at the day.
    QTest::keyClick(box, Qt::Key_End);
    box->typeAnew();
    QTest::keyClicks(box, "01072028");
    EXPECT_EQ(box->date(), QDate(2028, 7, 1));

    // Backspace takes back the digit just typed.
    box->typeAnew();
    QTest::keyClicks(box, "0");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "2");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "3");
    EXPECT_EQ(shown(), "3"); // nothing kept of the date before
    QTest::keyClicks(box, "-7-2028");
    EXPECT_EQ(box->date(), QDate(2028, 7, 3));
}

TEST_F(DateBoxTest, ADateOutsideTheLimitsIsSaidNamingTheBoxAndNotTaken)
{
    box->setDateRange(QDate(2026, 4, 1), QDate(2027, 3, 31));
    box->setDate(QDate(2026, 12, 9));
    tabInAndType("01042026");
    EXPECT_EQ(box->date(), QDate(2026, 4, 1));
    tabInAndType("31032027");
    EXPECT_EQ(box->date(), QDate(2027, 3, 31));
    tabInAndType("15012027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 15));

    tabInAndType("15-04-2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 15));
    dialogs->expectOk();
    leave();
    ASSERT_TRUE(waitFor([&] { return !dialogs->boxes.isEmpty(); }));
    EXPECT_EQ(dialogs->last().text,
              "The date in Date Of Issue, 15-04-2027, is outside 01-04-2026 to 31-03-2027.");
    EXPECT_EQ(dialogs->last().icon, Dialogs::Icon::Critical);
    // The typed date stays to be mended, in the box that has the focus again.
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(shown(), "15-04-2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 15));
    // The window asking for it hears the same.
    dialogs->expectOk();
    EXPECT_EQ(box->checkedDate(), std::nullopt);
    EXPECT_EQ(dialogs->boxes.size(), 2);

    QTest::keyClicks(box, "15-03-2027");
    EXPECT_EQ(box->checkedDate(), QDate(2027, 3, 15));
    EXPECT_EQ(dialogs->boxes.size(), 2);
}

TEST_F(DateBoxTest, ADateThatDoesNotExistIsSaidAndTheLastGoodDateKept)
{
    for (const QString keys : {"31-02-2027", "00-05-2027", "12-13-2027", "1-1-202", "45-06-2027"}) {
        box->setDate(QDate(2027, 6, 30));
        tabInAndType(keys);
        dialogs->expectOk();
        leave();
        ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); })) << keys.toStdString();
        EXPECT_TRUE(dialogs->last().text.startsWith("The date in Date Of Issue, "))
            << dialogs->last().text.toStdString();
        EXPECT_TRUE(dialogs->last().text.endsWith(
            ", is not a date.\rType the day, the month and the year, as 15-06-2027."));
        EXPECT_EQ(box->date(), QDate(2027, 6, 30)) << keys.toStdString();
        EXPECT_TRUE(box->hasFocus());
    }
    EXPECT_EQ(dialogs->boxes[0].text, "The date in Date Of Issue, 31-02-2027, is not a date.\r"
                                      "Type the day, the month and the year, as 15-06-2027.");
}

TEST_F(DateBoxTest, ArrowsStepThePartUnderTheCaret)
{
    box->setDate(QDate(2027, 6, 15));
    tabInAndType("");
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->date(), QDate(2027, 6, 16));
    box->setFocus(Qt::OtherFocusReason);
    clickAt(4);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->date(), QDate(2027, 7, 16));
    // Typed, then stepped: the step goes from the typed date, in the year where the caret is.
    tabInAndType("10032027");
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->date(), QDate(2026, 3, 10));
    EXPECT_EQ(shown(), "10-03-2026");
}

TEST_F(DateBoxTest, ADateSetByTheWindowEndsWhatWasTyped)
{
    tabInAndType("31-02");
    box->setDate(QDate(2026, 1, 5));
    EXPECT_EQ(shown(), "05-01-2026");
    leave();
    EXPECT_EQ(box->date(), QDate(2026, 1, 5));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, AClickAtTheEndOfTheDateStartsANewOne)
{
    box->setDate(QDate(2026, 12, 10));
    for (const QString keys : {"15062027", "16-07-2028", "1/8/2029"}) {
        box->setFocus(Qt::OtherFocusReason);
        clickAt(10);
        QTest::keyClicks(box, keys);
        leave();
        EXPECT_EQ(shown(), DateText::toLong(box->date())) << keys.toStdString();
    }
    EXPECT_EQ(box->date(), QDate(2029, 8, 1));
    // A click past the text, as far right as the box goes.
    box->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(editor(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(editor()->width() - 2, editor()->height() / 2));
    QTest::keyClicks(box, "31122026");
    EXPECT_EQ(box->date(), QDate(2026, 12, 31));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// A digit too many, or a year of one or three digits, is shown as typed and is no date.
TEST_F(DateBoxTest, WhatIsShownIsWhatWasTypedAndOnlyADateIsTaken)
{
    const QString notADate = "The date in Date Of Issue, %1, is not a date.\r"
                             "Type the day, the month and the year, as 15-06-2027.";
    for (const auto &[keys, typed] : {std::pair<QString, QString>{"150620277", "15-06-20277"},
                                      {"15062", "15-06-2"},
                                      {"15-06-7", "15-06-7"},
                                      {"15-06-202", "15-06-202"},
                                      {"1506202", "15-06-202"}}) {
        box->setDate(QDate(2027, 6, 30));
        box->setFocus(Qt::OtherFocusReason);
        clickAt(1); // the day
        QTest::keyClicks(box, keys);
        EXPECT_EQ(shown(), typed) << keys.toStdString();
        dialogs->expectOk();
        EXPECT_EQ(box->checkedDate(), std::nullopt) << keys.toStdString();
        EXPECT_EQ(dialogs->last().text, notADate.arg(typed));
        EXPECT_EQ(shown(), typed);
        EXPECT_TRUE(box->hasFocus());
    }
}

TEST_F(DateBoxTest, BackspaceAndDeleteEraseTheDigitNextToTheCaret)
{
    box->setDate(QDate(2027, 6, 30));
    box->setFocus(Qt::OtherFocusReason); // as a window opens with the focus in the date
    QTest::keyClicks(box, "15-07");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(shown(), "15-0");
    QTest::keyClicks(box, "6-2027");
    EXPECT_EQ(box->date(), QDate(2027, 6, 15));

    // A cleared box takes a new date.
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(shown(), "");
    QTest::keyClicks(box, "15062028");
    EXPECT_EQ(shown(), "15-06-2028");
    EXPECT_EQ(box->date(), QDate(2028, 6, 15));

    // Delete takes the digit after the caret, over the separator; Backspace the one before it.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(shown(), "15-6-2028");
    QTest::keyClicks(box, "7");
    EXPECT_EQ(shown(), "15-76-2028");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(shown(), "1-6-2028");
    leave();
    EXPECT_EQ(box->date(), QDate(2028, 6, 1));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, HomeAndTheArrowsPlaceTheCaretForThePartTypedThere)
{
    box->setDate(QDate(2027, 6, 30));
    tabInAndType("30");
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, "01122026");
    EXPECT_EQ(box->date(), QDate(2026, 12, 1));

    tabInAndType("3012-26");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClicks(box, "11");
    leave();
    EXPECT_EQ(box->date(), QDate(2026, 11, 30));

    tabInAndType("3012-26");
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClicks(box, "05");
    leave();
    EXPECT_EQ(box->date(), QDate(2026, 12, 5));

    // End and a click place the caret in the year: the year typed there replaces it.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "2029");
    EXPECT_EQ(box->date(), QDate(2029, 12, 5));
    tabInAndType("0511-29");
    clickAt(7);
    QTest::keyClicks(box, "2026");
    EXPECT_EQ(box->date(), QDate(2026, 11, 5));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, TheCalendarPicksADateAndEscLeavesTheTypedOne)
{
    box->setDate(QDate(2027, 6, 15));
    tabInAndType("31042027");
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget *calendar = box->shownCalendar();
    ASSERT_TRUE(calendar);
    EXPECT_EQ(calendar->selectedDate(), QDate(2027, 6, 15)); // no 31st of April to show
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !box->shownCalendar(); }));
    EXPECT_EQ(shown(), "31-04-2027");
    EXPECT_EQ(box->date(), QDate(2027, 6, 15));
    dialogs->expectOk();
    EXPECT_EQ(box->checkedDate(), std::nullopt);
    EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, 31-04-2027, is not a date.\r"
                                    "Type the day, the month and the year, as 15-06-2027.");

    // Opened by its arrow, the calendar starts on the date typed; Enter takes the day picked.
    QTest::keyClicks(box, "30042027");
    clickCalendarArrow(box);
    calendar = box->shownCalendar();
    ASSERT_TRUE(calendar);
    EXPECT_EQ(calendar->selectedDate(), QDate(2027, 4, 30));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return !box->shownCalendar(); }));
    EXPECT_EQ(box->date(), QDate(2027, 5, 1));
    EXPECT_EQ(shown(), "01-05-2027");
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(dialogs->boxes.size(), 1);
}

// What is typed while the calendar is open is typed into the box, read day first as the box reads
// it, however the calendar was opened.
TEST_F(DateBoxTest, WhatIsTypedIntoTheOpenCalendarIsTypedIntoTheBox)
{
    for (const CalendarOpening how : calendarOpenings) {
        for (const QString keys : {"12012027", "12-01-2027", "12-Jan-27"}) {
            box->setDate(QDate(2026, 12, 10));
            // A click on the arrow of a box left after typing brings the focus in.
            tabInAndType(how == CalendarOpening::Arrow ? "10122026" : "");
            if (how == CalendarOpening::Arrow)
                leave();
            typeIntoCalendar(box, how, keys);
            EXPECT_FALSE(box->shownCalendar());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_EQ(box->checkedDate(), QDate(2027, 1, 12))
                << nameOf(how) << " " << keys.toStdString();
            EXPECT_EQ(shown(), "12-01-2027");
        }
    }
    tabInAndType("");
    typeIntoCalendar(box, CalendarOpening::Arrow, "31-04-2027");
    dialogs->expectOk();
    EXPECT_EQ(box->checkedDate(), std::nullopt);
    EXPECT_EQ(dialogs->texts(), QStringList{"The date in Date Of Issue, 31-04-2027, is not a date."
                                            "\rType the day, the month and the year, as "
                                            "15-06-2027."});
    EXPECT_EQ(box->date(), QDate(2027, 1, 12));

    // A paste and an input method's text alike.
    tabInAndType("");
    QGuiApplication::clipboard()->setText("13-01-2027");
    openCalendar(box, CalendarOpening::F4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->date(), QDate(2027, 1, 13));
    tabInAndType("");
    openCalendar(box, CalendarOpening::AltDown);
    QInputMethodEvent composed;
    composed.setCommitString("14-01-2027");
    QCoreApplication::sendEvent(QApplication::focusWidget(), &composed);
    EXPECT_FALSE(box->shownCalendar());
    EXPECT_EQ(box->date(), QDate(2027, 1, 14));
}

// The calendar's year field turns it to another year and picks no date; what is typed after it
// goes into the box.
TEST_F(DateBoxTest, TheCalendarsYearFieldOnlyTurnsItsPages)
{
    box->setDate(QDate(2026, 12, 10));
    tabInAndType("");
    openCalendar(box, CalendarOpening::F4);
    QCalendarWidget *calendar = box->shownCalendar();
    ASSERT_TRUE(calendar);
    const QList<QToolButton *> buttons = calendar->findChildren<QToolButton *>();
    const auto year = std::find_if(buttons.begin(), buttons.end(), [](QToolButton *button) {
        return button->isVisible() && button->text() == "2026";
    });
    ASSERT_NE(year, buttons.end());
    QTest::mouseClick(*year, Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<QAbstractSpinBox *>(QApplication::focusWidget()));
    QTest::keyClicks(QApplication::focusWidget(), "2030");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(calendar->yearShown(), 2030);
    EXPECT_TRUE(box->shownCalendar());
    EXPECT_EQ(shown(), "10-12-2026");
    EXPECT_EQ(box->date(), QDate(2026, 12, 10));

    for (const QChar c : QStringLiteral("15012027"))
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    EXPECT_FALSE(box->shownCalendar());
    EXPECT_EQ(box->date(), QDate(2027, 1, 15));
}

// A long paste is quoted by its first thirty characters: the message stays as narrow as any other.
TEST_F(DateBoxTest, AMessageQuotesTheStartOfALongText)
{
    const QString notADate = "The date in Date Of Issue, %1, is not a date.\r"
                             "Type the day, the month and the year, as 15-06-2027.";
    for (const auto &[pasted, quoted] :
         {std::pair<QString, QString>{"12-01-2027" + QString(290, 'x'),
                                      "12-01-2027" + QString(20, 'x') + QChar(0x2026)},
          {"12-01-2027" + QString(20, 'x'), "12-01-2027" + QString(20, 'x')}}) {
        QGuiApplication::clipboard()->setText(pasted);
        tabInAndType("");
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(shown(), pasted);
        dialogs->expectOk();
        EXPECT_EQ(box->checkedDate(), std::nullopt);
        EXPECT_EQ(dialogs->last().text, notADate.arg(quoted));
    }
    // Shown, far narrower than a screen of 1024 px.
    EXPECT_LT(widthOfShownBox({dialogs->boxes[0].text, Dialogs::Buttons::Ok,
                               Dialogs::Icon::Critical, QString()}),
              640);
}

// A click moves the focus at the press and acts at the release: the box says nothing before the
// click has done its work, and nothing at all when the click closed the window.
TEST_F(DateBoxTest, AClickThatClosesTheWindowIsNotRacedByTheBox)
{
    auto *close = new QPushButton("Close", &window);
    close->setGeometry(0, 90, 80, 24);
    close->show();
    QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
    tabInAndType("31042027");
    QTest::mousePress(close, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_TRUE(close->hasFocus());
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    QTest::mouseRelease(close, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, LeavingForAnotherControlOfTheWindowSaysItOnceTheClickIsDone)
{
    tabInAndType("31042027");
    QTest::mousePress(after, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs->boxes.isEmpty());
    dialogs->expectOk();
    QTest::mouseRelease(after, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_TRUE(waitFor([&] { return !dialogs->boxes.isEmpty(); }));
    EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, 31-04-2027, is not a date.\r"
                                    "Type the day, the month and the year, as 15-06-2027.");
    EXPECT_TRUE(box->hasFocus());
}

// Each window says its own box's date when it uses it; going to another window says nothing.
TEST_F(DateBoxTest, TwoBadDatesInTwoWindowsEachNameTheirOwnBox)
{
    QWidget other;
    auto *otherBox = new DateBox(&other);
    auto *otherAfter = new QLineEdit(&other);
    otherBox->setGeometry(0, 0, 160, 26);
    otherAfter->setGeometry(0, 30, 100, 24);
    otherBox->setCaption("To");
    otherBox->setDate(QDate(2027, 1, 1));
    other.move(300, 0);

    tabInAndType("31042027");
    other.show();
    ASSERT_TRUE(activate(&other));
    QTest::mouseClick(otherBox->findChild<QLineEdit *>(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(2, 10));
    ASSERT_TRUE(otherBox->hasFocus());
    QTest::keyClicks(otherBox, "32012027");
    QTest::mouseClick(otherAfter, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    dialogs->expectOk();
    ASSERT_TRUE(waitFor([&] { return !dialogs->boxes.isEmpty(); }));
    EXPECT_EQ(dialogs->texts(),
              QStringList{"The date in To, 32-01-2027, is not a date.\rType the day, the month "
                          "and the year, as 15-06-2027."});

    dialogs->expectOk();
    EXPECT_EQ(box->checkedDate(), std::nullopt);
    EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, 31-04-2027, is not a date.\r"
                                    "Type the day, the month and the year, as 15-06-2027.");
    EXPECT_EQ(dialogs->boxes.size(), 2);
}

// The program prints dates with the month's name; typed or pasted so, they are those dates, and
// any other letter is no date, said as typed.
TEST_F(DateBoxTest, MonthsNamedAsTheProgramPrintsThemAreTheirDates)
{
    box->setDate(QDate(2026, 12, 5));
    tabInAndType("12-Jan-2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 12));
    tabInAndType("13-jan-27");
    EXPECT_EQ(shown(), "13-jan-27");
    leave();
    EXPECT_EQ(box->date(), QDate(2027, 1, 13));
    tabInAndType("13 January 2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 13));
    EXPECT_EQ(shown(), "13-01-2027");
    QGuiApplication::clipboard()->setText("20-Nov-26");
    tabInAndType("");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    leave();
    EXPECT_EQ(box->date(), QDate(2026, 11, 20));
    EXPECT_TRUE(dialogs->boxes.isEmpty());

    for (const QString keys : {"1O-06-2027", "1a-06-2027", "12-Jun-202x", "12-Juni-2027"}) {
        tabInAndType(keys);
        EXPECT_EQ(shown(), keys);
        dialogs->expectOk();
        leave();
        ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
        EXPECT_EQ(dialogs->last().text, "The date in Date Of Issue, " + keys +
                                            ", is not a date.\rType the day, the month and the "
                                            "year, as 15-06-2027.");
        EXPECT_EQ(box->date(), QDate(2026, 11, 20));
    }
}

// A drag over a part selects it, and what is typed replaces exactly what the drag selected.
TEST_F(DateBoxTest, TypingOverADragReplacesWhatItSelected)
{
    box->setDate(QDate(2026, 12, 10));
    dragOverDate(box, 3, 5);
    ASSERT_EQ(editor()->selectedText(), "12");
    QTest::keyClicks(box, "07");
    EXPECT_EQ(shown(), "10-07-2026");
    leave();
    EXPECT_EQ(box->date(), QDate(2026, 7, 10));

    dragOverDate(box, 6, 10);
    QTest::keyClicks(box, "2027");
    EXPECT_EQ(box->date(), QDate(2027, 7, 10));
    // A drag across the separators, typed over with letters.
    dragOverDate(box, 2, 6);
    QTest::keyClicks(box, "-Mar-");
    EXPECT_EQ(shown(), "10-Mar-2027");
    leave();
    EXPECT_EQ(box->date(), QDate(2027, 3, 10));
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// Ctrl+V, Shift+Insert, a middle click, a drop and an input method all put in the same text: a
// line without the blanks and line breaks around it.
TEST_F(DateBoxTest, EveryWayTextComesInIsTypedAlike)
{
    box->setDate(QDate(2026, 12, 10));
    QGuiApplication::clipboard()->setText(" 15-06-2027");
    tabInAndType("");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->date(), QDate(2027, 6, 15));
    QGuiApplication::clipboard()->setText("  16-06-2027  ");
    tabInAndType("");
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->date(), QDate(2027, 6, 16));

    // The middle click pastes where it points: a whole date over the date, a part over its part.
    DateBox::setMouseSelectionForTest([] { return QStringLiteral("17-06-2027\n"); });
    middleClickIntoDate(box, 1);
    EXPECT_EQ(shown(), "17-06-2027");
    EXPECT_EQ(box->date(), QDate(2027, 6, 17));
    DateBox::setMouseSelectionForTest([] { return QStringLiteral("\n 09 \n"); });
    middleClickIntoDate(box, 4);
    EXPECT_EQ(shown(), "17-09-2027");
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "0"); // typing after the paste goes on from it
    EXPECT_EQ(shown(), "17-09-0");
    DateBox::setMouseSelectionForTest({});
    tabInAndType("17092027");

    QMimeData dropped;
    dropped.setText("18-Jun-2027\r\n");
    const QPoint at = pointAtDate(box, 1);
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor(), &drop);
    EXPECT_EQ(box->date(), QDate(2027, 6, 18));

    tabInAndType("");
    QInputMethodEvent composed;
    composed.setCommitString("19-06-2027");
    QCoreApplication::sendEvent(box, &composed);
    EXPECT_EQ(box->date(), QDate(2027, 6, 19));
    EXPECT_EQ(shown(), "19-06-2027");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

// Only a real display keeps a mouse selection: there the middle click pastes it, once.
TEST_F(DateBoxTest, AMiddleClickPastesTheMouseSelectionOnARealDisplay)
{
    if (!QGuiApplication::clipboard()->supportsSelection())
        GTEST_SKIP() << "no mouse selection on this platform";
    box->setDate(QDate(2026, 12, 10));
    QGuiApplication::clipboard()->setText("15-06-2027\n", QClipboard::Selection);
    ASSERT_TRUE(waitFor([] {
        return QGuiApplication::clipboard()->text(QClipboard::Selection) == "15-06-2027\n";
    }));
    middleClickIntoDate(box, 1);
    EXPECT_EQ(shown(), "15-06-2027");
    EXPECT_EQ(box->date(), QDate(2027, 6, 15));
    QTest::keyClicks(box, "1");
    EXPECT_EQ(shown(), "15-06-20271");
}

// A date begun in the box and finished after the calendar opened goes on exactly as typed: opening
// the calendar takes no date out of the text begun, and the calendar shows the date that text
// reads as so far, if any. The day retyped after a click into it leaves a text that already reads
// as a date.
TEST_F(DateBoxOnAWindowManager, ADateBegunInTheBoxIsFinishedInTheOpenCalendarOnARealDisplay)
{
    struct Case
    {
        QString begun;
        QString finished;
        QDate date;
    };
    const Case cases[] = {{"1201", "2027", {2027, 1, 12}},
                          {"15", "012027", {2027, 1, 15}},
                          {"15-06", "-2027", {2027, 6, 15}},
                          {"150620", "27", {2027, 6, 15}}};
    const QDate before(2026, 12, 10);
    for (const bool clicked : {true, false}) {
        for (const CalendarOpening how : calendarOpenings) {
            for (const Case &c : cases) {
                const std::string what = (clicked ? "click, " : "Tab, ") + c.begun.toStdString() +
                                         ", " + nameOf(how) + ", " + c.finished.toStdString();
                box->setDate(before);
                if (clicked)
                    clickIntoDay();
                else
                    tabIn();
                RealInput::type(c.begun);
                const QString begun = shown();
                open(how);
                ASSERT_TRUE(box->shownCalendar()) << what;
                EXPECT_EQ(shown(), begun) << what;
                EXPECT_EQ(box->date(), before) << what;
                EXPECT_EQ(box->shownCalendar()->selectedDate(),
                          DateText::readTyped(begun).value_or(before))
                    << what;
                RealInput::type(c.finished);
                RealInput::key(Qt::Key_Return);
                EXPECT_FALSE(box->shownCalendar()) << what;
                EXPECT_EQ(shown(), DateText::toLong(c.date)) << what;
                EXPECT_EQ(box->date(), c.date) << what;
            }
        }
    }
    // Closed by Esc, the calendar leaves the typing to go on as well.
    box->setDate(before);
    clickIntoDay();
    RealInput::type("1201");
    open(CalendarOpening::F4);
    RealInput::key(Qt::Key_Escape);
    ASSERT_FALSE(box->shownCalendar());
    RealInput::type("2027");
    EXPECT_EQ(box->date(), QDate(2027, 1, 12));
    EXPECT_EQ(shown(), "12-01-2027");
    EXPECT_TRUE(dialogs->boxes.isEmpty());
}

TEST_F(DateBoxTest, AnEmptyBoxSaysTheDateIsMissing)
{
    tabInAndType("");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(shown(), "");
    dialogs->expectOk();
    leave();
    ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
    const QString missing = "The date in Date Of Issue is missing.\rType the day, the month and "
                            "the year, as 15-06-2027.";
    EXPECT_EQ(dialogs->texts(), QStringList{missing});
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, "   ");
    dialogs->expectOk();
    EXPECT_EQ(box->checkedDate(), std::nullopt);
    EXPECT_EQ(dialogs->texts(), (QStringList{missing, missing}));
    EXPECT_EQ(box->date(), QDate(2027, 6, 30));
}

// Keys, pastes, clicks, drags, dates begun and the calendar at random: every character typed stands
// before the caret, or the date it ended was taken; a date changes only to what the text reads as,
// or to the day the calendar's own keys moved to and picked; and the box, left, uses the date the
// reader reads in its text, or says why not. The same session again with the calendar never
// opened (what was typed into it typed into the box, the day picked set as the box's date) leaves
// the box as the first did after every input: opening the calendar, and closing it by Esc, change
// nothing the box holds, also with a date begun in the box before.
TEST_F(DateBoxTest, ARandomRunOfInputsUsesTheDateItsTextReadsAs)
{
    box->setDateRange(QDate(2020, 1, 1), QDate(2030, 12, 31));
    const QString keys = QStringLiteral("01234567890123456789-/ JanOa");
    const QStringList pastes = {" 15-06-2027 ", "13-Jan-27\n", "07", "Nov", "1O-06-2027", "\n"};
    // How a date is begun before the calendar opens: the first characters of one of these.
    const QStringList dateForms = {"ddMMyyyy", "dd-MM-yyyy", "d/M/yy", "ddMMyy", "dd-MMM-yyyy"};
    // The calendar's own keys and where each moves its day.
    const std::tuple<Qt::Key, const char *, std::function<QDate(const QDate &)>> calendarKeys[] = {
        {Qt::Key_Left, "Left", [](const QDate &d) { return d.addDays(-1); }},
        {Qt::Key_Right, "Right", [](const QDate &d) { return d.addDays(1); }},
        {Qt::Key_Up, "Up", [](const QDate &d) { return d.addDays(-7); }},
        {Qt::Key_Down, "Down", [](const QDate &d) { return d.addDays(7); }},
        {Qt::Key_PageUp, "PgUp", [](const QDate &d) { return d.addMonths(-1); }},
        {Qt::Key_PageDown, "PgDn", [](const QDate &d) { return d.addMonths(1); }},
        {Qt::Key_Home, "Home", [](const QDate &d) { return QDate(d.year(), d.month(), 1); }},
        {Qt::Key_End, "End",
         [](const QDate &d) { return QDate(d.year(), d.month(), d.daysInMonth()); }},
    };
    const auto within = [&](const std::optional<QDate> &date) {
        return date && *date >= box->minimumDate() && *date <= box->maximumDate();
    };
    // What the box holds after an input, and the inputs up to it.
    struct Holds
    {
        QString text;
        int caret = 0;
        QString selected;
        QDate date;
        std::string trail;
        bool operator==(const Holds &other) const
        {
            return text == other.text && caret == other.caret && selected == other.selected &&
                   date == other.date;
        }
    };
    const auto session = [&](bool withCalendar, std::vector<Holds> &held) {
        std::mt19937 random(51);
        const auto pick = [&](int size) { return int(random() % unsigned(size)); };
        QString trail;
        // No date in another order: a new date is what the text reads as, or the day picked.
        const auto checkDate = [&](const QDate &before) {
            if (box->date() != before) {
                ASSERT_EQ(DateText::readTyped(shown()), box->date()) << trail.toStdString();
            }
        };
        const auto typeCharacter = [&](QWidget *target, QChar c) {
            trail += QStringLiteral(" ") + c;
            const QString before = shown();
            const QDate dateBefore = box->date();
            QTest::keyClick(target, c.toLatin1());
            const int caret = editor()->cursorPosition();
            const bool standsBeforeCaret = caret > 0 && shown()[caret - 1] == c;
            const bool dateTaken = shown() == DateText::toLong(box->date()) &&
                                   caret == shown().size() && before != shown();
            ASSERT_TRUE(standsBeforeCaret || dateTaken || DateEntry::isSeparator(c))
                << before.toStdString() << " -> " << shown().toStdString() << " after"
                << trail.toStdString();
            checkDate(dateBefore);
        };
        const auto typeKey = [&](QWidget *target) {
            typeCharacter(target, keys[pick(int(keys.size()))]);
        };
        for (int run = 0; run < 300; ++run) {
            box->setDate(QDate(2026, 12, 10));
            tabInAndType("");
            trail.clear();
            bool open = false;
            QDate selected; // the calendar's day, by the keys sent to it
            const auto openCalendar = [&] {
                const CalendarOpening how = calendarOpenings[pick(3)];
                trail += QStringLiteral(" open-") + nameOf(how);
                const auto typed = DateText::readTyped(shown());
                selected = within(typed) ? *typed : box->date();
                open = true;
                if (!withCalendar)
                    return;
                const QString before = shown();
                ::openCalendar(box, how);
                ASSERT_TRUE(box->shownCalendar()) << trail.toStdString();
                ASSERT_EQ(box->shownCalendar()->selectedDate(), selected);
                ASSERT_EQ(shown(), before) << trail.toStdString();
            };
            for (int step = 0; step < 12; ++step) {
                // The box drawn as a user sees it before the next input: the editor places the
                // text, which a click's aim depends on, when it is drawn.
                QCoreApplication::processEvents();
                const int size = int(shown().size());
                const QDate dateBefore = box->date();
                bool picked = false;
                bool begun = false; // several characters, each checked as typed
                if (withCalendar)
                    ASSERT_EQ(bool(box->shownCalendar()), open) << trail.toStdString();
                if (open) {
                    QWidget *calendar = QApplication::focusWidget();
                    const int choice = pick(12);
                    if (choice < 8) {
                        const auto &[key, name, move] = calendarKeys[choice];
                        trail += QStringLiteral(" cal-") + name;
                        selected =
                            std::clamp(move(selected), box->minimumDate(), box->maximumDate());
                        if (withCalendar) {
                            QTest::keyClick(calendar, key);
                            ASSERT_EQ(box->shownCalendar()->selectedDate(), selected)
                                << trail.toStdString();
                        }
                    } else if (choice == 8) {
                        trail += " pick";
                        open = false;
                        picked = true;
                        if (withCalendar) {
                            QTest::keyClick(calendar, Qt::Key_Return);
                            ASSERT_FALSE(box->shownCalendar()) << trail.toStdString();
                        } else {
                            box->setDate(selected);
                        }
                        ASSERT_EQ(box->date(), selected) << trail.toStdString();
                        ASSERT_EQ(shown(), DateText::toLong(selected));
                    } else if (choice == 9) {
                        trail += " Esc";
                        open = false;
                        if (withCalendar)
                            QTest::keyClick(calendar, Qt::Key_Escape);
                    } else {
                        trail += " cal:";
                        open = false;
                        typeKey(withCalendar ? calendar : box);
                    }
                } else {
                    switch (pick(10)) {
                    case 0:
                        QGuiApplication::clipboard()->setText(pastes[pick(int(pastes.size()))]);
                        trail += " paste";
                        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                        break;
                    case 1:
                        trail += " click";
                        clickIntoDate(box, pick(size + 1));
                        break;
                    case 2: {
                        const int from = pick(size + 1);
                        const int to = pick(size + 1);
                        trail += QString(" drag%1-%2").arg(from).arg(to);
                        if (from != to)
                            dragOverDate(box, std::min(from, to), std::max(from, to));
                        break;
                    }
                    case 3:
                        trail += " BS";
                        QTest::keyClick(box, Qt::Key_Backspace);
                        break;
                    case 4:
                        openCalendar();
                        break;
                    case 5: {
                        // A date begun, then the calendar opened to finish it.
                        begun = true;
                        const QDate date = box->minimumDate().addDays(pick(4000));
                        const QString whole = date.toString(dateForms[pick(5)]);
                        for (const QChar c : whole.left(1 + pick(int(whole.size()) - 1))) {
                            typeCharacter(box, c);
                            if (HasFatalFailure())
                                return;
                        }
                        openCalendar();
                        break;
                    }
                    default:
                        typeKey(box);
                    }
                }
                if (HasFatalFailure())
                    return;
                if (!picked && !begun)
                    checkDate(dateBefore);
                if (HasFatalFailure())
                    return;
                held.push_back({shown(), editor()->cursorPosition(), editor()->selectedText(),
                                box->date(), trail.toStdString()});
            }
            if (open && withCalendar)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            const QString text = shown();
            const auto reading = DateText::readTyped(text);
            const bool usable = within(reading);
            dialogs->boxes.clear();
            if (!usable)
                dialogs->expectOk();
            leave();
            if (usable) {
                EXPECT_TRUE(dialogs->boxes.isEmpty()) << text.toStdString();
                EXPECT_EQ(box->date(), *reading) << text.toStdString() << trail.toStdString();
            } else {
                ASSERT_TRUE(waitFor([&] { return dialogs->answers.isEmpty(); }));
                EXPECT_TRUE(dialogs->last().text.contains(
                    text.trimmed().isEmpty()
                        ? QStringLiteral("is missing")
                        : (reading ? DateText::toLong(*reading) : text.left(30))))
                    << dialogs->last().text.toStdString();
                EXPECT_FALSE(dialogs->last().text.contains(u'\n'));
            }
            held.push_back({shown(), 0, QString(), box->date(), trail.toStdString() + " left"});
        }
    };
    std::vector<Holds> opened;
    session(true, opened);
    if (HasFatalFailure())
        return;
    std::vector<Holds> shut;
    session(false, shut);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(opened.size(), shut.size());
    for (size_t i = 0; i < opened.size(); ++i) {
        ASSERT_TRUE(opened[i] == shut[i])
            << "with the calendar: " << opened[i].text.toStdString() << " caret " << opened[i].caret
            << " selected " << opened[i].selected.toStdString() << ", "
            << opened[i].date.toString(Qt::ISODate).toStdString()
            << "\nwithout it: " << shut[i].text.toStdString() << " caret " << shut[i].caret
            << " selected " << shut[i].selected.toStdString() << ", "
            << shut[i].date.toString(Qt::ISODate).toStdString() << "\nafter" << opened[i].trail;
    }
}
