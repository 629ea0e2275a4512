#pragma once

#include <QString>
#include <QVariant>
#include <ostream>

// GoogleTest prints QString as bytes without these.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QVariant &value, std::ostream *out)
{
    *out << "QVariant(" << value.toString().toStdString() << ')';
}
