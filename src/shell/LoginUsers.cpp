#include "shell/LoginUsers.h"

namespace LoginUsers {

Recordset find(Database &db, const QString &typedName)
{
    // Compared here rather than in SQL: the databases' NOCASE folds A-Z only, and a collation of
    // our own in the schema would leave the files unreadable in the standard sqlcipher shell. A
    // company has a handful of users.
    const QString wanted = typedName.toUpper();
    Recordset users = db.query(QStringLiteral("SELECT * FROM Users"));
    while (!users.eof() && users.text(QStringLiteral("UserName")).toUpper() != wanted)
        users.moveNext();
    return users;
}

} // namespace LoginUsers
