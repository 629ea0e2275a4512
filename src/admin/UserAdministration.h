#pragma once

#include "core/EntryRights.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class Database;

// The rules behind the positions and users windows: positions with their rights rows, users, and
// the guard that keeps every company manageable by at least one super user.
namespace UserAdministration {

// The position that holds every right; no rights rows may carry its name.
inline constexpr const char *SuperUser = EntryRights::SuperUser;
bool isSuperUser(const QString &position);

// The entries a position grants rights for, in the order its rows are always written.
inline constexpr int EntryCount = 5;
const std::array<QString, EntryCount> &entryNames();

// ---- Positions -----------------------------------------------------------------------------

struct Position
{
    QString name;
    // One per entry, in entryNames() order; an entry without a stored row reads as nothing.
    std::array<std::optional<EntryRights>, EntryCount> rights;
};

struct PositionListRow
{
    QString id; // the key as the list shows it
    QString name;
};

// One row per key and name found among the rights rows whose name starts with the filter text
// (taken literally), ordered by name; "SUPER USER" is never listed.
std::vector<PositionListRow> positionList(Database &db, const QString &filter);

// The highest position key plus one (1 in an empty table).
int nextPositionId(Database &db);

// Why a position cannot be saved under that name, or nothing when it can.
std::optional<QString> positionRefusal(const QString &name);

// Writes a new position under a new key and returns the key.
int addPosition(Database &db, const QString &name,
                const std::array<EntryRights, EntryCount> &rights);
// Replaces the position of that key (its name and all five rights rows) under the same key,
// unless positionRenameRefusal refuses the name: users hold a position by its name, and would
// hold no rights under the new one. The test and the write are one transaction. Returns the
// refusal, or nothing when the position was replaced.
std::optional<QString> replacePosition(Database &db, int id, const QString &name,
                                       const std::array<EntryRights, EntryCount> &rights);
// Removes the position of that key from both tables unless users hold it; the test and the delete
// are one write, so a position given to a user by another program meanwhile stays. Returns why it
// was not deleted (positionInUseRefusal), or nothing when it was.
std::optional<QString> deletePosition(Database &db, int id);

// How many users hold the position of that key: their position matches its name as the rights
// checks match it (whole, letter case ignored).
int positionHolders(Database &db, int id);
// Why the position of that key cannot be deleted (users still hold it), or nothing when it can.
std::optional<QString> positionInUseRefusal(Database &db, int id);
// Why the position of that key cannot take that name: users hold it under a name the new one does
// not match as the rights checks match (letter case apart). Nothing when it can.
std::optional<QString> positionRenameRefusal(Database &db, int id, const QString &name);

// The position of that key as its rights rows hold it, or nothing when it has no row.
std::optional<Position> loadPosition(Database &db, int id);

// The position names the users window offers, ordered by name; a super user also gets "SUPER USER"
// at the end.
QStringList positionChoices(Database &db, bool forSuperUser);

// ---- Users ---------------------------------------------------------------------------------

struct User
{
    int id = 0;
    QString name;
    QString position;
    QString password;
};

// The users whose name starts with the filter text (taken literally), ordered by name.
std::vector<User> userList(Database &db, const QString &filter);

// The highest user key plus one (1 in an empty table).
int nextUserId(Database &db);

std::optional<User> loadUser(Database &db, int id);

// Adds the user under a new key, written into user.id, unless missingPositionRefusal refuses the
// position. The test and the write are one transaction, so a position deleted by another program
// meanwhile is never given. Returns the refusal, or nothing when the user was added.
std::optional<QString> addUser(Database &db, User &user);
// Replaces the row of user.id whole (columns this window does not keep come back empty), unless
// superUserRefusal or missingPositionRefusal refuses the position, the one the row held before
// included. The guards and the write are one transaction, so two programs cannot each take away
// one of the last two super users, nor store a position another program renamed meanwhile.
// Returns the refusal, or nothing when the row was replaced.
std::optional<QString> replaceUser(Database &db, const User &user);
// Removes the row of that key, if any, unless superUserRefusal refuses it; guarded as replaceUser.
std::optional<QString> deleteUser(Database &db, int id);

// Why the user of that key may not be replaced by one of the new position (or deleted, with no
// position): the last "SUPER USER" stays, or nobody could manage users any more.
std::optional<QString> superUserRefusal(Database &db, int id,
                                        const std::optional<QString> &newPosition);

// Why a user may not be given that position: neither "SUPER USER" nor a stored position has that
// name (letter case ignored, as the rights checks match it), so the user would match no rights row
// and hold every right. Nothing when it may be given.
std::optional<QString> missingPositionRefusal(Database &db, const QString &position);

} // namespace UserAdministration
