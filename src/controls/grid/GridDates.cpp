#include "controls/grid/GridDates.h"

#include <array>

namespace GridDates {
namespace {

std::function<QDate()> &testClock()
{
    static std::function<QDate()> clock;
    return clock;
}

constexpr std::array<const char16_t *, 12> MonthNames = {
    u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN", u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC",
};

class Cursor
{
public:
    explicit Cursor(QStringView text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    bool take(char16_t c)
    {
        if (atEnd() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }
    // A run of minDigits to maxDigits digits; -1 when there is none.
    int number(int minDigits, int maxDigits)
    {
        int value = 0;
        int count = 0;
        while (!atEnd() && count < maxDigits && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
            value = value * 10 + (text_[pos_].unicode() - u'0');
            ++pos_;
            ++count;
        }
        return count >= minDigits ? value : -1;
    }
    // 1-12 for an English month abbreviation, -1 otherwise.
    int monthName()
    {
        if (text_.size() - pos_ < 3)
            return -1;
        const QStringView word = text_.mid(pos_, 3);
        for (int m = 0; m < 12; ++m) {
            if (word.compare(QStringView(MonthNames[m]), Qt::CaseInsensitive) == 0) {
                pos_ += 3;
                return m + 1;
            }
        }
        return -1;
    }
    qsizetype position() const { return pos_; }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

// Two digits name the year of the hundred from 80 years ago to 19 years ahead, never a fixed
// century, as the program's own date texts read them.
template <typename ThisYear> int expandYear(int year, int digits, ThisYear thisYear)
{
    if (digits > 2)
        return year;
    const int first = thisYear() - 80;
    const int expanded = first - first % 100 + year;
    return expanded < first ? expanded + 100 : expanded;
}

// Day first: dd-MMM-yy(yy), dd-MM-yyyy, dd/MM/yyyy.
template <typename ThisYear> QDate dayFirst(Cursor &in, ThisYear thisYear)
{
    const int day = in.number(1, 2);
    if (day < 0)
        return {};
    const char16_t separator = in.take(u'-') ? u'-' : (in.take(u'/') ? u'/' : 0);
    if (!separator)
        return {};
    int month = separator == u'-' ? in.monthName() : -1;
    const bool named = month > 0;
    if (!named)
        month = in.number(1, 2);
    if (month < 0 || !in.take(separator))
        return {};
    const qsizetype yearStart = in.position();
    const int year = in.number(named ? 2 : 4, 4);
    const int digits = int(in.position() - yearStart);
    if (year < 0 || digits == 3)
        return {};
    return QDate(expandYear(year, digits, thisYear), month, day);
}

QDate yearFirst(Cursor &in)
{
    const int year = in.number(4, 4);
    if (year < 0 || !in.take(u'-'))
        return {};
    const int month = in.number(1, 2);
    if (month < 0 || !in.take(u'-'))
        return {};
    const int day = in.number(1, 2);
    return day < 0 ? QDate() : QDate(year, month, day);
}

// " hh:mm" or " hh:mm:ss"; -1 when malformed.
int timeOfDay(Cursor &in)
{
    if (in.atEnd())
        return 0;
    if (!in.take(u' ') && !in.take(u'T'))
        return -1;
    const int hours = in.number(1, 2);
    if (hours < 0 || hours > 23 || !in.take(u':'))
        return -1;
    const int minutes = in.number(2, 2);
    if (minutes < 0 || minutes > 59)
        return -1;
    int seconds = 0;
    if (in.take(u':')) {
        seconds = in.number(2, 2);
        if (seconds < 0 || seconds > 59)
            return -1;
    }
    return in.atEnd() ? hours * 3600 + minutes * 60 + seconds : -1;
}

template <typename ThisYear> std::optional<DateValue> read(QStringView text, ThisYear thisYear)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.size() < 6)
        return std::nullopt;
    Cursor in(trimmed);
    const bool isoLike = trimmed.size() > 4 && trimmed[4] == u'-';
    const QDate date = isoLike ? yearFirst(in) : dayFirst(in, thisYear);
    if (!date.isValid())
        return std::nullopt;
    const int seconds = timeOfDay(in);
    if (seconds < 0)
        return std::nullopt;
    return DateValue{date, seconds};
}

} // namespace

int currentYear()
{
    const std::function<QDate()> &clock = testClock();
    return (clock ? clock() : QDate::currentDate()).year();
}

std::optional<DateValue> recognise(QStringView text)
{
    return read(text, currentYear);
}

std::optional<DateValue> recognise(QStringView text, int thisYear)
{
    return read(text, [thisYear] { return thisYear; });
}

void setClockForTest(std::function<QDate()> today)
{
    testClock() = std::move(today);
}

} // namespace GridDates
