#include "admin/UserAdministration.h"

#include "core/Database.h"
#include "core/Pattern.h"

#include <algorithm>

namespace UserAdministration {

namespace {

QString yesNo(bool granted)
{
    return granted ? QStringLiteral("Y") : QStringLiteral("N");
}

int highestPlusOne(Database &db, const QString &sql)
{
    const QVariant highest = db.scalar(sql);
    return highest.isNull() ? 1 : highest.toInt() + 1;
}

void writePosition(Database &db, int id, const QString &name,
                   const std::array<EntryRights, EntryCount> &rights)
{
    db.execute(QStringLiteral("INSERT INTO \"Position\" (PositionID, PositionName) VALUES (?, ?)"),
               {id, name});
    for (int i = 0; i < EntryCount; ++i) {
        const EntryRights &r = rights[size_t(i)];
        db.execute(QStringLiteral("INSERT INTO UserProfile (PositionID, \"Position\", Entry, "
                                  "\"Add\", Modify, \"Delete\", \"Print\") "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                   {id, name, entryNames()[size_t(i)], yesNo(r.add), yesNo(r.modify),
                    yesNo(r.remove), yesNo(r.print)});
    }
}

void removePosition(Database &db, int id)
{
    db.execute(QStringLiteral("DELETE FROM UserProfile WHERE PositionID = ?"), {id});
    db.execute(QStringLiteral("DELETE FROM \"Position\" WHERE PositionID = ?"), {id});
}

User userFrom(const Recordset &rs)
{
    return User{rs.field(QStringLiteral("UserID")).toInt(), rs.text(QStringLiteral("UserName")),
                rs.text(QStringLiteral("UserPosition")), rs.text(QStringLiteral("Password"))};
}

void removeUser(Database &db, int id)
{
    db.execute(QStringLiteral("DELETE FROM Users WHERE UserID = ?"), {id});
}

void insertUser(Database &db, const User &user)
{
    db.execute(QStringLiteral("INSERT INTO Users (UserID, UserName, UserPosition, Password) "
                              "VALUES (?, ?, ?, ?)"),
               {user.id, user.name, user.position, user.password});
}

} // namespace

bool isSuperUser(const QString &position)
{
    return position == QLatin1String(SuperUser);
}

const std::array<QString, EntryCount> &entryNames()
{
    static const std::array<QString, EntryCount> names = {
        QStringLiteral("Book"), QStringLiteral("Card"), QStringLiteral("User"),
        QStringLiteral("Book Issue"), QStringLiteral("Book Receipt")};
    return names;
}

std::vector<PositionListRow> positionList(Database &db, const QString &filter)
{
    Recordset rs = db.query(
        QStringLiteral("SELECT PositionID, \"Position\" FROM UserProfile "
                       "WHERE \"Position\" NOT IN ('SUPER USER') AND Pattern(\"Position\", ?) "
                       "GROUP BY PositionID, \"Position\" ORDER BY \"Position\""),
        {Pattern::prefix(filter)});
    std::vector<PositionListRow> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.push_back({rs.displayText(0), rs.displayText(1)});
    return rows;
}

int nextPositionId(Database &db)
{
    return highestPlusOne(db, QStringLiteral("SELECT MAX(PositionID) FROM \"Position\""));
}

std::optional<QString> positionRefusal(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Enter Position Name");
    // Rights rows of that name would restrict the super users, and the list never shows them, so
    // nobody could remove them again.
    if (name.compare(QLatin1String(SuperUser), Qt::CaseInsensitive) == 0)
        return QStringLiteral("SUPER USER holds every right and cannot be a position of its own. "
                              "Enter another Position Name");
    return std::nullopt;
}

int addPosition(Database &db, const QString &name,
                const std::array<EntryRights, EntryCount> &rights)
{
    Transaction transaction(db);
    const int id = nextPositionId(db);
    writePosition(db, id, name, rights);
    transaction.commit();
    return id;
}

std::optional<QString> replacePosition(Database &db, int id, const QString &name,
                                       const std::array<EntryRights, EntryCount> &rights)
{
    Transaction transaction(db);
    if (auto refusal = positionRenameRefusal(db, id, name))
        return refusal;
    removePosition(db, id);
    writePosition(db, id, name, rights);
    transaction.commit();
    return std::nullopt;
}

std::optional<QString> deletePosition(Database &db, int id)
{
    Transaction transaction(db);
    if (auto refusal = positionInUseRefusal(db, id))
        return refusal;
    removePosition(db, id);
    transaction.commit();
    return std::nullopt;
}

namespace {

// The names the position of that key goes by, in Position and in its rights rows.
QStringList positionNames(Database &db, int id)
{
    QStringList names;
    for (Recordset rs = db.query(QStringLiteral("SELECT PositionName FROM \"Position\" WHERE "
                                                "PositionID = ? UNION SELECT \"Position\" FROM "
                                                "UserProfile WHERE PositionID = ?"),
                                 {id, id});
         !rs.eof(); rs.moveNext())
        names << rs.displayText(0);
    return names;
}

QString heldBy(int holders, const char *refused)
{
    return QStringLiteral("This Position is held by %1 %2 and Can't be %3")
        .arg(holders)
        .arg(holders == 1 ? QStringLiteral("user") : QStringLiteral("users"))
        .arg(QLatin1String(refused));
}

} // namespace

int positionHolders(Database &db, int id)
{
    const QStringList names = positionNames(db, id);
    if (names.isEmpty())
        return 0;
    // Compared here, not in SQL: the rights checks ignore letter case beyond A-Z too.
    int holders = 0;
    for (Recordset rs = db.query(QStringLiteral("SELECT UserPosition FROM Users")); !rs.eof();
         rs.moveNext())
        if (names.contains(rs.displayText(0), Qt::CaseInsensitive))
            ++holders;
    return holders;
}

std::optional<QString> positionInUseRefusal(Database &db, int id)
{
    const int holders = positionHolders(db, id);
    if (holders == 0)
        return std::nullopt;
    return heldBy(holders, "Deleted");
}

std::optional<QString> positionRenameRefusal(Database &db, int id, const QString &name)
{
    // Compared as the rights checks compare: a change of letter case keeps every user's rights.
    const QStringList names = positionNames(db, id);
    if (std::all_of(names.cbegin(), names.cend(), [&name](const QString &held) {
            return held.compare(name, Qt::CaseInsensitive) == 0;
        }))
        return std::nullopt;
    const int holders = positionHolders(db, id);
    if (holders == 0)
        return std::nullopt;
    return heldBy(holders, "Renamed");
}

std::optional<Position> loadPosition(Database &db, int id)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM UserProfile WHERE PositionID = ?"), {id});
    if (rs.eof())
        return std::nullopt;
    Position position;
    for (; !rs.eof(); rs.moveNext()) {
        position.name = rs.text(QStringLiteral("Position"));
        // The entry is matched exactly, as it was written; a right counts only as "Y".
        const auto &names = entryNames();
        const auto entry = std::find(names.begin(), names.end(), rs.text(QStringLiteral("Entry")));
        if (entry == names.end())
            continue;
        const auto granted = [&rs](const char *right) {
            return rs.text(QLatin1String(right)) == QLatin1String("Y");
        };
        position.rights[size_t(entry - names.begin())] =
            EntryRights{granted("Add"), granted("Modify"), granted("Delete"), granted("Print")};
    }
    return position;
}

QStringList positionChoices(Database &db, bool forSuperUser)
{
    QStringList choices;
    for (Recordset rs = db.query(
             QStringLiteral("SELECT PositionName FROM \"Position\" ORDER BY PositionName"));
         !rs.eof(); rs.moveNext())
        choices << rs.text(QStringLiteral("PositionName"));
    if (forSuperUser)
        choices << QLatin1String(SuperUser);
    return choices;
}

std::vector<User> userList(Database &db, const QString &filter)
{
    std::vector<User> users;
    for (Recordset rs = db.query(QStringLiteral("SELECT * FROM Users WHERE Pattern(UserName, ?) "
                                                "ORDER BY UserName"),
                                 {Pattern::prefix(filter)});
         !rs.eof(); rs.moveNext())
        users.push_back(userFrom(rs));
    return users;
}

int nextUserId(Database &db)
{
    return highestPlusOne(db, QStringLiteral("SELECT MAX(UserID) FROM Users"));
}

std::optional<User> loadUser(Database &db, int id)
{
    Recordset rs = db.query(QStringLiteral("SELECT * FROM Users WHERE UserID = ?"), {id});
    if (rs.eof())
        return std::nullopt;
    return userFrom(rs);
}

std::optional<QString> addUser(Database &db, User &user)
{
    Transaction transaction(db);
    if (auto refusal = missingPositionRefusal(db, user.position))
        return refusal;
    User added = user;
    added.id = nextUserId(db);
    insertUser(db, added);
    transaction.commit();
    user.id = added.id;
    return std::nullopt;
}

std::optional<QString> replaceUser(Database &db, const User &user)
{
    Transaction transaction(db);
    if (auto refusal = superUserRefusal(db, user.id, user.position))
        return refusal;
    if (auto refusal = missingPositionRefusal(db, user.position))
        return refusal;
    removeUser(db, user.id);
    insertUser(db, user);
    transaction.commit();
    return std::nullopt;
}

std::optional<QString> deleteUser(Database &db, int id)
{
    Transaction transaction(db);
    if (auto refusal = superUserRefusal(db, id, std::nullopt))
        return refusal;
    removeUser(db, id);
    transaction.commit();
    return std::nullopt;
}

std::optional<QString> superUserRefusal(Database &db, int id,
                                        const std::optional<QString> &newPosition)
{
    if (newPosition && isSuperUser(*newPosition))
        return std::nullopt;
    const std::optional<User> user = loadUser(db, id);
    if (!user || !isSuperUser(user->position))
        return std::nullopt;
    // The column ignores letter case; only the exact name makes a super user.
    const int others = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Users WHERE UserID <> ? "
                                                "AND UserPosition = ? COLLATE BINARY"),
                                 {id, QLatin1String(SuperUser)})
                           .toInt();
    if (others > 0)
        return std::nullopt;
    const QString action =
        newPosition ? QStringLiteral("moved to another position") : QStringLiteral("deleted");
    return QStringLiteral("%1 is the last SUPER USER of this company and cannot be %2: nobody "
                          "could manage the users any more.\r\nGive another user the position "
                          "SUPER USER first.")
        .arg(user->name, action);
}

std::optional<QString> missingPositionRefusal(Database &db, const QString &position)
{
    if (isSuperUser(position))
        return std::nullopt;
    if (position.isEmpty())
        return QStringLiteral("Choose the user's Position: a user without one would hold every "
                              "right.");
    // Compared here, not in SQL: the rights checks ignore letter case beyond A-Z too.
    for (Recordset rs = db.query(QStringLiteral("SELECT PositionName FROM \"Position\""));
         !rs.eof(); rs.moveNext())
        if (rs.displayText(0).compare(position, Qt::CaseInsensitive) == 0)
            return std::nullopt;
    return QStringLiteral("The Position \"%1\" no longer exists: a user holding it would hold "
                          "every right.\r\nThe user has not been saved; choose another Position.")
        .arg(position);
}

} // namespace UserAdministration
