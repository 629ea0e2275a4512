#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// The column filter pair of the pending books list and the registers: a drop-down of fixed column
// names beside a prefix box.
namespace ListFilter {

// The columns a filter may test, as the drop-downs offer them.
const QStringList &columns();

struct Filter
{
    QString column; // one of columns(); any other is an AppError
    QString typed;  // the box's text; a prefix, its pattern characters taken literally
};

// The SQL test of one filter on the named table alias (empty for none), its value appended to
// values. Only a column of the fixed list reaches the statement's text; an empty box matches
// every value but no missing one.
QString sqlTest(const Filter &filter, QVariantList &values, const QString &alias = QString());

} // namespace ListFilter
