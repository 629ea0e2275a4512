#include "core/report/Code39.h"

#include <QHash>
#include <QPainter>
#include <cmath>

namespace Code39 {

namespace {

const QHash<QChar, QString> &table()
{
    // Bars and spaces alternate, starting with a bar: n narrow, w wide.
    static const QHash<QChar, QString> patterns = [] {
        const char *const rows[][2] = {
            {"0", "nnnwwnwnn"}, {"1", "wnnwnnnnw"}, {"2", "nnwwnnnnw"}, {"3", "wnwwnnnnn"},
            {"4", "nnnwwnnnw"}, {"5", "wnnwwnnnn"}, {"6", "nnwwwnnnn"}, {"7", "nnnwnnwnw"},
            {"8", "wnnwnnwnn"}, {"9", "nnwwnnwnn"}, {"A", "wnnnnwnnw"}, {"B", "nnwnnwnnw"},
            {"C", "wnwnnwnnn"}, {"D", "nnnnwwnnw"}, {"E", "wnnnwwnnn"}, {"F", "nnwnwwnnn"},
            {"G", "nnnnnwwnw"}, {"H", "wnnnnwwnn"}, {"I", "nnwnnwwnn"}, {"J", "nnnnwwwnn"},
            {"K", "wnnnnnnww"}, {"L", "nnwnnnnww"}, {"M", "wnwnnnnwn"}, {"N", "nnnnwnnww"},
            {"O", "wnnnwnnwn"}, {"P", "nnwnwnnwn"}, {"Q", "nnnnnnwww"}, {"R", "wnnnnnwwn"},
            {"S", "nnwnnnwwn"}, {"T", "nnnnwnwwn"}, {"U", "wwnnnnnnw"}, {"V", "nwwnnnnnw"},
            {"W", "wwwnnnnnn"}, {"X", "nwnnwnnnw"}, {"Y", "wwnnwnnnn"}, {"Z", "nwwnwnnnn"},
            {"-", "nwnnnnwnw"}, {".", "wwnnnnwnn"}, {" ", "nwwnnnwnn"}, {"*", "nwnnwnwnn"},
            {"$", "nwnwnwnnn"}, {"/", "nwnwnnnwn"}, {"+", "nwnnnwnwn"}, {"%", "nnnwnwnwn"},
        };
        QHash<QChar, QString> h;
        for (const auto &row : rows)
            h.insert(QLatin1Char(row[0][0]), QLatin1String(row[1]));
        return h;
    }();
    return patterns;
}

} // namespace

QString pattern(QChar character)
{
    // QChar::toUpper would fold the dotless i or the long s into ASCII letters.
    if (character >= QLatin1Char('a') && character <= QLatin1Char('z'))
        character = QChar(character.unicode() - 'a' + 'A');
    return table().value(character);
}

bool canEncode(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c == QLatin1Char('*') || pattern(c).isEmpty())
            return false;
    return true;
}

std::vector<bool> modules(const QString &text)
{
    std::vector<bool> result;
    if (!text.isEmpty() && !canEncode(text))
        return result;
    const QString framed = QLatin1Char('*') + text + QLatin1Char('*');
    for (const QChar c : framed) {
        const QString p = pattern(c);
        if (!result.empty())
            result.push_back(false); // the gap between characters
        for (int i = 0; i < p.size(); ++i) {
            const int width = p.at(i) == QLatin1Char('w') ? 2 : 1;
            for (int m = 0; m < width; ++m)
                result.push_back(i % 2 == 0);
        }
    }
    return result;
}

bool fits(const QString &text, double widthMm)
{
    const size_t count = modules(text).size();
    return count > 0 && widthMm / double(count + 2 * QuietModules) >= MinimumModuleMm;
}

void draw(QPainter &painter, const QRectF &rect, const QString &text, double dotsPerMm)
{
    const std::vector<bool> bars = modules(text);
    if (bars.empty() || rect.width() <= 0 || dotsPerMm <= 0 ||
        !fits(text, rect.width() / dotsPerMm))
        return;
    const double smallest = MinimumModuleMm * dotsPerMm;
    double module = rect.width() / double(bars.size() + 2 * QuietModules);
    if (std::floor(module) >= smallest)
        module = std::floor(module);
    double x = rect.left() + (rect.width() - module * double(bars.size())) / 2.0;
    if (module == std::floor(module))
        x = std::round(x);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // Runs of black modules are drawn as one rectangle, so no hairline seams appear between them.
    size_t i = 0;
    while (i < bars.size()) {
        if (!bars[i]) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < bars.size() && bars[end])
            ++end;
        painter.drawRect(
            QRectF(x + double(i) * module, rect.top(), double(end - i) * module, rect.height()));
        i = end;
    }
    painter.restore();
}

} // namespace Code39
