#include "core/EntryRights.h"

#include "core/Database.h"

std::optional<EntryRights> EntryRights::read(Database &db, const QString &entry,
                                             const QString &position)
{
    // UserProfile holds five rows a position: comparing here keeps the match exact and
    // case-blind beyond A-Z without a collation that only this program knows.
    Recordset rs = db.query(QStringLiteral("SELECT * FROM UserProfile WHERE Entry = ?"), {entry});
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.text(QStringLiteral("Position")).compare(position, Qt::CaseInsensitive) != 0)
            continue;
        const auto granted = [&rs](const char *right) {
            return rs.text(QLatin1String(right)) == QLatin1String("Y");
        };
        return EntryRights{granted("Add"), granted("Modify"), granted("Delete"), granted("Print")};
    }
    // Only the exact name makes a super user, as the users window compares it.
    if (position == QLatin1String(SuperUser))
        return std::nullopt;
    return EntryRights{};
}
