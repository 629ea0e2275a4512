#include "circulation/ListFilter.h"

#include "core/AppError.h"
#include "core/Pattern.h"

namespace ListFilter {

const QStringList &columns()
{
    static const QStringList columns = {"AccessionNo", "Name",      "RollNo", "Title",
                                        "Author",      "Publisher", "Edition"};
    return columns;
}

QString sqlTest(const Filter &filter, QVariantList &values, const QString &alias)
{
    if (!columns().contains(filter.column))
        throw AppError(5, QStringLiteral("Invalid filter column: %1").arg(filter.column));
    const QString column = alias.isEmpty() ? filter.column : alias + '.' + filter.column;
    // "IS NOT NULL" says what an empty box means without calling the pattern function on every row.
    if (filter.typed.isEmpty())
        return column + QStringLiteral(" IS NOT NULL");
    values << Pattern::prefix(filter.typed);
    return QStringLiteral("Pattern(%1, ?)").arg(column);
}

} // namespace ListFilter
