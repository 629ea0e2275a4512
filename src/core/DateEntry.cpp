#include "core/DateEntry.h"

#include "core/DateText.h"

#include <QRegularExpression>

namespace {

constexpr int Day = 0;
constexpr int Month = 1;
constexpr int Year = 2;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The line a paste brings: text copied from a list or a spreadsheet carries line ends and blanks
// around the date, and a line break has no place in the box.
QString pastedLine(const QString &clipboard)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]"));
    for (const QString &line : clipboard.split(lineEnd)) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QString();
}

} // namespace

DateEntry::DateEntry(const QString &text)
    : text_(text), caret_(int(text.size())), anchor_(int(text.size()))
{
}

void DateEntry::startNewDate()
{
    anchor_ = 0;
    caret_ = int(text_.size());
    next_ = Next::NewDate;
}

void DateEntry::showTaken(const QString &text)
{
    text_ = text;
    caret_ = anchor_ = int(text_.size());
    next_ = Next::Insert;
}

void DateEntry::place(int caret, int anchor, Placement how)
{
    const int size = int(text_.size());
    caret_ = std::clamp(caret, 0, size);
    anchor_ = std::clamp(anchor, 0, size);
    if (hasSelection())
        next_ = selectionLength() == size ? Next::NewDate : Next::Insert;
    else if (how == Placement::Click && caret_ == size)
        next_ = Next::NewDate; // a click past the date is a click into the box
    else
        next_ = Next::RetypePart;
}

void DateEntry::placeAtPart(int part)
{
    int position = 0;
    for (int seen = 0; seen < part && position < text_.size(); ++position)
        if (isSeparator(text_[position]) && ++seen == part) {
            ++position;
            break;
        }
    caret_ = anchor_ = std::min(position, int(text_.size()));
    next_ = Next::RetypePart;
}

void DateEntry::type(const QString &characters)
{
    for (const QChar c : characters)
        typeCharacter(c);
}

void DateEntry::typeCharacter(QChar c)
{
    if (hasSelection()) {
        replace(selectionStart(), selectionLength(), QString(c));
        return;
    }
    if (next_ == Next::NewDate) {
        replace(0, int(text_.size()), QString(c));
        return;
    }
    if (isSeparator(c)) {
        // A separator ends the part: a part being retyped is kept as it stands.
        if (next_ == Next::RetypePart)
            caret_ = anchor_ = partEnd(caret_);
        if (caret_ < text_.size() && isSeparator(text_[caret_])) {
            replace(caret_, 1, QString(c));
            next_ = Next::RetypePart;
            return;
        }
        replace(caret_, 0, QString(c));
        return;
    }
    if (next_ == Next::RetypePart) {
        const int start = partStart(caret_);
        replace(start, partEnd(caret_) - start, QString(c));
        return;
    }
    const int start = partStart(caret_);
    const QString part = text_.mid(start, caret_ - start);
    const bool full = partAt(caret_) < Year && caret_ == partEnd(caret_) && part.size() >= 2 &&
                      std::all_of(part.begin(), part.end(), isDigit);
    if (isDigit(c) && full) {
        if (caret_ < text_.size()) {
            const int next = caret_ + 1;
            replace(next, partEnd(next) - next, QString(c));
        } else {
            replace(caret_, 0, QStringLiteral("-") + c);
        }
        return;
    }
    replace(caret_, 0, QString(c));
}

bool DateEntry::paste(const QString &clipboard)
{
    const QString line = pastedLine(clipboard);
    if (line.isEmpty())
        return false;
    if (hasSelection()) {
        replace(selectionStart(), selectionLength(), line);
    } else if (next_ == Next::NewDate || DateText::readTyped(line)) {
        replace(0, int(text_.size()), line);
    } else if (next_ == Next::RetypePart) {
        const int start = partStart(caret_);
        replace(start, partEnd(caret_) - start, line);
    } else {
        replace(caret_, 0, line);
    }
    return true;
}

bool DateEntry::erase(bool backwards)
{
    if (hasSelection()) {
        replace(selectionStart(), selectionLength(), QString());
        return true;
    }
    const int size = int(text_.size());
    const auto standsAlone = [&](int at) {
        return at > 0 && at + 1 < size && isSeparator(text_[at]) && !isSeparator(text_[at - 1]) &&
               !isSeparator(text_[at + 1]);
    };
    int at = backwards ? caret_ - 1 : caret_;
    if (at < 0 || at >= size)
        return false;
    if (standsAlone(at))
        at += backwards ? -1 : 1;
    replace(at, 1, QString());
    return true;
}

int DateEntry::partAt(int position) const
{
    int part = 0;
    for (int i = 0; i < position && i < text_.size(); ++i)
        if (isSeparator(text_[i]))
            ++part;
    return part;
}

int DateEntry::partToStep() const
{
    if (next_ == Next::NewDate || (hasSelection() && selectionLength() == text_.size()))
        return Day;
    return std::min(partAt(selectionStart()), Year);
}

bool DateEntry::atFullYear() const
{
    const int start = partStart(caret_);
    const QString year = text_.mid(start);
    return !hasSelection() && caret_ == text_.size() && partAt(caret_) == Year &&
           year.size() == 4 && std::all_of(year.begin(), year.end(), isDigit);
}

bool DateEntry::atEndOfYear() const
{
    return !hasSelection() && next_ == Next::Insert && caret_ == text_.size() &&
           partAt(caret_) == Year && partStart(caret_) < caret_;
}

bool DateEntry::isSeparator(QChar c)
{
    return c == u'-' || c == u'/' || c == u'.' || c == u' ';
}

QDate DateEntry::stepped(const QDate &date, int part, int steps)
{
    int day = date.day();
    int month = date.month();
    int year = date.year();
    if (part == Day)
        day = std::clamp(day + steps, 1, date.daysInMonth());
    else if (part == Month)
        month = std::clamp(month + steps, 1, 12);
    else
        year = std::clamp(year + steps, 1, 9999);
    day = std::min(day, QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

void DateEntry::replace(int start, int length, const QString &with)
{
    text_.replace(start, length, with);
    caret_ = anchor_ = start + int(with.size());
    next_ = Next::Insert;
}

int DateEntry::partStart(int position) const
{
    while (position > 0 && !isSeparator(text_[position - 1]))
        --position;
    return position;
}

int DateEntry::partEnd(int position) const
{
    while (position < text_.size() && !isSeparator(text_[position]))
        ++position;
    return position;
}
