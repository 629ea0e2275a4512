#pragma once

#include "core/Database.h"
#include "core/Pattern.h"

#include <QString>
#include <array>

// The search panels' filters as plain SQL over the whole table: what the panels must list, in the
// order they must list it, for the four typed prefixes.
namespace SearchQueries {

inline Recordset run(Database &db, const QString &sql, const std::array<QString, 4> &typed)
{
    QVariantList patterns;
    for (const QString &text : typed)
        patterns << Pattern::prefix(text);
    return db.query(sql, patterns);
}

inline Recordset cards(Database &db, const std::array<QString, 4> &typed)
{
    return run(db,
               QStringLiteral("SELECT * FROM Card WHERE Pattern(Name, ?) AND Pattern(GroupName, ?) "
                              "AND Pattern(OT11, ?) AND Pattern(RollNo, ?) ORDER BY Name, CardID"),
               typed);
}

inline Recordset books(Database &db, const std::array<QString, 4> &typed)
{
    return run(
        db,
        QStringLiteral("SELECT * FROM Book WHERE Pattern(title, ?) AND Pattern(Author, ?) "
                       "AND Pattern(Subject, ?) AND Pattern(Publisher, ?) ORDER BY title, BookID"),
        typed);
}

} // namespace SearchQueries
