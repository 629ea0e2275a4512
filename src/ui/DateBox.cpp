#include "ui/DateBox.h"

#include "core/DateText.h"
#include "core/Dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace {

constexpr std::array<int, 3> PartWidths{2, 2, 4};
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

// A day or a month of one or two digits, or -1.
int shortNumber(const QString &digits)
{
    return digits.isEmpty() || digits.size() > 2 ? -1 : digits.toInt();
}

} // namespace

DateBox::DateBox(QWidget *parent) : QDateEdit(parent)
{
    setLocale(QLocale(QLocale::English));
    setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!taking_)
            followShownDate();
    });
    followShownDate();
}

std::optional<QDate> DateBox::checkedDate()
{
    if (takeTyped())
        return date();
    report(fault());
    typeAnew();
    return std::nullopt;
}

bool DateBox::takeTyped()
{
    if (!shownByUs())
        followShownDate();
    if (!pending_)
        return true;
    if (fault() != Fault::None)
        return false;
    taking_ = true;
    setDate(*typedDate());
    taking_ = false;
    // The parts now read as the editor writes the date: the year in full, the day with its zero.
    const QStringList texts = lineEdit()->text().split(QLatin1Char('-'));
    for (int part = 0; part < 3 && texts.size() == 3; ++part)
        parts_[part] = texts[part];
    typedInPart_ = 0;
    setPending(false);
    showParts(hasFocus());
    return true;
}

void DateBox::typeAnew()
{
    takingFocusBack = true;
    setFocus(Qt::OtherFocusReason);
    takingFocusBack = false;
    startAtDay();
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    if (!shownByUs())
        followShownDate();
    if (event->matches(QKeySequence::SelectAll)) {
        startAtDay();
        lineEdit()->selectAll();
        showParts(false);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        typeText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    // What would edit the text behind the box's back.
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
        event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }
    const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString text = event->text();
    if (modifiers == Qt::NoModifier && text.size() == 1 && text.front().isPrint()) {
        typeText(text);
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (modifiers == Qt::NoModifier) {
            eraseDigit();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The arrows step the part under the caret of a whole date; a date still being mended
        // stays as typed.
        if (!takeTyped()) {
            event->accept();
            return;
        }
        stepFromCaret();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeTyped();
        break;
    default:
        break;
    }
    const bool keep = pending_;
    QDateEdit::keyPressEvent(event);
    if (keep && pending_)
        showParts(false); // the editor wrote the last good date back over the typed one
}

void DateBox::focusInEvent(QFocusEvent *event)
{
    const bool keep = pending_ && shownByUs();
    const bool first = !focusedBefore_;
    focusedBefore_ = true;
    QDateEdit::focusInEvent(event);
    if (keep)
        showParts(false);
    else
        followShownDate();
    switch (event->reason()) {
    case Qt::MouseFocusReason: // the click places the caret
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        // The window coming back leaves the caret where it was; a window opened with the focus in
        // the box starts at the day.
        if (first && !keep)
            startAtDay();
        break;
    default:
        startAtDay();
        break;
    }
}

void DateBox::focusOutEvent(QFocusEvent *event)
{
    const bool taken = takeTyped();
    const bool keep = pending_;
    QDateEdit::focusOutEvent(event);
    if (keep)
        showParts(false);
    const Qt::FocusReason reason = event->reason();
    if (!taken && !takingFocusBack && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
        reported_ = false;
        // Said once the focus has moved: a box shown while it moves would take the focus midway.
        QTimer::singleShot(0, this, &DateBox::reportOnLeaving);
    }
}

bool DateBox::focusNextPrevChild(bool next)
{
    // Tab leaves the box, as it leaves every other box; the editor's own Tab went to the next part.
    return QWidget::focusNextPrevChild(next);
}

QValidator::State DateBox::validate(QString &input, int &pos) const
{
    if (pending_)
        return QValidator::Intermediate;
    return QDateEdit::validate(input, pos);
}

void DateBox::fixup(QString &input) const
{
    if (!pending_)
        QDateEdit::fixup(input);
}

void DateBox::typeText(const QString &text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            typeDigit(c);
        else if (isSeparator(c))
            endPart();
    }
}

void DateBox::typeDigit(QChar digit)
{
    continueFromCaret();
    QString &part = parts_[part_];
    part = typedInPart_ == 0 ? QString(digit) : part + digit;
    ++typedInPart_;
    partJustFilled_ = false;
    reported_ = false;
    setPending(true);
    if (part.size() < PartWidths[part_]) {
        showParts();
        return;
    }
    partJustFilled_ = true;
    typedInPart_ = 0;
    if (part_ < Year) {
        ++part_;
        showParts();
        return;
    }
    showParts();
    takeTyped(); // a four-digit year ends the date
}

void DateBox::endPart()
{
    continueFromCaret();
    if (partJustFilled_) {
        partJustFilled_ = false;
        return;
    }
    if (part_ < Year) {
        if (parts_[part_].size() == 1)
            parts_[part_].prepend(QLatin1Char('0'));
        ++part_;
        typedInPart_ = 0;
        showParts();
        return;
    }
    typedInPart_ = 0;
    if (!takeTyped())
        showParts();
}

void DateBox::eraseDigit()
{
    continueFromCaret();
    if (parts_[part_].isEmpty() && part_ > Day)
        --part_;
    parts_[part_].chop(1);
    typedInPart_ = int(parts_[part_].size());
    partJustFilled_ = false;
    reported_ = false;
    setPending(true);
    showParts();
}

void DateBox::startAtDay()
{
    if (!shownByUs())
        followShownDate();
    part_ = Day;
    typedInPart_ = 0;
    partJustFilled_ = false;
    showParts();
}

void DateBox::continueFromCaret()
{
    QLineEdit *edit = lineEdit();
    const int selection = edit->selectionStart();
    const int selected = int(edit->selectedText().size());
    if (edit->cursorPosition() == caretSeen_ && selection == selectionSeen_ &&
        selected == selectionLengthSeen_)
        return;
    // The caret was placed by a click, Home or the arrows: typing starts over in its part.
    part_ = selected > 0 && selected == edit->text().size()
                ? Day
                : partAt(selection >= 0 ? selection : edit->cursorPosition());
    typedInPart_ = 0;
    partJustFilled_ = false;
}

int DateBox::partAt(int position) const
{
    if (position <= parts_[0].size())
        return 0;
    return position <= partStart(1) + parts_[1].size() ? 1 : 2;
}

int DateBox::partStart(int part) const
{
    int start = 0;
    for (int before = 0; before < part; ++before)
        start += int(parts_[before].size()) + 1;
    return start;
}

std::optional<QDate> DateBox::typedDate() const
{
    const int day = shortNumber(parts_[0]);
    const int month = shortNumber(parts_[1]);
    const QString &yearDigits = parts_[2];
    int year = 0;
    if (yearDigits.size() == 4)
        year = yearDigits.toInt();
    else if (!yearDigits.isEmpty() && yearDigits.size() <= 2)
        year = DateText::expandYear(yearDigits.toInt());
    const QDate date(year, month, day);
    if (year == 0 || !date.isValid())
        return std::nullopt;
    return date;
}

DateBox::Fault DateBox::fault() const
{
    if (!pending_)
        return Fault::None;
    const auto date = typedDate();
    if (!date)
        return Fault::NotADate;
    return *date < minimumDate() || *date > maximumDate() ? Fault::OutsideLimits : Fault::None;
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
                              .arg(name, shown_));
        return;
    }
    Dialogs::critical(QStringLiteral("The date in %1, %2, is outside %3 to %4.")
                          .arg(name, DateText::toLong(*typedDate()),
                               DateText::toLong(minimumDate()), DateText::toLong(maximumDate())));
}

void DateBox::showParts(bool placeCaret)
{
    QLineEdit *edit = lineEdit();
    const QString text = parts_[0] + QLatin1Char('-') + parts_[1] + QLatin1Char('-') + parts_[2];
    // Quietly: the editor would read a half-typed date back into the last good one.
    const QSignalBlocker quiet(edit);
    if (edit->text() != text)
        edit->setText(text);
    shown_ = text;
    if (placeCaret) {
        const int start = partStart(part_);
        if (typedInPart_ == 0)
            edit->setSelection(start, int(parts_[part_].size()));
        else
            edit->setCursorPosition(start + int(parts_[part_].size()));
    }
    caretSeen_ = edit->cursorPosition();
    selectionSeen_ = edit->selectionStart();
    selectionLengthSeen_ = int(edit->selectedText().size());
}

void DateBox::followShownDate()
{
    const QString text = lineEdit()->text();
    const QStringList texts = text.split(QLatin1Char('-'));
    const QStringList whole =
        texts.size() == 3 ? texts : DateText::toLong(date()).split(QLatin1Char('-'));
    for (int part = 0; part < 3; ++part)
        parts_[part] = whole[part];
    typedInPart_ = 0;
    partJustFilled_ = false;
    setPending(false);
    shown_ = text;
    caretSeen_ = -1; // the next digit goes by where the caret is
}

bool DateBox::shownByUs() const
{
    return lineEdit()->text() == shown_;
}

void DateBox::reportOnLeaving()
{
    if (reported_ || !pending_ || hasFocus() || !isVisible() || !shownByUs())
        return;
    const Fault found = fault();
    if (found == Fault::None)
        return;
    report(found);
    typeAnew();
}

void DateBox::setPending(bool pending)
{
    pending_ = pending;
    // While a date is typed the editor must not follow the caret: at every new part it reads its
    // text back into the last good date.
    if (pending == !followingSections_)
        return;
    followingSections_ = !pending;
    if (followingSections_)
        connect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this,
                SLOT(_q_editorCursorPositionChanged(int, int)));
    else
        disconnect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this,
                   SLOT(_q_editorCursorPositionChanged(int, int)));
}

void DateBox::stepFromCaret()
{
    // The editor steps the part it last saw the caret in; the box moved the caret quietly, so
    // move it once more where the editor sees it.
    QLineEdit *edit = lineEdit();
    const int selection = edit->selectionStart();
    const int part = edit->selectedText().size() == edit->text().size()
                         ? Day
                         : partAt(selection >= 0 ? selection : edit->cursorPosition());
    edit->setCursorPosition(int(edit->text().size()));
    edit->setCursorPosition(partStart(part));
    setCurrentSectionIndex(part);
}
