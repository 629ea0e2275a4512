#pragma once

#include <QString>

// The program's filter patterns: '*' any run, '?' one character, '#' one digit, '[..]' a set
// ('[!..]' outside it, 'a-z' ranges); letter case is ignored.
namespace Pattern {

bool matches(QStringView value, QStringView pattern);
inline bool matches(const QString &value, const QString &pattern)
{
    return matches(QStringView(value), QStringView(pattern));
}

// The pattern a filter box stands for: its text followed by '*', with the pattern characters of the
// typed text taken literally.
QString prefix(const QString &typed);

} // namespace Pattern
