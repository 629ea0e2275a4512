#include "controls/grid/GridNumbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace GridNumbers {
namespace {

char upperAscii(char16_t c)
{
    if (c >= 'a' && c <= 'z')
        return char(c - 'a' + 'A');
    return c < 128 ? char(c) : '\0';
}

QStringView trimSpaces(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

std::optional<double> convertBase(const std::string &digits, int base)
{
    if (digits.empty() || digits.size() > 16)
        return std::nullopt;
    unsigned long long value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return double(value);
}

// Upper-case ASCII text in the English number form: a sign in front or behind, digits with
// thousands commas, one decimal point, an exponent.
std::optional<double> convert(const std::string &text)
{
    if (text.starts_with("&H"))
        return convertBase(text.substr(2), 16);
    if (text.starts_with("&O"))
        return convertBase(text.substr(2), 8);

    std::string clean;
    size_t i = 0;
    const size_t n = text.size();
    bool negative = false;
    if (i < n && text[i] == '-') {
        negative = true;
        ++i;
    }
    bool digits = false;
    for (; i < n && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ','); ++i) {
        if (text[i] != ',') {
            clean += text[i];
            digits = true;
        }
    }
    if (i < n && text[i] == '.') {
        clean += text[i++];
        for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            clean += text[i];
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && text[i] == 'E') {
        clean += 'e';
        ++i;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            clean += text[i++];
        const size_t exponentStart = i;
        for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            clean += text[i];
        if (i == exponentStart)
            return std::nullopt;
    }
    if (!negative && i + 1 == n && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i != n)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (error != std::errc() || end != clean.data() + clean.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<bool> booleanWord(QStringView text)
{
    if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace

double rVal(QStringView text)
{
    const QStringView s = trimSpaces(text);
    if (s.isEmpty())
        return 0;

    std::string collected;
    qsizetype i = 0;
    if (s.size() >= 2 && s[0] == u'&' &&
        (upperAscii(s[1].unicode()) == 'H' || upperAscii(s[1].unicode()) == 'O')) {
        collected = {'&', upperAscii(s[1].unicode())};
        i = 2;
    }
    const bool hex = collected == "&H";
    for (; i < s.size(); ++i) {
        const char16_t code = s[i].unicode();
        const char c = upperAscii(code);
        if ((c >= '0' && c <= '9') || c == 'E' || c == ',' || c == '-' || c == '.')
            collected += c;
        else if (c == '$' || code == 163 || c == ' ' || c == '/')
            continue;
        else if (hex && c >= 'A' && c <= 'F')
            collected += c;
        else
            break;
    }

    if (collected.empty())
        return booleanWord(s).value_or(false) ? -1 : 0;
    const double value = convert(collected).value_or(0);
    if (value != 0)
        return value;
    // A comma-decimal reading gets its second chance.
    for (char &c : collected) {
        if (c == '.')
            c = ',';
    }
    return convert(collected).value_or(0);
}

std::optional<double> strictNumber(QStringView text)
{
    const QStringView s = trimSpaces(text);
    std::string ascii;
    ascii.reserve(size_t(s.size()));
    for (const QChar ch : s) {
        const char c = upperAscii(ch.unicode());
        if (c == '\0')
            return std::nullopt;
        ascii += c;
    }
    return convert(ascii);
}

std::optional<bool> readBoolean(QStringView text)
{
    if (const auto word = booleanWord(trimSpaces(text)))
        return word;
    if (const auto number = strictNumber(text))
        return *number != 0;
    return std::nullopt;
}

QString CStr(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const std::string text(buffer);
    const size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string digits = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    digits.erase(1, 1); // the decimal point after the first digit
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::stoi(text.substr(e + 1));

    std::string result = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        result += digits.substr(0, 1);
        if (digits.size() > 1)
            result += "." + digits.substr(1);
        char tail[16];
        std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        result += tail;
    } else if (exponent < 0) {
        result += "0." + std::string(size_t(-exponent - 1), '0') + digits;
    } else if (digits.size() <= size_t(exponent) + 1) {
        result += digits + std::string(size_t(exponent) + 1 - digits.size(), '0');
    } else {
        result +=
            digits.substr(0, size_t(exponent) + 1) + "." + digits.substr(size_t(exponent) + 1);
    }
    return QString::fromLatin1(result);
}

} // namespace GridNumbers
