#include "ui/DateBox.h"

#include "core/DateText.h"
#include "core/Dialogs.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int Day = 0;
constexpr int Year = 2;

// Set while a box that has said why its date cannot be used takes the focus back: the box it
// takes the focus from has nothing to say yet, or two boxes would take the focus from each other.
bool takingFocusBack = false;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('/') || c == QLatin1Char('.') ||
           c == QLatin1Char(' ');
}

// The keys the editor itself handles: they only move the caret or select.
bool movesCaret(const QKeyEvent *event)
{
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,
        QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,
        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument,
        QKeySequence::SelectEndOfDocument,
        QKeySequence::Deselect,
    };
    return std::any_of(std::begin(keys), std::end(keys),
                       [event](QKeySequence::StandardKey key) { return event->matches(key); });
}

Qt::KeyboardModifiers typingModifiers(const QKeyEvent *event)
{
    return event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
}

bool typesText(const QKeyEvent *event)
{
    const QString text = event->text();
    return typingModifiers(event) == Qt::NoModifier && text.size() == 1 && text.front().isPrint();
}

// The window a control belongs to: a child window of the main window, or a window of its own.
QWidget *formOf(QWidget *widget)
{
    while (widget && !widget->isWindow() && !qobject_cast<QMdiSubWindow *>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget;
}

// Steps one part of a date as the arrows always did: the part stays within its own range and the
// day within the month.
QDate stepped(const QDate &date, int part, int steps)
{
    int day = date.day();
    int month = date.month();
    int year = date.year();
    if (part == Day) {
        day = std::clamp(day + steps, 1, date.daysInMonth());
    } else if (part == Year) {
        year = std::clamp(year + steps, 1, 9999);
    } else {
        month = std::clamp(month + steps, 1, 12);
    }
    day = std::min(day, QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

} // namespace

class DateBox::Calendar : public QFrame
{
public:
    explicit Calendar(DateBox *box) : QFrame(box, Qt::Popup), box_(box)
    {
        setFrameShape(QFrame::StyledPanel);
        calendar = new QCalendarWidget(this);
        calendar->setLocale(QLocale(QLocale::English));
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(calendar);
    }

    QCalendarWidget *calendar = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            hide();
            return;
        }
        QFrame::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        // The click on the box's arrow that closes the calendar must not open it again.
        if (box_->arrowRect().contains(box_->mapFromGlobal(event->globalPosition().toPoint())))
            setAttribute(Qt::WA_NoMouseReplay);
        QFrame::mousePressEvent(event);
    }
    void hideEvent(QHideEvent *event) override
    {
        QFrame::hideEvent(event);
        setAttribute(Qt::WA_NoMouseReplay, false);
        box_->update();
    }

private:
    DateBox *box_;
};

DateBox::DateBox(QWidget *parent) : QWidget(parent)
{
    setLocale(QLocale(QLocale::English));
    setFocusPolicy(Qt::WheelFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    // The box keeps the focus and hands the editor what it shows; the editor never edits itself.
    editor_ = new QLineEdit(this);
    editor_->setFrame(false);
    editor_->setFocusProxy(this);
    editor_->setContextMenuPolicy(Qt::NoContextMenu);
    editor_->setAcceptDrops(false);
    editor_->setLocale(locale());
    editor_->installEventFilter(this);
    const auto userMovedCaret = [this] {
        if (!placing_)
            caretPlaced_ = true;
    };
    connect(editor_, &QLineEdit::cursorPositionChanged, this, userMovedCaret);
    connect(editor_, &QLineEdit::selectionChanged, this, userMovedCaret);

    showDate();
    placeEditor();
}

DateBox::~DateBox()
{
    if (waitingForRelease_)
        qApp->removeEventFilter(this);
}

void DateBox::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    const QDate within = std::clamp(date, minimum_, maximum_);
    const bool changed = within != date_;
    date_ = within;
    showDate();
    if (changed)
        emit dateChanged(date_);
}

void DateBox::setMinimumDate(const QDate &date)
{
    if (date.isValid())
        setDateRange(date, std::max(date, maximum_));
}

void DateBox::setMaximumDate(const QDate &date)
{
    if (date.isValid())
        setDateRange(std::min(date, minimum_), date);
}

void DateBox::setDateRange(const QDate &minimum, const QDate &maximum)
{
    if (!minimum.isValid() || !maximum.isValid())
        return;
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    if (date_ < minimum_ || date_ > maximum_)
        setDate(date_);
}

QString DateBox::text() const
{
    return editor_->text();
}

std::optional<QDate> DateBox::checkedDate()
{
    if (takeTyped())
        return date_;
    report(fault());
    typeAnew();
    return std::nullopt;
}

bool DateBox::takeTyped()
{
    if (!pending())
        return true;
    const auto typed = typedDate();
    if (!typed || *typed < minimum_ || *typed > maximum_)
        return false;
    take(*typed);
    return true;
}

void DateBox::typeAnew()
{
    takingFocusBack = true;
    setFocus(Qt::OtherFocusReason);
    takingFocusBack = false;
    startNewDate();
}

QSize DateBox::sizeHint() const
{
    ensurePolished();
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    const QSize text(fontMetrics().horizontalAdvance(QStringLiteral("00-00-0000 ")),
                     editor_->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this);
}

QSize DateBox::minimumSizeHint() const
{
    return sizeHint();
}

QCalendarWidget *DateBox::shownCalendar() const
{
    return calendar_ && calendar_->isVisible() ? calendar_->calendar : nullptr;
}

bool DateBox::event(QEvent *event)
{
    // Keys the box uses are not taken by the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = typingModifiers(key) == Qt::NoModifier;
        if (typesText(key) || movesCaret(key) || key->matches(QKeySequence::SelectAll) ||
            key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy) ||
            (plain && (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete))) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        startNewDate();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        typeText(QGuiApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Copy) || movesCaret(event)) {
        QCoreApplication::sendEvent(editor_, event);
        caretPlaced_ = true;
        clicked_ = false;
        return;
    }
    if (typesText(event)) {
        typeText(event->text());
        return;
    }
    const bool plain = typingModifiers(event) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (plain) {
            erase(event->key() == Qt::Key_Backspace);
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier) {
            openCalendar();
            return;
        }
        step(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        step(event->key() == Qt::Key_PageUp ? 10 : -10);
        return;
    case Qt::Key_F4:
        if (plain) {
            openCalendar();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeTyped();
        event->ignore(); // the window's Enter goes on
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void DateBox::focusInEvent(QFocusEvent *event)
{
    QCoreApplication::sendEvent(editor_, event);
    const bool first = !focusedBefore_;
    focusedBefore_ = true;
    switch (event->reason()) {
    case Qt::MouseFocusReason: // the click places the caret
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        // The window coming back leaves the caret where it was; a window opened with the focus in
        // the box starts a new date.
        if (first)
            startNewDate();
        break;
    default:
        startNewDate();
        break;
    }
    update();
}

void DateBox::focusOutEvent(QFocusEvent *event)
{
    QCoreApplication::sendEvent(editor_, event);
    update();
    const Qt::FocusReason reason = event->reason();
    const bool taken = takeTyped();
    if (taken || takingFocusBack || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason)
        return;
    reported_ = false;
    reportWhenSettled();
}

void DateBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && arrowRect().contains(event->position().toPoint())) {
        openCalendar();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DateBox::paintEvent(QPaintEvent *)
{
    // Drawn as the date editors with a calendar drop-down always were: a combo box with its arrow.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.frame = true;
    option.subControls =
        QStyle::SC_ComboBoxFrame | QStyle::SC_ComboBoxEditField | QStyle::SC_ComboBoxArrow;
    if (shownCalendar())
        option.state |= QStyle::State_Sunken;
    else
        option.state &= ~QStyle::State_Sunken;
    QStylePainter painter(this);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
}

void DateBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeEditor();
}

void DateBox::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        placeEditor();
}

bool DateBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor_) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            // The selection's middle-button paste would edit the text behind the box's back.
            if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton)
                return true;
            caretPlaced_ = true;
            clicked_ = true;
        }
        return false;
    }
    if (waitingForRelease_ && event->type() == QEvent::MouseButtonRelease) {
        qApp->removeEventFilter(this);
        waitingForRelease_ = false;
        QTimer::singleShot(0, this, &DateBox::reportOnLeaving);
    }
    return QWidget::eventFilter(watched, event);
}

void DateBox::typeText(const QString &text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            typeDigit(c);
        else if (isSeparator(c))
            endPart();
        else
            QApplication::beep();
    }
}

void DateBox::typeDigit(QChar digit)
{
    followCaret();
    if (replacePart_) {
        parts_[part_].clear();
        offset_ = 0;
        replacePart_ = false;
    }
    QString &part = parts_[part_];
    part.insert(offset_, digit);
    ++offset_;
    justAdvanced_ = false;
    reported_ = false;
    if (part_ < Year && part.size() >= 2 && offset_ == part.size()) {
        ++part_;
        offset_ = 0;
        replacePart_ = true;
        justAdvanced_ = true;
        showParts();
        return;
    }
    showParts();
    if (part_ == Year && part.size() == 4 && offset_ == 4)
        takeTyped(); // a four-digit year ends the date
}

void DateBox::endPart()
{
    followCaret();
    if (justAdvanced_) {
        justAdvanced_ = false;
        return;
    }
    if (part_ < Year) {
        if (!replacePart_ && parts_[part_].size() == 1)
            parts_[part_].prepend(QLatin1Char('0'));
        ++part_;
        offset_ = 0;
        replacePart_ = true;
        showParts();
        return;
    }
    takeTyped(); // a separator after the year ends the date
}

void DateBox::erase(bool backwards)
{
    caretPlaced_ = false;
    clicked_ = false;
    justAdvanced_ = false;
    reported_ = false;
    if (editor_->hasSelectedText()) {
        eraseSelection();
        showParts();
        return;
    }
    const QString text = editor_->text();
    int at = editor_->cursorPosition() - (backwards ? 1 : 0);
    while (at >= 0 && at < text.size() && !text[at].isDigit())
        at += backwards ? -1 : 1;
    if (at < 0 || at >= text.size()) {
        QApplication::beep();
        return;
    }
    int part = Year;
    while (part > Day && at < partStart(part))
        --part;
    part_ = part;
    offset_ = at - partStart(part);
    parts_[part_].remove(offset_, 1);
    replacePart_ = false;
    showParts();
}

void DateBox::step(int steps)
{
    // The part under the caret, or the day for a whole date selected, read before the typed date
    // is written out in full.
    const bool whole = editor_->selectedText().size() == editor_->text().size();
    const int caret =
        editor_->hasSelectedText() ? editor_->selectionStart() : editor_->cursorPosition();
    const int part = whole ? Day : partAt(caret);
    if (!takeTyped()) {
        QApplication::beep(); // a date still being mended stays as typed
        return;
    }
    const QDate next = stepped(date_, part, steps);
    if (next >= minimum_ && next <= maximum_ && next != date_)
        take(next);
    part_ = part;
    offset_ = 0;
    replacePart_ = true;
    justAdvanced_ = false;
    placing_ = true;
    if (whole)
        editor_->selectAll();
    else
        editor_->setCursorPosition(partStart(part));
    placing_ = false;
    caretPlaced_ = false;
}

void DateBox::followCaret()
{
    if (!caretPlaced_)
        return;
    const bool clicked = clicked_;
    caretPlaced_ = false;
    clicked_ = false;
    justAdvanced_ = false;
    const QString text = editor_->text();
    if (editor_->hasSelectedText()) {
        if (editor_->selectedText().size() == text.size()) {
            part_ = Day;
            offset_ = 0;
            replacePart_ = true;
        } else {
            eraseSelection();
        }
        return;
    }
    const int caret = editor_->cursorPosition();
    // A click past the end of the date is a click into the box: a new date follows.
    part_ = clicked && caret == text.size() ? Day : partAt(caret);
    offset_ = 0;
    replacePart_ = true;
}

void DateBox::startNewDate()
{
    part_ = Day;
    offset_ = 0;
    replacePart_ = true;
    justAdvanced_ = false;
    placing_ = true;
    editor_->selectAll();
    placing_ = false;
    caretPlaced_ = false;
    clicked_ = false;
}

void DateBox::eraseSelection()
{
    const int start = editor_->selectionStart();
    const int end = start + int(editor_->selectedText().size());
    const int part = partAt(start);
    const int offset = start - partStart(part);
    std::array<QString, 3> kept;
    for (int p = Day; p <= Year; ++p) {
        const int first = partStart(p);
        for (int i = 0; i < parts_[p].size(); ++i)
            if (first + i < start || first + i >= end)
                kept[p] += parts_[p][i];
    }
    parts_ = kept;
    part_ = part;
    offset_ = std::clamp(offset, 0, int(parts_[part].size()));
    replacePart_ = false;
}

void DateBox::showParts(bool placeCaret)
{
    // Empty parts at the end are left out, so that a cleared box is empty.
    int last = part_;
    for (int p = Day; p <= Year; ++p)
        if (!parts_[p].isEmpty())
            last = std::max(last, p);
    QString text = parts_[Day];
    for (int p = Day + 1; p <= last; ++p)
        text += QLatin1Char('-') + parts_[p];
    placing_ = true;
    if (editor_->text() != text)
        editor_->setText(text);
    if (placeCaret)
        editor_->setCursorPosition(partStart(part_) + offset_);
    placing_ = false;
    caretPlaced_ = false;
}

void DateBox::showDate()
{
    const QStringList texts = DateText::toLong(date_).split(QLatin1Char('-'));
    for (int p = Day; p <= Year; ++p)
        parts_[p] = texts.value(p);
    showParts(false);
    if (hasFocus())
        startNewDate();
    else {
        part_ = Day;
        offset_ = 0;
        replacePart_ = true;
        justAdvanced_ = false;
    }
}

int DateBox::partAt(int position) const
{
    if (position <= parts_[Day].size())
        return Day;
    return position <= partStart(1) + parts_[1].size() ? 1 : Year;
}

int DateBox::partStart(int part) const
{
    int start = 0;
    for (int before = Day; before < part; ++before)
        start += int(parts_[before].size()) + 1;
    return start;
}

bool DateBox::pending() const
{
    return editor_->text() != DateText::toLong(date_);
}

std::optional<QDate> DateBox::typedDate() const
{
    return DateText::readTyped(editor_->text());
}

DateBox::Fault DateBox::fault() const
{
    if (!pending())
        return Fault::None;
    const auto date = typedDate();
    if (!date)
        return Fault::NotADate;
    return *date < minimum_ || *date > maximum_ ? Fault::OutsideLimits : Fault::None;
}

void DateBox::report(Fault fault)
{
    if (fault == Fault::None)
        return;
    const QString name = caption_.isEmpty() ? QStringLiteral("the date box") : caption_;
    reported_ = true;
    if (fault == Fault::NotADate) {
        Dialogs::critical(QStringLiteral("The date in %1, %2, is not a date.\rType the day, the "
                                         "month and the year, as 15-06-2027.")
                              .arg(name, editor_->text()));
        return;
    }
    Dialogs::critical(QStringLiteral("The date in %1, %2, is outside %3 to %4.")
                          .arg(name, DateText::toLong(*typedDate()), DateText::toLong(minimum_),
                               DateText::toLong(maximum_)));
}

void DateBox::reportWhenSettled()
{
    // A click moves the focus at the press and does its work at the release: a Close closes the
    // window then, and a Save asks for the date itself. Wait for it.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        if (!waitingForRelease_) {
            waitingForRelease_ = true;
            qApp->installEventFilter(this);
        }
        return;
    }
    // Said once the focus has moved: a box shown while it moves would take the focus midway.
    QTimer::singleShot(0, this, &DateBox::reportOnLeaving);
}

void DateBox::reportOnLeaving()
{
    if (reported_ || hasFocus() || !isVisible())
        return;
    // Moved on to another window (a message box, the backup, another register): that window has
    // nothing to do with this date, and this window says it when it uses the date.
    QWidget *focus = QApplication::focusWidget();
    if (!focus || formOf(focus) != form())
        return;
    const Fault found = fault();
    if (found == Fault::None)
        return;
    report(found);
    typeAnew();
}

QWidget *DateBox::form() const
{
    return formOf(const_cast<DateBox *>(this));
}

void DateBox::take(const QDate &date)
{
    const bool changed = date != date_;
    date_ = date;
    const QStringList texts = DateText::toLong(date_).split(QLatin1Char('-'));
    for (int p = Day; p <= Year; ++p)
        parts_[p] = texts.value(p);
    // Typing goes on at the end of the year: a digit more is seen, and is no date.
    part_ = Year;
    offset_ = int(parts_[Year].size());
    replacePart_ = false;
    justAdvanced_ = false;
    showParts(hasFocus());
    if (changed)
        emit dateChanged(date_);
}

void DateBox::openCalendar()
{
    if (!calendar_) {
        calendar_ = new Calendar(this);
        connect(calendar_->calendar, &QCalendarWidget::clicked, this, &DateBox::calendarPicked);
        connect(calendar_->calendar, &QCalendarWidget::activated, this, &DateBox::calendarPicked);
    }
    QCalendarWidget *calendar = calendar_->calendar;
    calendar->setDateRange(minimum_, maximum_);
    const auto typed = typedDate();
    calendar->setSelectedDate(typed && *typed >= minimum_ && *typed <= maximum_ ? *typed : date_);

    const QSize size = calendar_->sizeHint();
    const QRect screen = this->screen()->availableGeometry();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (at.y() + size.height() > screen.bottom())
        at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
    at.setX(
        std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    calendar_->resize(size);
    calendar_->move(at);
    calendar_->show();
    calendar->setFocus(Qt::PopupFocusReason);
    update();
}

void DateBox::calendarPicked(const QDate &date)
{
    calendar_->hide();
    if (date.isValid())
        setDate(date);
    startNewDate();
}

QRect DateBox::arrowRect() const
{
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
}

void DateBox::placeEditor()
{
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_ComboBoxEditField;
    editor_->setGeometry(
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
}
