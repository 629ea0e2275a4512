#pragma once

#include <QDate>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/DateEntry.h"

class QCalendarWidget;
class QLineEdit;

// The date box of every window: "dd-MM-yyyy", English month names, a calendar to pick from, and
// typing as a librarian types. The box shows what was typed or pasted, every character; the date
// used is the one the whole text reads as (DateText::readTyped), or a message naming the box.
//
// The typing rules are DateEntry's; every way text comes in (keys, Ctrl+V, Shift+Insert, a middle
// click, a drop, an input method) goes through them, also while the calendar is open: a character
// typed there closes it and is typed into the box. A box entered by Tab, Enter or the window,
// with its whole date selected, or clicked after its text, takes a new date over the whole text;
// a caret placed in a part (a click, Home, End, Left, Right) retypes that part. A four-digit year
// typed, or a separator after the year, takes the date at once; otherwise the date is taken when
// the box is left, at Enter, or when the window asks for it.
class DateBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged USER true)

public:
    explicit DateBox(QWidget *parent = nullptr);
    ~DateBox() override;

    QDate date() const { return date_; }
    // A date outside the limits moves to the nearest one; an invalid date is ignored.
    void setDate(const QDate &date);

    QDate minimumDate() const { return minimum_; }
    QDate maximumDate() const { return maximum_; }
    void setMinimumDate(const QDate &date);
    void setMaximumDate(const QDate &date);
    void setDateRange(const QDate &minimum, const QDate &maximum);

    QString displayFormat() const { return QStringLiteral("dd-MM-yyyy"); }
    bool calendarPopup() const { return true; }
    QString text() const;

    // The label's text, as the messages name the box.
    QString caption() const { return caption_; }
    void setCaption(const QString &caption) { caption_ = caption; }

    // For the window that uses the date: the typed date taken into date(); or, for a text that is
    // not a date or a date outside the limits, nothing after saying so and giving the box the
    // focus.
    std::optional<QDate> checkedDate();

    // Takes a typed date within the limits into date(), saying nothing; false while the box
    // shows one that cannot be taken.
    bool takeTyped();

    // Gives the box the focus so that the next digits type a new date from the day.
    void typeAnew();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Test aid: the calendar while it is shown.
    QCalendarWidget *shownCalendar() const;
    // Test aid: the text a middle click pastes where the platform keeps no mouse selection (as
    // offscreen); an empty function restores the platform's.
    static void setMouseSelectionForTest(std::function<QString()> selection);

signals:
    void dateChanged(const QDate &date);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Fault { None, Missing, NotADate, OutsideLimits };
    class Calendar;

    // Typing
    void typeText(const QString &text);
    void pasteText(const QString &text);
    void pasteAt(const QPoint &position, const QString &text);
    void erase(bool backwards);
    void step(int steps);
    void followCaret();
    void startNewDate();
    void showEntry(bool placeCaret = true);
    void showDate();
    bool handleEditorEvent(QEvent *event);

    // Reading and saying
    bool pending() const;
    std::optional<QDate> typedDate() const;
    Fault fault() const;
    void report(Fault fault);
    void reportOnLeaving();
    void reportWhenSettled();
    QWidget *form() const;
    void take(const QDate &date);

    // Look and calendar
    void openCalendar();
    void calendarPicked(const QDate &date);
    QRect arrowRect() const;
    void placeEditor();

    QLineEdit *editor_ = nullptr;
    QPointer<Calendar> calendar_;
    QString caption_;
    QDate date_{2000, 1, 1};
    QDate minimum_{1752, 9, 14};
    QDate maximum_{9999, 12, 31};

    DateEntry entry_;
    bool placing_ = false;     // the box itself moves the editor's caret
    bool caretPlaced_ = false; // the user moved the caret since the box last placed it
    bool clicked_ = false;     // ... and did so with the mouse
    bool focusedBefore_ = false;
    bool reported_ = false;
    bool waitingForRelease_ = false;
};
