#pragma once

#include <QString>
#include <stdexcept>

// The one failure type of the program: a number and a description, as the error boxes show them.
class AppError : public std::runtime_error
{
public:
    AppError(int number, const QString &description, const QString &source = QString())
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description), source_(source)
    {
    }

    int number() const { return number_; }
    const QString &description() const { return description_; }
    const QString &source() const { return source_; }

    // The standard error box text: "Error " + number + CR + " " + description.
    QString boxText() const { return QStringLiteral("Error %1\r %2").arg(number_).arg(description_); }

private:
    int number_;
    QString description_;
    QString source_;
};
