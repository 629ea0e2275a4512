#include "ui/DateBox.h"

#include "core/DateText.h"
#include "core/Dialogs.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Set while a box that has said why its date cannot be used takes the focus back: the box it
// takes the focus from has nothing to say yet, or two boxes would take the focus from each other.
bool takingFocusBack = false;

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

// Ctrl+V, and Shift+Insert on every platform.
bool pastes(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Paste) ||
           (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
}

bool typesText(const QKeyEvent *event)
{
    const QString text = event->text();
    return typingModifiers(event) == Qt::NoModifier && text.size() == 1 && text.front().isPrint();
}

// The keys that change the box's text.
bool edits(const QKeyEvent *event)
{
    const bool plain = typingModifiers(event) == Qt::NoModifier;
    return typesText(event) || pastes(event) ||
           (plain && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete));
}

// A message quotes the start of a long text: a pasted line would make the box as wide as the
// screen.
QString quoted(const QString &text)
{
    constexpr int shown = 30;
    if (text.size() <= shown)
        return text;
    const int cut = text.at(shown - 1).isHighSurrogate() ? shown - 1 : shown;
    return text.left(cut) + QChar(0x2026);
}

// The window a control belongs to: a child window of the main window, or a window of its own.
QWidget *formOf(QWidget *widget)
{
    while (widget && !widget->isWindow() && !qobject_cast<QMdiSubWindow *>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget;
}

std::function<QString()> &mouseSelectionForTest()
{
    static std::function<QString()> selection;
    return selection;
}

// The text a middle click pastes: the mouse selection, where the platform keeps one.
QString mouseSelection()
{
    if (const auto &forTest = mouseSelectionForTest())
        return forTest();
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
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
        // Its own date entry reads the locale's month-first order: what is typed goes to the box.
        calendar->setDateEditEnabled(false);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(calendar);
    }

    QCalendarWidget *calendar = nullptr;

protected:
    bool event(QEvent *event) override { return typedIntoBox(this, event) || QFrame::event(event); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The year field gives the keyboard back to the days when it closes.
        if (event->type() == QEvent::Hide && qobject_cast<QAbstractSpinBox *>(watched) &&
            static_cast<QWidget *>(watched)->hasFocus())
            calendar->setFocus(Qt::OtherFocusReason);
        return typedIntoBox(watched, event) || QFrame::eventFilter(watched, event);
    }
    void showEvent(QShowEvent *event) override
    {
        // Every part of the calendar, also one made since it last opened, is watched for typing.
        for (QWidget *part : findChildren<QWidget *>())
            part->installEventFilter(this);
        QFrame::showEvent(event);
    }
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
        const QPoint global = event->globalPosition().toPoint();
        // The click on the box's arrow that closes the calendar must not open it again.
        if (box_->arrowRect().contains(box_->mapFromGlobal(global)))
            setAttribute(Qt::WA_NoMouseReplay);
        // A click on a child window's frame (its close button) is the frame's once the calendar
        // has closed; a click into a control only closes the calendar.
        QPointer<QMdiSubWindow> frame;
        if (!rect().contains(event->position().toPoint()))
            frame = frameAt(global);
        if (frame)
            setAttribute(Qt::WA_NoMouseReplay);
        QFrame::mousePressEvent(event);
        if (frame && !isVisible())
            clickFrame(frame, global, event);
    }
    void hideEvent(QHideEvent *event) override
    {
        QFrame::hideEvent(event);
        setAttribute(Qt::WA_NoMouseReplay, false);
        box_->update();
        const QPoint pointer = QCursor::pos();
        if (QMdiSubWindow *frame = frameAt(pointer))
            sendMouse(frame, QEvent::MouseMove, pointer, Qt::NoButton);
    }

private:
    // A character, a paste or an erase while the calendar is open closes it and goes to the box,
    // typed by the box's rules as if the calendar had not been open. The calendar keeps its own
    // keys (arrows, pages, Home, End, Enter, Esc); its open year field and month menu keep theirs,
    // which only turn it to another month.
    bool typedIntoBox(QObject *watched, QEvent *event)
    {
        if (!isVisible() || qobject_cast<QMenu *>(watched))
            return false;
        for (auto *part = qobject_cast<QWidget *>(watched); part && part != this;
             part = part->parentWidget())
            if (qobject_cast<QAbstractSpinBox *>(part) && part->isVisible())
                return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (!edits(static_cast<QKeyEvent *>(event)))
                return false;
            event->accept();
            return true;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!edits(key))
                return false;
            QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->text(),
                            key->isAutoRepeat(), ushort(key->count()));
            closeForTyping();
            QCoreApplication::sendEvent(box_, &typed);
            return true;
        }
        case QEvent::InputMethod: {
            // What is still being composed waits for its commit.
            const QString commit = static_cast<QInputMethodEvent *>(event)->commitString();
            if (!commit.isEmpty()) {
                QInputMethodEvent typed;
                typed.setCommitString(commit);
                closeForTyping();
                QCoreApplication::sendEvent(box_, &typed);
            }
            return true;
        }
        default:
            return false;
        }
    }
    void closeForTyping()
    {
        hide();
        if (!box_->hasFocus())
            box_->setFocus(Qt::PopupFocusReason);
    }

    // A child window's frame (title bar, buttons, border) at that point of the box's window. The
    // frame tells its buttons apart by the pointer's moves, which the open calendar takes: left
    // so, it takes the next press for one on nothing, and a click on its close button is lost.
    QMdiSubWindow *frameAt(const QPoint &global) const
    {
        auto *frame = qobject_cast<QMdiSubWindow *>(QApplication::widgetAt(global));
        return frame && frame->window() == box_->window() ? frame : nullptr;
    }
    static void sendMouse(QWidget *to, QEvent::Type type, const QPoint &global,
                          Qt::MouseButton button, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent event(type, to->mapFromGlobal(QPointF(global)), QPointF(global), button,
                          buttons, QGuiApplication::keyboardModifiers());
        QCoreApplication::sendEvent(to, &event);
    }
    // Whether Qt replays the press that closed a popup differs between versions and platforms,
    // and the frame would take a replayed press for one on nothing: Qt is told to replay none and
    // the frame is given the whole click, where the pointer is.
    static void clickFrame(QPointer<QMdiSubWindow> frame, const QPoint &global,
                           const QMouseEvent *press)
    {
        sendMouse(frame, QEvent::MouseMove, global, Qt::NoButton);
        if (frame)
            sendMouse(frame, QEvent::MouseButtonPress, global, press->button(), press->button());
        if (frame)
            sendMouse(frame, QEvent::MouseButtonRelease, global, press->button());
    }

    DateBox *box_;
};

DateBox::DateBox(QWidget *parent) : QWidget(parent)
{
    setLocale(QLocale(QLocale::English));
    setFocusPolicy(Qt::WheelFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    setAttribute(Qt::WA_InputMethodEnabled, true);

    // The box keeps the focus and hands the editor what it shows; the editor never edits itself:
    // the box takes its pastes and drops.
    editor_ = new QLineEdit(this);
    editor_->setFrame(false);
    editor_->setFocusProxy(this);
    editor_->setContextMenuPolicy(Qt::NoContextMenu);
    editor_->setAcceptDrops(true);
    editor_->setLocale(locale());
    editor_->installEventFilter(this);
    // Only the user of a box with the focus moves its caret: the editor also drops its selection
    // by itself when a window is activated while the box is without the focus (a calendar open).
    const auto userMovedCaret = [this] {
        if (!placing_ && hasFocus())
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

void DateBox::setMouseSelectionForTest(std::function<QString()> selection)
{
    mouseSelectionForTest() = std::move(selection);
}

bool DateBox::event(QEvent *event)
{
    // Keys the box uses are not taken by the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (edits(key) || movesCaret(key) || key->matches(QKeySequence::SelectAll) ||
            key->matches(QKeySequence::Copy)) {
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
    if (pastes(event)) {
        pasteText(QGuiApplication::clipboard()->text());
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
    case Qt::MouseFocusReason:
        // A click into the text places the caret after this; one on the arrow, after the text,
        // starts a new date as any click after the text does.
        startNewDate();
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        // The window or the calendar closing gives back the caret where it was; a window opened
        // with the focus in the box starts a new date.
        if (first)
            startNewDate();
        else if (!caretPlaced_)
            showEntry();
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
    // The calendar takes the keyboard but leaves the box as typed: what is typed there or after
    // it closes goes on from the text and caret as they stand, not from a date taken out of them.
    if (shownCalendar())
        return;
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

void DateBox::inputMethodEvent(QInputMethodEvent *event)
{
    // What an input method composes is typed when it is committed.
    if (!event->commitString().isEmpty())
        typeText(event->commitString());
    event->accept();
}

bool DateBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor_)
        return handleEditorEvent(event);
    if (waitingForRelease_ && event->type() == QEvent::MouseButtonRelease) {
        qApp->removeEventFilter(this);
        waitingForRelease_ = false;
        QTimer::singleShot(0, this, &DateBox::reportOnLeaving);
    }
    return QWidget::eventFilter(watched, event);
}

// The editor's own mouse and drop handling would edit the text behind the box's back: the box
// takes the middle-button paste and the drop itself, at the place they point to.
bool DateBox::handleEditorEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::MiddleButton) {
            if (event->type() != QEvent::MouseButtonRelease) {
                caretPlaced_ = true;
                clicked_ = true;
            }
            return false;
        }
        // Pasted once, at the release, as the platform does.
        if (event->type() == QEvent::MouseButtonRelease &&
            editor_->rect().contains(mouse->position().toPoint()))
            pasteAt(mouse->position().toPoint(), mouseSelection());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (drag->mimeData()->hasText() && isEnabled())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasText())
            return true;
        drop->acceptProposedAction();
        pasteAt(drop->position().toPoint(), drop->mimeData()->text());
        return true;
    }
    default:
        return false;
    }
}

void DateBox::typeText(const QString &text)
{
    followCaret();
    reported_ = false;
    for (const QChar c : text) {
        // A separator after the year ends the date, as the window's use of it does.
        if (DateEntry::isSeparator(c) && entry_.atEndOfYear() && pending() && takeTyped())
            continue;
        entry_.type(QString(c));
        showEntry();
        if (c.isDigit() && entry_.atFullYear())
            takeTyped(); // a four-digit year ends the date
    }
}

void DateBox::pasteText(const QString &text)
{
    followCaret();
    reported_ = false;
    if (!entry_.paste(text)) {
        QApplication::beep();
        return;
    }
    showEntry();
    if (entry_.atFullYear())
        takeTyped();
}

void DateBox::pasteAt(const QPoint &position, const QString &text)
{
    if (!isEnabled())
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const int at = editor_->cursorPositionAt(position);
    entry_.place(at, at, DateEntry::Placement::Click);
    caretPlaced_ = false;
    clicked_ = false;
    pasteText(text);
}

void DateBox::erase(bool backwards)
{
    followCaret();
    reported_ = false;
    if (!entry_.erase(backwards)) {
        QApplication::beep();
        return;
    }
    showEntry();
}

void DateBox::step(int steps)
{
    followCaret();
    // The part under the caret, or the day for a new date, found before the typed date is
    // written out in full.
    const bool whole = entry_.next() == DateEntry::Next::NewDate;
    const int part = entry_.partToStep();
    if (!takeTyped()) {
        QApplication::beep(); // a date still being mended stays as typed
        return;
    }
    const QDate next = DateEntry::stepped(date_, part, steps);
    if (next >= minimum_ && next <= maximum_ && next != date_)
        take(next);
    if (whole)
        entry_.startNewDate();
    else
        entry_.placeAtPart(part);
    showEntry();
}

void DateBox::followCaret()
{
    if (editor_->text() != entry_.text())
        entry_ = DateEntry(editor_->text()); // never expected: the editor does not edit itself
    if (!caretPlaced_)
        return;
    const int caret = editor_->cursorPosition();
    int anchor = caret;
    if (editor_->hasSelectedText()) {
        const int start = editor_->selectionStart();
        anchor = caret == start ? start + int(editor_->selectedText().size()) : start;
    }
    entry_.place(caret, anchor,
                 clicked_ ? DateEntry::Placement::Click : DateEntry::Placement::Keys);
    caretPlaced_ = false;
    clicked_ = false;
}

void DateBox::startNewDate()
{
    entry_.startNewDate();
    showEntry();
    caretPlaced_ = false;
    clicked_ = false;
}

void DateBox::showEntry(bool placeCaret)
{
    placing_ = true;
    if (editor_->text() != entry_.text())
        editor_->setText(entry_.text());
    if (placeCaret) {
        if (entry_.hasSelection())
            editor_->setSelection(entry_.anchor(), entry_.caret() - entry_.anchor());
        else
            editor_->setCursorPosition(entry_.caret());
    }
    placing_ = false;
    caretPlaced_ = false;
}

void DateBox::showDate()
{
    entry_ = DateEntry(DateText::toLong(date_));
    showEntry(false);
    if (hasFocus())
        startNewDate();
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
    if (editor_->text().trimmed().isEmpty())
        return Fault::Missing;
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
    if (fault == Fault::Missing) {
        Dialogs::critical(QStringLiteral("The date in %1 is missing.\rType the day, the month and "
                                         "the year, as 15-06-2027.")
                              .arg(name));
        return;
    }
    if (fault == Fault::NotADate) {
        Dialogs::critical(QStringLiteral("The date in %1, %2, is not a date.\rType the day, the "
                                         "month and the year, as 15-06-2027.")
                              .arg(name, quoted(editor_->text())));
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
    entry_.showTaken(DateText::toLong(date_));
    showEntry(hasFocus());
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
